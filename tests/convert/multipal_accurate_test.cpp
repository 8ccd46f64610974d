// The multi-palette assignment with the accurate method (refined sub-palettes) and with error
// diffusion inside the tiles.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "convert/multi_palette.h"
#include "convert/multi_palette_refine.h"

using namespace ts;

namespace {

uint32_t opaque(int r, int g, int b) { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Tiles cut from a smooth picture with grain (5-bit components): far more colours than fit.
TileStore photoTiles(int columns, int rows) {
    TileStore store;
    std::mt19937 rng(11);
    for (int ty = 0; ty < rows; ++ty)
        for (int tx = 0; tx < columns; ++tx) {
            store.appendEmpty();
            uint32_t* tile = store.tile(store.count - 1);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const int px = tx * 8 + x, py = ty * 8 + y;
                    tile[y * 8 + x] = (rng() % 50 == 0) ? 0u
                                                        : opaque((px / 3 + int(rng() % 3)) % 32, (py / 3 + int(rng() % 3)) % 32,
                                                                 (31 - (px + py) / 6 + int(rng() % 2)) & 31);
                }
        }
    return store;
}

MultiPaletteParams gba4(int colours) {
    MultiPaletteParams p;
    p.colorCount = colours;
    return p;
}

// Summed squared distance between the tiles and their rebuilt pixels; transparent pixels must stay 0.
uint64_t rebuiltError(const TileStore& before, const TileStore& after, const MultiPaletteResult& r) {
    uint64_t total = 0;
    for (int t = 0; t < before.count; ++t) {
        const uint32_t group = r.tileValues[size_t(t)] >> 12;
        for (int i = 0; i < 64; ++i) {
            const uint32_t want = before.tile(t)[i], index = after.tile(t)[i];
            if ((want >> 24) == 0) {
                EXPECT_EQ(index, 0u);
                continue;
            }
            EXPECT_GE(index, 1u);
            const uint32_t got = r.palette[group * 16 + index];
            for (int shift : {0, 8, 16}) {
                const int d = int((want >> shift) & 255) - int((got >> shift) & 255);
                total += uint64_t(d * d);
            }
        }
    }
    return total;
}

}  // namespace

TEST(MultipalAccurate, RefinedSubPalettesFitBetterAndDoNotDependOnThreads) {
    const TileStore tiles = photoTiles(12, 8);
    TileStore plainStore = tiles;
    MultiPaletteResult plain;
    ASSERT_EQ(assignSubPalettes(plainStore, 0, gba4(64), plain), 64);
    const uint64_t plainError = rebuiltError(tiles, plainStore, plain);

    TileStore first;
    MultiPaletteResult firstResult;
    for (int threads : {1, 3}) {
        TileStore store = tiles;
        MultiPaletteResult result;
        MultiPaletteParams p = gba4(64);
        p.accurate = true;
        p.threads = threads;
        ASSERT_EQ(assignSubPalettes(store, 0, p, result), 64);
        EXPECT_LT(rebuiltError(tiles, store, result), plainError);
        for (int g = 0; g < result.groups; ++g) EXPECT_EQ(result.palette[size_t(g) * 16], 0u);  // reserved entry
        if (threads == 1) {
            first = store;
            firstResult = result;
        } else {
            EXPECT_EQ(store.values, first.values);
            EXPECT_EQ(result.palette, firstResult.palette);
            EXPECT_EQ(result.tileValues, firstResult.tileValues);
        }
    }
}

TEST(MultipalAccurate, ErrorDiffusionStaysInsideTheTileAndKeepsExactTiles) {
    // A tile whose colours all stand in the sub-palette comes out as without diffusion.
    const uint32_t palette[4] = {0, opaque(0, 0, 0), opaque(31, 31, 31), opaque(10, 20, 30)};
    std::vector<uint32_t> pixels(64);
    for (int i = 0; i < 64; ++i) pixels[size_t(i)] = i % 9 == 0 ? 0u : palette[1 + i % 3];
    std::vector<uint32_t> indices;
    diffuseTileErrors(pixels.data(), 8, 8, palette, 1, 4, 31, indices);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(indices[size_t(i)], i % 9 == 0 ? 0u : uint32_t(1 + i % 3));

    // A flat grey between black and white takes both, in proportion.
    std::fill(pixels.begin(), pixels.end(), opaque(8, 8, 8));
    diffuseTileErrors(pixels.data(), 8, 8, palette, 1, 3, 31, indices);
    int white = 0;
    for (uint32_t v : indices) white += v == 2;
    EXPECT_NEAR(white, 64 * 8 / 31, 3);

    // Through the assignment: every tile keeps its indices within its sub-palette.
    const TileStore tiles = photoTiles(6, 4);
    TileStore store = tiles;
    MultiPaletteResult result;
    MultiPaletteParams p = gba4(32);
    p.dither = true;
    p.accurate = true;
    ASSERT_EQ(assignSubPalettes(store, 0, p, result), 32);
    rebuiltError(tiles, store, result);
    for (int t = 0; t < store.count; ++t)
        for (int i = 0; i < 64; ++i) EXPECT_LT(store.tile(t)[i], 16u);
}
