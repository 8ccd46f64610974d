// Drawing surfaces: storage order, clipping, the blend rule, mirroring and palette copies.
#include <gtest/gtest.h>

#include <vector>

#include "editor/surface.h"
#include "editor/surface_primitives.h"

using namespace ts;

namespace {

Surface make(int w, int h, uint32_t fill = 0) {
    Surface s;
    EXPECT_TRUE(createSurface(s, w, h));
    fillRect(s, 0, 0, w, h, fill);
    return s;
}

}  // namespace

TEST(Surface, RowsArePaddedToFourPixels) {
    Surface s = make(5, 3);
    EXPECT_EQ(s.stride, 8);
    EXPECT_EQ(s.allocatedHeight, 3);
    EXPECT_EQ(s.pixels.size(), 24u);
    s.at(4, 2) = 0x123456;
    EXPECT_EQ(s.row(2)[4], 0x123456u);
    EXPECT_EQ(s.row(2) - s.row(1), 8);
    // Preparing at the same size keeps the memory and the pixels.
    const uint32_t* before = s.pixels.data();
    ASSERT_TRUE(prepareSurface(s, 5, 3));
    EXPECT_EQ(s.pixels.data(), before);
    EXPECT_EQ(s.at(4, 2), 0x123456u);
    ASSERT_TRUE(prepareSurface(s, 6, 3));
    EXPECT_EQ(s.at(4, 2), 0u);
}

TEST(Surface, RefusesSizesBeyondTheLimit) {
    Surface s;
    EXPECT_FALSE(createSurface(s, 0, 10));
    EXPECT_FALSE(createSurface(s, 100000, 100000));
    EXPECT_FALSE(createSurface(s, 65536, 1));
    EXPECT_TRUE(s.empty());
    EXPECT_TRUE(surfaceSizeAllowed(8192, 8192));
    EXPECT_FALSE(surfaceSizeAllowed(8193, 8192));
}

TEST(SurfacePrimitives, FillClipsNegativeAndOversizedRectangles) {
    Surface s = make(4, 4);
    fillRect(s, -2, -1, 4, 3, 0xFF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.at(x, y), (x < 2 && y < 2) ? 0xFFu : 0u) << x << "," << y;
    fillRect(s, 3, 3, 1000000000, 1000000000, 0x7);
    EXPECT_EQ(s.at(3, 3), 7u);
    fillRect(s, 10, 10, 2, 2, 1);  // wholly outside: nothing
    fillRect(s, 0, 0, -3, 2, 1);
    EXPECT_EQ(s.at(0, 0), 0xFFu);
}

TEST(SurfacePrimitives, BlendAt255StillDarkensAndUsesWindowColourOrder) {
    Surface s = make(2, 1, 0x00FFFFFF);
    blendRect(s, 0, 0, 1, 1, 0x00FFFFFF, 255);
    // (255 * 255 + 255 * 0) / 256 = 254
    EXPECT_EQ(s.at(0, 0), 0x00FEFEFEu);
    // Colour 0x000000FF is red in the window system's order.
    blendRect(s, 1, 0, 1, 1, 0x000000FF, 256);
    EXPECT_EQ(s.at(1, 0), 0x00FF0000u);
    EXPECT_EQ(blendPixel(0x00804020, 0x00204080, 128), ((0x80 * 128 + 0x20 * 127) >> 8) << 16 |
                                                           ((0x40 * 128 + 0x40 * 127) >> 8) << 8 |
                                                           ((0x20 * 128 + 0x80 * 127) >> 8));
}

TEST(SurfacePrimitives, GridCellBlendsBottomRowAndRightColumnOnly) {
    Surface s = make(4, 4);
    blendGridCell(s, 0, 0, 4, 4, 0x00FFFFFF, 255);
    int touched = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool line = y == 3 || x == 3;
            EXPECT_EQ(s.at(x, y) != 0, line) << x << "," << y;
            touched += s.at(x, y) != 0;
        }
    EXPECT_EQ(touched, 7);
    // The corner is blended once: one blend of white over black gives 0xFE.
    EXPECT_EQ(s.at(3, 3), 0x00FEFEFEu);
}

