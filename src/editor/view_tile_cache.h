#pragma once
// Tiles decoded during one frame of the view: each (tile, palette bank) that a plane draws is
// decoded once into colour words and then copied by every cell that shows it. Nothing survives
// from one frame to the next (the frame may follow any change of tiles or palettes); only the
// memory is kept, so that frames allocate nothing once the view has been drawn a first time.
#include <array>
#include <cstdint>
#include <vector>

#include "editor/plane_record.h"

namespace ts {

// Decoded tiles of one plane during one frame.
class PlaneTileCache {
public:
    // Keys a plane may have: (8 x 8 tiles) x (palette banks + 1). Planes with more (large
    // 256-colour tilesets drawn without the console's decoding) draw their tiles directly.
    static constexpr uint32_t kMaxKeys = 1u << 16;
    // Tiles decoded in one frame at most (2 MB); the cells beyond draw their tiles directly.
    static constexpr uint32_t kMaxTiles = 8192;

    // Makes the cache serve `tiles` through `palette` (index mask `mask`, `bankKeys` palette
    // banks) for the frame `frame`; forgets what it held unless it already served exactly these.
    // False when the plane has too many keys to be cached.
    bool prepare(uint64_t frame, const std::vector<uint32_t>& tiles, const uint32_t* palette, uint32_t mask,
                 uint32_t bankKeys);

    // The decoded tile `tile` (an 8 x 8 tile of the tile data) in palette bank `bankKey`, whose
    // colours start at `bankPalette`; nullptr when the frame's budget is spent. The tiles handed
    // out stay in place until the next prepare() that forgets them.
    const uint32_t* tile(uint32_t tile, uint32_t bankKey, const uint32_t* bankPalette) {
        const size_t key = size_t(tile) * bankKeys_ + bankKey;
        if (key >= keys_ || bankKey >= bankKeys_) return nullptr;
        if (stamps_[key] == generation_) return pool_.data() + size_t(slots_[key]) * kTileWords;
        return decode(uint32_t(key), tile, bankPalette);
    }

private:
    const uint32_t* decode(uint32_t key, uint32_t tile, const uint32_t* bankPalette);

    uint64_t frame_ = 0;
    const uint32_t* tiles_ = nullptr;
    size_t tileWords_ = 0;
    const uint32_t* palette_ = nullptr;
    uint32_t mask_ = 0;
    uint32_t bankKeys_ = 1;
    size_t keys_ = 0;          // tiles x bank keys served now
    uint32_t generation_ = 0;  // stamps equal to it mark the keys decoded in this frame
    uint32_t used_ = 0;        // tiles of the pool holding this frame's decodings
    std::vector<uint32_t> stamps_;
    std::vector<uint32_t> slots_;
    std::vector<uint32_t> pool_;
};

// The decoded tiles of every slot; one per view, kept with it from frame to frame.
class ViewTileCache {
public:
    void beginFrame() { ++frame_; }
    uint64_t frame() const { return frame_; }
    PlaneTileCache& plane(int slot) { return planes_[size_t(slot)]; }

private:
    uint64_t frame_ = 1;
    std::array<PlaneTileCache, MaxPlanes> planes_;
};

}  // namespace ts
