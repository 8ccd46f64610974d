#include "convert/convert_tileset_steps.h"

#include <algorithm>
#include <new>

#include "convert/convert_tileset.h"
#include "formats/platform.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "resources/texts.h"

namespace ts {

bool allocateIndexImage(App& app, IndexImage& image, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxWorkPixels || height > kMaxWorkPixels || width * height > kMaxWorkPixels) {
        showBox(hostServices(app), tr(T::CaptionTilesConverter),
                formatText(tr(T::ConvertWorkAreaTooLarge), (long long)width, (long long)height,
                           (long long)(kMaxWorkPixels / 1000000)),
                Icon::Error);
        return false;
    }
    return image.resize(int(width), int(height));
}

int loadExistingPalette(App& app, int elementIndex, WorkingPalette& palette) {
    if (elementIndex < 0 || elementIndex >= elementTable(app).count()) return 0;
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadPalette) return -1;
    PaletteBuffer buffer{};
    int depth = 0;
    const ElementRecord& element = elementTable(app).records[size_t(elementIndex)];
    const int count = platform.loadPalette(app, 0, &depth, buffer, element);
    if (count <= 0) {
        // An empty file or one without values: the build must not go on with the old outputs.
        showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ConvReuseEmpty), element.file.c_str(), "upal="),
                Icon::Error);
        return -1;
    }
    if (palette.size() < buffer.size()) palette.resize(buffer.size(), 0);
    std::copy(buffer.begin(), buffer.end(), palette.begin());
    return std::min(count, kPaletteEntries);
}

void dropFirstEntry(WorkingPalette& palette, int count) {
    if (count <= 0 || palette.empty()) return;
    count = std::min<int>(count, int(palette.size()));
    std::copy(palette.begin() + 1, palette.begin() + count, palette.begin());
    palette[size_t(count - 1)] = 0;
}

void insertZeroColour(App& app, WorkingPalette& palette, int& count) {
    if (count < 0) count = 0;
    if (palette.size() < size_t(count) + 1) palette.resize(size_t(count) + 1, 0);
    std::copy_backward(palette.begin(), palette.begin() + count, palette.begin() + count + 1);
    palette[0] = packBgra(convertSettings(app).zeroBlue, convertSettings(app).zeroGreen, convertSettings(app).zeroRed, 0);
    ++count;
}

bool layoutHasMirrors(const MapEntryLayout& layout) {
    return layout.hMirrorMask != 0 && layout.vMirrorMask != 0 && layout.hMirrorShift < 32 && layout.vMirrorShift < 32;
}

int tileFieldBits(const MapEntryLayout& layout, int mapType) {
    const int entryBits = mapType == MapRotation ? 8 : mapType == MapText ? 16 : 32;
    int bits = 0;
    while (bits < entryBits && ((layout.tileMask >> bits) & 1u)) ++bits;
    return bits;
}

void warnTileFieldOverflow(App& app, const MapEntryLayout& layout, int mapType, uint32_t highestTile) {
    const int bits = tileFieldBits(layout, mapType);
    if (bits >= 32 || (uint64_t(highestTile) >> bits) == 0) return;
    showBox(hostServices(app), tr(T::CaptionWarning),
            formatText(tr(T::ConvertTileFieldOverflow), int(uint32_t(1) << bits), bits), Icon::Warning);
}

namespace {

// Gives the file about to be written its %name% for the duration of one save.
class NameForSave {
public:
    NameForSave(App& app, const std::string& name) : app_(app) { platformState(app_).conversionName = name; }
    ~NameForSave() { platformState(app_).conversionName.clear(); }

private:
    App& app_;
};

}  // namespace

int saveMapWithName(App& app, const ConversionRequest& request, int width, int height, const uint32_t* cells) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.saveMap) return 0;
    NameForSave name(app, request.mapName);
    return platform.saveMap(app, request.saveFlags, request.map, &request.tileset, width, height, cells);
}

int saveTilesetWithName(App& app, const ConversionRequest& request, int depth, const uint32_t* pixels, int tiles,
                        int tileWidth, int tileHeight) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.saveTileset) return 0;
    NameForSave name(app, request.tilesetName);
    return platform.saveTileset(app, request.saveFlags, depth, request.tileset, &request.palette, pixels, tiles, tileWidth,
                                tileHeight);
}

int saveBitmapWithName(App& app, const ConversionRequest& request, int depth, const uint32_t* pixels, int width,
                       int height) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.saveBitmap) return 0;
    NameForSave name(app, request.tilesetName);
    return platform.saveBitmap(app, request.saveFlags, depth, request.tileset, &request.palette, pixels, width, height);
}

int savePaletteWithName(App& app, const ConversionRequest& request, const uint32_t* colours, int count) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.savePalette) return 0;
    NameForSave name(app, request.paletteName);
    return platform.savePalette(app, 0, request.palette, colours, count);
}

}  // namespace ts
