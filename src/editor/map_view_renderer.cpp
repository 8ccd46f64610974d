#include "editor/map_view_renderer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/surface_primitives.h"
#include "editor/tile_blit.h"
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

// One 8 x 8 tile of palette indices wholly inside the target. With SSE2, four pixels at a time:
// the palette words are fetched one by one, the blend (the same per-byte rule as blendPixel, in
// 16-bit lanes) and the colour-key select are done on the four together.
#if defined(__SSE2__)
template <bool Keyed, bool Blend, bool HMirror>
void blitTile(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask, bool vMirror,
              uint32_t a) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi16(short(a)), inverse = _mm_set1_epi16(short(255 - a));
    for (int r = 0; r < kTileSide; ++r) {
        const uint32_t* src = tile + (vMirror ? kTileSide - 1 - r : r) * kTileSide;
        uint32_t* dst = t.row(y + r) + x;
        for (int half = 0; half < 2; ++half) {
            uint32_t i[4];
            for (int k = 0; k < 4; ++k) {
                const int c = half * 4 + k;
                i[k] = src[HMirror ? kTileSide - 1 - c : c] & mask;
            }
            __m128i colour = _mm_set_epi32(int(pal[i[3]]), int(pal[i[2]]), int(pal[i[1]]), int(pal[i[0]]));
            __m128i* out = reinterpret_cast<__m128i*>(dst + half * 4);
            const __m128i under = _mm_loadu_si128(out);
            if (Blend) {
                const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(colour, zero), alpha),
                                                                _mm_mullo_epi16(_mm_unpacklo_epi8(under, zero), inverse)), 8);
                const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(colour, zero), alpha),
                                                                _mm_mullo_epi16(_mm_unpackhi_epi8(under, zero), inverse)), 8);
                colour = _mm_packus_epi16(lo, hi);
            }
            if (Keyed) {
                const __m128i hole = _mm_cmpeq_epi32(_mm_set_epi32(int(i[3]), int(i[2]), int(i[1]), int(i[0])), zero);
                colour = _mm_or_si128(_mm_and_si128(hole, under), _mm_andnot_si128(hole, colour));
            }
            _mm_storeu_si128(out, colour);
        }
    }
}
#else
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
#endif

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

namespace {

// Draws the map entries of one plane as drawCell does, with each (tile, palette bank) decoded once
// per frame through the view's tile cache and drawn by whole rows; tiles that the target cuts
// (and every tile when the cache is full or cannot hold the plane) go the direct way.
class CellPainter {
public:
    CellPainter(const PlaneRecord& plane, const FramePalette& palette, int a, PlaneTileCache* cache, uint64_t frame)
        : plane_(plane), palette_(palette) {
        tileCount_ = uint32_t(std::max(plane.tileCount, 0));
        const int bw = std::clamp(plane.blockWidth, kTileSide, 64), bh = std::clamp(plane.blockHeight, kTileSide, 64);
        blockWidth_ = bw;
        blockHeight_ = bh;
        across_ = bw / kTileSide;
        down_ = bh / kTileSide;
        perBlock_ = uint32_t(across_ * down_);
        tileBlocks_ = plane.tiles.size() / kTileWords;
        emulate_ = plane.emulGba != 0;
        banks_ = plane.paletteBanks && emulate_;
        perBank_ = uint32_t(std::clamp(plane.colorsPerBank, 1, kPaletteEntries));
        mask_ = plane.paletteBanks ? perBank_ - 1 : kPaletteEntries - 1;
        lastBank_ = (kPaletteEntries + perBank_ - 1) / perBank_;  // this bank and those above start at 256
        keyed_ = plane.index0Transparent;
        alpha_ = primitiveAlpha(a);
        for (int h = 0; h < 2; ++h) {
            kernels_[h] = decodedTileBlit(keyed_, alpha_ < 256, h != 0);
            smallKernels_[h] = mask_ <= 15 ? smallBankTileBlit(keyed_, alpha_ < 256, h != 0) : nullptr;
        }
        // Small banks look their colours up while drawing; larger palettes decode each tile once.
        small_ = smallKernels_[0] && smallKernels_[1];
        if (cache && !small_ && cache->prepare(frame, plane.tiles, palette.data(), mask_, banks_ ? lastBank_ + 1 : 1))
            cache_ = cache;
    }

