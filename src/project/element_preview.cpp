#include "project/element_preview.h"

#include <algorithm>

#include "formats/platform.h"
#include "formats/platform_state.h"
#include "formats/template_variables.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "project/map_frame.h"
#include "project/preview_drawing.h"
#include "resources/texts.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr int64_t kBytesPerPixel = 4;

const DepthInfo& depthAt(const App& app, int index) {
    const PlatformRecord& platform = currentPlatform(app);
    if (index < 0 || index >= platform.depthCount) index = currentDepthIndex(app);
    return platform.depths[index];
}

// Makes the preview surface for a whole element of w x h pixels, or the part of it that the memory
// limit allows (then `partial` is set).
bool allocate(const App& app, const PreviewRender& how, ElementPreview& out, int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) return false;
    out.bytesNeeded = uint64_t(w) * uint64_t(h) * kBytesPerPixel;
    out.fullWidth = w;
    out.fullHeight = h;
    const uint32_t setting = how.whole ? 0 : systemSettings(app).maxMemory;
    int64_t limit = setting ? int64_t(setting) : kMaxSurfacePixels * kBytesPerPixel;
    limit = std::min(limit, kMaxSurfacePixels * kBytesPerPixel);
    int64_t width = std::min<int64_t>(w, kMaxSurfaceSide), height = std::min<int64_t>(h, kMaxSurfaceSide);
    if (width * kBytesPerPixel > limit) width = std::max<int64_t>(1, limit / kBytesPerPixel);
    const int64_t stride = (width + 3) / 4 * 4;
    height = std::min(height, std::max<int64_t>(1, limit / (stride * kBytesPerPixel)));
    while (height > 1 && !surfaceSizeAllowed(width, height)) height /= 2;
    out.partial = width < w || height < h;
    if (!createSurface(out.surface, int(width), int(height))) return false;
    for (int y = 0; y < out.surface.height; ++y) std::fill_n(out.surface.row(y), out.surface.width, out.background);
    return true;
}

bool previewBitmap(App& app, const ElementRecord& record, const PreviewRender& how, ElementPreview& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadBitmap) return false;
    PaletteBuffer palette{};
    BitmapData bitmap;
    int depthIndex = currentDepthIndex(app);
    if (!platform.loadBitmap(app, 0, depthIndex, &palette, bitmap, record, false)) return false;
    const DepthInfo& depth = depthAt(app, depthIndex);
    out.label = formatText(tr(T::PreviewBitmapSize), bitmap.width, bitmap.height);
    if (!allocate(app, how, out, bitmap.width, bitmap.height)) return false;
    // Colours that the loader marked transparent are left undrawn.
    const std::vector<uint32_t> colours = displayPalette(palette, *depth.colorFormat, true, out.background);
    for (int y = 0; y < out.surface.height; ++y) {
        const uint32_t* src = bitmap.pixels.data() + size_t(y) * size_t(bitmap.width);
        uint32_t* dst = out.surface.row(y);
        for (int x = 0; x < out.surface.width; ++x) {
            const uint32_t word = src[x];
            if (depth.paletteKind != 0) dst[x] = colours[word & 255];
            else if (!(depth.honoursTransparentColor && word < 0x1000000u)) dst[x] = displayColour(word, *depth.colorFormat);
        }
    }
    out.mode = PreviewMode::Bitmap;
    return true;
}

bool previewPalette(App& app, const ElementRecord& record, const PreviewSettings& settings, const PreviewRender& how,
                    ElementPreview& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadPalette) return false;
    int depthIndex = currentDepthIndex(app);
    const int count = platform.loadPalette(app, 0, &depthIndex, out.palette, record);
    if (count <= 0) return false;
    const DepthInfo& depth = depthAt(app, depthIndex);
    out.count = std::min(count, kPaletteEntries);
    out.columns = std::max(1, settings.paletteColumns);
    out.cellWidth = out.cellHeight = kPaletteSwatch;
    out.label = formatText(tr(T::PreviewPaletteColors), count);
    const int across = std::min(out.columns, out.count);
    const int rows = (out.count + out.columns - 1) / out.columns;
    if (!allocate(app, how, out, int64_t(across) * kPaletteSwatch, int64_t(rows) * kPaletteSwatch)) return false;
    for (int i = 0; i < out.count; ++i) {
        const uint32_t word = out.palette[size_t(i)];
        const uint32_t colour = how.transparentPalette && word < 0x1000000u ? out.background
                                                                            : displayColour(word, *depth.colorFormat);
        const int x0 = (i % out.columns) * kPaletteSwatch, y0 = (i / out.columns) * kPaletteSwatch;
        for (int y = y0; y < std::min(y0 + kPaletteSwatch, out.surface.height); ++y)
            for (int x = x0; x < std::min(x0 + kPaletteSwatch, out.surface.width); ++x) out.surface.at(x, y) = colour;
    }
    out.mode = PreviewMode::Palette;
    return true;
}

TileColours tileColours(const DepthInfo& depth, const PaletteBuffer& palette, uint32_t background) {
    TileColours colours;
    colours.background = background;
    colours.format = depth.colorFormat;
    colours.honoursTransparent = depth.honoursTransparentColor != 0;
    if (depth.paletteKind != 0) {
        colours.palette = displayPalette(palette, *depth.colorFormat, depth.honoursTransparentColor != 0, background);
        colours.paletteBanks = depth.paletteKind == 2 && depth.colorsPerSubPalette > 0;
        colours.bankSize = colours.paletteBanks ? depth.colorsPerSubPalette : kPaletteEntries;
    }
    return colours;
}

