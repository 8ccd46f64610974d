// Multi-palette assignment: exact sub-palettes, group count, ties, thread independence.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "convert/multi_palette.h"
#include "convert/multi_palette_octree.h"

using namespace ts;

namespace {

uint32_t opaque(int r, int g, int b) { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Colour c (0..14) of set s (0..3): all 60 colours distinct, 5-bit components.
uint32_t setColour(int s, int c) { return opaque(s * 8 + (c % 4), (c / 4) * 8, 31 - s * 7); }

// A store of `tiles` 8x8 tiles; tile t uses colours of set t % 4, pseudo-randomly.
TileStore disjointSetTiles(int tiles, unsigned seed) {
    std::mt19937 rng(seed);
    TileStore store;
    for (int t = 0; t < tiles; ++t) {
        store.appendEmpty();
        const int s = t % 4;
        for (int i = 0; i < 64; ++i) store.tile(t)[i] = setColour(s, int(rng() % 15));
    }
    return store;
}

MultiPaletteParams gba4(int colours) {
    MultiPaletteParams p;
    p.colorsPerSubPalette = 16;
    p.colorCount = colours;
    p.reserved = 1;
    p.paletteShift = 12;
    return p;
}

// Every pixel rebuilt from its index and its tile's sub-palette equals the original colour.
void expectExact(const TileStore& before, const TileStore& after, const MultiPaletteResult& r) {
    for (int t = 0; t < before.count; ++t) {
        const uint32_t group = r.tileValues[size_t(t)] >> 12;
        ASSERT_LT(group, uint32_t(r.groups));
        for (int i = 0; i < 64; ++i) {
            const uint32_t index = after.tile(t)[i];
            ASSERT_GE(index, 1u);
            ASSERT_LT(index, 16u);
            ASSERT_EQ(r.palette[group * 16 + index], before.tile(t)[i]) << "tile " << t << " pixel " << i;
        }
    }
}

}  // namespace

TEST(MultipalAssignment, FourDisjointSetsGiveFourExactSubPalettes) {
    for (bool fast : {true, false}) {
        TileStore store = disjointSetTiles(40, 3);
        const TileStore before = store;
        MultiPaletteParams p = gba4(64);
        p.fastPalReduction = fast;
        MultiPaletteResult r;
        ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
        EXPECT_EQ(r.groups, 4);
        expectExact(before, store, r);
        std::set<uint32_t> groupsUsed;
        for (int t = 0; t < store.count; ++t) {
            EXPECT_EQ(r.tileValues[size_t(t)] & 0x3FF, uint32_t(t));
            groupsUsed.insert(r.tileValues[size_t(t)] >> 12);
        }
        EXPECT_EQ(groupsUsed.size(), 4u);
        for (int g = 0; g < 4; ++g) EXPECT_EQ(r.palette[size_t(g) * 16], 0u) << "reserved entry stays zero";
    }
}

TEST(MultipalAssignment, DefaultColourCountBuildsSixteenGroups) {
    TileStore store = disjointSetTiles(8, 5);
    MultiPaletteResult r;
    EXPECT_EQ(assignSubPalettes(store, 0, gba4(255), r), 256);
    EXPECT_EQ(r.groups, 16);
    EXPECT_EQ(r.palette.size(), 256u);
}

TEST(MultipalAssignment, SecondGroupIsSeededEvenWhenOnePaletteSuffices) {
    TileStore store = disjointSetTiles(1, 9);
    for (int i = 0; i < 3; ++i) {
        store.appendEmpty();
        std::copy_n(store.tile(0), 64, store.tile(store.count - 1));
    }
    MultiPaletteResult r;
    EXPECT_EQ(assignSubPalettes(store, 0, gba4(32), r), 32);
    EXPECT_EQ(r.groups, 2);
}

TEST(MultipalAssignment, TransparentTileGoesToGroupZero) {
    TileStore store = disjointSetTiles(8, 11);
    store.appendEmpty();  // all zero: transparent
    MultiPaletteResult r;
    ASSERT_EQ(assignSubPalettes(store, 0, gba4(64), r), 64);
    EXPECT_EQ(r.tileValues[8], 8u);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(store.tile(8)[i], 0u);
}

TEST(MultipalAssignment, ExistingTilesAreLeftAlone) {
    TileStore store;
    store.appendEmpty();
    std::fill_n(store.tile(0), 64, 7u);  // an index tile of an existing tileset
    TileStore fresh = disjointSetTiles(4, 2);
    store.values.insert(store.values.end(), fresh.values.begin(), fresh.values.end());
    store.count += fresh.count;
    MultiPaletteResult r;
    ASSERT_EQ(assignSubPalettes(store, 1, gba4(64), r), 64);
    EXPECT_EQ(r.tileValues[0], 0u);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(store.tile(0)[i], 7u);
}

TEST(MultipalAssignment, RotationShiftLeavesGroupOut) {
    TileStore store = disjointSetTiles(8, 4);
    MultiPaletteParams p = gba4(64);
    p.paletteShift = 32;
    MultiPaletteResult r;
    ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
    for (int t = 0; t < 8; ++t) EXPECT_EQ(r.tileValues[size_t(t)], uint32_t(t));
}

TEST(MultipalAssignment, RefusesImpossibleSizes) {
    TileStore store = disjointSetTiles(2, 1);
    MultiPaletteResult r;
    EXPECT_EQ(assignSubPalettes(store, 0, gba4(0), r), 0);
    MultiPaletteParams p = gba4(256 * 16);
    EXPECT_EQ(assignSubPalettes(store, 0, p, r), 0);
    p = gba4(64);
    p.colorsPerSubPalette = 256;
    EXPECT_EQ(assignSubPalettes(store, 0, p, r), 0);
}

TEST(MultipalAssignment, PostFillingUsesFreeEntries) {
    // Two groups; tiles of one set with 15 colours and tiles of 40 colours of mixed greys.
    std::mt19937 rng(21);
    TileStore store;
    for (int t = 0; t < 12; ++t) {
        store.appendEmpty();
        for (int i = 0; i < 64; ++i) {
            const int v = int(rng() % 32);
            store.tile(t)[i] = t < 6 ? setColour(0, i % 3) : opaque(v, v, (v * 7) % 32);
        }
    }
    MultiPaletteParams p = gba4(32);
    MultiPaletteResult with, without;
    TileStore a = store, b = store;
    ASSERT_EQ(assignSubPalettes(a, 0, p, with), 32);
    p.palReducPost = false;
    ASSERT_EQ(assignSubPalettes(b, 0, p, without), 32);
    auto used = [](const MultiPaletteResult& r) {
        int n = 0;
        for (uint32_t c : r.palette) n += c != 0;
        return n;
    };
    EXPECT_GE(used(with), used(without));
    EXPECT_EQ(used(with), 30);
}

TEST(MultipalAssignment, ResultsDoNotDependOnThreadCount) {
    std::mt19937 rng(99);
    TileStore base;
    for (int t = 0; t < 60; ++t) {
        base.appendEmpty();
        const int shade = int(rng() % 24);
        for (int i = 0; i < 64; ++i)
            base.tile(t)[i] = (rng() % 9 == 0) ? 0u : opaque(shade + int(rng() % 8), int(rng() % 32), (t * 3) % 32);
    }
    for (int weight : {0, 3, -1, -2}) {
        std::vector<uint32_t> firstValues, firstPalette, firstPixels;
        for (int threads : {1, 2, 4}) {
            TileStore store = base;
            MultiPaletteParams p = gba4(64);
            p.colorization = weight;
            p.threads = threads;
            MultiPaletteResult r;
            ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
            if (threads == 1) {
                firstValues = r.tileValues;
                firstPalette = r.palette;
                firstPixels = store.values;
            } else {
                EXPECT_EQ(r.tileValues, firstValues) << "weight " << weight;
                EXPECT_EQ(r.palette, firstPalette) << "weight " << weight;
                EXPECT_EQ(store.values, firstPixels) << "weight " << weight;
            }
        }
    }
}

TEST(MultipalAssignment, ProgressRunsToTheEnd) {
    TileStore store = disjointSetTiles(20, 8);
    MultiPaletteParams p = gba4(64);
    std::vector<double> seen;
    p.progress = [&](double f) { seen.push_back(f); };
    MultiPaletteResult r;
    ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 1.0);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
}