    // The map entry `entry` (a tile number after the plane's rules) as one block at (x, y). Tiles
    // found decoded wait in a batch (call flush() before anything else draws over them); the
    // cells of one plane never overlap, so the order among them does not matter.
    void draw(Surface& target, int x, int y, uint32_t entry) {
        uint32_t tileNumber = entry, bank = 0;
        bool h = false, v = false;
        if (emulate_) {
            const MapEntryLayout& layout = plane_.layout;
            tileNumber = layout.tile(entry);
            h = layout.hMirror(entry) != 0;
            v = layout.vMirror(entry) != 0;
            if (banks_) bank = std::min(layout.palette(entry), lastBank_);
        }
        if (tileNumber >= tileCount_) return;
        const uint32_t first = (perBlock_ * tileNumber) & 0xFFFFu;
        // A block whose tiles run past the tile data draws nothing.
        if (size_t(first) + perBlock_ > tileBlocks_) return;
        const uint32_t* pal = palette_.data() + std::min(bank * perBank_, uint32_t(kPaletteEntries));
        const bool inside = x >= 0 && y >= 0 && x + blockWidth_ <= target.width && y + blockHeight_ <= target.height;
        for (int row = 0; row < down_; ++row) {
            const int py = v ? y + blockHeight_ - kTileSide - row * kTileSide : y + row * kTileSide;
            for (int col = 0; col < across_; ++col) {
                const int px = h ? x + blockWidth_ - kTileSide - col * kTileSide : x + col * kTileSide;
                const uint32_t tile = first + uint32_t(row * across_ + col);
                const uint32_t* indexes = plane_.tiles.data() + size_t(tile) * kTileWords;
                const bool whole = inside || (px >= 0 && py >= 0 && px + kTileSide <= target.width &&
                                              py + kTileSide <= target.height);
                const uint32_t* source = nullptr;
                if (whole) source = small_ ? indexes : cache_ ? cache_->tile(tile, bank, pal) : nullptr;
                if (!source) {
                    drawTile(target, px, py, indexes, pal, mask_, h, v, keyed_, alpha_);
                    continue;
                }
                batch_[waiting_++] = Waiting{target.row(py) + px, source, pal, h, v};
                if (waiting_ == kBatch) flush(size_t(target.stride));
            }
        }
    }

    // True when rows of 8 x 8 cells can go through drawRow.
    bool rowsOfTiles() const { return across_ == 1 && down_ == 1 && (small_ || cache_); }

    // Cells c0..c1-1 of a row of 8 x 8 cells whose top is y (the band holds the whole row), each
    // value its own entry unless `rules`; then flush().
    template <bool Rules>
    void drawRow(Surface& target, int y, const uint32_t* cells, int64_t c0, int64_t c1, uint32_t tileLimit,
                 uint32_t valueMask) {
        const MapEntryLayout& layout = plane_.layout;
        const uint32_t tileMask = emulate_ ? layout.tileMask : 0xFFFFFFFFu;
        const uint32_t hBits = emulate_ && layout.hMirrorShift < 32 ? layout.hMirrorMask & (~0u << layout.hMirrorShift) : 0;
        const uint32_t vBits = emulate_ && layout.vMirrorShift < 32 ? layout.vMirrorMask & (~0u << layout.vMirrorShift) : 0;
        const bool banks = banks_ && layout.paletteShift < 32;
        const uint32_t* tiles = plane_.tiles.data();
        const size_t stride = size_t(target.stride);
        uint32_t* rowStart = target.row(y);
        const int64_t lastWhole = (int64_t(target.width) - kTileSide) / kTileSide;  // last column drawn whole
        for (int64_t c = c0; c < c1; ++c) {
            uint32_t entry = cells[c];
            if (Rules) {
                const int64_t e = tileOfValue(plane_, entry);
                if (e < 0) continue;
                entry = uint32_t(e);
            } else if (int32_t(entry) < 0 || (entry & valueMask) >= tileLimit) {
                continue;
            }
            if (c > lastWhole) {
                draw(target, int(c * kTileSide), y, entry);
                continue;
            }
            const uint32_t tile = entry & tileMask;
            if (tile >= tileCount_ || (tile & 0xFFFFu) >= tileBlocks_) continue;
            const uint32_t bank = banks ? std::min((entry & layout.paletteMask) >> layout.paletteShift, lastBank_) : 0;
            const uint32_t* pal = palette_.data() + std::min(bank * perBank_, uint32_t(kPaletteEntries));
            const uint32_t* indexes = tiles + size_t(tile & 0xFFFFu) * kTileWords;
            const bool h = (entry & hBits) != 0, v = (entry & vBits) != 0;
            const uint32_t* source = small_ ? indexes : cache_->tile(tile & 0xFFFFu, bank, pal);
            if (!source) {
                drawTile(target, int(c * kTileSide), y, indexes, pal, mask_, h, v, keyed_, alpha_);
                continue;
            }
            batch_[waiting_++] = Waiting{rowStart + c * kTileSide, source, pal, h, v};
            if (waiting_ == kBatch) flush(stride);
        }
        flush(stride);
    }

