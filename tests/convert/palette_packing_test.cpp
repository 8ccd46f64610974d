// Exact sub-palette packing of colour sets, and the tiles it gives: duplicate preference and
// mirror matching within a sub-palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "convert/packed_tiles.h"
#include "convert/palette_packing.h"
#include "convert/tile_index.h"

using namespace ts;

namespace {

using Sets = std::vector<std::vector<uint32_t>>;

// Every set inside one palette, no palette above capacity, at most maxPalettes.
void expectExact(const Sets& sets, const PackingResult& result, const PackingLimits& limits) {
    ASSERT_LE(int(result.palettes.size()), limits.maxPalettes);
    for (const auto& p : result.palettes) EXPECT_LE(int(p.size()), limits.capacity);
    for (const auto& set : sets) {
        bool inside = false;
        for (const auto& p : result.palettes)
            inside = inside || std::all_of(set.begin(), set.end(), [&](uint32_t c) {
                         return std::find(p.begin(), p.end(), c) != p.end();
                     });
        EXPECT_TRUE(inside) << "a set fits no palette";
    }
}

// First fit in tile order: what a converter without a packing search does.
bool firstFit(const Sets& sets, const PackingLimits& limits) {
    std::vector<std::set<uint32_t>> palettes;
    for (const auto& set : sets) {
        bool placed = false;
        for (auto& p : palettes) {
            std::set<uint32_t> u = p;
            u.insert(set.begin(), set.end());
            if (int(u.size()) <= limits.capacity) {
                p = u;
                placed = true;
                break;
            }
        }
        if (placed) continue;
        if (int(palettes.size()) == limits.maxPalettes) return false;
        palettes.emplace_back(set.begin(), set.end());
    }
    return true;
}

}  // namespace

TEST(PalettePacking, SucceedsWhereFirstFitFails) {
    // First fit puts {1,2} and {3} together and has no room left for {4,5,3}.
    const Sets sets{{1, 2}, {3}, {1, 2, 6}, {4, 5, 3}};
    PackingLimits limits;
    limits.capacity = 3;
    limits.maxPalettes = 2;
    EXPECT_FALSE(firstFit(sets, limits));
    PackingResult result;
    ASSERT_TRUE(packColourSets(sets, limits, result));
    expectExact(sets, result, limits);
}

TEST(PalettePacking, RepeatsColoursWhenTheSetsOverlap) {
    // Every pair of sets shares a colour: no packing without repeated colours exists.
    const Sets sets{{1, 2, 3}, {1, 4, 5}, {2, 4, 6}, {3, 5, 6}};
    PackingLimits limits;
    limits.capacity = 3;
    limits.maxPalettes = 4;
    PackingResult result;
    ASSERT_TRUE(packColourSets(sets, limits, result));
    expectExact(sets, result, limits);
    limits.maxPalettes = 3;
    EXPECT_FALSE(packColourSets(sets, limits, result));
}

TEST(PalettePacking, RefusesWhatCannotPack) {
    PackingLimits limits;
    limits.capacity = 3;
    limits.maxPalettes = 2;
    PackingResult result;
    EXPECT_FALSE(packColourSets({{1, 2, 3, 4}}, limits, result));           // one set too large
    EXPECT_FALSE(packColourSets({{1, 2, 3}, {4, 5, 6}, {7}}, limits, result));  // too many colours
    EXPECT_FALSE(packColourSets({{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}, {1, 4}}, limits, result));
    // Only transparent tiles: one empty sub-palette.
    ASSERT_TRUE(packColourSets({{}, {}}, limits, result));
    EXPECT_EQ(result.palettes.size(), 1u);
}

TEST(PalettePacking, HiddenPalettesAreFoundAndTheAnswerIsRepeatable) {
    // 16 hidden palettes of 15 colours; 600 sets of 2 to 6 colours, each from one hidden palette.
    Sets sets;
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int i = 0; i < 600; ++i) {
        const uint32_t palette = next() % 16, size = 2 + next() % 5;
        std::vector<uint32_t> set;
        while (set.size() < size) {
            const uint32_t c = 0xFF000000u | (palette << 8) | (next() % 15);
            if (std::find(set.begin(), set.end(), c) == set.end()) set.push_back(c);
        }
        sets.push_back(set);
    }
    PackingLimits limits;
    limits.capacity = 15;
    limits.maxPalettes = 16;
    PackingResult first, second;
    ASSERT_TRUE(packColourSets(sets, limits, first));
    expectExact(sets, first, limits);
    ASSERT_TRUE(packColourSets(sets, limits, second));
    EXPECT_EQ(first.palettes, second.palettes);
}