TEST(MultipalAssignment, ProgressShowsTheGroupsPalettesAsTheyGrow) {
    TileStore store = disjointSetTiles(20, 8);
    MultiPaletteParams p = gba4(64);
    std::vector<int> groupsSeen;
    std::vector<uint32_t> last;
    p.palettes = [&](const std::vector<uint32_t>& entries, int groups) {
        ASSERT_EQ(entries.size(), size_t(groups) * 16);
        groupsSeen.push_back(groups);
        last = entries;
    };
    MultiPaletteResult r;
    ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
    ASSERT_FALSE(groupsSeen.empty());
    EXPECT_EQ(groupsSeen.back(), 4);
    for (size_t i = 1; i < groupsSeen.size(); ++i) EXPECT_GE(groupsSeen[i], groupsSeen[i - 1]);
    // Every set's colours show in some group by the last report.
    for (int s = 0; s < 4; ++s) {
        const uint32_t c = setColour(s, 0) & 0xFFFFFF;
        bool found = false;
        for (uint32_t e : last) found = found || (e & 0xFFFFFF) == c;
        EXPECT_TRUE(found) << s;
    }
}

TEST(MultipalAssignment, BlocksShownWhenAssignedAndOnTheirFinalSubPalette) {
    for (bool dither : {false, true}) {
        TileStore store = disjointSetTiles(20, 8);
        MultiPaletteParams p = gba4(64);
        p.dither = dither;
        std::vector<std::vector<std::vector<uint32_t>>> seen(20);
        p.blockShown = [&](int block, const std::vector<uint32_t>& colours) {
            ASSERT_GE(block, 0);
            ASSERT_LT(block, 20);
            ASSERT_EQ(colours.size(), 64u);
            seen[size_t(block)].push_back(colours);
        };
        MultiPaletteResult r;
        ASSERT_EQ(assignSubPalettes(store, 0, p, r), 64);
        for (int t = 0; t < 20; ++t) {
            ASSERT_EQ(seen[size_t(t)].size(), 2u) << t;
            // The last picture is the tile's indices on its sub-palette, pixel for pixel.
            const uint32_t group = r.tileValues[size_t(t)] >> 12;
            for (int i = 0; i < 64; ++i)
                EXPECT_EQ(seen[size_t(t)][1][size_t(i)], r.palette[group * 16 + store.tile(t)[i]]) << t << "," << i;
        }
    }
}

