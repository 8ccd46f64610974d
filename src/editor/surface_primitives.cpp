#include "editor/surface_primitives.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ts {

namespace {

// The part of a w x h block at (x, y) that lies inside the target: destination rectangle
// [dx0, dx1) x [dy0, dy1) and the matching offset into the source block.
struct Clip {
    int dx0, dy0, dx1, dy1;
    int sx, sy;  // source column and row of (dx0, dy0) before mirroring
    bool empty() const { return dx0 >= dx1 || dy0 >= dy1; }
};

Clip clipRect(const Surface& t, int x, int y, int w, int h) {
    Clip c{};
    if (t.empty() || w <= 0 || h <= 0) return Clip{0, 0, 0, 0, 0, 0};
    const int64_t x1 = std::min<int64_t>(int64_t(x) + w, t.width);
    const int64_t y1 = std::min<int64_t>(int64_t(y) + h, t.height);
    c.dx0 = std::max(x, 0);
    c.dy0 = std::max(y, 0);
    c.dx1 = int(std::max<int64_t>(x1, c.dx0));
    c.dy1 = int(std::max<int64_t>(y1, c.dy0));
    c.sx = c.dx0 - x;
    c.sy = c.dy0 - y;
    return c;
}

// n words of one row set to `pixel`, four at a time.
inline void fillRow(uint32_t* p, int n, uint32_t pixel) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(int(pixel));
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
#endif
    for (; i < n; ++i) p[i] = pixel;
}

inline uint32_t blendByte(uint32_t s, uint32_t d, uint32_t a) { return (s * a + d * (255 - a)) >> 8; }

// Source word for destination (dx, dy) of a block at (x, y), with mirroring.
inline const uint32_t* sourceRow(const uint32_t* src, int w, int h, int sy, bool vMirror) {
    return src + size_t(vMirror ? h - 1 - sy : sy) * size_t(w);
}

// Generic block walker: calls put(dest, sourceWord) for every visible pixel.
template <typename Put>
void walkBlock(Surface& t, int x, int y, int w, int h, const uint32_t* src, bool hMirror,
               bool vMirror, Put put) {
    if (!src) return;
    const Clip c = clipRect(t, x, y, w, h);
    if (c.empty()) return;
    const int cols = c.dx1 - c.dx0;
    for (int dy = c.dy0; dy < c.dy1; ++dy) {
        const uint32_t* srow = sourceRow(src, w, h, c.sy + (dy - c.dy0), vMirror);
        uint32_t* drow = t.row(dy) + c.dx0;
        if (!hMirror) {
            const uint32_t* s = srow + c.sx;
            for (int i = 0; i < cols; ++i) put(drow[i], s[i]);
        } else {
            const uint32_t* s = srow + (w - 1 - c.sx);
            for (int i = 0; i < cols; ++i) put(drow[i], *(s - i));
        }
    }
}

inline uint32_t lookUp(uint32_t index, std::span<const uint32_t> palette, uint32_t mask) {
    if (palette.empty()) return index;  // direct colours
    const uint32_t i = index & mask;
    return i < palette.size() ? palette[i] & 0x00FFFFFFu : 0u;
}

}  // namespace

uint32_t blendPixel(uint32_t s, uint32_t d, int a) {
    if (a >= 256) return s & 0x00FFFFFFu;
    const uint32_t aa = uint32_t(std::max(a, 0));
    return blendByte(s & 0xFF, d & 0xFF, aa) | (blendByte((s >> 8) & 0xFF, (d >> 8) & 0xFF, aa) << 8) |
           (blendByte((s >> 16) & 0xFF, (d >> 16) & 0xFF, aa) << 16);
}

void fillRect(Surface& t, int x, int y, int w, int h, uint32_t pixel) {
    const Clip c = clipRect(t, x, y, w, h);
    if (c.empty()) return;
    for (int dy = c.dy0; dy < c.dy1; ++dy) fillRow(t.row(dy) + c.dx0, c.dx1 - c.dx0, pixel);
}

void blendRect(Surface& t, int x, int y, int w, int h, uint32_t colour, int a) {
    const uint32_t pixel = colorrefToPixel(colour);
    if (a >= 256) {
        fillRect(t, x, y, w, h, pixel);
        return;
    }
    const Clip c = clipRect(t, x, y, w, h);
    if (c.empty()) return;
    for (int dy = c.dy0; dy < c.dy1; ++dy) {
        uint32_t* row = t.row(dy);
        for (int dx = c.dx0; dx < c.dx1; ++dx) row[dx] = blendPixel(pixel, row[dx], a);
    }
}

