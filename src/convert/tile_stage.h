#pragma once
// The tile stage of the tileset pipeline: the working size rule, the tile store and the cutting of
// an index image into tiles with identical tiles stored once.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ts {

// At most this many 8 x 8 blocks are stored (8192 tiles of 8 x 8, 2048 of 16 x 16).
constexpr int kMaxTileBlocks = 8192;
constexpr int kMaxTileSide = 128;

// Working size rule: a side of 0 (or less) takes the image's; then the width is rounded up to a
// multiple of the tile width and the height to a multiple of the tile height. False when a side
// is empty or the tile size is not usable.
bool applyWorkingSizeRule(int imageWidth, int imageHeight, int tileWidth, int tileHeight,
                          int64_t& workWidth, int64_t& workHeight);

// True for tile sides that are multiples of 8 from 8 to 128.
bool tileSideValid(int side);

// Tiles of tileWidth x tileHeight values, each stored as its 8 x 8 blocks in row order (left to
// right, then down), each block's 64 values row by row: the layout saveTileset expects.
struct TileStore {
    int tileWidth = 8;
    int tileHeight = 8;
    int count = 0;                 // tiles stored
    std::vector<uint32_t> values;  // count * valuesPerTile()

    int valuesPerTile() const { return tileWidth * tileHeight; }
    int blocksPerTile() const { return (tileWidth / 8) * (tileHeight / 8); }
    const uint32_t* tile(int index) const { return values.data() + size_t(index) * size_t(valuesPerTile()); }
    uint32_t* tile(int index) { return values.data() + size_t(index) * size_t(valuesPerTile()); }
    // Appends one all-zero tile.
    void appendEmpty();
};

// Position of pixel (x, y) of a tile inside the tile's stored values.
inline int tileValueIndex(int tileWidth, int x, int y) {
    return ((y >> 3) * (tileWidth >> 3) + (x >> 3)) * 64 + (y & 7) * 8 + (x & 7);
}

struct TilingOptions {
    bool matching = true;   // identical tiles are stored once
    int searchStart = 0;    // tiles before it never match
    bool rotationMap = false;  // map entries keep only their low 8 bits
    bool mirrors = false;   // tiles also match stored tiles mirrored (flags go to `mirrors`)
};

enum class TilingStatus { Ok, TooManyTiles };

// Cuts an index image (workWidth x workHeight values, rows from the top; both sides multiples of
// the store's tile size) into tiles, in row order of tile positions. Each tile is matched against
// the stored tiles from searchStart on (the first identical one wins) or appended. The map gets
// one entry per tile position. Matching is hashed: the results are those of a linear search.
// With options.mirrors and `mirrors` given, a tile equal to a stored tile mirrored is not stored
// again: `mirrors` receives, per map entry, the mirror flags (kMirrorH, kMirrorV of
// convert/tile_index.h) under which the stored tile gives the image's.
TilingStatus cutIntoTiles(const uint32_t* indexImage, int workWidth, int workHeight,
                          const TilingOptions& options, TileStore& store, std::vector<uint32_t>& map,
                          std::vector<uint8_t>* mirrors = nullptr);

// The same with a linear search over the stored tiles (reference and benchmark figure).
TilingStatus cutIntoTilesLinear(const uint32_t* indexImage, int workWidth, int workHeight,
                                const TilingOptions& options, TileStore& store,
                                std::vector<uint32_t>& map);

}  // namespace ts