// The tile size the data was loaded with (multiples of 8, 8 when the file gives none).
void loadedTileSize(App& app, int& w, int& h) {
    w = getTemplateInteger(app, "tilex");
    h = getTemplateInteger(app, "tiley");
    if (w < 8 || w > 128 || w % 8) w = 8;
    if (h < 8 || h > 128 || h % 8) h = 8;
}

bool previewTileset(App& app, const ElementRecord& record, const PreviewSettings& settings, const PreviewRender& how,
                    ElementPreview& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadTileset) return false;
    PaletteBuffer palette{};
    std::vector<uint32_t> blocks;
    int depthIndex = currentDepthIndex(app);
    const int loaded = platform.loadTileset(app, 0, depthIndex, &palette, blocks, record, false);
    if (loaded <= 0) return false;
    const DepthInfo& depth = depthAt(app, depthIndex);
    int tw, th;
    loadedTileSize(app, tw, th);
    out.count = loaded / std::max(1, (tw * th) / 64);
    out.cellWidth = tw;
    out.cellHeight = th;
    const int width = std::max(settings.tilesetWidth, tw);
    out.columns = std::max(1, width / tw);
    out.label = formatText(tr(T::PreviewTilesetTiles), out.count);
    const int rows = std::max(1, (out.count + out.columns - 1) / out.columns);
    if (!allocate(app, how, out, int64_t(out.columns) * tw, int64_t(rows) * th)) return false;
    drawTileRows(out.surface, blocks, out.count, tw, th, out.columns, tileColours(depth, palette, out.background));
    out.mode = PreviewMode::Tileset;
    return true;
}

// Drawn by the map editor's view code, the map opened as the editor opens it.
bool previewMap(App& app, const ElementRecord& record, const PreviewRender& how, ElementPreview& out) {
    out.settingsScript = settingsPath(record.file);
    out.settingsScriptExists = fileExists(out.settingsScript);
    MapFrame frame;
    if (!openMapFrame(app, record, out.background, how.mapSettings, frame)) return false;
    const PlaneRecord& plane = frame.doc.planes[size_t(frame.doc.active)];
    out.cellWidth = plane.blockWidth;
    out.cellHeight = plane.blockHeight;
    out.columns = std::max(1, int(plane.width));
    out.count = plane.width * plane.height;
    out.label = formatText(tr(T::PreviewMapSize), plane.width, plane.height);
    if (!allocate(app, how, out, mapFrameWidth(frame), mapFrameHeight(frame))) return false;
    drawMapFrame(app, frame, out.surface);
    out.mode = PreviewMode::Map;
    return true;
}

}  // namespace

bool buildPreview(App& app, int index, const PreviewSettings& settings, uint32_t background, ElementPreview& out,
                  const PreviewRender& how) {
    out = ElementPreview{};
    out.background = background & 0xFFFFFF;
    const auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return false;
    const ElementRecord record = records[size_t(index)];
    if (record.isFolder()) return true;
    bool ok = true;
    switch (record.type()) {
        case TYPE_BITMAP: ok = previewBitmap(app, record, how, out); break;
        case TYPE_PALETTE: ok = previewPalette(app, record, settings, how, out); break;
        case TYPE_MOSAIQUE: ok = previewTileset(app, record, settings, how, out); break;
        case TYPE_CARTE: ok = previewMap(app, record, how, out); break;
        default: break;
    }
    if (!ok) {
        const std::string script = out.settingsScript;
        const bool scriptExists = out.settingsScriptExists;
        out = ElementPreview{};
        out.background = background & 0xFFFFFF;
        out.settingsScript = script;
        out.settingsScriptExists = scriptExists;
    }
    return ok;
}

std::vector<std::string> previewMouseTexts(const ElementPreview& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.surface.width || y >= p.surface.height || p.cellWidth <= 0 || p.cellHeight <= 0)
        return {};
    const int column = x / p.cellWidth, row = y / p.cellHeight;
    switch (p.mode) {
        case PreviewMode::Palette: {
            if (column >= p.columns) return {};
            const int i = row * p.columns + column;
            if (i >= p.count) return {};
            const uint32_t c = p.palette[size_t(i)];
            return {formatText(tr(T::PreviewPaletteIndex), i),
                    formatText(tr(T::PreviewPaletteRgb), bgraRed(c), bgraGreen(c), bgraBlue(c))};
        }
        case PreviewMode::Tileset: {
            const int i = row * p.columns + column;
            if (column >= p.columns || i >= p.count) return {};
            return {formatText(tr(T::PreviewTileNumber), i)};
        }
        case PreviewMode::Map:
            return {formatText(tr(T::PreviewMapCell), column, row)};
        default:
            return {};
    }
}

int previewMegabytesNeeded(const ElementPreview& preview) {
    return int((preview.bytesNeeded + (uint64_t(1) << 20) - 1) >> 20);
}

int64_t replacePixels(Surface& surface, uint32_t from, uint32_t to) {
    int64_t changed = 0;
    for (int y = 0; y < surface.height; ++y) {
        uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width; ++x)
            if (row[x] == from) {
                row[x] = to;
                ++changed;
            }
    }
    return changed;
}

}  // namespace ts
