#include "project/element_render.h"

#include <algorithm>
#include <vector>

#include "formats/platform.h"
#include "formats/template_variables.h"
#include "project/element_record.h"
#include "host/file_system.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

// Colour of a palette entry or a direct pixel (bytes blue, green, red, alpha in the depth's
// precision) as a pixel word; alpha 0 is a transparent colour.
struct ColourExpander {
    int redBits = 8, greenBits = 8, blueBits = 8;
    explicit ColourExpander(const DepthInfo* depth) {
        if (depth && depth->colorFormat && depth->colorFormat->redBits > 0) {
            redBits = depth->colorFormat->redBits;
            greenBits = depth->colorFormat->greenBits;
            blueBits = depth->colorFormat->blueBits;
        }
    }
    uint32_t operator()(uint32_t bgra) const {
        return uint32_t(expandComponent(bgraRed(bgra), redBits)) << 16 |
               uint32_t(expandComponent(bgraGreen(bgra), greenBits)) << 8 |
               uint32_t(expandComponent(bgraBlue(bgra), blueBits));
    }
};

const DepthInfo* depthAt(const App& app, int index) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.depths || index < 0 || index >= platform.depthCount) return nullptr;
    return &platform.depths[index];
}

// The depth whose %depth% code is `bits`, or the current one.
const DepthInfo* depthOfBits(const App& app, int bits) {
    const PlatformRecord& platform = currentPlatform(app);
    for (int i = 0; platform.depths && i < platform.depthCount; ++i)
        if (platform.depths[i].bitCode == bits) return &platform.depths[i];
    return &currentDepth(app);
}

bool makeSurface(Surface& out, int64_t width, int64_t height, uint32_t background) {
    if (!surfaceSizeAllowed(width, height) || !createSurface(out, int(width), int(height))) return false;
    for (int y = 0; y < out.height; ++y) std::fill_n(out.row(y), out.width, background);
    return true;
}

// Palette entries as pixel words; transparent entries (alpha 0) become the background.
std::vector<uint32_t> palettePixels(const PaletteBuffer& palette, const ColourExpander& expand, uint32_t background) {
    std::vector<uint32_t> out(palette.size());
    for (size_t i = 0; i < palette.size(); ++i) out[i] = bgraAlpha(palette[i]) == 0 ? background : expand(palette[i]);
    return out;
}

// One 8 x 8 block of tile pixels at (x, y), mirrored as asked. Indexed formats look the pixel up
// in colours[base + (index & mask)]; index 0 stays undrawn when the format keys it out.
struct TileDrawer {
    const DepthInfo* depth;
    const ColourExpander& expand;
    uint32_t background;
    bool indexed() const { return depth && depth->paletteKind != 0; }
    bool keyed() const { return depth && depth->color0Transparent; }

    void draw(Surface& s, const uint32_t* block, int x, int y, bool hMirror, bool vMirror,
              const std::vector<uint32_t>& colours, uint32_t base, uint32_t mask) const {
        for (int r = 0; r < 8; ++r) {
            const int py = y + (vMirror ? 7 - r : r);
            if (py < 0 || py >= s.height) continue;
            uint32_t* row = s.row(py);
            for (int c = 0; c < 8; ++c) {
                const int px = x + (hMirror ? 7 - c : c);
                if (px < 0 || px >= s.width) continue;
                const uint32_t value = block[r * 8 + c];
                if (indexed()) {
                    const uint32_t index = value & mask;
                    if (index == 0 && keyed()) continue;
                    const size_t at = size_t(base + index);
                    if (at < colours.size()) row[px] = colours[at];
                } else {
                    if (bgraAlpha(value) != 0) row[px] = expand(value);
                }
            }
        }
    }
};