TEST(SurfacePrimitives, FrameBlendsEachOutlinePixelOnce) {
    Surface s = make(5, 5);
    blendFrame(s, 0, 0, 5, 5, 0x00FFFFFF, 128);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool edge = x == 0 || y == 0 || x == 4 || y == 4;
            EXPECT_EQ(s.at(x, y), edge ? 0x007F7F7Fu : 0u) << x << "," << y;
        }
}

TEST(SurfacePrimitives, MirroredCopies) {
    const uint32_t src[6] = {1, 2, 3, 4, 5, 6};  // 3 x 2
    Surface s = make(3, 2);
    copyBlockMirrored(s, 0, 0, 3, 2, src, true, false);
    EXPECT_EQ(s.at(0, 0), 3u);
    EXPECT_EQ(s.at(2, 1), 4u);
    copyBlockMirrored(s, 0, 0, 3, 2, src, false, true);
    EXPECT_EQ(s.at(0, 0), 4u);
    EXPECT_EQ(s.at(2, 1), 3u);
    copyBlockMirrored(s, 0, 0, 3, 2, src, true, true);
    EXPECT_EQ(s.at(0, 0), 6u);
    EXPECT_EQ(s.at(2, 1), 1u);
    // Clipped on the left: the visible part comes from the right of the (mirrored) source.
    Surface t = make(3, 2);
    copyBlockMirrored(t, -1, 0, 3, 2, src, true, false);
    EXPECT_EQ(t.at(0, 0), 2u);
    EXPECT_EQ(t.at(1, 0), 1u);
    EXPECT_EQ(t.at(2, 0), 0u);
    copyBlock(t, 1, -1, 3, 2, src);
    EXPECT_EQ(t.at(1, 0), 4u);
    EXPECT_EQ(t.at(2, 0), 5u);
}

TEST(SurfacePrimitives, IndexedCopiesMaskKeyAndRangeCheck) {
    const std::vector<uint32_t> palette = {0x000000, 0x110000, 0x002200, 0x000033};
    const uint32_t idx[4] = {0, 1, 0x12, 9};  // 0x12 & 0xF = 2; 9 is outside the palette
    Surface s = make(4, 1, 0x00ABCDEF);
    copyIndexedKeyed(s, 0, 0, 4, 1, idx, palette, false, false, 0xF);
    EXPECT_EQ(s.at(0, 0), 0x00ABCDEFu);  // index 0 skipped
    EXPECT_EQ(s.at(1, 0), 0x110000u);
    EXPECT_EQ(s.at(2, 0), 0x002200u);
    EXPECT_EQ(s.at(3, 0), 0u);  // beyond the palette draws black
    copyIndexed(s, 0, 0, 4, 1, idx, palette, true, false, 0xF);
    EXPECT_EQ(s.at(0, 0), 0u);
    EXPECT_EQ(s.at(3, 0), 0u);
    EXPECT_EQ(s.at(2, 0), 0x110000u);

    Surface a = make(4, 1, 0x00FFFFFF), b = make(4, 1, 0x00FFFFFF);
    blendIndexed(a, 0, 0, 4, 1, idx, palette, false, false, 0xF, 300);
    copyIndexed(b, 0, 0, 4, 1, idx, palette, false, false, 0xF);
    EXPECT_EQ(a.pixels, b.pixels);
    // Opacity 0 keeps d * 255 / 256 of the destination; index 0 is skipped altogether.
    a.at(0, 0) = 0x00FFFFFF;
    blendIndexedKeyed(a, 0, 0, 4, 1, idx, palette, false, false, 0xF, 0);
    EXPECT_EQ(a.at(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(a.at(1, 0), 0x100000u);
}

TEST(SurfacePrimitives, DirectColourBlocks) {
    const uint32_t src[2] = {0, 0x00FF0000};
    Surface s = make(2, 1, 0x000000FF);
    blendBlockKeyed(s, 0, 0, 2, 1, src, false, false, 256);
    EXPECT_EQ(s.at(0, 0), 0xFFu);
    EXPECT_EQ(s.at(1, 0), 0x00FF0000u);
    // An empty palette makes an indexed copy take the words as colours.
    copyIndexed(s, 0, 0, 2, 1, src, {}, true, false, 0xFF);
    EXPECT_EQ(s.at(0, 0), 0x00FF0000u);
    EXPECT_EQ(s.at(1, 0), 0u);
}
