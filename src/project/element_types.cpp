#include "project/element_types.h"

#include "resources/texts.h"

namespace ts {
namespace {

const char* const kEnglishTypeNames[kElementTypeNameCount] = {
    "none", "map", "(sprite)", "tileset", "bitmap", "bad", "palette", "list"};
const char* const kFrenchTypeNames[kElementTypeNameCount] = {
    "aucun", "carte", "(sprite)", "tileset", "bitmap", "mauvais", "palette", "liste"};

const T kEditionTypeNames[kElementTypeNameCount] = {
    T::ElementTypeNone,    T::ElementTypeMap, T::ElementTypeSprite,  T::ElementTypeTileset,
    T::ElementTypeBitmap,  T::ElementTypeBad, T::ElementTypePalette, T::ElementTypeList};

struct RootFolder {
    const char* french;
    const char* english;
    uint32_t type;
    T label;
};
const RootFolder kRootFolders[] = {
    {"racine", "root", 0, T::FolderRoot},
    {"mosaiques", "tilesets", 3, T::CtxFolderTilesets},
    {"cartes", "maps", 1, T::CtxFolderMaps},
    {"palettes", "palettes", 6, T::CtxFolderPalettes},
    {"bitmaps", "bitmaps", 4, T::CtxFolderBitmaps},
    {"listes", "lists", 7, T::CtxFolderLists},
};

}  // namespace

const char* elementTypeName(uint32_t type) {
    return type < kElementTypeNameCount ? tr(kEditionTypeNames[type]) : "";
}

const char* englishElementTypeName(uint32_t type) {
    return type < kElementTypeNameCount ? kEnglishTypeNames[type] : "";
}

const char* frenchElementTypeName(uint32_t type) {
    return type < kElementTypeNameCount ? kFrenchTypeNames[type] : "";
}

int elementTypeFromName(const std::string& name) {
    for (uint32_t t = 0; t < kElementTypeNameCount; ++t)
        if (name == kFrenchTypeNames[t]) return int(t);
    for (uint32_t t = 0; t < kElementTypeNameCount; ++t)
        if (name == kEnglishTypeNames[t]) return int(t);
    return -1;
}

int rootFolderType(const std::string& name) {
    for (const RootFolder& r : kRootFolders)
        if (name == r.french || name == r.english) return int(r.type);
    return -1;
}

const char* rootFolderName(uint32_t type, bool french) {
    for (const RootFolder& r : kRootFolders)
        if (r.type == type) return french ? r.french : r.english;
    return "";
}

const char* rootFolderLabel(uint32_t type) {
    for (const RootFolder& r : kRootFolders)
        if (r.type == type) return tr(r.label);
    return "";
}

std::string folderPlaceLabel(const std::string& place) {
    if (place.empty()) return tr(T::FolderRoot);
    const int root = rootFolderType(place);
    return root >= 0 ? rootFolderLabel(uint32_t(root)) : place;
}

}  // namespace ts
