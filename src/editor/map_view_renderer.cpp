#include "editor/map_view_renderer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "editor/cell_painter.h"
#include "editor/surface_primitives.h"
#include "editor/view_text.h"

namespace ts {

namespace {

constexpr int kTileSide = kViewTileSide;

// The 3 x 5 hex digits, one bit per pixel, row-major, bit 14 = top-left.
constexpr uint16_t kHexGlyphs[16] = {
    0b111101101101111, 0b010110010010111, 0b111001111100111, 0b111001111001111,
    0b101101111001001, 0b111100111001111, 0b111100111101111, 0b111001001001001,
    0b111101111101111, 0b111101111001111, 0b111101111101101, 0b110101110101110,
    0b111100100100111, 0b110101101101110, 0b111100111100111, 0b111100111100100,
};

struct HexFont {
    uint32_t words[16][kHexDigitWidth * kHexDigitHeight];
    HexFont() {
        for (int d = 0; d < 16; ++d)
            for (int i = 0; i < kHexDigitWidth * kHexDigitHeight; ++i) words[d][i] = (kHexGlyphs[d] >> (14 - i)) & 1;
    }
};
const HexFont& hexFont() {
    static const HexFont font;
    return font;
}
constexpr uint32_t kHexPalette[2] = {0xFFFFFF, 0x000000};  // white box, black digit

bool eightBitEntries(const PlaneRecord& plane) { return plane.valueMask == 0xFF || plane.mapType == MapRotation; }

// The grid of the active plane: cells of the grid step, shifted by the scroll position, each
// with its bottom row and right column blended. Only the rows from bandTop to the target's
// height and the columns from left to right are drawn (the frame is drawn in pieces).
void drawGrid(Surface& target, const EditorDocument& doc, const PlaneRecord& plane, int64_t ox, int64_t oy,
              int bandTop, int64_t left = 0, int64_t right = INT64_MAX) {
    const EditorOptions& o = doc.options;
    if (!o.gridShown || plane.gridX < 4 || plane.gridY < 4) return;
    const int64_t limitX = std::min({int64_t(target.width), int64_t(plane.width) * plane.blockWidth - ox, right});
    const int64_t limitY = std::min<int64_t>(target.height, int64_t(plane.height) * plane.blockHeight - oy);
    const int64_t startX = -(ox % plane.gridX), startY = -(oy % plane.gridY);
    const int a = primitiveAlpha(o.alphaGrid);
    const int w = plane.gridX, h = plane.gridY;
    int64_t firstX = startX;
    if (left > firstX) firstX += (left - firstX) / w * w;
    // One horizontal run, cut to the window's columns.
    auto run = [&](int64_t x0, int64_t x1, int64_t y0, int64_t rows) {
        x0 = std::max(x0, left);
        x1 = std::min(x1, right);
        if (x1 > x0) blendRect(target, int(x0), int(y0), int(x1 - x0), int(rows), o.gridColor, a);
    };
    int64_t y = startY;
    if (bandTop > y) y += (bandTop - y) / h * h;
    for (; y < limitY; y += h) {
        const int64_t bottom = y + h - 1;
        const int64_t top = std::max<int64_t>(y, bandTop), end = std::min<int64_t>(y + h, target.height);
        for (int64_t x = firstX; x < limitX; x += w) {
            if (bottom >= bandTop && bottom < target.height) run(x, x + w - 1, bottom, 1);
            if (end > top) run(x + w - 1, x + w, top, end - top);
        }
    }
}

int64_t roundDownTo(int64_t v, int64_t step) {
    if (step <= 0) return v;
    return v >= 0 ? v / step * step : -((-v + step - 1) / step) * step;
}

}  // namespace

void makeFramePalette(const PlaneRecord& plane, FramePalette& out) {
    for (int i = 0; i < kPaletteEntries; ++i) out[i] = plane.palette[i] & 0x00FFFFFFu;
    std::fill(out.begin() + kPaletteEntries, out.end(), 0u);
}

int64_t tileOfValue(const PlaneRecord& plane, uint32_t value) {
    const uint32_t v = value + uint32_t(plane.tileOffset);
    uint32_t result = v & plane.displayMask;
    const int rules = std::clamp(plane.ruleCount, 0, kMaxPlaneRules);
    for (int i = 0; i < rules; ++i) {
        const ValueRule& rule = plane.rules[i];
        if (rule.low <= v && v <= rule.high) {
            result = rule.exact ? rule.target() : v - uint32_t(rule.offset);
            break;
        }
    }
    if (int32_t(result) < 0) return -1;
    const uint32_t tile = plane.emulGba ? (result & 1023u) : result;
    if (tile >= uint32_t(std::max(plane.tileCount, 0))) return -1;
    return int64_t(result);
}

bool tilesHoldColours(const PlaneRecord& plane, const PlatformRecord* platform) {
    if (!platform || !platform->depths || plane.depth < 0 || plane.depth >= platform->depthCount) return false;
    return platform->depths[plane.depth].paletteKind == 0;
}

void drawCell(Surface& target, int x, int y, const PlaneRecord& plane, const FramePalette& palette, uint32_t entry,
              int a, bool directColour) {
    uint32_t tileNumber = entry;
    bool h = false, v = false;
    uint32_t bank = 0;
    if (plane.emulGba) {
        tileNumber = plane.layout.tile(entry);
        h = plane.layout.hMirror(entry) != 0;
        v = plane.layout.vMirror(entry) != 0;
        bank = plane.layout.palette(entry);
    }
    if (tileNumber >= uint32_t(std::max(plane.tileCount, 0))) return;
    const int bw = std::clamp(plane.blockWidth, kTileSide, 64), bh = std::clamp(plane.blockHeight, kTileSide, 64);
    const int across = bw / kTileSide, down = bh / kTileSide;
    const uint32_t perBlock = uint32_t(across * down);
    const uint32_t first = (perBlock * tileNumber) & 0xFFFFu;
    // A block whose tiles run past the tile data draws nothing.
    if (size_t(first + perBlock) * kTileWords > plane.tiles.size()) return;

    uint32_t base = 0, mask = kPaletteEntries - 1;
    if (plane.paletteBanks && plane.emulGba) {
        const uint32_t perBank = uint32_t(std::clamp(plane.colorsPerBank, 1, kPaletteEntries));
        base = std::min<uint32_t>(bank * perBank, kPaletteEntries);
        mask = perBank - 1;
    } else if (plane.paletteBanks) {
        mask = uint32_t(std::clamp(plane.colorsPerBank, 1, kPaletteEntries)) - 1;
    }
    const uint32_t* pal = palette.data() + base;
    const int alpha = primitiveAlpha(a);
    const bool keyed = plane.index0Transparent;
    for (int row = 0; row < down; ++row) {
        const int py = v ? y + bh - kTileSide - row * kTileSide : y + row * kTileSide;
        for (int col = 0; col < across; ++col) {
            const int px = h ? x + bw - kTileSide - col * kTileSide : x + col * kTileSide;
            const uint32_t* tile = plane.tiles.data() + size_t(first + uint32_t(row * across + col)) * kTileWords;
            if (directColour) {
                if (keyed) blendBlockKeyed(target, px, py, kTileSide, kTileSide, tile, h, v, alpha);
                else blendBlock(target, px, py, kTileSide, kTileSide, tile, h, v, alpha);
                continue;
            }
            drawIndexedTile(target, px, py, tile, pal, mask, h, v, keyed, alpha);
        }
    }
}

void drawHexValue(Surface& target, int x, int y, int blockWidth, int blockHeight, uint32_t value,
                  bool eightBitEntries, bool fillZeros) {
    int digits = 2;
    if (!eightBitEntries && (fillZeros || (value & 0xFF00u) != 0)) digits = 4;
    const int baseX = x + blockWidth / 2, baseY = y + blockHeight / 2 - 1;
    const std::span<const uint32_t> palette(kHexPalette, 2);
    for (int d = 0; d < digits; ++d) {
        const int dx = baseX - (d % 2) * 4;
        const int dy = baseY - (d / 2) * 6;
        const uint32_t digit = (value >> (4 * d)) & 15u;
        copyIndexed(target, dx, dy, kHexDigitWidth, kHexDigitHeight, hexFont().words[digit], palette, false, false, 1);
    }
}

double effectiveRateX(const EditorDocument& doc, int slot) {
    const double active = doc.planes[size_t(doc.active)].scrollRateX;
    return active > 0 ? doc.planes[size_t(slot)].scrollRateX / active : 1.0;
}
double effectiveRateY(const EditorDocument& doc, int slot) {
    const double active = doc.planes[size_t(doc.active)].scrollRateY;
    return active > 0 ? doc.planes[size_t(slot)].scrollRateY / active : 1.0;
}

namespace {

// The cell rows of a map plane that start between bandTop and the target's height (bandTop is a
// multiple of the block height), and of these the cells that start between the columns left and
// right (multiples of the block width); `viewHeight` is the height of the whole view. `cache`
// (may be null) holds the tiles decoded in this frame.
void drawPlaneBand(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
                   bool graphics, int bandTop, int viewHeight, bool directColour, ViewTileCache* cache,
                   int64_t left = 0, int64_t right = INT64_MAX) {
    const PlaneRecord& plane = doc.planes[size_t(slot)];
    const int bw = plane.blockWidth, bh = plane.blockHeight;
    if (bw <= 0 || bh <= 0 || plane.width <= 0 || plane.height <= 0) return;
    if (plane.cells.size() < size_t(plane.width) * size_t(plane.height)) return;
    const double rx = effectiveRateX(doc, slot), ry = effectiveRateY(doc, slot);
    const double sx = double(doc.scrollX) * rx, sy = double(doc.scrollY) * ry;
    const int64_t firstCol = int64_t(sx / bw), firstRow = int64_t(sy / bh);
    const int64_t cols = std::min<int64_t>(target.width / bw + 1, plane.width - firstCol);
    const int64_t rows = std::min<int64_t>(viewHeight / bh + 1, plane.height - firstRow);
    const int64_t colStart = (left + bw - 1) / bw;
    const int64_t colEnd = right >= int64_t(target.width) ? cols : std::min<int64_t>(cols, (right + bw - 1) / bw);
    // A plane without tiles (its tileset could not be given) shows its values instead of nothing.
    const bool noTiles = plane.tileCount <= 0 || plane.tiles.empty();
    const bool hex = (doc.options.hexMode && !graphics) || noTiles;
    if (firstCol >= 0 && firstRow >= 0 && colEnd > colStart) {
        const int64_t rowStart = (bandTop + bh - 1) / bh;
        const int64_t rowEnd = std::min<int64_t>(rows, (int64_t(target.height) + bh - 1) / bh);
        auto rowCells = [&](int64_t r) {
            return plane.cells.data() + size_t(firstRow + r) * size_t(plane.width) + size_t(firstCol);
        };
        if (hex) {
            // Blocks lower than the hex view's have room for two digits only.
            const bool eightBit = eightBitEntries(plane) || (noTiles && bh < int(kHexBlockSize));
            const bool fillZeros = doc.options.fillZeros != 0;
            for (int64_t r = rowStart; r < rowEnd; ++r) {
                const uint32_t* cells = rowCells(r);
                for (int64_t c = colStart; c < colEnd; ++c)
                    drawHexValue(target, int(c * bw), int(r * bh), bw, bh, cells[c] + uint32_t(plane.tileOffset),
                                 eightBit, fillZeros);
            }
        } else {
            PlaneTileCache* planeCache = cache && !directColour ? &cache->plane(slot) : nullptr;
            CellPainter painter(plane, palette, a, planeCache, cache ? cache->frame() : 0);
            // Without rules, tile offset or display mask a value is its own entry.
            const bool plain = plane.ruleCount <= 0 && plane.tileOffset == 0 && plane.displayMask == 0xFFFFFFFFu;
            const uint32_t tileLimit = uint32_t(std::max(plane.tileCount, 0));
            const uint32_t valueMask = plane.emulGba ? 1023u : 0xFFFFFFFFu;
            const bool rowsOfTiles = !directColour && painter.rowsOfTiles();
            for (int64_t r = rowStart; r < rowEnd; ++r) {
                const uint32_t* cells = rowCells(r);
                const int y = int(r * bh);
                if (rowsOfTiles && y + kTileSide <= target.height) {
                    painter.drawRow(target, y, cells, colStart, colEnd, !plain, tileLimit, valueMask);
                    continue;
                }
                for (int64_t c = colStart; c < colEnd; ++c) {
                    uint32_t entry = cells[c];
                    if (plain) {
                        if (int32_t(entry) < 0 || (entry & valueMask) >= tileLimit) continue;
                    } else {
                        const int64_t e = tileOfValue(plane, entry);
                        if (e < 0) continue;
                        entry = uint32_t(e);
                    }
                    if (directColour) drawCell(target, int(c * bw), y, plane, palette, entry, a, true);
                    else painter.draw(target, int(c * bw), y, entry);
                }
                painter.flush(size_t(target.stride));
            }
        }
    }
    if (slot == doc.active)
        drawGrid(target, doc, plane, roundDownTo(int64_t(sx), bw), roundDownTo(int64_t(sy), bh), bandTop, left, right);
}

}  // namespace

void drawPlane(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
               bool graphics, bool directColour) {
    drawPlaneBand(target, doc, slot, palette, a, graphics, 0, target.height, directColour, nullptr);
}

void drawObjects(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
                 const ObjectHighlight& highlight, bool directColour) {
    const PlaneRecord& plane = doc.planes[size_t(slot)];
    const ObjectList& list = plane.objects;
    const int bw = plane.blockWidth, bh = plane.blockHeight;
    const int64_t sx = roundDownTo(int64_t(double(doc.scrollX) * effectiveRateX(doc, slot)), plane.gridX);
    const int64_t sy = roundDownTo(int64_t(double(doc.scrollY) * effectiveRateY(doc, slot)), plane.gridY);
    const int count = std::min<int64_t>(list.count, list.entrySize > 0 ? int64_t(list.entries.size()) / list.entrySize : 0);
    const bool noTiles = plane.tileCount <= 0 || plane.tiles.empty();
    auto onView = [&](int64_t x, int64_t y) {
        return x + bw > 0 && y + bh > 0 && x < target.width && y < target.height;
    };
    for (int i = 0; i < count; ++i) {
        const int64_t x = entryX(list, i) - sx, y = entryY(list, i) - sy;
        if (!onView(x, y)) continue;
        if (noTiles) {  // no tileset to draw the objects with: their blocks are framed
            blendFrame(target, int(x), int(y), bw, bh, kMessageFrame, kMessageFrameAlpha);
            continue;
        }
        const int64_t entry = tileOfValue(plane, uint32_t(entryType(list, i)));
        if (entry >= 0) drawCell(target, int(x), int(y), plane, palette, uint32_t(entry), a, directColour);
    }
    if (slot == doc.active) {
        // Selected objects, or the current one when none is selected.
        std::vector<int> marked;
        if (highlight.selected && !highlight.selected->empty()) marked = *highlight.selected;
        else if (highlight.current >= 0) marked.push_back(highlight.current);
        const uint32_t phase = uint32_t(highlight.nowMs % 1024);
        const uint32_t green = phase < 512 ? phase / 2 : (1023 - phase) / 2;
        for (int i : marked) {
            if (i < 0 || i >= count) continue;
            const int64_t x = entryX(list, i) - sx, y = entryY(list, i) - sy;
            if (!onView(x, y)) continue;
            blendFrame(target, int(x) - 1, int(y) - 1, bw + 2, bh + 2, 0xFF0000, 128);
            blendRect(target, int(x), int(y), bw, bh, 0x0000FF | (green << 8), 128);
        }
        drawGrid(target, doc, plane, roundDownTo(sx, plane.blockWidth), roundDownTo(sy, plane.blockHeight), 0);
    }
}

void drawMessages(Surface& target, const EditorDocument& doc) {
    if (doc.messages.empty()) return;
    int widest = 0;
    for (const TimedMessage& m : doc.messages) widest = std::max(widest, textWidth(m.text));
    const int n = int(doc.messages.size());
    const int boxW = widest + 4, boxH = n * kTextLineHeight + 2;
    const int top = target.height - boxH;
    blendRect(target, 0, top, boxW, boxH, kMessageFill, kMessageFillAlpha);
    blendFrame(target, 0, top, boxW, boxH, kMessageFrame, kMessageFrameAlpha);
    int y = top + 2;
    for (const TimedMessage& m : doc.messages) {
        drawText(target, 2, y, m.text, 0xFFFFFF);
        y += kTextLineHeight;
    }
}

void composeView(Surface& target, const EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                 const ObjectHighlight& highlight, const PlatformRecord* platform) {
    ViewTileCache cache;
    composeView(target, doc, multiPalettes, overlay, highlight, platform, cache);
}

void composeView(Surface& target, const EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                 const ObjectHighlight& highlight, const PlatformRecord* platform, ViewTileCache& cache) {
    if (target.empty()) return;
    cache.beginFrame();
    const EditorOptions& o = doc.options;
    const uint32_t background = o.hexMode ? 0xFFFFFFu : (doc.background & 0xFFFFFFu);
    const int count = std::clamp(doc.count, 0, MaxPlanes);
    if (count <= 0 || doc.active < 0 || doc.active >= count) fillRect(target, 0, 0, target.width, target.height, background);
    else {
        FramePalette activePalette;
        makeFramePalette(doc.planes[size_t(doc.active)], activePalette);
        std::array<FramePalette, MaxPlanes> ownPalettes;
        // The other planes take the active plane's palette unless each has its own, or the
        // active plane has none to give (its tiles came without one).
        const bool ownColours = multiPalettes || !doc.planes[size_t(doc.active)].ownPalette;
        std::array<bool, MaxPlanes> direct{};
        for (int slot = 0; slot < count; ++slot) direct[size_t(slot)] = tilesHoldColours(doc.planes[size_t(slot)], platform);
        // The background and the planes are drawn in pieces (bands of rows as high as the largest
        // block, cut into columns), so that the part of the view being drawn stays in the cache
        // while every plane passes over it. Object lists are drawn whole, in one band; so is the
        // hex view, whose grid is drawn twice.
        int band = kTileSide;
        bool columns = !o.hexMode;
        for (int slot = 0; slot < count; ++slot) {
            const PlaneRecord& plane = doc.planes[size_t(slot)];
            if (slot != doc.active && !plane.visible) continue;
            if (plane.kind != PlaneMap || plane.blockHeight <= 0 || 64 % plane.blockHeight != 0) band = target.height;
            else band = std::max(band, plane.blockHeight);
            if (plane.kind != PlaneMap || plane.blockWidth <= 0 || 64 % plane.blockWidth != 0) columns = false;
            if (ownColours && slot != doc.active) makeFramePalette(plane, ownPalettes[size_t(slot)]);
        }
        band = std::max(band, 1);
        if (band >= target.height) columns = false;
        // Pieces of about 16 KB, in whole 64-pixel steps so that no block straddles two pieces.
        constexpr int kPieceBytes = 16384;
        const int pieceWidth = columns ? std::max(64, kPieceBytes / (band * 4) / 64 * 64) : INT_MAX;
        const int viewHeight = target.height, viewWidth = target.width;
        const PlaneRecord& active = doc.planes[size_t(doc.active)];
        const int activeAlpha = (count > 1 && o.transparency) ? o.alphaForeground : 0;
        for (int top = 0; top < viewHeight; top += band) {
            target.height = std::min(top + band, viewHeight);
            for (int64_t left = 0; left < viewWidth; left += pieceWidth) {
                const int64_t right = columns ? left + pieceWidth : INT64_MAX;
                fillRect(target, int(left), top, int(std::min<int64_t>(right, viewWidth) - left), target.height - top,
                         background);
                for (int slot = 0; slot < count; ++slot) {
                    const PlaneRecord& plane = doc.planes[size_t(slot)];
                    if (slot == doc.active || !plane.visible) continue;
                    const int a = !o.transparency ? 0 : (o.hexMode ? o.alphaHex : o.alphaGfx);
                    const FramePalette& palette = ownColours ? ownPalettes[size_t(slot)] : activePalette;
                    if (plane.kind == PlaneList)
                        drawObjects(target, doc, slot, palette, a, ObjectHighlight{}, direct[size_t(slot)]);
                    else if (plane.kind == PlaneMap)
                        drawPlaneBand(target, doc, slot, palette, a, true, top, viewHeight, direct[size_t(slot)], &cache,
                                      left, right);
                }
                if (active.kind == PlaneMap) {
                    const bool activeDirect = direct[size_t(doc.active)];
                    if (o.hexMode && o.hexActiveMap)
                        drawPlaneBand(target, doc, doc.active, activePalette, o.alphaHex, true, top, viewHeight,
                                      activeDirect, &cache);
                    drawPlaneBand(target, doc, doc.active, activePalette, activeAlpha, !o.hexMode, top, viewHeight,
                                  activeDirect, &cache, left, right);
                } else if (active.kind == PlaneList) {
                    drawObjects(target, doc, doc.active, activePalette, activeAlpha, highlight,
                                direct[size_t(doc.active)]);
                }
            }
        }
        target.height = viewHeight;
    }
    if (overlay) overlay(target);
    drawMessages(target, doc);
}

}  // namespace ts
