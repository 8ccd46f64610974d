#pragma once
// What the accurate method and error diffusion add to the multi-palette assignment: Lloyd
// refinement of the finished sub-palettes over the tiles that use them, and error diffusion inside
// a tile onto its sub-palette.
#include <cstdint>
#include <functional>
#include <vector>

#include "convert/multi_palette_fit.h"

namespace ts {

// One sub-palette as the assignment holds it: its entries and its colour count.
struct GroupPaletteRef {
    SubPaletteEntries* colours;
    int* count;
};

// Rounds of: every block goes to the group `groupOf` gives it; every group's entries reserved..
// are rebuilt from the colours of its blocks (Lloyd refinement of the entries it has, or a fresh
// box split and refinement over all B - reserved places, whichever fits better); then `changed`
// is called so that `groupOf` sees the new palettes. Stops when the summed squared error of the
// blocks on their groups stops falling, and leaves the best palettes found. Returns that error.
uint64_t refineGroupPalettes(const std::vector<GroupPaletteRef>& groups, const std::vector<const ColourHistogram*>& blocks,
                             int reserved, int colours, const std::function<int(int block)>& groupOf,
                             const std::function<void()>& changed);

// Maps a tile's pixels (row by row, width x height, bytes blue, green, red, alpha in the depth's
// precision) onto entries first..count-1 of a sub-palette with Floyd-Steinberg error diffusion in
// serpentine order; transparent pixels get 0 and neither take nor pass on any error. `levelMax` is
// the largest component value of the depth.
void diffuseTileErrors(const uint32_t* pixels, int width, int height, const uint32_t* palette, int first, int count,
                       int levelMax, std::vector<uint32_t>& indices);

}  // namespace ts