TEST(MultipalOctree, WeightedInsertionEqualsPixelByPixel) {
    std::mt19937 rng(5);
    for (int round = 0; round < 30; ++round) {
        std::vector<uint32_t> pixels(200);
        for (auto& p : pixels) p = opaque(int(rng() % 32), int(rng() % 32), int(rng() % 32)) ;
        for (int i = 0; i < 200; ++i)
            if (rng() % 3 == 0) pixels[size_t(i)] = pixels[rng() % 200];
        const int leaves = 2 + int(rng() % 14);
        PaletteOctree one, weighted;
        one.reset(leaves);
        weighted.reset(leaves);
        std::vector<uint32_t> order;
        std::vector<uint32_t> counts;
        for (uint32_t p : pixels) {
            one.insert(p, 1);
            size_t k = 0;
            while (k < order.size() && order[k] != p) ++k;
            if (k == order.size()) {
                order.push_back(p);
                counts.push_back(1);
            } else {
                ++counts[k];
            }
        }
        for (size_t k = 0; k < order.size(); ++k) weighted.insert(order[k], counts[k]);
        ASSERT_EQ(one.leafCount(), weighted.leafCount());
        ASSERT_LE(one.leafCount(), leaves);
        std::vector<uint32_t> a(size_t(one.leafCount())), b(size_t(weighted.leafCount()));
        one.emit(a.data());
        weighted.emit(b.data());
        EXPECT_EQ(a, b);
    }
}
