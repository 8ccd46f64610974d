#pragma once
// Drawing surfaces: 32-bit off-screen images. Pixels are 32-bit words 0x00RRGGBB in memory
// (bytes blue, green, red, and a fourth byte that the conversion engine uses as alpha). The row
// order in memory is private to this file (rows are kept top-down so that decoders can write into
// a surface directly); code outside goes through row()/at(). Whoever needs the bottom-up order of
// a device-independent bitmap walks the rows from height - 1 down to 0.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ts {

// Largest surface the program creates: 256 MB of pixels (2^26 words) and 65535 pixels per side.
// Images whose 32-bit surface would be larger are refused by the loaders.
constexpr int64_t kMaxSurfacePixels = int64_t(1) << 26;
constexpr int kMaxSurfaceSide = 65535;

struct Surface {
    int width = 0;            // visible size
    int height = 0;
    int stride = 0;           // pixels per row in memory: width rounded up to a multiple of 4
    int allocatedHeight = 0;  // rows in memory
    std::vector<uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    // Picture row y (0 = top), `width` valid words. y must lie in 0..height-1.
    uint32_t* row(int y) { return pixels.data() + size_t(y) * size_t(stride); }
    const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(stride); }
    uint32_t& at(int x, int y) { return row(y)[x]; }
    uint32_t at(int x, int y) const { return row(y)[x]; }
};

// True when a surface of this size may be created (both sides 1..kMaxSurfaceSide and
// width rounded up to 4 times height within kMaxSurfacePixels).
bool surfaceSizeAllowed(int64_t width, int64_t height);

// (Re)creates the surface at the given size, all pixels 0. False (surface left empty) when the
// size is not allowed or memory is short.
bool createSurface(Surface& surface, int width, int height);

// As createSurface, but keeps the memory of a surface that already has this size, and leaves
// the pixels undefined: for decoders that write every pixel.
bool prepareSurface(Surface& surface, int width, int height);

// Releases the pixel memory.
void destroySurface(Surface& surface);

// Whole copy of src into dst (dst is recreated at src's size); false when dst cannot be made.
bool copySurface(Surface& dst, const Surface& src);

// Converts between the window system's colour order 0x00BBGGRR and pixel words 0x00RRGGBB.
inline uint32_t colorrefToPixel(uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline uint32_t pixelToColorref(uint32_t p) { return colorrefToPixel(p); }

}  // namespace ts
