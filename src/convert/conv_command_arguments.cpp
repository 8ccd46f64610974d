#include "convert/conv_command_arguments.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "convert/image_file.h"
#include "formats/compression.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "formats/format_state.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

enum class RowKind { Selector, Text, Name, Number, Flag };

enum class Target {
    OutputKind, Source, MainOutput, MapFile, PaletteFile, AllNames, TilesetName, BitmapName, PaletteName,
    MapName, ColorCount, ExistingPalette, ExistingTileset, MapType, Depth16, CMode, MakeMap, TileMatching,
    MapMode, MDim, TDim, FlipMerge, PackLz77, PackRle,
};

struct ConvIdentifier {
    std::string_view name;
    Target target;
    RowKind kind;
    int value;
};

// Searched in this order; the first row with the name wins.
constexpr ConvIdentifier kIdentifiers[] = {
    {"tset", Target::OutputKind, RowKind::Selector, ConvTileset},
    {"bmp", Target::OutputKind, RowKind::Selector, ConvBitmap},
    {"b8", Target::OutputKind, RowKind::Selector, ConvBitmap8},
    {"b16", Target::OutputKind, RowKind::Selector, ConvBitmap16},
    {"bmp", Target::Source, RowKind::Text, 0},
    {"src", Target::Source, RowKind::Text, 0},
    {"dst", Target::MainOutput, RowKind::Text, 0},
    {"til", Target::MainOutput, RowKind::Text, 0},
    {"map", Target::MapFile, RowKind::Text, 0},
    {"pal", Target::PaletteFile, RowKind::Text, 0},
    {"name", Target::AllNames, RowKind::Name, 0},
    {"nametil", Target::TilesetName, RowKind::Text, 0},
    {"namebmp", Target::BitmapName, RowKind::Text, 0},
    {"namepal", Target::PaletteName, RowKind::Text, 0},
    {"namemap", Target::MapName, RowKind::Text, 0},
    {"col", Target::ColorCount, RowKind::Number, 0},
    {"upal", Target::ExistingPalette, RowKind::Text, 0},
    {"util", Target::ExistingTileset, RowKind::Text, 0},
    {"txt", Target::MapType, RowKind::Flag, 0},
    {"16c", Target::Depth16, RowKind::Flag, 0},
    {"cmode", Target::CMode, RowKind::Text, 0},
    {"gmap", Target::MakeMap, RowKind::Flag, 0},
    {"opt", Target::TileMatching, RowKind::Flag, 0},
    {"mapmode", Target::MapMode, RowKind::Text, 0},
    {"mdim", Target::MDim, RowKind::Text, 0},
    {"tdim", Target::TDim, RowKind::Text, 0},
    {"flip", Target::FlipMerge, RowKind::Flag, 0},
    {"lz77", Target::PackLz77, RowKind::Flag, 1},
    {"rle", Target::PackRle, RowKind::Flag, 2},
};
static_assert(sizeof(kIdentifiers) / sizeof(kIdentifiers[0]) == 29);

constexpr int kNoPrefix = -1;

const std::string& extensionOf(const App& app, int section) {
    return formatState(app).current.sections[size_t(section)].ext;
}

int64_t readInteger(const char*& p) {
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = std::min<int64_t>(value * 10 + (*p++ - '0'), int64_t(1) << 40);
    }
    value = negative ? -value : value;
    return std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

int colorsPerTileOf(const App& app, int depth) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.depths || depth < 0 || depth >= platform.depthCount) return 0;
    return platform.depths[depth].colorsPerTile;
}

void setText(std::string& target, const std::string& value) { target = value.substr(0, kConvTextMax); }

void applySource(App& app, ConvArguments& args, const std::string& value) {
    setText(args.source, value);
    const std::string extension = pathExtension(value);
    const std::string base = extension.empty() ? value : value.substr(0, value.size() - extension.size() - 1);
    if (args.outputKind == ConvBitmap) {
        setText(args.mainOutput, base + extensionOf(app, kSectionBitmap));
        setText(args.paletteFile, base + extensionOf(app, kSectionPalette));
    } else if (args.outputKind == ConvTileset) {
        setText(args.mainOutput, base + extensionOf(app, kSectionTileset));
        setText(args.paletteFile, base + extensionOf(app, kSectionPalette));
        setText(args.mapFile, base + extensionOf(app, kSectionMap));
    }
    if (extension.empty()) {
        static const char* const kProbes[] = {".bmp", ".png", ".jpg", ".gif", ".tif"};
        std::string chosen = args.source + kProbes[0];
        for (const char* probe : kProbes) {
            if (fileExists(args.source + probe)) {
                chosen = args.source + probe;
                break;
            }
        }
        args.source = chosen;
    }
}

void applyMainOutput(App& app, ConvArguments& args, const std::string& value) {
    if (args.outputKind == ConvBitmap) {
        setText(args.paletteFile, value + extensionOf(app, kSectionPalette));
        setText(args.mainOutput, value + extensionOf(app, kSectionBitmap));
    } else if (args.outputKind == ConvTileset) {
        setText(args.paletteFile, value + extensionOf(app, kSectionPalette));
        setText(args.mapFile, value + extensionOf(app, kSectionMap));
        setText(args.mainOutput, value + extensionOf(app, kSectionTileset));
    } else {
        setText(args.mainOutput, value);
    }
}

