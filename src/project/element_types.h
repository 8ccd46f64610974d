#pragma once
// Names of the element types and of the fixed folders that stand for the tree's roots.
#include <cstdint>
#include <string>

namespace ts {

constexpr uint32_t kElementTypeNameCount = 8;  // codes 0 to 7 have names

// The type's name in this edition ("map", "tileset", ...); "" for a code without a name.
const char* elementTypeName(uint32_t type);
// The fixed English and French names ("list" / "liste"); "" for a code without a name.
const char* englishElementTypeName(uint32_t type);
const char* frenchElementTypeName(uint32_t type);
// The type code whose French or English name equals the text exactly (case matters), or -1.
int elementTypeFromName(const std::string& name);

// The fixed folder names of the tree's roots: "racine"/"root" (type 0), "mosaiques"/"tilesets" (3),
// "cartes"/"maps" (1), "palettes" (6), "bitmaps" (4), "listes"/"lists" (7).
// The type of the root that the name stands for (either language, exact), or -1.
int rootFolderType(const std::string& name);
// The root folder name of a type in one language; "" when the type has no root.
const char* rootFolderName(uint32_t type, bool french);
// What the user reads for a root in this edition ("root", "tilesets", ... or "racine",
// "mosa\xEFques", ...); "" when the type has no root.
const char* rootFolderLabel(uint32_t type);
// A folder field as the user reads it: a root's name in either language becomes its label, an
// empty field the top's label, any other folder name stays as it is.
std::string folderPlaceLabel(const std::string& place);

}  // namespace ts
