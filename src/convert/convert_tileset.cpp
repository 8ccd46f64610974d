#include "convert/convert_tileset.h"

#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/convert_tileset_steps.h"
#include "convert/image_file.h"
#include "convert/multi_palette.h"
#include "convert/packed_tiles.h"
#include "convert/tile_index.h"
#include "convert/quantize.h"
#include "convert/tile_stage.h"
#include "formats/platform.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "formats/format_state.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "resources/texts.h"

namespace ts {

namespace {

// The colour stage on the palette path. Fills the index image and the working palette; gives the
// palette's colour count, or 0 when the conversion ends.
int paletteStage(App& app, const ConversionRequest& request, const DepthInfo& depth, int colorCount,
                 IndexImage& image, WorkingPalette& palette) {
    const int capacity = std::max(currentPlatform(app).paletteCapacity, kPaletteEntries);
    palette.assign(size_t(capacity) + 100, 0);
    QuantizePositions pos;
    int existing = 0;
    if (request.existingPalette >= 0) {
        existing = loadExistingPalette(app, request.existingPalette, palette);
        if (existing < 0) return 0;
    }
    const int K = std::max(depth.colorsPerSubPalette, 1);
    if (request.paletteReuse) {
        pos.searchStart = 0;
        pos.newStart = existing;
        pos.limit = colorCount;
    } else {
        pos.searchStart = existing;
        pos.newStart = existing;
        if (depth.indexed) {
            pos.newStart = (existing + K - 1) / K * K;
            pos.limit = pos.newStart + K;
        } else {
            pos.limit = colorCount;
        }
    }
    const bool colourZeroTransparent = depth.color0Transparent != 0;
    bool sourceTable = false;
    int count = 0;
    pos.fillIndex = depth.indexed && !request.paletteReuse ? uint32_t(pos.newStart) : 0u;
    if (sourceTableFits(app, palette, pos)) {
        sourceTable = true;
        count = quantizeFromSourceTable(app, image, palette, pos);
    } else {
        if (colourZeroTransparent && existing > 0) {
            dropFirstEntry(palette, pos.newStart);
            pos.newStart = std::max(pos.newStart - 1, pos.searchStart);
            pos.fillIndex = depth.indexed && !request.paletteReuse ? uint32_t(pos.newStart) : 0u;
        }
        count = quantizeWithCurrentMethod(app, image, palette, pos, PrecisionSearch::Binary);
    }
    if (count <= 0) return 0;
    if (colourZeroTransparent && !sourceTable) insertZeroColour(app, palette, count);
    return count;
}

void reportProgress(App& app, double fraction) {
    hostServices(app).progress(tr(T::ConvertProgressPalettes), fraction);
    if (fraction >= 1.0) {
        hostServices(app).progressPalettes({});
        hostServices(app).progressBlock({});
    }
}

// A colour as the progress display shows it: each 5-bit component c as c x 8 + 4.
uint32_t shownColour(uint32_t bgra) {
    const auto shown = [](int component) { return uint32_t(std::min(255, component * 8 + 4)); };
    return shown(bgraRed(bgra)) << 16 | shown(bgraGreen(bgra)) << 8 | shown(bgraBlue(bgra));
}

void reportPalettes(App& app, const std::vector<uint32_t>& entries, int groups) {
    if (groups <= 0) return;
    const size_t perGroup = entries.size() / size_t(groups);
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(groups));
    for (size_t g = 0; g < rows.size(); ++g)
        for (size_t i = 0; i < perGroup; ++i) rows[g].push_back(shownColour(entries[g * perGroup + i]));
    hostServices(app).progressPalettes(rows);
}

void reportBlock(App& app, const TileStore& store, int blocks, int block, const std::vector<uint32_t>& colours) {
    ProgressBlock shown;
    shown.index = block;
    shown.count = blocks;
    shown.width = store.tileWidth;
    shown.height = store.tileHeight;
    shown.pixels.reserve(colours.size());
    for (uint32_t c : colours) shown.pixels.push_back(shownColour(c));
    hostServices(app).progressBlock(shown);
}

// Final map entries: the stored tile's value (tile number, and the sub-palette field on the
// multi-palette path) with the mirror bits of the match, cut to 8 bits for the Rotation type.
// Gives the highest tile number the map refers to.
uint32_t composeMapEntries(std::vector<uint32_t>& map, const std::vector<uint8_t>& mirrors,
                           const std::vector<uint32_t>& tileValues, const std::vector<uint32_t>& tileNumbers,
                           const std::vector<uint8_t>& tileMirrors, const MapEntryLayout& layout, int mapType) {
    uint32_t highest = 0;
    for (size_t i = 0; i < map.size(); ++i) {
        const uint32_t tile = map[i];
        uint32_t entry = tile < tileValues.size() ? tileValues[tile] : tile;
        uint8_t mirror = i < mirrors.size() ? mirrors[i] : 0;
        if (tile < tileMirrors.size()) mirror ^= tileMirrors[tile];
        highest = std::max(highest, tile < tileNumbers.size() ? tileNumbers[tile] : tile);
        if (mirror & kMirrorH) entry |= layout.hMirrorMask;
        if (mirror & kMirrorV) entry |= layout.vMirrorMask;
        map[i] = mapType == MapRotation ? entry & 255u : entry;
    }
    return highest;
}

}  // namespace

