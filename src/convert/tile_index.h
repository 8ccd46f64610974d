#pragma once
// Hashed lookup of stored tiles by content, optionally also by their mirror images, so that tile
// matching stays linear in the number of tiles.
#include <cstdint>
#include <vector>

#include "convert/tile_stage.h"

namespace ts {

// Mirror flags of a match: the stored tile drawn mirrored this way gives the tile looked up.
constexpr uint8_t kMirrorH = 1;
constexpr uint8_t kMirrorV = 2;

uint64_t hashTile(const uint32_t* values, int n);

// Writes the tile (store layout, tileWidth x tileHeight) mirrored by `flags` into `out`.
void mirrorTile(const uint32_t* in, int tileWidth, int tileHeight, uint8_t flags, uint32_t* out);

struct TileMatch {
    int tile = -1;
    uint8_t mirror = 0;
};

// Open-addressing index from tile content to the first stored tile with that content. With
// mirrors, every tile added is also found through its three mirror images; a mirror image added
// for a group (a sub-palette) is found only for that group, the tile itself for every group.
class TileIndex {
public:
    TileIndex(const TileStore& store, size_t expected, bool mirrors);
    TileMatch find(const uint32_t* values, uint64_t hash, int group = -1) const;
    // Records a stored tile (and its mirror images) unless identical content is indexed already.
    void add(int tile, uint64_t hash, int group = -1);

private:
    // 16 bytes, so that the table of a large picture stays small. The low 32 bits of the hash are
    // kept; the content comparison decides.
    struct Slot {
        uint32_t hash = 0;
        int32_t tile = -1;
        int32_t mirrored = -1;  // which mirror image in mirrored_, -1 for the tile itself
        int32_t tag = 0;        // (group + 1) << 2 | mirror flags; group -1: every group
        int group() const { return (tag >> 2) - 1; }
        uint8_t mirror() const { return uint8_t(tag & 3); }
    };
    const uint32_t* content(const Slot& s) const;
    bool insert(uint64_t hash, const Slot& slot, const uint32_t* values);
    void grow();

    const TileStore& store_;
    bool mirrors_;
    std::vector<Slot> slots_;
    std::vector<uint32_t> mirrored_;
    size_t mask_ = 0;
    size_t used_ = 0;
};

}  // namespace ts
