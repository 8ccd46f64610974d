#include "convert/tile_index.h"

#include <cstring>

namespace ts {

// Four independent lanes, so that the multiplications of neighbouring values overlap instead of
// waiting on each other; each step takes two values as one 64-bit word (tiles hold a multiple of
// 64 values).
uint64_t hashTile(const uint32_t* values, int n) {
    constexpr uint64_t kMultiplier = 0xBF58476D1CE4E5B9ull;
    uint64_t lane[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                        0x27D4EB2F165667C5ull};
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        for (int k = 0; k < 4; ++k) {
            lane[k] ^= uint64_t(values[i + 2 * k]) | uint64_t(values[i + 2 * k + 1]) << 32;
            lane[k] *= kMultiplier;
            lane[k] ^= lane[k] >> 31;
        }
    }
    for (; i < n; ++i) {
        lane[0] ^= values[i];
        lane[0] *= kMultiplier;
        lane[0] ^= lane[0] >> 31;
    }
    uint64_t h = lane[0];
    for (int k = 1; k < 4; ++k) {
        h = (h ^ lane[k]) * kMultiplier;
        h ^= h >> 29;
    }
    return h;
}

void mirrorTile(const uint32_t* in, int tileWidth, int tileHeight, uint8_t flags, uint32_t* out) {
    // Block by block: the blocks trade places, then each block is mirrored within itself.
    const int blocksX = tileWidth / 8, blocksY = tileHeight / 8;
    const bool h = (flags & kMirrorH) != 0, v = (flags & kMirrorV) != 0;
    for (int by = 0; by < blocksY; ++by) {
        for (int bx = 0; bx < blocksX; ++bx) {
            const uint32_t* from = in + ((v ? blocksY - 1 - by : by) * blocksX + (h ? blocksX - 1 - bx : bx)) * 64;
            uint32_t* to = out + (by * blocksX + bx) * 64;
            for (int y = 0; y < 8; ++y) {
                const uint32_t* row = from + (v ? 7 - y : y) * 8;
                if (h)
                    for (int x = 0; x < 8; ++x) to[y * 8 + x] = row[7 - x];
                else
                    for (int x = 0; x < 8; ++x) to[y * 8 + x] = row[x];
            }
        }
    }
}

TileIndex::TileIndex(const TileStore& store, size_t expected, bool mirrors) : store_(store), mirrors_(mirrors) {
    // Mirror images are added only for stored tiles; the table grows when they need room.
    size_t capacity = 64;
    while (capacity < expected * 2) capacity <<= 1;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    // Room for three mirror images of every tile expected, so that adding one never moves the others
    // (only the pages written are ever touched).
    if (mirrors) mirrored_.reserve(expected * 3 * size_t(store.valuesPerTile()));
}

const uint32_t* TileIndex::content(const Slot& s) const {
    return s.mirrored < 0 ? store_.tile(s.tile) : mirrored_.data() + size_t(s.mirrored) * size_t(store_.valuesPerTile());
}

TileMatch TileIndex::find(const uint32_t* values, uint64_t hash, int group) const {
    const size_t bytes = size_t(store_.valuesPerTile()) * 4;
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
        const Slot& s = slots_[i];
        if (s.tile < 0) return TileMatch{};
        if (s.hash == uint32_t(hash) && (s.group() < 0 || group < 0 || s.group() == group) &&
            std::memcmp(content(s), values, bytes) == 0)
            return TileMatch{s.tile, s.mirror()};
    }
}

bool TileIndex::insert(uint64_t hash, const Slot& slot, const uint32_t* values) {
    const size_t bytes = size_t(store_.valuesPerTile()) * 4;
    if (used_ * 2 >= slots_.size()) grow();
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
        Slot& s = slots_[i];
        if (s.tile < 0) {
            s = slot;
            ++used_;
            return true;
        }
        if (s.hash == slot.hash && (s.group() < 0 || s.group() == slot.group()) &&
            std::memcmp(content(s), values, bytes) == 0)
            return false;
    }
}

void TileIndex::add(int tile, uint64_t hash, int group) {
    insert(hash, Slot{uint32_t(hash), tile, -1, 0}, store_.tile(tile));
    if (!mirrors_) return;
    const size_t n = size_t(store_.valuesPerTile());
    for (uint8_t flags = 1; flags <= 3; ++flags) {
        // Mirrored straight into its place; only kept when the content is new (a symmetric tile
        // is found as itself).
        const size_t at = mirrored_.size();
        mirrored_.resize(at + n);
        uint32_t* image = mirrored_.data() + at;
        mirrorTile(store_.tile(tile), store_.tileWidth, store_.tileHeight, flags, image);
        const uint64_t h = hashTile(image, int(n));
        if (!insert(h, Slot{uint32_t(h), tile, int32_t(at / n), (group + 1) << 2 | flags}, image)) mirrored_.resize(at);
    }
}

void TileIndex::grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.size() * 2, Slot{});
    mask_ = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.tile < 0) continue;
        size_t i = size_t(s.hash) & mask_;
        while (slots_[i].tile >= 0) i = (i + 1) & mask_;
        slots_[i] = s;
    }
}

}  // namespace ts
