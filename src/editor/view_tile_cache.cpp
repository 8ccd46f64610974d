#include "editor/view_tile_cache.h"

#include <algorithm>

#include "editor/tile_blit.h"

namespace ts {

namespace {
constexpr uint32_t kFirstPoolTiles = 256;  // the pool's first size; it doubles as needed
}

bool PlaneTileCache::prepare(uint64_t frame, const std::vector<uint32_t>& tiles, const uint32_t* palette,
                             uint32_t mask, uint32_t bankKeys) {
    const size_t tileCount = tiles.size() / kTileWords;
    if (bankKeys == 0 || tileCount == 0 || tileCount > kMaxKeys / bankKeys) {
        keys_ = 0;
        return false;
    }
    if (frame == frame_ && tiles.data() == tiles_ && tiles.size() == tileWords_ && palette == palette_ &&
        mask == mask_ && bankKeys == bankKeys_)
        return true;
    frame_ = frame;
    tiles_ = tiles.data();
    tileWords_ = tiles.size();
    palette_ = palette;
    mask_ = mask;
    bankKeys_ = bankKeys;
    used_ = 0;
    const size_t keys = tileCount * bankKeys;
    keys_ = keys;
    if (stamps_.size() < keys) {
        stamps_.resize(keys, 0);
        slots_.resize(keys, 0);
    }
    if (++generation_ == 0) {  // the stamps wrapped: none may match by chance
        std::fill(stamps_.begin(), stamps_.end(), 0u);
        generation_ = 1;
    }
    return true;
}

const uint32_t* PlaneTileCache::decode(uint32_t key, uint32_t tile, const uint32_t* bankPalette) {
    if (used_ >= kMaxTiles) return nullptr;
    const size_t need = size_t(used_ + 1) * kDecodedTileWords;
    if (pool_.size() < need) {
        // The whole budget is reserved at once, so that growing never moves the tiles handed out
        // in this frame; only the part in use is ever touched.
        if (pool_.capacity() < size_t(kMaxTiles) * kDecodedTileWords) pool_.reserve(size_t(kMaxTiles) * kDecodedTileWords);
        const size_t tilesNow = pool_.size() / kDecodedTileWords;
        pool_.resize(std::min<size_t>(std::max<size_t>(kFirstPoolTiles, tilesNow * 2), kMaxTiles) * kDecodedTileWords);
    }
    uint32_t* out = pool_.data() + size_t(used_) * kDecodedTileWords;
    decodeTile(out, tiles_ + size_t(tile) * kTileWords, bankPalette, mask_);
    stamps_[key] = generation_;
    slots_[key] = used_++;
    return out;
}

}  // namespace ts