// Tile size of the data just loaded (the tileset header's), 8 when it is not a usable size.
void loadedTileSize(App& app, int& width, int& height) {
    width = getTemplateInteger(app, "tilex");
    height = getTemplateInteger(app, "tiley");
    if (width < 8 || width > 128 || width % 8) width = 8;
    if (height < 8 || height > 128 || height % 8) height = 8;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The emulation flag of the plane that shows this map: system.emulgba, unless the map's settings
// script opens the map as plane k and gives Maps[k].EmulGBA.
bool mapEmulation(App& app, const ElementRecord& element) {
    bool emulation = systemSettings(app).emulGba != 0;
    std::string text;
    if (!readWholeFile(nativePath(settingsPath(element.file)), text, int64_t(1) << 20)) return emulation;
    int plane = -1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line.erase(0, first);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const std::string lower = lowerCase(line);
        if (lower.rfind("maps.add", 0) == 0) {
            const size_t open = line.find('"'), close = open == std::string::npos ? open : line.find('"', open + 1);
            if (close == std::string::npos || line.substr(open + 1, close - open - 1) != element.name) continue;
            const size_t comma = line.find(',', close);
            const size_t number = comma == std::string::npos ? comma : line.find_first_not_of(" \t", comma + 1);
            plane = number == std::string::npos ? 1 : parseValue(line.c_str() + number);
            continue;
        }
        int index = 1;
        size_t rest = 0;
        if (lower.rfind("maps[", 0) == 0) {
            index = parseValue(lower.c_str() + 5);
            rest = lower.find(']');
            if (rest == std::string::npos) continue;
            ++rest;
        } else if (lower.rfind("maps", 0) == 0) {
            rest = 4;
        } else {
            continue;
        }
        if (lower.compare(rest, 9, ".emulgba ") != 0 && lower.compare(rest, 9, ".emulgba=") != 0) continue;
        if (index != plane) continue;
        size_t value = lower.find_first_not_of(" =\t", rest + 8);
        if (value != std::string::npos) emulation = parseValue(lower.c_str() + value) != 0;
    }
    return emulation;
}

}  // namespace

bool renderBitmapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadBitmap) return false;
    PaletteBuffer palette{};
    BitmapData bitmap;
    int depthIndex = currentDepthIndex(app);
    if (!platform.loadBitmap(app, 0, depthIndex, &palette, bitmap, element, false)) return false;
    const DepthInfo* depth = depthAt(app, depthIndex);
    const ColourExpander expand(depth);
    if (!makeSurface(out, bitmap.width, bitmap.height, background)) return false;
    const bool indexed = depth && depth->paletteKind != 0;
    const std::vector<uint32_t> colours = palettePixels(palette, expand, background);
    for (int y = 0; y < bitmap.height; ++y) {
        uint32_t* row = out.row(y);
        const uint32_t* pixels = bitmap.pixels.data() + size_t(y) * size_t(bitmap.width);
        for (int x = 0; x < bitmap.width; ++x) {
            const uint32_t value = pixels[x];
            if (indexed) row[x] = colours[value & 255u];
            else if (depth && depth->bitCode == 32) row[x] = value & 0xFFFFFFu;
            else row[x] = bgraAlpha(value) == 0 ? background : expand(value);
        }
    }
    return true;
}

bool renderPaletteElement(App& app, const ElementRecord& element, uint32_t background, Surface& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadPalette) return false;
    PaletteBuffer palette{};
    int depthIndex = currentDepthIndex(app);
    const int count = std::min(platform.loadPalette(app, 0, &depthIndex, palette, element), kPaletteEntries);
    if (count <= 0) return false;
    const ColourExpander expand(depthAt(app, depthIndex));
    const int rows = (count + kPreviewPaletteColumns - 1) / kPreviewPaletteColumns;
    if (!makeSurface(out, kPreviewPaletteColumns * kPreviewSwatch, int64_t(rows) * kPreviewSwatch, background))
        return false;
    const std::vector<uint32_t> colours = palettePixels(palette, expand, background);
    for (int i = 0; i < count; ++i) {
        const int x0 = (i % kPreviewPaletteColumns) * kPreviewSwatch, y0 = (i / kPreviewPaletteColumns) * kPreviewSwatch;
        for (int y = 0; y < kPreviewSwatch; ++y) std::fill_n(out.row(y0 + y) + x0, kPreviewSwatch, colours[size_t(i)]);
    }
    return true;
}