TEST(PalettePacking, HiddenPalettesSharingColoursAreFound) {
    // Palettes 0-1 and 1-2 share a colour, so tiles link colours of different palettes together.
    for (int shared : {1, 2, 4}) {
        SCOPED_TRACE(shared);
        auto colour = [shared](int p, int c) -> uint32_t {
            return 0xFF000000u | uint32_t(p < shared && c == 0 ? (p + 1) * 15 + 1 : p * 15 + c);
        };
        Sets sets;
        uint32_t seed = 777u + uint32_t(shared);
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
        for (int i = 0; i < 1024; ++i) {
            const int p = int(next() % 16), n = 2 + int(next() % 5);
            std::vector<uint32_t> set;
            while (int(set.size()) < n) {
                const uint32_t c = colour(p, int(next() % 15));
                if (std::find(set.begin(), set.end(), c) == set.end()) set.push_back(c);
            }
            sets.push_back(set);
        }
        PackingLimits limits;
        PackingResult result;
        ASSERT_TRUE(packColourSets(sets, limits, result));
        expectExact(sets, result, limits);
        EXPECT_LE(result.work, limits.budget);
    }
}

namespace {

constexpr uint32_t kP = 0xFF010101, kQ = 0xFF020202, kC = 0xFF030303, kR = 0xFF040404, kS = 0xFF050505;

// A store of 8 x 8 direct-colour tiles, each given by a function of the pixel position.
TileStore storeOf(const std::vector<std::function<uint32_t(int, int)>>& tiles) {
    TileStore store;
    for (const auto& f : tiles) {
        store.appendEmpty();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) store.tile(store.count - 1)[tileValueIndex(8, x, y)] = f(x, y);
    }
    return store;
}

// The colour a packed tile shows at (x, y) under its map value and mirror flags.
uint32_t shown(const TileStore& store, const PackedTilesResult& r, int oldTile, int x, int y, int B) {
    const uint32_t value = r.tileValues[size_t(oldTile)];
    const int group = int(value >> 12), tile = int(value & 0xFFF);
    const uint8_t m = r.tileMirrors[size_t(oldTile)];
    const int sx = (m & kMirrorH) ? 7 - x : x, sy = (m & kMirrorV) ? 7 - y : y;
    const uint32_t index = store.tile(tile)[tileValueIndex(8, sx, sy)];
    return index == 0 ? 0 : r.palette[size_t(group * B) + index];
}

}  // namespace

