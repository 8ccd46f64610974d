// The view's tile kernels against the drawing primitives: every instruction-set level this
// processor runs, keyed or not, blended or opaque, mirrored each way, gives the same pixels as
// blendIndexed / blendIndexedKeyed.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <span>
#include <vector>

#include "editor/surface.h"
#include "editor/surface_primitives.h"
#include "editor/tile_blit.h"
#include "editor/view_tile_cache.h"

using namespace ts;

namespace {

constexpr int kX = 5, kY = 3;  // where the tile lands in the 16 x 16 test surface

struct Case {
    std::array<uint32_t, 64> tile;
    std::array<uint32_t, 512> palette;  // as the view keeps it: colour words, top byte clear
    Surface under;
};

Case makeCase(uint32_t seed) {
    std::mt19937 random(seed);
    Case c;
    for (uint32_t& i : c.tile) i = random() & 0x1FF;  // bits above the mask must be ignored
    for (uint32_t& p : c.palette) p = random() & 0xFFFFFFu;
    EXPECT_TRUE(createSurface(c.under, 16, 16));
    for (uint32_t& p : c.under.pixels) p = random() & 0xFFFFFFu;
    return c;
}

Surface reference(const Case& c, const uint32_t* pal, uint32_t mask, bool keyed, int alpha, bool h, bool v) {
    Surface s;
    copySurface(s, c.under);
    const std::span<const uint32_t> palette(pal, size_t(mask) + 1);
    if (keyed) blendIndexedKeyed(s, kX, kY, 8, 8, c.tile.data(), palette, h, v, mask, alpha);
    else blendIndexed(s, kX, kY, 8, 8, c.tile.data(), palette, h, v, mask, alpha);
    return s;
}

const BlitLevel kLevels[] = {BlitLevel::Portable, BlitLevel::Sse2, BlitLevel::Avx2, BlitLevel::Avx512};
const int kAlphas[] = {1, 77, 128, 255, 256};

}  // namespace

TEST(TileBlit, DecodedKernelsDrawAsThePrimitives) {
    int checked = 0;
    for (BlitLevel level : kLevels)
        for (uint32_t mask : {255u, 15u, 3u})
            for (int keyed = 0; keyed < 2; ++keyed)
                for (int alpha : kAlphas)
                    for (int mirror = 0; mirror < 4; ++mirror) {
                        const bool h = mirror & 1, v = mirror & 2;
                        DecodedTileBlit blit = decodedTileBlit(level, keyed, alpha < 256, h);
                        if (!blit) continue;
                        const Case c = makeCase(uint32_t(mirror * 1000 + alpha + keyed * 7 + mask));
                        const uint32_t* pal = c.palette.data() + (mask == 15 ? 48 : 0);  // bank 3 of 16
                        uint32_t decoded[kDecodedTileWords];
                        decodeTile(decoded, c.tile.data(), pal, mask);
                        Surface got;
                        copySurface(got, c.under);
                        blit(got.row(kY) + kX, size_t(got.stride), decoded, v, uint32_t(alpha));
                        const Surface want = reference(c, pal, mask, keyed, alpha, h, v);
                        ASSERT_EQ(got.pixels, want.pixels) << "level " << int(level) << " mask " << mask << " keyed "
                                                           << keyed << " alpha " << alpha << " mirror " << mirror;
                        ++checked;
                    }
    EXPECT_GE(checked, 2 * 3 * 2 * 5 * 4);  // the portable and SSE2 levels at least
}

TEST(TileBlit, SmallBankKernelsDrawAsThePrimitives) {
    for (BlitLevel level : kLevels)
        for (uint32_t mask : {15u, 3u, 1u})
            for (int keyed = 0; keyed < 2; ++keyed)
                for (int alpha : kAlphas)
                    for (int mirror = 0; mirror < 4; ++mirror) {
                        const bool h = mirror & 1, v = mirror & 2;
                        SmallBankTileBlit blit = smallBankTileBlit(level, keyed, alpha < 256, h);
                        if (!blit) continue;
                        const Case c = makeCase(uint32_t(mirror * 31 + alpha * 3 + keyed + mask * 11));
                        const uint32_t* pal = c.palette.data() + 16 * 5;
                        Surface got;
                        copySurface(got, c.under);
                        blit(got.row(kY) + kX, size_t(got.stride), c.tile.data(), pal, mask, v, uint32_t(alpha));
                        const Surface want = reference(c, pal, mask, keyed, alpha, h, v);
                        ASSERT_EQ(got.pixels, want.pixels) << "level " << int(level) << " mask " << mask << " keyed "
                                                           << keyed << " alpha " << alpha << " mirror " << mirror;
                    }
    // The levels above this processor's are refused, not run.
    if (bestBlitLevel() < BlitLevel::Avx512) {
        EXPECT_EQ(smallBankTileBlit(BlitLevel::Avx512, false, false, false), nullptr);
    }
    EXPECT_EQ(smallBankTileBlit(BlitLevel::Sse2, false, false, false), nullptr);
}

TEST(TileBlit, CacheDecodesEachTileOnceAFrameAndForgetsItAfter) {
    std::vector<uint32_t> tiles(4 * 64);
    for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint32_t(i % 7);
    std::array<uint32_t, 512> palette{};
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = uint32_t(i * 3);
    PlaneTileCache cache;
    ASSERT_TRUE(cache.prepare(1, tiles, palette.data(), 15, 17));
    // Pixel 1 of tile 2 has index 129 % 7 = 3; pixel 5 has index 133 % 7 = 0.
    const uint32_t* first = cache.tile(2, 1, palette.data() + 16);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[1], palette[16 + 3] | kDecodedSolid);
    EXPECT_EQ(first[5], palette[16]);  // index 0: no solid bit
    EXPECT_EQ(cache.tile(2, 1, palette.data() + 16), first);  // the same frame: no second decoding
    EXPECT_NE(cache.tile(2, 2, palette.data() + 32), first);
    // Keys outside the tiles or the banks are refused.
    EXPECT_EQ(cache.tile(4, 0, palette.data()), nullptr);
    EXPECT_EQ(cache.tile(0, 17, palette.data()), nullptr);
    // A new frame decodes again, with the palette as it is then.
    palette[16 + 3] = 0x123456;
    ASSERT_TRUE(cache.prepare(2, tiles, palette.data(), 15, 17));
    EXPECT_EQ(cache.tile(2, 1, palette.data() + 16)[1], 0x123456u | kDecodedSolid);
    // Planes whose keys would not fit are drawn without the cache.
    std::vector<uint32_t> many(size_t(PlaneTileCache::kMaxKeys) * 64);
    EXPECT_FALSE(cache.prepare(3, many, palette.data(), 255, 2));
    EXPECT_EQ(cache.tile(0, 0, palette.data()), nullptr);
}
