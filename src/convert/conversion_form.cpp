#include "convert/conversion_form.h"

#include <cstdlib>

#include "convert/colour_effects.h"
#include "convert/conv_command_arguments.h"
#include "convert/convert_settings.h"
#include "convert/convert_tileset.h"
#include "convert/image_file.h"
#include "formats/format_state.h"
#include "formats/platform.h"
#include "formats/platform_state.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "resources/texts.h"

namespace ts {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// The path with '/' separators and no separator at the end (for prefix comparisons).
std::string comparable(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

// The rest of `path` when it lies below `directory`, or false.
bool below(const std::string& path, const std::string& directory, std::string& rest) {
    if (directory.empty() || path.size() <= directory.size() + 1) return false;
    if (path.compare(0, directory.size(), directory) != 0) return false;
    if (directory != "/" && path[directory.size()] != '/') return false;
    rest = path.substr(directory == "/" ? 1 : directory.size() + 1);
    return true;
}

ElementRecord makeRecord(const std::string& source, const std::string& file, ElementType type) {
    ElementRecord record;
    record.baseFile = source;
    record.file = file;
    record.name = deriveElementName(file);
    record.typeAndFlags = type;
    return record;
}

// Decimal reading of a field: leading blanks, digits; anything else reads as 0.
int decimalField(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    long long value = 0;
    bool negative = *p == '-';
    if (negative) ++p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 1000000000LL) value = 1000000000LL;
    }
    return int(negative ? -value : value);
}

// The element index that a list position names (n-th element of that type), or -1.
int chosenElement(const App& app, unsigned type, int position) {
    int index = nthElementOfType(app, type, position + 1);
    return index == kElementNotFound ? -1 : index;
}

bool refuseColorCount(App& app, int colors) {
    const DepthInfo& depth = currentDepth(app);
    if (depth.paletteKind == 0) return false;
    if (colors >= 1 && colors <= depth.singlePaletteSize) return false;
    showBox(hostServices(app), tr(T::CaptionOops), tr(T::FormInvalidColorCount), Icon::Error);
    return true;
}

bool refuseSource(App& app, const std::string& source) {
    if (source.empty()) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::FormSourceMissing), Icon::Error);
        return true;
    }
    if (isDirectory(source)) {
        showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::FormSourceIsFolder), source.c_str()),
                Icon::Error);
        return true;
    }
    return false;
}

// A depth with a palette needs a file for it unless an existing palette element is chosen:
// without one the colours the tiles refer to would be written nowhere.
bool paletteFileMissing(const App& app, const ConversionRequest& request, const ConversionFormState& state) {
    return currentDepth(app).paletteKind != 0 && request.existingPalette < 0 && state.palette.empty();
}

void notifyConvert(App& app) {
    const PlatformRecord& platform = currentPlatform(app);
    if (platform.onConvert) platform.onConvert(app, 2);
}

bool runTilemap(App& app, const ConversionFormState& state) {
    setCurrentMapType(app, state.mapType >= 0 && state.mapType < kMapTypeCount ? state.mapType : MapText);
    setCurrentDepthIndex(app, state.depth);
    rebuildEffectTables(app);

    ConversionRequest request;
    request.makeMap = state.makeMap;
    request.tileMatching = state.optimize;
    if (state.existingPalette != ExistingOff) {
        request.existingPalette = chosenElement(app, TYPE_PALETTE, state.paletteChoice);
        request.paletteReuse = state.existingPalette == ExistingReuse;
    }
    if (state.existingTileset != ExistingOff) {
        request.existingTileset = chosenElement(app, TYPE_MOSAIQUE, state.tilesetChoice);
        request.tilesetReuse = state.existingTileset == ExistingReuse;
    }
    int sizeChoice = state.mapSize >= 0 && state.mapSize < kMapSizeChoices ? state.mapSize : 0;
    request.workWidth = request.workHeight = kMapSizePixels[sizeChoice];
    const int colors = decimalField(state.colors);
    if (state.tileSize >= 0 && state.tileSize < kTileSizeCustom) {
        request.tileWidth = request.tileHeight = kTileSizePixels[state.tileSize];
    } else {
        request.tileWidth = convertSettings(app).tileX;
        request.tileHeight = convertSettings(app).tileY;
    }
    if (refuseColorCount(app, colors)) return false;
    if (refuseSource(app, state.source)) return false;

    const auto& records = elementTable(app).records;
    const std::string tilesetFile =
        request.existingTileset >= 0 ? records[size_t(request.existingTileset)].file : state.destination;
    if (tilesetFile.empty() || (request.makeMap && state.map.empty()) || paletteFileMissing(app, request, state)) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::FormDestinationMissing), Icon::Error);
        return false;
    }
    request.tileset = makeRecord(state.source, tilesetFile, TYPE_MOSAIQUE);
    if (!loadSourceImage(app, state.source, request.imageWidth, request.imageHeight, true)) {
        if (!hostServices(app).failureSeen())
            showBox(hostServices(app), tr(T::CaptionError), tr(T::FormBitmapUnloadable), Icon::Error);
        return false;
    }
    if (request.workWidth == 0 && request.tileWidth > 0 && request.tileHeight > 0 &&
        (request.imageWidth % request.tileWidth != 0 || request.imageHeight % request.tileHeight != 0)) {
        Answer a = showBox(hostServices(app), tr(T::CaptionOopsShort), tr(T::FormNotMultipleOf8), Icon::Warning,
                           Buttons::OkCancel, Answer::Ok);
        if (a == Answer::Cancel) return false;
    }
    const std::string paletteFile =
        request.existingPalette >= 0 ? records[size_t(request.existingPalette)].file : state.palette;
    request.palette = makeRecord(state.source, paletteFile, TYPE_PALETTE);
    request.map = makeRecord(state.source, state.map, TYPE_CARTE);

    notifyConvert(app);
    if (!ConvertTileset(app, request, colors)) return false;
    addElement(app, request.tileset);
    if (currentDepth(app).paletteKind != 0) addElement(app, request.palette);
    if (request.makeMap) addElement(app, request.map);
    return true;
}

