#pragma once
// The multi-palette path when an exact packing exists: every tile of direct colours becomes
// indices into a sub-palette that holds all its colours, so every pixel keeps its colour. A tile
// that fits several sub-palettes takes the one under which it equals a tile already stored.
#include <cstdint>
#include <vector>

#include "convert/palette_packing.h"
#include "convert/tile_stage.h"

namespace ts {

struct PackedTilesParams {
    int colorsPerSubPalette = 16;  // B
    int colorCount = 255;          // wanted colours; at most (colorCount + B - 1) / B sub-palettes
    int reserved = 1;              // R: leading entries of every sub-palette left all zero
    uint32_t paletteShift = 12;    // 32 or more: the map type has no palette field
    int searchStart = 0;           // stored tiles before it are never matched
    bool matching = true;          // tiles equal to a stored tile are stored once
    bool preferDuplicates = true;  // try every fitting sub-palette for a match, not only the first
    bool mirrors = false;          // tiles also match stored tiles mirrored within their sub-palette
    int64_t budget = kPackingBudget;
};

struct PackedTilesResult {
    // For every tile of the store before the call: (sub-palette << palette shift) | its new number,
    // and the mirror flags under which the new tile gives it.
    std::vector<uint32_t> tileValues;
    std::vector<uint8_t> tileMirrors;
    std::vector<uint32_t> tileNumbers;  // the new number alone
    std::vector<uint32_t> palette;  // B entries per sub-palette, bytes blue, green, red, alpha
    int groups = 0;
    int colorCount = 0;             // B x groups
    int64_t work = 0;               // packing work units spent
};

// Tiles firstTile .. store.count - 1 hold direct colours (alpha 0: transparent). When an exact
// packing is found, the store's tiles from firstTile on are replaced by the index tiles (fewer
// when tiles merge) and true is returned; otherwise the store is left as it was.
bool packTilesExactly(TileStore& store, int firstTile, const PackedTilesParams& params,
                      PackedTilesResult& result);

}  // namespace ts
