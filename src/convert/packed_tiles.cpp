#include "convert/packed_tiles.h"

#include <algorithm>
#include <bitset>
#include <unordered_map>

#include "convert/tile_index.h"

namespace ts {

namespace {

constexpr int kMaxGroups = 256;

bool opaque(uint32_t colour) { return (colour >> 24) != 0; }
uint32_t colourKey(uint32_t colour) { return colour | 0xFF000000u; }

// Where every colour sits: its index in each sub-palette that holds it.
struct ColourPlaces {
    std::bitset<kMaxGroups> groups;
    std::vector<std::pair<int, uint32_t>> indices;  // (sub-palette, index), by sub-palette
    uint32_t indexIn(int group) const {
        for (const auto& [g, index] : indices)
            if (g == group) return index;
        return 0;
    }
};

}  // namespace

bool packTilesExactly(TileStore& store, int firstTile, const PackedTilesParams& params,
                      PackedTilesResult& result) {
    result = PackedTilesResult{};
    const int B = params.colorsPerSubPalette, R = params.reserved;
    if (B < 1 || B >= kMaxGroups || R < 0 || R >= B || params.colorCount < 1) return false;
    const int P = (params.colorCount + B - 1) / B;
    if (P >= kMaxGroups) return false;
    firstTile = std::clamp(firstTile, 0, store.count);
    const int n = store.valuesPerTile();

    // The colour set of every tile.
    std::vector<std::vector<uint32_t>> sets(size_t(store.count - firstTile));
    for (int t = firstTile; t < store.count; ++t) {
        std::vector<uint32_t>& set = sets[size_t(t - firstTile)];
        const uint32_t* values = store.tile(t);
        for (int i = 0; i < n; ++i) {
            if (!opaque(values[i])) continue;
            const uint32_t c = colourKey(values[i]);
            if (std::find(set.begin(), set.end(), c) == set.end()) {
                set.push_back(c);
                // More colours than a sub-palette holds: no exact packing.
                if (int(set.size()) > B - R) return false;
            }
        }
    }
    PackingLimits limits;
    limits.capacity = B - R;
    limits.maxPalettes = P;
    limits.budget = params.budget;
    PackingResult packing;
    const bool packed = packColourSets(sets, limits, packing);
    result.work = packing.work;
    if (!packed) return false;

    const int G = int(packing.palettes.size());
    std::unordered_map<uint32_t, ColourPlaces> places;
    result.palette.assign(size_t(G) * size_t(B), 0);
    for (int g = 0; g < G; ++g) {
        const std::vector<uint32_t>& colours = packing.palettes[size_t(g)];
        for (size_t i = 0; i < colours.size(); ++i) {
            ColourPlaces& p = places[colours[i]];
            p.groups.set(size_t(g));
            p.indices.push_back({g, uint32_t(R) + uint32_t(i)});
            result.palette[size_t(g) * size_t(B) + size_t(R) + i] = colours[i];
        }
    }

    // The new store: an existing tileset's tiles first, then the index tiles as they come.
    TileStore packedStore;
    packedStore.tileWidth = store.tileWidth;
    packedStore.tileHeight = store.tileHeight;
    packedStore.count = firstTile;
    packedStore.values.reserve(size_t(store.count) * size_t(n));
    packedStore.values.assign(store.values.begin(), store.values.begin() + ptrdiff_t(firstTile) * n);
    TileIndex index(packedStore, size_t(store.count), params.mirrors);
    for (int t = std::max(params.searchStart, 0); params.matching && t < firstTile; ++t)
        index.add(t, hashTile(packedStore.tile(t), n));

    result.tileValues.resize(size_t(store.count));
    result.tileMirrors.assign(size_t(store.count), 0);
    result.tileNumbers.resize(size_t(store.count));
    for (int t = 0; t < firstTile; ++t) result.tileValues[size_t(t)] = result.tileNumbers[size_t(t)] = uint32_t(t);
    const uint32_t shift = params.paletteShift;
    auto field = [shift](int g) { return shift >= 32 ? 0u : uint32_t(g) << shift; };
    std::vector<uint32_t> scratch(static_cast<size_t>(n));
    std::vector<int> fitting;
    for (int t = firstTile; t < store.count; ++t) {
        const std::vector<uint32_t>& set = sets[size_t(t - firstTile)];
        std::bitset<kMaxGroups> candidates;
        for (int g = 0; g < G; ++g) candidates.set(size_t(g));
        for (uint32_t c : set) candidates &= places[c].groups;
        fitting.clear();
        for (int g = 0; g < G; ++g)
            if (candidates.test(size_t(g))) fitting.push_back(g);
        if (fitting.empty()) return false;  // cannot happen with a packing
        if (!params.preferDuplicates) fitting.resize(1);

        const uint32_t* values = store.tile(t);
        TileMatch match;
        uint64_t firstHash = 0;
        int chosen = fitting[0];
        for (size_t k = 0; k < fitting.size() && match.tile < 0; ++k) {
            const int g = fitting[k];
            for (int i = 0; i < n; ++i)
                scratch[size_t(i)] = opaque(values[i]) ? places[colourKey(values[i])].indexIn(g) : 0u;
            const uint64_t hash = hashTile(scratch.data(), n);
            if (k == 0) firstHash = hash;
            if (params.matching) match = index.find(scratch.data(), hash, g);
            if (match.tile >= 0) chosen = g;
        }
        if (match.tile < 0) {
            // Stored under the first sub-palette that fits.
            for (int i = 0; i < n; ++i)
                scratch[size_t(i)] = opaque(values[i]) ? places[colourKey(values[i])].indexIn(chosen) : 0u;
            match.tile = packedStore.count;
            packedStore.values.insert(packedStore.values.end(), scratch.begin(), scratch.end());
            ++packedStore.count;
            if (params.matching) index.add(match.tile, firstHash, chosen);
        }
        result.tileValues[size_t(t)] = field(chosen) | uint32_t(match.tile);
        result.tileMirrors[size_t(t)] = match.mirror;
        result.tileNumbers[size_t(t)] = uint32_t(match.tile);
    }

    store.values = std::move(packedStore.values);
    store.count = packedStore.count;
    result.groups = G;
    result.colorCount = G * B;
    return true;
}

}  // namespace ts
