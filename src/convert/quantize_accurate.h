#pragma once
// The palette builder of the accurate method: a variance-minimising box split over a weighted
// colour histogram, then Lloyd (k-means) iterations over the same histogram until the squared
// error stops falling. Colours are palette words 0xAARRGGBB whose components are in the depth's
// precision (at most 8 bits each); new colours are opaque (alpha 255). Everything here is
// integer arithmetic or ordered floating-point sums, so results never vary from run to run.
#include <cstdint>
#include <vector>

namespace ts {

// Distinct colours (alpha 255) with the number of pixels of each, in order of first appearance.
struct WeightedColours {
    std::vector<uint32_t> colours;
    std::vector<uint32_t> counts;
};

// Box split: at most `boxes` boxes over the histogram, each split at the position of the axis that
// lowers the summed squared error most, always splitting the box that gains most. Returns the
// boxes' mean colours (rounded), in the order the boxes were made.
std::vector<uint32_t> splitIntoBoxes(const WeightedColours& histogram, int boxes);

// Lloyd refinement of the entries fixedCount.. of `palette` (the entries before stay where they
// are but still take the colours nearest to them) under the nearest-colour rule. Stops when the
// error stops falling and keeps the best palette seen. Returns that palette's error: the sum over
// the histogram of count x distance.
uint64_t refineByLloyd(const WeightedColours& histogram, std::vector<uint32_t>& palette, int fixedCount);

// The whole builder: `fixed` entries the pixels may use, then at most `wanted` new colours. When
// the colours that no fixed entry matches exactly number `wanted` or fewer, they are the new
// colours, in order of first appearance (the result is exact). Returns the new colours only.
std::vector<uint32_t> accuratePalette(const WeightedColours& histogram, const std::vector<uint32_t>& fixed,
                                      int wanted);

// Sum over the histogram of count x distance to the nearest entry of `palette`.
uint64_t histogramError(const WeightedColours& histogram, const std::vector<uint32_t>& palette);

}  // namespace ts
