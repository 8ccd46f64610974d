// The tile stage: working size rule, tile numbering, hashed matching against the linear search.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "convert/tile_stage.h"

using namespace ts;

namespace {

// An index image of w x h values where pixel (x, y) is f(x, y).
template <typename F>
std::vector<uint32_t> image(int w, int h, F f) {
    std::vector<uint32_t> v(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v[size_t(y) * w + x] = f(x, y);
    return v;
}

TileStore store8() { return TileStore{}; }

}  // namespace

TEST(TilesWorkingSize, RoundsUpAndTakesImageSize) {
    int64_t w = 0, h = 0;
    ASSERT_TRUE(applyWorkingSizeRule(100, 50, 8, 8, w, h));
    EXPECT_EQ(w, 104);
    EXPECT_EQ(h, 56);
    w = 256, h = 0;
    ASSERT_TRUE(applyWorkingSizeRule(100, 50, 16, 8, w, h));
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 56);
    w = h = 0;
    ASSERT_TRUE(applyWorkingSizeRule(1, 1, 8, 8, w, h));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    w = h = 0;
    EXPECT_FALSE(applyWorkingSizeRule(10, 10, 12, 8, w, h));
    w = 2147483647, h = 0;
    ASSERT_TRUE(applyWorkingSizeRule(10, 10, 8, 8, w, h));
    EXPECT_EQ(w, 2147483648);
    EXPECT_TRUE(tileSideValid(128));
    EXPECT_FALSE(tileSideValid(136));
    EXPECT_FALSE(tileSideValid(0));
}

