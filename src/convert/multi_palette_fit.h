#pragma once
// Building blocks of the multi-palette assignment: the nearest-colour fit of pixels onto a
// sub-palette and the two ways of building a palette for a set of pixels (octree first, then the
// standard method's threshold search).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/multi_palette_octree.h"

namespace ts {

// Colours as bytes blue, green, red, alpha; alpha 0 is transparent.
using SubPaletteEntries = std::array<uint32_t, 256>;

// The opaque pixels of one or more blocks: distinct colours in order of first occurrence, with
// their pixel counts.
struct ColourHistogram {
    std::vector<uint32_t> colours;
    std::vector<uint32_t> counts;
    void clear() { colours.clear(); counts.clear(); }
};
void buildHistogram(const uint32_t* pixels, size_t n, ColourHistogram& out);

// Distance of the nearest-colour rule: dB^2 + dG^2 + dR^2, plus 1 when the alpha bytes differ.
inline uint32_t paletteDistance(uint32_t a, uint32_t b) {
    const int db = int(a & 255) - int(b & 255);
    const int dg = int((a >> 8) & 255) - int((b >> 8) & 255);
    const int dr = int((a >> 16) & 255) - int((b >> 16) & 255);
    return uint32_t(db * db + dg * dg + dr * dr) + ((a >> 24) != (b >> 24) ? 1u : 0u);
}
uint32_t errorOfDistance(uint32_t distance);  // trunc(sqrt(distance))

// Cost of an opaque pixel that has no candidate entry at all (a palette with only reserved entries).
constexpr uint64_t kNoEntryCost = 1u << 20;

// Nearest entry among first..count-1 (on equal distance the higher index wins); -1 when empty.
int nearestSubPaletteEntry(uint32_t colour, const uint32_t* palette, int first, int count, uint32_t& distance);

// Fit error of a histogram onto palette entries reserved..count-1.
uint64_t fitError(const ColourHistogram& pixels, const uint32_t* palette, int reserved, int count);

// Everything a palette build needs to know about the pixels it covers: their histogram (octree,
// threshold probes) and their full sequence (the threshold search's error run visits every pixel
// in order), given as the pixel arrays of the blocks in order.
struct PixelSet {
    const ColourHistogram* histogram = nullptr;
    const ColourHistogram* extraHistogram = nullptr;  // pixels that follow (a block added to a group)
    const std::vector<const std::vector<uint32_t>*>* sequence = nullptr;
    const std::vector<uint32_t>* extraPixels = nullptr;
};

struct PaletteParams {
    int colours = 16;   // B: entries of a sub-palette
    int reserved = 1;   // R: leading entries that pixels never map onto
    bool fastPalReduction = true;
};

// Builds a palette of at most B entries starting from `palette` (count entries kept), as the
// block palette and group palette procedures do. `octree` is the tree already built over the
// pixel set with at most B - count leaves (fresh for a block palette); it is only read. Returns
// the new count and the error through `error`.
int buildPalette(const PaletteParams& params, const PixelSet& pixels, const PaletteOctree* octree,
                 SubPaletteEntries& palette, int count, uint64_t& error);

}  // namespace ts