bool renderTilesetElement(App& app, const ElementRecord& element, uint32_t background, Surface& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadTileset) return false;
    PaletteBuffer palette{};
    std::vector<uint32_t> pixels;
    int depthIndex = currentDepthIndex(app);
    const int blocks = platform.loadTileset(app, 0, depthIndex, &palette, pixels, element, false);
    if (blocks <= 0) return false;
    int tileWidth = 8, tileHeight = 8;
    loadedTileSize(app, tileWidth, tileHeight);
    const int blocksPerTile = (tileWidth / 8) * (tileHeight / 8);
    const int tiles = blocks / blocksPerTile;
    const int perRow = std::max(1, kPreviewTilesetWidth / tileWidth);
    const int rows = (tiles + perRow - 1) / perRow;
    if (!makeSurface(out, std::max(kPreviewTilesetWidth, tileWidth), int64_t(std::max(rows, 1)) * tileHeight, background))
        return false;
    const DepthInfo* depth = depthAt(app, depthIndex);
    const ColourExpander expand(depth);
    const std::vector<uint32_t> colours = palettePixels(palette, expand, background);
    const TileDrawer drawer{depth, expand, background};
    const uint32_t mask = depth && depth->paletteKind == 2 ? uint32_t(std::max(depth->colorsPerSubPalette, 1) - 1) : 255u;
    for (int t = 0; t < tiles; ++t) {
        const int x0 = (t % perRow) * tileWidth, y0 = (t / perRow) * tileHeight;
        for (int b = 0; b < blocksPerTile; ++b) {
            const uint32_t* block = pixels.data() + (size_t(t) * size_t(blocksPerTile) + size_t(b)) * 64;
            drawer.draw(out, block, x0 + (b % (tileWidth / 8)) * 8, y0 + (b / (tileWidth / 8)) * 8, false, false,
                        colours, 0, mask);
        }
    }
    return true;
}

bool renderMapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out) {
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadMap) return false;
    PaletteBuffer palette{};
    std::vector<uint32_t> pixels;
    MapData map;
    if (!platform.loadMap(app, 0, &pixels, &palette, map, element)) return false;
    // The linked tileset's header values stay in the variables after the load.
    const DepthInfo* depth = depthOfBits(app, getTemplateInteger(app, "depth"));
    int bw = 8, bh = 8;
    loadedTileSize(app, bw, bh);
    const uint32_t blocksPerTile = uint32_t((bw / 8) * (bh / 8));
    const uint32_t tileCount = uint32_t(pixels.size() / 64) / blocksPerTile;
    if (!makeSurface(out, int64_t(map.width) * bw, int64_t(map.height) * bh, background)) return false;
    const ColourExpander expand(depth);
    const std::vector<uint32_t> colours = palettePixels(palette, expand, background);
    const TileDrawer drawer{depth, expand, background};
    const MapEntryLayout& layout = platform.layouts[size_t(std::clamp(map.mapType, 0, kMapTypeCount - 1))];
    const bool emulation = mapEmulation(app, element);
    const bool banks = depth && depth->paletteKind == 2;
    const uint32_t bankSize = banks ? uint32_t(std::max(depth->colorsPerSubPalette, 1)) : 256u;
    for (int cy = 0; cy < map.height; ++cy) {
        for (int cx = 0; cx < map.width; ++cx) {
            const uint32_t e = map.cells[size_t(cy) * size_t(map.width) + size_t(cx)];
            if ((emulation ? e & 1023u : e) >= tileCount) continue;
            const uint32_t tile = emulation ? layout.tile(e) : e;
            if (tile >= tileCount) continue;
            const bool hMirror = emulation && layout.hMirror(e) != 0;
            const bool vMirror = emulation && layout.vMirror(e) != 0;
            const uint32_t bank = emulation && banks ? layout.palette(e) : 0;
            const uint32_t first = (blocksPerTile * tile) & 0xFFFFu;
            const int columns = bw / 8, rowsOfBlocks = bh / 8;
            for (int r = 0; r < rowsOfBlocks; ++r) {
                for (int c = 0; c < columns; ++c) {
                    const size_t blockIndex = size_t(first) + size_t(r * columns + c);
                    if ((blockIndex + 1) * 64 > pixels.size()) continue;
                    const int x = cx * bw + (hMirror ? bw - 8 - c * 8 : c * 8);
                    const int y = cy * bh + (vMirror ? bh - 8 - r * 8 : r * 8);
                    drawer.draw(out, pixels.data() + blockIndex * 64, x, y, hMirror, vMirror, colours,
                                bank * bankSize, bankSize - 1);
                }
            }
        }
    }
    return true;
}

}  // namespace ts