int ConvertTileset(App& app, const ConversionRequest& request, int colorCount) {
    const DepthInfo& depth = currentDepth(app);
    const int depthIndex = currentDepthIndex(app);
    const int mapType = currentMapType(app);
    const bool multiPalette = depth.paletteKind == 2 && colorCount > depth.colorsPerSubPalette;

    // Working size and buffers.
    int imageWidth = request.imageWidth, imageHeight = request.imageHeight;
    if ((imageWidth <= 0 || imageHeight <= 0) && currentPixelSource(app)) {
        imageWidth = currentPixelSource(app)->width;
        imageHeight = currentPixelSource(app)->height;
    }
    int64_t workSide[2] = {request.workWidth, request.workHeight};
    if (!applyWorkingSizeRule(imageWidth, imageHeight, request.tileWidth, request.tileHeight, workSide[0],
                              workSide[1]))
        return 0;
    IndexImage image;
    if (!allocateIndexImage(app, image, workSide[0], workSide[1])) return 0;
    const int workWidth = int(workSide[0]), workHeight = int(workSide[1]);

    // Colours.
    WorkingPalette palette;
    int paletteCount = 0;
    if (depth.paletteKind == 0 || multiPalette) {
        directColours(app, image);
    } else {
        paletteCount = paletteStage(app, request, depth, colorCount, image, palette);
        if (paletteCount <= 0) return 0;
    }

    // Tile numbering: an existing tileset's tiles come first.
    TileStore store;
    store.tileWidth = request.tileWidth;
    store.tileHeight = request.tileHeight;
    TilingOptions options;
    options.matching = request.tileMatching;
    const MapEntryLayout& layout = currentMapLayout(app);
    options.mirrors = request.flipMerge && request.tileMatching && layoutHasMirrors(layout);
    int existingTiles = 0;
    if (request.existingTileset >= 0 && request.existingTileset < elementTable(app).count()) {
        const PlatformRecord& platform = currentPlatform(app);
        if (!platform.loadTileset) return 0;
        int loadedDepth = depthIndex;
        std::vector<uint32_t> pixels;
        const ElementRecord& tileset = elementTable(app).records[size_t(request.existingTileset)];
        const int blocks = platform.loadTileset(app, 0, loadedDepth, nullptr, pixels, tileset, false);
        if (blocks <= 0) {
            // An empty file or one without values: the build must not go on with the old outputs.
            showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ConvReuseEmpty), tileset.file.c_str(), "util="),
                    Icon::Error);
            return 0;
        }
        existingTiles = blocks / store.blocksPerTile();
        pixels.resize(size_t(existingTiles) * size_t(store.valuesPerTile()), 0);
        store.values = std::move(pixels);
        store.count = existingTiles;
        options.searchStart = request.tilesetReuse ? 0 : existingTiles;
    } else if (convertSettings(app).firstTileEmpty) {
        store.appendEmpty();
    }

    // Tile numbers stay whole here; the Rotation type's cut to 8 bits comes with the map entries.
    std::vector<uint32_t> map;
    std::vector<uint8_t> mirrors;
    if (cutIntoTiles(image.values.data(), workWidth, workHeight, options, store, map,
                     options.mirrors ? &mirrors : nullptr) != TilingStatus::Ok) {
        showBox(hostServices(app), tr(T::CaptionTilesConverter), tr(T::ConvertTooManyTiles), Icon::Error);
        return 0;
    }
    image = IndexImage{};

    // Per stored tile: the value its map entries take and the mirror flags it adds.
    std::vector<uint32_t> tileValues, tileNumbers;
    std::vector<uint8_t> tileMirrors;
    if (multiPalette) {
        const uint32_t paletteShift = layout.paletteMask == 0 ? 32u : layout.paletteShift;
        bool packed = false;
        if (convertSettings(app).exactPacking) {
            PackedTilesParams packing;
            packing.colorsPerSubPalette = depth.colorsPerSubPalette;
            packing.colorCount = colorCount;
            packing.reserved = depth.color0Transparent ? 1 : 0;
            packing.paletteShift = paletteShift;
            packing.searchStart = options.searchStart;
            packing.matching = request.tileMatching;
            packing.preferDuplicates = request.preferDuplicates;
            packing.mirrors = options.mirrors;
            PackedTilesResult result;
            packed = packTilesExactly(store, existingTiles, packing, result);
            if (packed) {
                tileValues = std::move(result.tileValues);
                tileMirrors = std::move(result.tileMirrors);
                tileNumbers = std::move(result.tileNumbers);
                palette = std::move(result.palette);
                paletteCount = result.colorCount;
            }
        }
        if (!packed) {
            MultiPaletteParams params;
            params.colorsPerSubPalette = depth.colorsPerSubPalette;
            params.colorCount = colorCount;
            params.reserved = depth.color0Transparent ? 1 : 0;
            params.colorization = convertSettings(app).colorization;
            params.fastPalReduction = convertSettings(app).fastPalReduction != 0;
            params.palReducPost = convertSettings(app).palReducPost != 0;
            params.accurate = convertSettings(app).quantization == 3;
            params.dither = convertSettings(app).dither == 1;
            const DepthColourTraits traits = currentDepthTraits(app);
            params.levelMax = (1 << std::min({traits.redBits, traits.greenBits, traits.blueBits})) - 1;
            // A map type without a palette field (or with the field switched off) carries no group.
            params.paletteShift = paletteShift;
            params.progress = [&app](double f) { reportProgress(app, f); };
            params.palettes = [&app](const std::vector<uint32_t>& entries, int groups) {
                reportPalettes(app, entries, groups);
            };
            if (hostServices(app).showsProgress()) {
                const int blocks = store.count - std::max(0, existingTiles);
                params.blockShown = [&app, &store, blocks](int block, const std::vector<uint32_t>& colours) {
                    reportBlock(app, store, blocks, block, colours);
                };
            }
            params.tooManyBlocks = [&app] { showBox(hostServices(app), tr(T::CaptionDebugging), tr(T::ConvertTooManyBlocksPerPalette)); };
            MultiPaletteResult result;
            if (assignSubPalettes(store, existingTiles, params, result) < 1) return 0;
            tileValues = std::move(result.tileValues);
            palette = std::move(result.palette);
            paletteCount = result.colorCount;
        }
    }
    const uint32_t highestTile = composeMapEntries(map, mirrors, tileValues, tileNumbers, tileMirrors, layout, mapType);

    // Output: map, tileset, palette.
    formatState(app).shared.tileX = request.tileWidth;
    formatState(app).shared.tileY = request.tileHeight;
    const int mapWidth = workWidth / request.tileWidth, mapHeight = workHeight / request.tileHeight;
    if (request.makeMap) saveMapWithName(app, request, mapWidth, mapHeight, map.data());
    // The platform's tile writer reads the working palette (the Game Boy's shade order).
    PaletteBuffer& working = platformState(app).workingPalette;
    working.fill(0);
    std::copy_n(palette.begin(), std::min(palette.size(), working.size()), working.begin());
    saveTilesetWithName(app, request, depthIndex, store.values.data(), store.count, request.tileWidth,
                        request.tileHeight);
    if (depth.paletteKind != 0) savePaletteWithName(app, request, palette.data(), paletteCount);
    if (request.makeMap) warnTileFieldOverflow(app, layout, mapType, highestTile);
    return 1;
}

}  // namespace ts
