#include "convert/conv_command.h"

#include "convert/colour_effects.h"
#include "convert/conv_command_arguments.h"
#include "convert/convert_tileset.h"
#include "convert/convert_tileset_steps.h"
#include "convert/image_file.h"
#include "convert/tile_stage.h"
#include "formats/compression.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "project/element_table.h"
#include "resources/texts.h"

namespace ts {

namespace {

void debugMessage(App& app, const std::string& text) { showBox(hostServices(app), tr(T::CaptionDebugging), text); }

void notifyConvert(App& app, int phase) {
    const PlatformRecord& platform = currentPlatform(app);
    if (platform.onConvert) platform.onConvert(app, phase);
}

ElementRecord makeRecord(const std::string& source, const std::string& file, ElementType type) {
    ElementRecord record;
    record.baseFile = source;
    record.file = file;
    record.name = deriveElementName(file);
    record.typeAndFlags = type;
    return record;
}

// Loads the source image; an image that cannot be read is refused with a message (unless the
// loader has shown its own).
bool loadSource(App& app, const std::string& source, int& width, int& height) {
    if (!fileExists(source)) {
        debugMessage(app, formatText(tr(T::ConvertImageUnreadable), source.c_str()));
        return false;
    }
    const bool failureBefore = hostServices(app).failureSeen();
    if (loadSourceImage(app, source, width, height, true)) return true;
    if (failureBefore || !hostServices(app).failureSeen())
        debugMessage(app, formatText(tr(T::ConvertImageUnreadable), source.c_str()));
    return false;
}

void convertTileset(App& app, const ConvArguments& args, int existingPalette, int existingTileset) {
    ConversionRequest request;
    if (!args.mdim.empty()) {
        int64_t w = 0, h = 0;
        parseDimensions(args.mdim, 0, w, h);
        if (w < 0 || h < 0) {
            debugMessage(app, tr(T::ConvertNegativeDimensions));
            return;
        }
        request.workWidth = int(w);
        request.workHeight = int(h);
    }
    if (!args.tdim.empty()) {
        int64_t w = 8, h = 8;
        parseDimensions(args.tdim, 8, w, h);
        request.tileWidth = int(w);
        request.tileHeight = int(h);
    }
    int mapType = args.mapType;
    if (!args.mapmode.empty()) {
        if (args.mapmode.rfind("32", 0) == 0) mapType = MapExtended;
        else if (args.mapmode.rfind("16", 0) == 0) mapType = MapText;
        else if (args.mapmode.rfind("8", 0) == 0) mapType = MapRotation;
    }
    if (!tileSideValid(request.tileWidth) || !tileSideValid(request.tileHeight)) {
        debugMessage(app, tr(T::ConvertBadTileSize));
        return;
    }
    if (mapType < MapRotation || mapType > MapExtended) mapType = MapText;
    setCurrentMapType(app, mapType);
    // Mirror bits exist only in the GBA's Text entries; the Game Boy reads its map entries as
    // tile numbers alone. A +flip there is refused; convert.flipmerge is simply not applied.
    bool flipMerge = args.flipMerge != 0;
    if (flipMerge && (currentPlatformIndex(app) == kPlatformGameBoy || !layoutHasMirrors(currentMapLayout(app)))) {
        if (args.flipRequested) {
            debugMessage(app, tr(T::ConvertFlipRefused));
            return;
        }
        flipMerge = false;
    }
    rebuildEffectTables(app);

    const std::string& tilesetFile =
        existingTileset >= 0 ? elementTable(app).records[size_t(existingTileset)].file : args.mainOutput;
    request.tileset = makeRecord(args.source, tilesetFile, TYPE_MOSAIQUE);
    if (!loadSource(app, args.source, request.imageWidth, request.imageHeight)) return;
    const std::string& paletteFile =
        existingPalette >= 0 ? elementTable(app).records[size_t(existingPalette)].file : args.paletteFile;
    request.palette = makeRecord(args.source, paletteFile, TYPE_PALETTE);
    request.map = makeRecord(args.source, args.mapFile, TYPE_CARTE);
    request.tilesetName = args.tilesetName;
    request.paletteName = args.paletteName;
    request.mapName = args.mapName;
    request.existingPalette = existingPalette;
    request.paletteReuse = args.paletteReuse != 0;
    request.existingTileset = existingTileset;
    request.tilesetReuse = args.tilesetReuse != 0;
    request.tileMatching = args.tileMatching != 0;
    request.makeMap = args.makeMap != 0;
    request.flipMerge = flipMerge;
    request.saveFlags = savePackingFlags(Packing(args.packing));

    if (!ConvertTileset(app, request, args.colorCount)) return;
    addElement(app, request.tileset);
    if (currentDepth(app).paletteKind != 0) addElement(app, request.palette);
    if (request.makeMap) addElement(app, request.map);
}

void convertBitmap(App& app, const ConvArguments& args, int existingPalette) {
    ConversionRequest request;
    request.tileset = makeRecord(args.source, args.mainOutput, TYPE_BITMAP);
    rebuildEffectTables(app);
    if (!loadSource(app, args.source, request.imageWidth, request.imageHeight)) return;
    const std::string& paletteFile =
        existingPalette >= 0 ? elementTable(app).records[size_t(existingPalette)].file : args.paletteFile;
    request.palette = makeRecord(args.source, paletteFile, TYPE_PALETTE);
    request.tilesetName = args.bitmapName;
    request.paletteName = args.paletteName;
    request.existingPalette = existingPalette;
    request.paletteReuse = args.paletteReuse != 0;
    request.saveFlags = savePackingFlags(Packing(args.packing));
    if (!ConvertBitmap(app, request, args.colorCount)) return;
    addElement(app, request.tileset);
    addElement(app, request.palette);
}

}  // namespace

void runConversion(App& app, const char* text) {
    notifyConvert(app, 0);
    ConvArguments args = startConvArguments(app);
    readConvArguments(app, text, args);

    int existingPalette = -1, existingTileset = -1;
    if (!args.existingPalette.empty()) {
        existingPalette = TrouveElement(app, TYPE_PALETTE, args.existingPalette);
        if (existingPalette == kElementNotFound) {
            debugMessage(app, tr(T::ConvertMissingPalette));
            return;
        }
    }
    if (!args.existingTileset.empty()) {
        existingTileset = TrouveElement(app, TYPE_MOSAIQUE, args.existingTileset);
        if (existingTileset == kElementNotFound) {
            debugMessage(app, tr(T::ConvertMissingTileset));
            return;
        }
    }
    notifyConvert(app, 1);
    // b8 and b16 are accepted and produce nothing.
    if (args.outputKind != ConvTileset && args.outputKind != ConvBitmap) return;

    setCurrentDepthIndex(app, args.depth);
    const DepthInfo& depth = currentDepth(app);
    if (depth.paletteKind != 0 && (args.colorCount < 1 || args.colorCount > depth.singlePaletteSize)) {
        debugMessage(app, formatText(tr(T::ConvertColourCountOutOfRange), args.colorCount, depth.singlePaletteSize));
        return;
    }
    if (args.outputKind == ConvTileset)
        convertTileset(app, args, existingPalette, existingTileset);
    else
        convertBitmap(app, args, existingPalette);
}

void cmdConv(App& app, char* args) { runConversion(app, args); }

}  // namespace ts
