#include "convert/tile_stage.h"

#include <cstring>

#include "convert/tile_index.h"

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

bool storeFull(const TileStore& store) {
    return int64_t(store.blocksPerTile()) * store.count >= kMaxTileBlocks;
}

uint32_t mapEntry(int tile, const TilingOptions& options) {
    return options.rotationMap ? uint32_t(tile) & 255u : uint32_t(tile);
}

template <typename Matcher>
TilingStatus cut(const uint32_t* image, int workWidth, int workHeight, const TilingOptions& options,
                 TileStore& store, std::vector<uint32_t>& map, std::vector<uint8_t>* mirrors, Matcher&& matcher) {
    const int tilesX = workWidth / store.tileWidth;
    const int tilesY = workHeight / store.tileHeight;
    const int n = store.valuesPerTile();
    map.assign(size_t(tilesX) * size_t(tilesY), 0);
    if (mirrors) mirrors->assign(map.size(), 0);
    std::vector<uint32_t> scratch(static_cast<size_t>(n));
    // Room for every tile the image can add, so that the loop below never reallocates.
    const size_t room = size_t(kMaxTileBlocks / store.blocksPerTile()) + 1;
    const size_t imageTiles = map.size();
    store.values.reserve((size_t(store.count) + (imageTiles < room ? imageTiles : room)) * size_t(n));
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            copyTile(image, workWidth, tx, ty, store.tileWidth, store.tileHeight, scratch.data());
            const TileMatch match = options.matching ? matcher.find(scratch.data()) : TileMatch{};
            int found = match.tile;
            if (found < 0) {
                if (storeFull(store)) return TilingStatus::TooManyTiles;
                found = store.count;
                store.values.resize(size_t(store.count + 1) * size_t(n));
                std::memcpy(store.tile(found), scratch.data(), size_t(n) * 4);
                ++store.count;
                if (options.matching) matcher.added(found);
            }
            map[size_t(ty) * tilesX + tx] = mapEntry(found, options);
            if (mirrors) (*mirrors)[size_t(ty) * tilesX + tx] = match.mirror;
        }
    }
    return TilingStatus::Ok;
}

}  // namespace

TilingStatus cutIntoTiles(const uint32_t* indexImage, int workWidth, int workHeight,
                          const TilingOptions& options, TileStore& store, std::vector<uint32_t>& map,
                          std::vector<uint8_t>* mirrors) {
    const int n = store.valuesPerTile();
    struct Hashed {
        const TileStore& store;
        TileIndex index;
        int n;
        uint64_t lastHash = 0;
        TileMatch find(const uint32_t* values) {
            lastHash = hashTile(values, n);
            return index.find(values, lastHash);
        }
        void added(int tile) { index.add(tile, lastHash); }
    };
    const size_t imageTiles = size_t(workWidth / store.tileWidth) * size_t(workHeight / store.tileHeight);
    const size_t room = size_t(kMaxTileBlocks / store.blocksPerTile()) + 1;
    const bool mirrored = options.mirrors && mirrors;
    Hashed matcher{store, TileIndex(store, size_t(store.count) + (imageTiles < room ? imageTiles : room), mirrored), n};
    if (options.matching) {
        for (int i = options.searchStart < 0 ? 0 : options.searchStart; i < store.count; ++i)
            matcher.index.add(i, hashTile(store.tile(i), n));
    }
    return cut(indexImage, workWidth, workHeight, options, store, map, mirrored ? mirrors : nullptr, matcher);
}

TilingStatus cutIntoTilesLinear(const uint32_t* indexImage, int workWidth, int workHeight,
                                const TilingOptions& options, TileStore& store,
                                std::vector<uint32_t>& map) {
    struct Linear {
        TileStore& store;
        int start;
        TileMatch find(const uint32_t* values) const {
            const size_t bytes = size_t(store.valuesPerTile()) * 4;
            for (int i = start < 0 ? 0 : start; i < store.count; ++i)
                if (std::memcmp(store.tile(i), values, bytes) == 0) return TileMatch{i, 0};
            return TileMatch{};
        }
        void added(int) {}
    };
    return cut(indexImage, workWidth, workHeight, options, store, map, nullptr, Linear{store, options.searchStart});
}

}  // namespace ts
