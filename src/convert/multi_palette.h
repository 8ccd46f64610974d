#pragma once
// Multi-palette assignment: builds up to P sub-palettes of B colours from the tiles of an image
// and gives every tile the sub-palette that fits it best.
#include <cstdint>
#include <functional>
#include <vector>

#include "convert/tile_stage.h"

namespace ts {

struct MultiPaletteParams {
    int colorsPerSubPalette = 16;  // B
    int colorCount = 255;          // wanted colours; P = (colorCount + B - 1) / B
    int reserved = 1;              // R: 1 when colour 0 is transparent
    // Colorization weight: 0 none; > 0 adds weight x the distance of every palette entry the block
    // changes; -1 adds 100 per colour the block adds (or takes back per colour it saves); -2 takes
    // the whole image's error as the cost: every block of the image on its best group, with the
    // candidate palette standing in for the group it was built from (so a block joins the group
    // that leaves the whole picture closest to its colours). Costs are signed 64-bit numbers.
    int colorization = 0;
    bool fastPalReduction = true;
    bool palReducPost = true;
    // The accurate method: the finished sub-palettes are refined over the tiles that use them.
    bool accurate = false;
    // Error diffusion inside every tile onto its sub-palette; levelMax: the depth's largest level.
    bool dither = false;
    int levelMax = 31;
    uint32_t paletteShift = 12;  // 32 or more: the map type has no palette field
    int threads = 0;             // 0: one per processor; results never depend on it
    // Progress of the whole procedure (0..1); called on the calling thread.
    std::function<void(double)> progress;
    // The groups' palettes as they stand at each progress report: B entries per group, bytes
    // blue, green, red, alpha in the depth's precision (for the progress display).
    std::function<void(const std::vector<uint32_t>& palettes, int groups)> palettes;
    // A block as the progress display shows it, when it is assigned and again at the final
    // mapping: its place in the tile column (0: the first converted tile) and its pixels mapped
    // onto its group, tile width x tile height colours row by row (bytes as in `palettes`).
    // Called on the calling thread; costs nothing when unset.
    std::function<void(int block, const std::vector<uint32_t>& colours)> blockShown;
    // A group already holds its 10000 blocks (the block stays out of the group's list).
    std::function<void()> tooManyBlocks;
};

struct MultiPaletteResult {
    // For every tile of the store: (group << palette shift) | tile number.
    std::vector<uint32_t> tileValues;
    std::vector<uint32_t> palette;  // B entries per group, bytes blue, green, red, alpha
    int groups = 0;
    int colorCount = 0;             // B x groups; 0 when no group could be made
};

constexpr int kMaxBlocksPerGroup = 10000;

// Tiles firstTile .. store.count - 1 hold direct colours (bytes blue, green, red, alpha in the
// depth's precision); they are rewritten as indices into their sub-palette. Tiles before
// firstTile (an existing tileset) are left as they are and keep sub-palette 0. Returns the
// number of colours (B x groups), 0 when no group could be made.
int assignSubPalettes(TileStore& store, int firstTile, const MultiPaletteParams& params,
                      MultiPaletteResult& result);

}  // namespace ts