bool runImage(App& app, const ConversionFormState& state) {
    setCurrentDepthIndex(app, state.depth);
    rebuildEffectTables(app);
    const int colors = decimalField(state.colors);
    if (refuseColorCount(app, colors)) return false;
    if (refuseSource(app, state.source)) return false;
    if (state.destination.empty()) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::FormDestinationMissing), Icon::Error);
        return false;
    }
    ConversionRequest request;
    if (state.existingPalette != ExistingOff) {
        request.existingPalette = chosenElement(app, TYPE_PALETTE, state.paletteChoice);
        request.paletteReuse = state.existingPalette == ExistingReuse;
    }
    if (paletteFileMissing(app, request, state)) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::FormDestinationMissing), Icon::Error);
        return false;
    }
    request.tileset = makeRecord(state.source, state.destination, TYPE_BITMAP);
    if (!loadSourceImage(app, state.source, request.imageWidth, request.imageHeight, true)) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::FormBitmapUnloadable), Icon::Error);
        return false;
    }
    const auto& records = elementTable(app).records;
    const std::string paletteFile =
        request.existingPalette >= 0 ? records[size_t(request.existingPalette)].file : state.palette;
    request.palette = makeRecord(state.source, paletteFile, TYPE_PALETTE);
    notifyConvert(app);
    if (!ConvertBitmap(app, request, colors)) return false;
    addElement(app, request.tileset);
    if (currentDepth(app).paletteKind != 0) addElement(app, request.palette);
    return true;
}

}  // namespace

std::vector<std::string> depthNames(const App& app) {
    const PlatformRecord& platform = currentPlatform(app);
    std::vector<std::string> names;
    for (int i = 0; i < platform.depthCount; ++i) names.emplace_back(platform.depths[i].displayName);
    return names;
}

std::vector<std::string> elementNamesOfType(const App& app, unsigned type) {
    std::vector<std::string> names;
    for (const ElementRecord& record : elementTable(app).records)
        if (!record.isFolder() && record.type() == type) names.push_back(record.name);
    return names;
}

ConversionFormState defaultConversionForm(const App& app, ConversionFormKind kind) {
    ConversionFormState state;
    state.kind = kind;
    const PlatformRecord& platform = currentPlatform(app);
    state.depth = platform.defaultDepth >= 0 && platform.defaultDepth < platform.depthCount ? platform.defaultDepth : 0;
    if (platform.depthCount > 0) state.colors = std::to_string(platform.depths[state.depth].colorsPerTile);
    return state;
}

std::string relativeFormPath(const std::string& path, const std::string& directory) {
    const std::string p = comparable(path), d = comparable(directory);
    std::string rest;
    if (below(p, d, rest)) return rest;
    const size_t cut = d.find_last_of('/');
    if (cut != std::string::npos && cut > 0) {
        if (below(p, d.substr(0, cut), rest)) return "../" + rest;
    } else if (cut == 0 && d.size() > 1 && below(p, "/", rest)) {
        return "../" + rest;
    }
    return path;
}

std::string formBaseName(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (isSeparator(path[i])) start = i + 1;
    // Leading dots of the last component (".hidden") stay part of the name.
    size_t dot = path.find('.', start);
    while (dot == start && dot < path.size()) dot = path.find('.', dot + 1);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

void applyBrowsedSource(const App& app, ConversionFormState& state, const std::string& path) {
    state.source = relativeFormPath(path, currentDirectory());
    const std::string base = formBaseName(state.source);
    const FormatRecord& format = formatState(app).current;
    if (state.kind == ConversionFormKind::Tilemap) {
        state.destination = base + format.sections[kSectionTileset].ext;
        state.map = base + format.sections[kSectionMap].ext;
    } else {
        state.destination = base + format.sections[kSectionBitmap].ext;
    }
    state.palette = base + format.sections[kSectionPalette].ext;
}

void applyBrowsedDestination(const App& app, ConversionFormState& state, const std::string& path) {
    state.destination = relativeFormPath(path, currentDirectory());
    const std::string base = formBaseName(state.destination);
    const FormatRecord& format = formatState(app).current;
    state.palette = base + format.sections[kSectionPalette].ext;
    if (state.kind == ConversionFormKind::Tilemap) state.map = base + format.sections[kSectionMap].ext;
}

bool conversionFormHasMoreOptions(const App& app) {
    const PlatformRecord& platform = currentPlatform(app);
    return platform.createOptionsPanel &&
           platform.createOptionsPanel(const_cast<App&>(app), 0x8000 | 0x2000, nullptr) != 0;
}

bool runConversionForm(App& app, const ConversionFormState& state) {
    platformState(app).conversionName.clear();
    // Names typed with a line break (pasted text) or longer than a path may be are refused whole.
    for (const std::string* name : {&state.source, &state.destination, &state.palette, &state.map}) {
        if (name->find_first_of("\r\n") == std::string::npos && name->size() <= kElementPathMax) continue;
        std::string shown = name->substr(0, 80);
        for (char& c : shown)
            if (c == '\r' || c == '\n') c = ' ';
        showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::FormFileNameBad), shown.c_str()), Icon::Error);
        return false;
    }
    return state.kind == ConversionFormKind::Tilemap ? runTilemap(app, state) : runImage(app, state);
}

}  // namespace ts