void blendFrame(Surface& t, int x, int y, int w, int h, uint32_t colour, int a) {
    if (w <= 0 || h <= 0) return;
    blendRect(t, x, y, w, 1, colour, a);                       // top
    if (h > 1) blendRect(t, x, y + h - 1, w, 1, colour, a);    // bottom
    if (h > 2) {
        blendRect(t, x, y + 1, 1, h - 2, colour, a);           // left
        if (w > 1) blendRect(t, x + w - 1, y + 1, 1, h - 2, colour, a);  // right
    }
}

void blendGridCell(Surface& t, int x, int y, int w, int h, uint32_t colour, int a) {
    if (w <= 0 || h <= 0) return;
    blendRect(t, x, y + h - 1, w - 1, 1, colour, a);  // bottom row, without the corner
    blendRect(t, x + w - 1, y, 1, h, colour, a);      // right column, corner included
}

void copyBlock(Surface& t, int x, int y, int w, int h, const uint32_t* source) {
    copyBlockMirrored(t, x, y, w, h, source, false, false);
}

void copyBlockMirrored(Surface& t, int x, int y, int w, int h, const uint32_t* source,
                       bool hMirror, bool vMirror) {
    walkBlock(t, x, y, w, h, source, hMirror, vMirror,
              [](uint32_t& d, uint32_t s) { d = s; });
}

void copyIndexed(Surface& t, int x, int y, int w, int h, const uint32_t* indices,
                 std::span<const uint32_t> palette, bool hMirror, bool vMirror, uint32_t mask) {
    walkBlock(t, x, y, w, h, indices, hMirror, vMirror,
              [&](uint32_t& d, uint32_t s) { d = lookUp(s, palette, mask); });
}

void copyIndexedKeyed(Surface& t, int x, int y, int w, int h, const uint32_t* indices,
                      std::span<const uint32_t> palette, bool hMirror, bool vMirror,
                      uint32_t mask) {
    const bool direct = palette.empty();
    walkBlock(t, x, y, w, h, indices, hMirror, vMirror, [&](uint32_t& d, uint32_t s) {
        if ((direct ? s : (s & mask)) != 0) d = lookUp(s, palette, mask);
    });
}

void blendIndexed(Surface& t, int x, int y, int w, int h, const uint32_t* indices,
                  std::span<const uint32_t> palette, bool hMirror, bool vMirror, uint32_t mask,
                  int a) {
    if (a >= 256) return copyIndexed(t, x, y, w, h, indices, palette, hMirror, vMirror, mask);
    walkBlock(t, x, y, w, h, indices, hMirror, vMirror, [&](uint32_t& d, uint32_t s) {
        d = blendPixel(lookUp(s, palette, mask), d, a);
    });
}

void blendIndexedKeyed(Surface& t, int x, int y, int w, int h, const uint32_t* indices,
                       std::span<const uint32_t> palette, bool hMirror, bool vMirror,
                       uint32_t mask, int a) {
    if (a >= 256) return copyIndexedKeyed(t, x, y, w, h, indices, palette, hMirror, vMirror, mask);
    const bool direct = palette.empty();
    walkBlock(t, x, y, w, h, indices, hMirror, vMirror, [&](uint32_t& d, uint32_t s) {
        if ((direct ? s : (s & mask)) != 0) d = blendPixel(lookUp(s, palette, mask), d, a);
    });
}

void blendBlock(Surface& t, int x, int y, int w, int h, const uint32_t* source, bool hMirror,
                bool vMirror, int a) {
    if (a >= 256) return copyBlockMirrored(t, x, y, w, h, source, hMirror, vMirror);
    walkBlock(t, x, y, w, h, source, hMirror, vMirror,
              [&](uint32_t& d, uint32_t s) { d = blendPixel(s, d, a); });
}

void blendBlockKeyed(Surface& t, int x, int y, int w, int h, const uint32_t* source,
                     bool hMirror, bool vMirror, int a) {
    walkBlock(t, x, y, w, h, source, hMirror, vMirror, [&](uint32_t& d, uint32_t s) {
        if (s != 0) d = a >= 256 ? s : blendPixel(s, d, a);
    });
}

}  // namespace ts
