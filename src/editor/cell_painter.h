#pragma once
// Drawing the map entries of one plane into the view: each tile of a block lying wholly inside
// the target goes through the row kernels (colours looked up in registers for small palette
// banks, or the tile decoded once per frame through the view's tile cache); tiles the target
// cuts go through the clipped primitives. Same pixels as drawCell either way.
#include <cstddef>
#include <cstdint>

#include "editor/map_view_renderer.h"
#include "editor/tile_blit.h"
#include "editor/view_tile_cache.h"

namespace ts {

constexpr int kViewTileSide = 8;  // pixels of one tile side

// Opacity as the editor passes it (0 = opaque) to the primitives' form (256 = opaque).
inline int primitiveAlpha(int a) { return (a <= 0 || a >= 256) ? 256 : a; }

// One 8 x 8 tile of palette indexes at (x, y), clipped to the target; `a` in the primitives'
// form.
void drawIndexedTile(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask, bool h,
                     bool v, bool keyed, int a);

class CellPainter {
public:
    // `a` is the editor's opacity (0 = opaque); `cache` (may be null) holds the plane's tiles
    // decoded in frame `frame`.
    CellPainter(const PlaneRecord& plane, const FramePalette& palette, int a, PlaneTileCache* cache, uint64_t frame);

    // The map entry `entry` (a tile number after the plane's rules) as one block at (x, y). Tiles
    // found decoded wait in a batch (call flush() before anything else draws over them); the
    // cells of one plane never overlap, so the order among them does not matter.
    void draw(Surface& target, int x, int y, uint32_t entry);

    // True when rows of 8 x 8 cells can go through drawRow.
    bool rowsOfTiles() const { return across_ == 1 && down_ == 1 && (small_ || cache_); }

    // Cells c0..c1-1 of a row of 8 x 8 cells whose top is y (the target holds the whole row),
    // each value its own entry unless `rules` (then through tileOfValue); flushes at the end.
    // Values that draw nothing must have been left out by the caller when !rules: negative,
    // or (value & valueMask) at tileLimit or above.
    void drawRow(Surface& target, int y, const uint32_t* cells, int64_t c0, int64_t c1, bool rules,
                 uint32_t tileLimit, uint32_t valueMask);

    // Draws the tiles waiting in the batch.
    void flush(size_t stride);

private:
    struct Waiting {
        uint32_t* dst;
        const uint32_t* source;   // decoded tile, or the tile's indexes with small banks
        const uint32_t* palette;  // the bank's colours (small banks)
        bool h, v;
    };
    static constexpr int kBatch = 64;  // tiles waiting to be drawn

    void queue(Surface& target, int px, int py, uint32_t tile, uint32_t bank, const uint32_t* pal, bool h, bool v,
               bool whole);

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

}  // namespace ts