TEST(TilesCutting, OnePatternGivesOneTileOrSixtyFourWithoutMatching) {
    auto img = image(64, 64, [](int x, int y) { return uint32_t((x % 8) + 8 * (y % 8)); });
    TileStore store = store8();
    std::vector<uint32_t> map;
    ASSERT_EQ(cutIntoTiles(img.data(), 64, 64, {}, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 1);
    EXPECT_EQ(map, std::vector<uint32_t>(64, 0));

    TileStore all = store8();
    TilingOptions off;
    off.matching = false;
    ASSERT_EQ(cutIntoTiles(img.data(), 64, 64, off, all, map), TilingStatus::Ok);
    EXPECT_EQ(all.count, 64);
    for (uint32_t i = 0; i < 64; ++i) EXPECT_EQ(map[i], i);
}

TEST(TilesCutting, FirstTileEmptyMatchesTransparentArea) {
    // Left tile all zero, right tile drawn.
    auto img = image(16, 8, [](int x, int) { return x < 8 ? 0u : 3u; });
    TileStore store = store8();
    store.appendEmpty();
    std::vector<uint32_t> map;
    ASSERT_EQ(cutIntoTiles(img.data(), 16, 8, {}, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 2);
    EXPECT_EQ(map, (std::vector<uint32_t>{0, 1}));
}

TEST(TilesCutting, LargeTilesAreStoredAsBlocksInRowOrder) {
    // A 16 x 16 tile whose quarters hold 1 (top-left), 2, 3, 4 (bottom-right).
    auto img = image(16, 16, [](int x, int y) { return uint32_t(1 + (x >= 8) + 2 * (y >= 8)); });
    TileStore store;
    store.tileWidth = store.tileHeight = 16;
    std::vector<uint32_t> map;
    ASSERT_EQ(cutIntoTiles(img.data(), 16, 16, {}, store, map), TilingStatus::Ok);
    ASSERT_EQ(store.count, 1);
    for (int block = 0; block < 4; ++block)
        for (int i = 0; i < 64; ++i) ASSERT_EQ(store.values[size_t(block) * 64 + i], uint32_t(block + 1));
    EXPECT_EQ(tileValueIndex(16, 9, 1), 64 + 8 + 1);
}

TEST(TilesCutting, BlockLimitRefusesTheNextDistinctTile) {
    // 8193 distinct tiles in one row of tiles: each tile is filled with its number.
    const int tiles = 8193;
    auto img = image(tiles * 8, 8, [](int x, int) { return uint32_t(x / 8); });
    TileStore store;
    std::vector<uint32_t> map;
    EXPECT_EQ(cutIntoTiles(img.data(), (tiles - 1) * 8, 8, {}, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 8192);
    TileStore again;
    EXPECT_EQ(cutIntoTiles(img.data() , tiles * 8, 8, {}, again, map), TilingStatus::TooManyTiles);
    // With first tile empty the limit comes one image tile earlier.
    TileStore withEmpty;
    withEmpty.appendEmpty();
    auto shifted = image(8192 * 8, 8, [](int x, int) { return uint32_t(x / 8 + 1); });
    EXPECT_EQ(cutIntoTiles(shifted.data(), 8192 * 8, 8, {}, withEmpty, map), TilingStatus::TooManyTiles);
    // 16 x 16 tiles: 2048 of them fill the store.
    TileStore big;
    big.tileWidth = big.tileHeight = 16;
    auto bigImg = image(2049 * 16, 16, [](int x, int) { return uint32_t(x / 16); });
    EXPECT_EQ(cutIntoTiles(bigImg.data(), 2049 * 16, 16, {}, big, map), TilingStatus::TooManyTiles);
    EXPECT_EQ(big.count, 2048);
}

TEST(TilesCutting, RotationEntriesKeepLowEightBits) {
    auto img = image(257 * 8, 8, [](int x, int) { return uint32_t(x / 8); });
    TileStore store;
    std::vector<uint32_t> map;
    TilingOptions rotation;
    rotation.rotationMap = true;
    ASSERT_EQ(cutIntoTiles(img.data(), 257 * 8, 8, rotation, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 257);
    EXPECT_EQ(map[256], 0u);
    EXPECT_EQ(map[255], 255u);
    EXPECT_EQ(store.tile(256)[0], 256u);
}

TEST(TilesCutting, MirrorImagesAreTwoTiles) {
    auto img = image(16, 8, [](int x, int) { return x < 8 ? uint32_t(x) : uint32_t(15 - x); });
    TileStore store;
    std::vector<uint32_t> map;
    ASSERT_EQ(cutIntoTiles(img.data(), 16, 8, {}, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 2);
}

TEST(TilesCutting, ExistingTilesetWithoutReuseNeverMatches) {
    auto img = image(16, 8, [](int x, int) { return uint32_t(x / 8 + 5); });
    TileStore store;
    // Existing tiles: 5, 6 and 5 again.
    for (uint32_t v : {5u, 6u, 5u}) {
        store.appendEmpty();
        std::fill_n(store.tile(store.count - 1), 64, v);
    }
    std::vector<uint32_t> map;
    TilingOptions noReuse;
    noReuse.searchStart = 3;
    TileStore copy = store;
    ASSERT_EQ(cutIntoTiles(img.data(), 16, 8, noReuse, copy, map), TilingStatus::Ok);
    EXPECT_EQ(copy.count, 5);
    EXPECT_EQ(map, (std::vector<uint32_t>{3, 4}));
    // With reuse the first identical stored tile wins.
    ASSERT_EQ(cutIntoTiles(img.data(), 16, 8, {}, store, map), TilingStatus::Ok);
    EXPECT_EQ(store.count, 3);
    EXPECT_EQ(map, (std::vector<uint32_t>{0, 1}));
}

TEST(TilesCutting, HashedMatchingEqualsLinearSearch) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        const int tw = 8 * (1 + int(rng() % 2)), th = 8 * (1 + int(rng() % 2));
        const int w = tw * (1 + int(rng() % 12)), h = th * (1 + int(rng() % 12));
        const int patterns = 1 + int(rng() % 6);
        std::vector<uint32_t> img(size_t(w) * h);
        for (int ty = 0; ty < h / th; ++ty)
            for (int tx = 0; tx < w / tw; ++tx) {
                const uint32_t p = rng() % patterns;
                for (int y = 0; y < th; ++y)
                    for (int x = 0; x < tw; ++x)
                        img[size_t(ty * th + y) * w + tx * tw + x] = (p * 31 + uint32_t(x * y)) % 4;
            }
        TileStore a;
        a.tileWidth = tw;
        a.tileHeight = th;
        for (int i = 0; i < int(rng() % 4); ++i) a.appendEmpty();
        TileStore b = a;
        TilingOptions options;
        options.searchStart = int(rng() % (a.count + 1));
        std::vector<uint32_t> mapA, mapB;
        ASSERT_EQ(cutIntoTiles(img.data(), w, h, options, a, mapA), TilingStatus::Ok);
        ASSERT_EQ(cutIntoTilesLinear(img.data(), w, h, options, b, mapB), TilingStatus::Ok);
        EXPECT_EQ(a.count, b.count);
        EXPECT_EQ(a.values, b.values);
        EXPECT_EQ(mapA, mapB);
    }
}