void applyText(App& app, ConvArguments& args, Target target, int prefix, const std::string& value) {
    switch (target) {
    case Target::Source: applySource(app, args, value); break;
    case Target::MainOutput: applyMainOutput(app, args, value); break;
    case Target::MapFile:
        setText(args.mapFile, args.outputKind == ConvTileset ? value + extensionOf(app, kSectionMap) : value);
        break;
    case Target::PaletteFile:
        setText(args.paletteFile, args.outputKind <= ConvBitmap ? value + extensionOf(app, kSectionPalette) : value);
        break;
    case Target::TilesetName: setText(args.tilesetName, value); break;
    case Target::BitmapName: setText(args.bitmapName, value); break;
    case Target::PaletteName: setText(args.paletteName, value); break;
    case Target::MapName: setText(args.mapName, value); break;
    case Target::ExistingPalette:
        setText(args.existingPalette, value);
        if (prefix == 2) args.paletteReuse = 0;
        break;
    case Target::ExistingTileset:
        setText(args.existingTileset, value);
        if (prefix == 2) args.tilesetReuse = 0;
        break;
    case Target::CMode: {
        setText(args.cmode, value);
        const PlatformRecord& platform = currentPlatform(app);
        args.depth = platform.defaultDepth;
        for (int i = 0; platform.depths && i < platform.depthCount; ++i)
            if (platform.depths[i].shortName && args.cmode == platform.depths[i].shortName) {
                args.depth = i;
                break;
            }
        args.colorCount = colorsPerTileOf(app, args.depth);
        break;
    }
    case Target::MapMode: setText(args.mapmode, value); break;
    case Target::MDim: setText(args.mdim, value); break;
    case Target::TDim: setText(args.tdim, value); break;
    default: break;
    }
}

void applyFlag(App& app, ConvArguments& args, const ConvIdentifier& row, int prefix) {
    if (prefix == kNoPrefix) return;
    switch (row.target) {
    case Target::PackLz77:
    case Target::PackRle:
        // +lz77 and !lz77 choose the method, -lz77 drops it (when it was the chosen one).
        if (prefix != 0) args.packing = row.value;
        else if (args.packing == row.value) args.packing = 0;
        break;
    case Target::MapType: args.mapType = prefix; break;
    case Target::MakeMap: args.makeMap = prefix; break;
    case Target::TileMatching: args.tileMatching = prefix; break;
    case Target::FlipMerge:
        args.flipMerge = prefix != 0 ? 1 : 0;
        args.flipRequested = prefix != 0;
        break;
    case Target::Depth16:
        args.depth = prefix == 0 ? 1 : 0;
        args.colorCount = colorsPerTileOf(app, args.depth);
        break;
    default: break;
    }
}

}  // namespace

ConvArguments startConvArguments(const App& app) {
    ConvArguments args;
    args.depth = currentPlatform(app).defaultDepth;
    args.flipMerge = convertSettings(app).flipMerge != 0 ? 1 : 0;
    Packing packing = Packing::None;
    if (packingFromCode(convertSettings(app).compression, packing)) args.packing = int(packing);
    return args;
}

void readConvArguments(App& app, const char* text, ConvArguments& args) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t') ++p;
    while (true) {
        while (*p == ' ') ++p;
        if (!*p) break;
        int prefix = kNoPrefix;
        if (*p == '+') prefix = 1;
        else if (*p == '-') prefix = 0;
        else if (*p == '!') prefix = 2;
        if (prefix != kNoPrefix) ++p;

        std::string name;
        while (*p && *p != ' ' && *p != '=') {
            if (name.size() < kConvNameMax) name += *p;
            ++p;
        }
        std::string value;
        bool hasValue = false;
        if (*p == '=') {
            hasValue = true;
            ++p;
            if (*p == '"') {
                ++p;
                while (*p && *p != '"') {
                    if (value.size() < kConvValueMax) value += *p;
                    ++p;
                }
                if (*p == '"') ++p;
            } else {
                while (*p && *p != ' ') {
                    if (value.size() < kConvValueMax) value += *p;
                    ++p;
                }
            }
        }
        if (name.empty() && !hasValue && prefix == kNoPrefix) continue;

        const ConvIdentifier* row = nullptr;
        for (const ConvIdentifier& candidate : kIdentifiers)
            if (candidate.name == name) {
                row = &candidate;
                break;
            }
        if (!row) {
            showBox(hostServices(app), tr(T::CaptionDebugging), formatText(tr(T::ConvertUnknownIdentifier), name.c_str()));
            continue;
        }
        switch (row->kind) {
        case RowKind::Selector:
            if (row->name == "bmp" && !value.empty())
                applyText(app, args, Target::Source, prefix, value);
            else
                args.outputKind = row->value;
            break;
        case RowKind::Text: applyText(app, args, row->target, prefix, value); break;
        case RowKind::Number: {
            const char* v = value.c_str();
            args.colorCount = int(readInteger(v));
            break;
        }
        case RowKind::Flag: applyFlag(app, args, *row, prefix); break;
        case RowKind::Name:
            setText(args.tilesetName, value);
            setText(args.bitmapName, value);
            setText(args.paletteName, value);
            setText(args.mapName, value);
            break;
        }
    }
}

std::string deriveElementName(const std::string& file) {
    // Both separators: this program accepts '/' as well as '\' in paths.
    const size_t slash = file.find_last_of("\\/");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (name.size() > 30) name.resize(30);
    const size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

void parseDimensions(const std::string& text, int missingHeight, int64_t& width, int64_t& height) {
    const char* p = text.c_str();
    while (*p == ' ') ++p;
    width = readInteger(p);
    const char* x = std::strchr(text.c_str(), 'x');
    if (!x) {
        height = missingHeight;
        return;
    }
    ++x;
    while (*x == ' ') ++x;
    height = readInteger(x);
}

}  // namespace ts