    // Draws the tiles waiting in the batch, fetching each a few tiles ahead of its drawing.
    void flush(size_t stride) {
        constexpr int kAhead = 3;
        for (int i = 0; i < waiting_; ++i) {
            if (i + kAhead < waiting_) {
                const uint32_t* next = batch_[i + kAhead].source;
                for (int line = 0; line < kDecodedTileWords; line += 16) __builtin_prefetch(next + line);
            }
            const Waiting& w = batch_[i];
            if (small_) smallKernels_[w.h](w.dst, stride, w.source, w.palette, mask_, w.v, uint32_t(alpha_));
            else kernels_[w.h](w.dst, stride, w.source, w.v, uint32_t(alpha_));
        }
        waiting_ = 0;
    }

private:
    struct Waiting {
        uint32_t* dst;
        const uint32_t* source;   // decoded tile, or the tile's indexes with small banks
        const uint32_t* palette;  // the bank's colours (small banks)
        bool h, v;
    };
    static constexpr int kBatch = 64;  // decoded tiles waiting to be drawn

    Waiting batch_[kBatch];
    int waiting_ = 0;
    const PlaneRecord& plane_;
    const FramePalette& palette_;
    PlaneTileCache* cache_ = nullptr;
    DecodedTileBlit kernels_[2]{};
    SmallBankTileBlit smallKernels_[2]{};
    bool small_ = false;
    uint32_t tileCount_ = 0, perBlock_ = 1, perBank_ = 256, mask_ = 255, lastBank_ = 1;
    size_t tileBlocks_ = 0;
    int blockWidth_ = 8, blockHeight_ = 8, across_ = 1, down_ = 1, alpha_ = 256;
    bool emulate_ = false, banks_ = false, keyed_ = false;
};

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
    const bool hex = doc.options.hexMode && !graphics;
    if (firstCol >= 0 && firstRow >= 0 && colEnd > colStart) {
        const int64_t rowStart = (bandTop + bh - 1) / bh;
        const int64_t rowEnd = std::min<int64_t>(rows, (int64_t(target.height) + bh - 1) / bh);
        auto rowCells = [&](int64_t r) {
            return plane.cells.data() + size_t(firstRow + r) * size_t(plane.width) + size_t(firstCol);
        };
        if (hex) {
            const bool eightBit = eightBitEntries(plane), fillZeros = doc.options.fillZeros != 0;
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
                    if (plain) painter.drawRow<false>(target, y, cells, colStart, colEnd, tileLimit, valueMask);
                    else painter.drawRow<true>(target, y, cells, colStart, colEnd, tileLimit, valueMask);
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
    auto onView = [&](int64_t x, int64_t y) {
        return x + bw > 0 && y + bh > 0 && x < target.width && y < target.height;
    };
    for (int i = 0; i < count; ++i) {
        const int64_t x = entryX(list, i) - sx, y = entryY(list, i) - sy;
        if (!onView(x, y)) continue;
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
            if (multiPalettes && slot != doc.active) makeFramePalette(plane, ownPalettes[size_t(slot)]);
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
                    const FramePalette& palette = multiPalettes ? ownPalettes[size_t(slot)] : activePalette;
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
