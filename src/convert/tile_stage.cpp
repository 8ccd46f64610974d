#include "convert/tile_stage.h"

#include <cstring>

namespace ts {

bool tileSideValid(int side) { return side >= 8 && side <= kMaxTileSide && side % 8 == 0; }

bool applyWorkingSizeRule(int imageWidth, int imageHeight, int tileWidth, int tileHeight,
                          int64_t& workWidth, int64_t& workHeight) {
    if (!tileSideValid(tileWidth) || !tileSideValid(tileHeight)) return false;
    int64_t w = workWidth > 0 ? workWidth : imageWidth;
    int64_t h = workHeight > 0 ? workHeight : imageHeight;
    if (w <= 0 || h <= 0) return false;
    w = (w + tileWidth - 1) / tileWidth * tileWidth;
    h = (h + tileHeight - 1) / tileHeight * tileHeight;
    workWidth = w;
    workHeight = h;
    return true;
}

void TileStore::appendEmpty() {
    values.resize(size_t(count + 1) * size_t(valuesPerTile()), 0);
    ++count;
}

namespace {

// Copies the tile at tile position (tx, ty) into `out` in the store layout.
void copyTile(const uint32_t* image, int workWidth, int tx, int ty, int tileWidth, int tileHeight,
              uint32_t* out) {
    const int blocksX = tileWidth / 8;
    const int blocksY = tileHeight / 8;
    for (int by = 0; by < blocksY; ++by) {
        for (int bx = 0; bx < blocksX; ++bx) {
            uint32_t* block = out + (by * blocksX + bx) * 64;
            const size_t x0 = size_t(tx) * tileWidth + size_t(bx) * 8;
            const size_t y0 = size_t(ty) * tileHeight + size_t(by) * 8;
            for (int r = 0; r < 8; ++r)
                std::memcpy(block + r * 8, image + (y0 + r) * size_t(workWidth) + x0, 8 * sizeof(uint32_t));
        }
    }
}

// Four independent lanes, so that the multiplications of neighbouring values overlap instead of
// waiting on each other; tiles hold a multiple of 64 values.
uint64_t hashTile(const uint32_t* values, int n) {
    constexpr uint64_t kMultiplier = 0xBF58476D1CE4E5B9ull;
    uint64_t lane[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                        0x27D4EB2F165667C5ull};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        for (int k = 0; k < 4; ++k) {
            lane[k] ^= values[i + k];
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

// Open-addressing index from tile content to the first stored tile with that content.
class TileIndex {
public:
    TileIndex(const TileStore& store, size_t expected) : store_(store) {
        size_t capacity = 64;
        while (capacity < expected * 2) capacity <<= 1;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
    }
    // The first stored tile identical to `values`, or -1.
    int find(const uint32_t* values, uint64_t hash) const {
        const int n = store_.valuesPerTile();
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.tile < 0) return -1;
            if (s.hash == hash && std::memcmp(store_.tile(s.tile), values, size_t(n) * 4) == 0) return s.tile;
        }
    }
    // Records a tile unless an identical one is indexed already.
    void add(int tile, uint64_t hash) {
        const int n = store_.valuesPerTile();
        if (used_ * 2 >= slots_.size()) grow();
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& s = slots_[i];
            if (s.tile < 0) {
                s = Slot{hash, tile};
                ++used_;
                return;
            }
            if (s.hash == hash && std::memcmp(store_.tile(s.tile), store_.tile(tile), size_t(n) * 4) == 0) return;
        }
    }

private:
    struct Slot {
        uint64_t hash = 0;
        int tile = -1;
    };
    void grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old) {
            if (s.tile < 0) continue;
            size_t i = s.hash & mask_;
            while (slots_[i].tile >= 0) i = (i + 1) & mask_;
            slots_[i] = s;
        }
    }
    const TileStore& store_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t used_ = 0;
};

bool storeFull(const TileStore& store) {
    return int64_t(store.blocksPerTile()) * store.count >= kMaxTileBlocks;
}

uint32_t mapEntry(int tile, const TilingOptions& options) {
    return options.rotationMap ? uint32_t(tile) & 255u : uint32_t(tile);
}

template <typename Matcher>
TilingStatus cut(const uint32_t* image, int workWidth, int workHeight, const TilingOptions& options,
                 TileStore& store, std::vector<uint32_t>& map, Matcher&& matcher) {
    const int tilesX = workWidth / store.tileWidth;
    const int tilesY = workHeight / store.tileHeight;
    const int n = store.valuesPerTile();
    map.assign(size_t(tilesX) * size_t(tilesY), 0);
    std::vector<uint32_t> scratch(static_cast<size_t>(n));
    // Room for every tile the image can add, so that the loop below never reallocates.
    const size_t room = size_t(kMaxTileBlocks / store.blocksPerTile()) + 1;
    const size_t imageTiles = map.size();
    store.values.reserve((size_t(store.count) + (imageTiles < room ? imageTiles : room)) * size_t(n));
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            copyTile(image, workWidth, tx, ty, store.tileWidth, store.tileHeight, scratch.data());
            int found = options.matching ? matcher.find(scratch.data()) : -1;
            if (found < 0) {
                if (storeFull(store)) return TilingStatus::TooManyTiles;
                found = store.count;
                store.values.resize(size_t(store.count + 1) * size_t(n));
                std::memcpy(store.tile(found), scratch.data(), size_t(n) * 4);
                ++store.count;
                if (options.matching) matcher.added(found);
            }
            map[size_t(ty) * tilesX + tx] = mapEntry(found, options);
        }
    }
    return TilingStatus::Ok;
}

}  // namespace

TilingStatus cutIntoTiles(const uint32_t* indexImage, int workWidth, int workHeight,
                          const TilingOptions& options, TileStore& store, std::vector<uint32_t>& map) {
    const int n = store.valuesPerTile();
    struct Hashed {
        const TileStore& store;
        TileIndex index;
        int n;
        uint64_t lastHash = 0;
        int find(const uint32_t* values) {
            lastHash = hashTile(values, n);
            return index.find(values, lastHash);
        }
        void added(int tile) { index.add(tile, lastHash); }
    };
    const size_t imageTiles = size_t(workWidth / store.tileWidth) * size_t(workHeight / store.tileHeight);
    const size_t room = size_t(kMaxTileBlocks / store.blocksPerTile()) + 1;
    Hashed matcher{store, TileIndex(store, size_t(store.count) + (imageTiles < room ? imageTiles : room)), n};
    if (options.matching) {
        for (int i = options.searchStart < 0 ? 0 : options.searchStart; i < store.count; ++i)
            matcher.index.add(i, hashTile(store.tile(i), n));
    }
    return cut(indexImage, workWidth, workHeight, options, store, map, matcher);
}

TilingStatus cutIntoTilesLinear(const uint32_t* indexImage, int workWidth, int workHeight,
                                const TilingOptions& options, TileStore& store,
                                std::vector<uint32_t>& map) {
    struct Linear {
        TileStore& store;
        int start;
        int find(const uint32_t* values) const {
            const size_t bytes = size_t(store.valuesPerTile()) * 4;
            for (int i = start < 0 ? 0 : start; i < store.count; ++i)
                if (std::memcmp(store.tile(i), values, bytes) == 0) return i;
            return -1;
        }
        void added(int) {}
    };
    return cut(indexImage, workWidth, workHeight, options, store, map, Linear{store, options.searchStart});
}

}  // namespace ts