TEST(PackedTiles, TileFittingTwoSubPalettesTakesTheOneThatRepeatsAStoredTile) {
    // {p,q,c} and {r,s,c} need two sub-palettes of 3; a solid c tile fits both, and under the
    // second it equals the solid p tile stored before it.
    const std::vector<std::function<uint32_t(int, int)>> tiles{
        [](int x, int y) { return x < 3 ? kP : x < 6 ? kQ : kC; },
        [](int x, int y) { return y < 3 ? kR : y < 6 ? kS : kC; },
        [](int, int) { return kP; },
        [](int, int) { return kC; },
    };
    PackedTilesParams params;
    params.colorsPerSubPalette = 4;
    params.reserved = 1;
    params.colorCount = 8;
    for (bool prefer : {true, false}) {
        SCOPED_TRACE(prefer ? "preferring duplicates" : "first sub-palette");
        TileStore store = storeOf(tiles);
        const TileStore before = store;
        params.preferDuplicates = prefer;
        PackedTilesResult result;
        ASSERT_TRUE(packTilesExactly(store, 0, params, result));
        EXPECT_EQ(result.groups, 2);
        EXPECT_EQ(store.count, prefer ? 3 : 4);
        for (int t = 0; t < 4; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    ASSERT_EQ(shown(store, result, t, x, y, 4), before.tile(t)[tileValueIndex(8, x, y)]);
    }
}

TEST(PackedTiles, MirroredMatchesStayWithinTheirSubPalette) {
    // Tile 1 is tile 0 mirrored horizontally and tile 3 is tile 2 mirrored vertically, each in
    // its own sub-palette. Tile 4 has the indices of tile 0 mirrored, but in the other
    // sub-palette: it is stored.
    const std::vector<std::function<uint32_t(int, int)>> tiles{
        [](int x, int y) { return x == 0 ? kP : kQ; },
        [](int x, int y) { return x == 7 ? kP : kQ; },
        [](int x, int y) { return y == 0 ? kR : kS; },
        [](int x, int y) { return y == 7 ? kR : kS; },
        [](int x, int y) { return x == 7 ? kR : kS; },
    };
    TileStore store = storeOf(tiles);
    const TileStore before = store;
    PackedTilesParams params;
    params.colorsPerSubPalette = 3;
    params.reserved = 1;
    params.colorCount = 6;
    params.mirrors = true;
    PackedTilesResult result;
    ASSERT_TRUE(packTilesExactly(store, 0, params, result));
    EXPECT_EQ(result.groups, 2);
    EXPECT_EQ(result.tileMirrors[1], kMirrorH);
    EXPECT_EQ(result.tileMirrors[3], kMirrorV);
    EXPECT_EQ(result.tileNumbers[1], result.tileNumbers[0]);
    EXPECT_EQ(result.tileMirrors[4], 0);
    EXPECT_EQ(store.count, 3);
    for (int t = 0; t < 5; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(shown(store, result, t, x, y, 3), before.tile(t)[tileValueIndex(8, x, y)]);
}

TEST(TileIndexMirrors, FindsEveryOrientationOfLargeTiles) {
    TileStore store;
    store.tileWidth = 16;
    store.tileHeight = 16;
    store.appendEmpty();
    for (int i = 0; i < 256; ++i) store.tile(0)[i] = uint32_t(i * 7 + 1);
    TileIndex index(store, 4, true);
    index.add(0, hashTile(store.tile(0), 256));
    std::vector<uint32_t> mirrored(256);
    for (uint8_t flags = 0; flags <= 3; ++flags) {
        mirrorTile(store.tile(0), 16, 16, flags, mirrored.data());
        const TileMatch m = index.find(mirrored.data(), hashTile(mirrored.data(), 256));
        EXPECT_EQ(m.tile, 0);
        EXPECT_EQ(m.mirror, flags);
    }
    // The top-left pixel of the horizontal mirror is the top-right one of the tile.
    mirrorTile(store.tile(0), 16, 16, kMirrorH, mirrored.data());
    EXPECT_EQ(mirrored[size_t(tileValueIndex(16, 0, 0))], store.tile(0)[tileValueIndex(16, 15, 0)]);
}

TEST(PackedTiles, WithoutReservedEntryTransparentPixelsTakeIndexZeroAndOpaqueOnesKeepTheirColour) {
    // A depth without transparency reserves no entry: a transparent pixel gets index 0, which
    // is a colour like any other there; every opaque pixel still shows its own colour.
    const std::vector<std::function<uint32_t(int, int)>> tiles{
        [](int x, int y) { return x < 4 ? 0u : kP; },
        [](int x, int y) { return y < 2 ? kQ : y < 4 ? kC : y < 6 ? kR : kS; },
        [](int x, int y) { return x == y ? kS : 0u; },
    };
    TileStore store = storeOf(tiles);
    const TileStore before = store;
    PackedTilesParams params;
    params.colorsPerSubPalette = 4;
    params.reserved = 0;
    params.colorCount = 8;
    params.mirrors = true;
    PackedTilesResult result;
    ASSERT_TRUE(packTilesExactly(store, 0, params, result));
    for (int t = 0; t < 3; ++t) {
        const uint32_t value = result.tileValues[size_t(t)];
        const int group = int(value >> 12), tile = int(value & 0xFFF);
        const uint8_t m = result.tileMirrors[size_t(t)];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int sx = (m & kMirrorH) ? 7 - x : x, sy = (m & kMirrorV) ? 7 - y : y;
                const uint32_t index = store.tile(tile)[tileValueIndex(8, sx, sy)];
                const uint32_t want = before.tile(t)[tileValueIndex(8, x, y)];
                if (want == 0)
                    ASSERT_EQ(index, 0u) << "tile " << t << " at " << x << "," << y;
                else
                    ASSERT_EQ(result.palette[size_t(group * 4) + index], want) << "tile " << t << " at " << x << "," << y;
            }
    }
}
