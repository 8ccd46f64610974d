#include "editor/map_view_renderer.h"

#include <algorithm>
#include <cmath>

#include "editor/surface_primitives.h"
#include "editor/view_text.h"

namespace ts {

namespace {

constexpr int kTileSide = 8;  // pixels of one tile side

// Opacity as the editor passes it (0 = opaque) to the primitives' form (256 = opaque).
inline int primitiveAlpha(int a) { return (a <= 0 || a >= 256) ? 256 : a; }

// Two colour channels at a time: red and blue share one multiply, green has its own. Same result
// per byte as blendPixel.
inline uint32_t blendFast(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t na = 255 - a;
    const uint32_t rb = (((s & 0xFF00FF) * a + (d & 0xFF00FF) * na) >> 8) & 0xFF00FF;
    const uint32_t g = (((s & 0x00FF00) * a + (d & 0x00FF00) * na) >> 8) & 0x00FF00;
    return rb | g;
}

// One 8 x 8 tile of palette indices wholly inside the target.
template <bool Keyed, bool Blend, bool HMirror>
void blitTile(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask, bool vMirror,
              uint32_t a) {
    for (int r = 0; r < kTileSide; ++r) {
        const uint32_t* src = tile + (vMirror ? kTileSide - 1 - r : r) * kTileSide;
        uint32_t* dst = t.row(y + r) + x;
        for (int c = 0; c < kTileSide; ++c) {
            const uint32_t index = src[HMirror ? kTileSide - 1 - c : c] & mask;
            if (Keyed && index == 0) continue;
            const uint32_t p = pal[index];
            dst[c] = Blend ? blendFast(p, dst[c], a) : p;
        }
    }
}

template <bool Keyed, bool Blend>
inline void blitTileMirrored(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask,
                             bool h, bool v, uint32_t a) {
    if (h) blitTile<Keyed, Blend, true>(t, x, y, tile, pal, mask, v, a);
    else blitTile<Keyed, Blend, false>(t, x, y, tile, pal, mask, v, a);
}

void drawTile(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask, bool h, bool v,
              bool keyed, int a) {
    if (x >= 0 && y >= 0 && x + kTileSide <= t.width && y + kTileSide <= t.height) {
        const bool blend = a < 256;
        const uint32_t aa = uint32_t(a);
        if (keyed) {
            if (blend) blitTileMirrored<true, true>(t, x, y, tile, pal, mask, h, v, aa);
            else blitTileMirrored<true, false>(t, x, y, tile, pal, mask, h, v, aa);
        } else {
            if (blend) blitTileMirrored<false, true>(t, x, y, tile, pal, mask, h, v, aa);
            else blitTileMirrored<false, false>(t, x, y, tile, pal, mask, h, v, aa);
        }
        return;
    }
    if (x >= t.width || y >= t.height || x + kTileSide <= 0 || y + kTileSide <= 0) return;
    const std::span<const uint32_t> palette(pal, size_t(mask) + 1);
    if (keyed) blendIndexedKeyed(t, x, y, kTileSide, kTileSide, tile, palette, h, v, mask, a);
    else blendIndexed(t, x, y, kTileSide, kTileSide, tile, palette, h, v, mask, a);
}

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

// The grid of the active plane: cells of the grid step, shifted by the scroll position.
void drawGrid(Surface& target, const EditorDocument& doc, const PlaneRecord& plane, int64_t ox, int64_t oy) {
    const EditorOptions& o = doc.options;
    if (!o.gridShown || plane.gridX < 4 || plane.gridY < 4) return;
    const int64_t limitX = std::min<int64_t>(target.width, int64_t(plane.width) * plane.blockWidth - ox);
    const int64_t limitY = std::min<int64_t>(target.height, int64_t(plane.height) * plane.blockHeight - oy);
    const int64_t startX = -(ox % plane.gridX), startY = -(oy % plane.gridY);
    const int a = primitiveAlpha(o.alphaGrid);
    for (int64_t y = startY; y < limitY; y += plane.gridY)
        for (int64_t x = startX; x < limitX; x += plane.gridX)
            blendGridCell(target, int(x), int(y), plane.gridX, plane.gridY, o.gridColor, a);
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

void drawCell(Surface& target, int x, int y, const PlaneRecord& plane, const FramePalette& palette, uint32_t entry,
              int a) {
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
            drawTile(target, px, py, tile, pal, mask, h, v, keyed, alpha);
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

void drawPlane(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
               bool graphics) {
    const PlaneRecord& plane = doc.planes[size_t(slot)];
    const int bw = plane.blockWidth, bh = plane.blockHeight;
    if (bw <= 0 || bh <= 0 || plane.width <= 0 || plane.height <= 0) return;
    if (plane.cells.size() < size_t(plane.width) * size_t(plane.height)) return;
    const double rx = effectiveRateX(doc, slot), ry = effectiveRateY(doc, slot);
    const double sx = double(doc.scrollX) * rx, sy = double(doc.scrollY) * ry;
    const int64_t firstCol = int64_t(sx / bw), firstRow = int64_t(sy / bh);
    const int64_t cols = std::min<int64_t>(target.width / bw + 1, plane.width - firstCol);
    const int64_t rows = std::min<int64_t>(target.height / bh + 1, plane.height - firstRow);
    const bool hex = doc.options.hexMode && !graphics;
    const bool eightBit = eightBitEntries(plane);
    if (firstCol >= 0 && firstRow >= 0) {
        for (int64_t r = 0; r < rows; ++r) {
            const uint32_t* cells = plane.cells.data() + size_t(firstRow + r) * size_t(plane.width) + size_t(firstCol);
            const int y = int(r * bh);
            for (int64_t c = 0; c < cols; ++c) {
                const int x = int(c * bw);
                if (hex) {
                    drawHexValue(target, x, y, bw, bh, cells[c] + uint32_t(plane.tileOffset), eightBit,
                                 doc.options.fillZeros != 0);
                    continue;
                }
                const int64_t entry = tileOfValue(plane, cells[c]);
                if (entry >= 0) drawCell(target, x, y, plane, palette, uint32_t(entry), a);
            }
        }
    }
    if (slot == doc.active) drawGrid(target, doc, plane, roundDownTo(int64_t(sx), bw), roundDownTo(int64_t(sy), bh));
}

void drawObjects(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
                 const ObjectHighlight& highlight) {
    const PlaneRecord& plane = doc.planes[size_t(slot)];
    const ObjectList& list = plane.objects;
    const int bw = plane.blockWidth, bh = plane.blockHeight;
    const int64_t sx = roundDownTo(int64_t(double(doc.scrollX) * effectiveRateX(doc, slot)), plane.gridX);
    const int64_t sy = roundDownTo(int64_t(double(doc.scrollY) * effectiveRateY(doc, slot)), plane.gridY);
    const int count = std::min<int64_t>(list.count, list.entrySize > 0 ? int64_t(list.entries.size()) / list.entrySize : 0);
    auto onView = [&](int64_t x, int64_t y) {
        return x + bw > 0 && y + bh > 0 && x < target.width && y < target.height;
    };
    for (int i = 0; i < count; ++i) {
        const int64_t x = entryX(list, i) - sx, y = entryY(list, i) - sy;
        if (!onView(x, y)) continue;
        const int64_t entry = tileOfValue(plane, uint32_t(entryType(list, i)));
        if (entry >= 0) drawCell(target, int(x), int(y), plane, palette, uint32_t(entry), a);
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
        drawGrid(target, doc, plane, roundDownTo(sx, plane.blockWidth), roundDownTo(sy, plane.blockHeight));
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
                 const ObjectHighlight& highlight) {
    if (target.empty()) return;
    const EditorOptions& o = doc.options;
    fillRect(target, 0, 0, target.width, target.height, o.hexMode ? 0xFFFFFFu : (doc.background & 0xFFFFFFu));
    const int count = std::clamp(doc.count, 0, MaxPlanes);
    if (count > 0 && doc.active >= 0 && doc.active < count) {
        FramePalette activePalette, ownPalette;
        makeFramePalette(doc.planes[size_t(doc.active)], activePalette);
        for (int slot = 0; slot < count; ++slot) {
            const PlaneRecord& plane = doc.planes[size_t(slot)];
            if (slot == doc.active || !plane.visible) continue;
            const int a = !o.transparency ? 0 : (o.hexMode ? o.alphaHex : o.alphaGfx);
            const FramePalette* palette = &activePalette;
            if (multiPalettes) {
                makeFramePalette(plane, ownPalette);
                palette = &ownPalette;
            }
            if (plane.kind == PlaneList) drawObjects(target, doc, slot, *palette, a, ObjectHighlight{});
            else if (plane.kind == PlaneMap) drawPlane(target, doc, slot, *palette, a, true);
        }
        const PlaneRecord& active = doc.planes[size_t(doc.active)];
        const int a = (count > 1 && o.transparency) ? o.alphaForeground : 0;
        if (active.kind == PlaneMap) {
            if (o.hexMode && o.hexActiveMap) drawPlane(target, doc, doc.active, activePalette, o.alphaHex, true);
            drawPlane(target, doc, doc.active, activePalette, a, !o.hexMode);
        } else if (active.kind == PlaneList) {
            drawObjects(target, doc, doc.active, activePalette, a, highlight);
        }
    }
    if (overlay) overlay(target);
    drawMessages(target, doc);
}

}  // namespace ts
