// Drawing of cells, planes, hex digits and frames as the console shows them.
#include <gtest/gtest.h>

#include <memory>

#include "editor/map_view_renderer.h"
#include "editor/surface_primitives.h"
#include "editor_test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

struct View {
    std::unique_ptr<EditorDocument> doc = std::make_unique<EditorDocument>();
    Surface surface;
    FramePalette palette{};

    explicit View(int w = 64, int h = 64) {
        EXPECT_TRUE(createSurface(surface, w, h));
        doc->background = 0x123456;
    }
    PlaneRecord& addPlane(int w, int h, int tiles) {
        PlaneRecord& p = doc->planes[size_t(doc->count++)];
        makeMapPlane(p, w, h, tiles);
        makeFramePalette(p, palette);
        return p;
    }
    uint32_t colourOf(uint32_t index, uint32_t bank = 0) const { return paletteColour(int(bank * 16 + index)); }
};

}  // namespace

TEST(TileOfValue, RulesOffsetAndDisplayMask) {
    View v;
    PlaneRecord& p = v.addPlane(4, 4, 64);
    p.rules[0] = ValueRule{0x10, 0x1F, 0x10 - 2, false};
    p.ruleCount = 1;
    EXPECT_EQ(tileOfValue(p, 0x11), 3);
    p.rules[0].exact = true;
    EXPECT_EQ(tileOfValue(p, 0x11), 2);
    EXPECT_EQ(tileOfValue(p, 0x1F), 2);
    // Values that no rule matches go through the display mask; the tile count limits them.
    EXPECT_EQ(tileOfValue(p, 5), 5);
    EXPECT_EQ(tileOfValue(p, 64), -1);
    p.displayMask = 0x3F;
    EXPECT_EQ(tileOfValue(p, 64 + 5), 5);
    // The reference tile number is added before the rules.
    p.displayMask = ~0u;
    p.tileOffset = 0x0F;
    EXPECT_EQ(tileOfValue(p, 1), 2);  // 0x10 matches the exact rule
    EXPECT_EQ(tileOfValue(p, 0), 0x0F);
    // Negative results draw nothing.
    p.tileOffset = -5;
    EXPECT_EQ(tileOfValue(p, 2), -1);
}

TEST(TileOfValue, ExactAndCountingRulesFromTheSettingsExample) {
    View v;
    PlaneRecord& p = v.addPlane(4, 4, 64);
    p.rules[0] = ValueRule{0x10, 0x1F, 0x10 - 2, true};
    p.ruleCount = 1;
    for (uint32_t value = 16; value <= 31; ++value) EXPECT_EQ(tileOfValue(p, value), 2);
    p.rules[0].exact = false;
    for (uint32_t value = 16; value <= 31; ++value) EXPECT_EQ(tileOfValue(p, value), int64_t(value - 14));
}

TEST(DrawCell, EmulationDecodesMirrorsAndBanks) {
    View v;
    PlaneRecord& p = v.addPlane(4, 4, 16);
    // Without emulation 0x0C05 is tile 0x0C05: beyond the tile count, nothing is drawn.
    p.emulGba = 0;
    EXPECT_EQ(tileOfValue(p, 0x0C05), -1);
    fillRect(v.surface, 0, 0, 64, 64, 0x123456);
    drawCell(v.surface, 0, 0, p, v.palette, 0x0C05, 0);
    EXPECT_EQ(v.surface.at(0, 0), 0x123456u);
    // With emulation it is tile 5 mirrored both ways, palette bank 0.
    p.emulGba = 1;
    ASSERT_EQ(tileOfValue(p, 0x0C05), 0x0C05);
    drawCell(v.surface, 0, 0, p, v.palette, 0x0C05, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(v.surface.at(x, y), v.colourOf(tilePixel(p, 5, 7 - x, 7 - y))) << x << "," << y;
    // Bank 3 takes the colours 48..63.
    drawCell(v.surface, 8, 0, p, v.palette, 0x3005, 0);
    EXPECT_EQ(v.surface.at(8, 0), v.colourOf(tilePixel(p, 5, 0, 0), 3));
}

TEST(DrawCell, MirroredSixteenBlockReversesItsTiles) {
    View v;
    PlaneRecord& p = v.addPlane(4, 4, 16);
    p.blockWidth = p.blockHeight = 16;
    p.emulGba = 1;
    // Block 1 is tiles 4..7 (4 per block); mirrored horizontally tile 5 comes first.
    drawCell(v.surface, 0, 0, p, v.palette, 0x0401, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(v.surface.at(x, y), v.colourOf(tilePixel(p, 5, 7 - x, y)));
            ASSERT_EQ(v.surface.at(8 + x, y), v.colourOf(tilePixel(p, 4, 7 - x, y)));
            ASSERT_EQ(v.surface.at(x, 8 + y), v.colourOf(tilePixel(p, 7, 7 - x, y)));
        }
}

TEST(DrawCell, EveryBlockSizeAndClipping) {
    for (int size : {8, 16, 32, 64}) {
        View v(100, 100);
        PlaneRecord& p = v.addPlane(2, 2, 256);
        p.blockWidth = p.blockHeight = size;
        const int perBlock = size * size / 64;
        // Partly outside on every side: no crash, the visible part is right.
        drawCell(v.surface, -5, -3, p, v.palette, 2, 0);
        drawCell(v.surface, 100 - size / 2, 100 - size / 2, p, v.palette, 2, 0);
        EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(p, 2 * perBlock, 5, 3))) << size;
        const int t = 2 * perBlock + (size / 2 - 1) / 8;  // tile of the block column size / 2 - 1
        EXPECT_EQ(v.surface.at(99, 100 - size / 2), v.colourOf(tilePixel(p, t, (size / 2 - 1) % 8, 0))) << size;
    }
}

TEST(DrawCell, KeyedTilesAndOpacity) {
    View v(8, 8);
    PlaneRecord& p = v.addPlane(1, 1, 4);
    p.tiles[0] = 0;  // pixel (0, 0) of tile 0 has index 0
    p.index0Transparent = true;
    fillRect(v.surface, 0, 0, 8, 8, 0x123456);
    drawCell(v.surface, 0, 0, p, v.palette, 0, 0);
    EXPECT_EQ(v.surface.at(0, 0), 0x123456u);
    EXPECT_EQ(v.surface.at(1, 0), v.colourOf(tilePixel(p, 0, 1, 0)));
    fillRect(v.surface, 0, 0, 8, 8, 0x000000);
    drawCell(v.surface, 0, 0, p, v.palette, 0, 128);
    EXPECT_EQ(v.surface.at(1, 0), blendPixel(v.colourOf(tilePixel(p, 0, 1, 0)), 0, 128));
}

TEST(DrawPlane, ParallaxMovesWholeCells) {
    View v(64, 64);
    PlaneRecord& a = v.addPlane(64, 4, 64);
    PlaneRecord& b = v.addPlane(64, 4, 64);
    for (int x = 0; x < 64; ++x) b.cells[size_t(x)] = uint32_t(x);
    v.doc->active = 0;
    v.doc->scrollX = 64;
    b.scrollRateX = 0.5;
    // Rate 0.5 under an active plane at 1.0: first column 64 * 0.5 / 8 = 4.
    drawPlane(v.surface, *v.doc, 1, v.palette, 0, true);
    EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(b, 4, 0, 0)));
    // The other way round the other plane moves twice as fast: column 16.
    a.scrollRateX = 0.5;
    b.scrollRateX = 1.0;
    drawPlane(v.surface, *v.doc, 1, v.palette, 0, true);
    EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(b, 16, 0, 0)));
}

TEST(DrawPlane, CellsBeyondTheTileCountLeaveTheBackground) {
    View v(16, 8);
    PlaneRecord& p = v.addPlane(2, 1, 4);
    p.cells = {1, 4};
    fillRect(v.surface, 0, 0, 16, 8, 0x123456);
    drawPlane(v.surface, *v.doc, 0, v.palette, 0, true);
    EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(p, 1, 0, 0)));
    EXPECT_EQ(v.surface.at(8, 0), 0x123456u);
}

TEST(DrawPlane, GridOnTheActivePlaneOnly) {
    View v(32, 32);
    PlaneRecord& p = v.addPlane(2, 2, 4);
    v.doc->options.gridShown = 1;
    v.doc->options.gridColor = 0x0000FF;  // red in window order
    v.doc->options.alphaGrid = 255;
    fillRect(v.surface, 0, 0, 32, 32, 0);
    p.tileCount = 0;  // only the grid draws
    drawPlane(v.surface, *v.doc, 0, v.palette, 0, true);
    EXPECT_EQ(v.surface.at(7, 7), blendPixel(0xFF0000, 0, 255));
    EXPECT_EQ(v.surface.at(7, 0), blendPixel(0xFF0000, 0, 255));
    EXPECT_EQ(v.surface.at(0, 0), 0u);
    // Limited to the plane's 16 x 16 pixels.
    EXPECT_EQ(v.surface.at(23, 23), 0u);
    // A step below 4 draws no grid.
    fillRect(v.surface, 0, 0, 32, 32, 0);
    p.gridX = 2;
    drawPlane(v.surface, *v.doc, 0, v.palette, 0, true);
    EXPECT_EQ(v.surface.at(7, 7), 0u);
}

TEST(DrawHexValue, DigitsAndTheirPlaces) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 16, 16));
    fillRect(s, 0, 0, 16, 16, 0x123456);
    drawHexValue(s, 0, 0, 16, 16, 0x1B, true, false);
    // Lowest digit (B) at (8, 7), the second (1) at (4, 7); "B" has a black top-left pixel.
    EXPECT_EQ(s.at(8, 7), 0u);
    EXPECT_EQ(s.at(10, 7), 0xFFFFFFu);  // B's top row is 110
    EXPECT_EQ(s.at(4, 7), 0xFFFFFFu);   // 1's top row is 010
    EXPECT_EQ(s.at(5, 7), 0u);
    EXPECT_EQ(s.at(8, 1), 0x123456u);   // no upper line for 8-bit entries
    // Wider entries: four digits only with a high byte or "Append zeros".
    drawHexValue(s, 0, 0, 16, 16, 0x001B, false, false);
    EXPECT_EQ(s.at(8, 1), 0x123456u);
    drawHexValue(s, 0, 0, 16, 16, 0x001B, false, true);
    EXPECT_EQ(s.at(8, 1), 0u);  // "0" above the lowest digit
    drawHexValue(s, 0, 0, 16, 16, 0x2A1B, false, false);
    EXPECT_EQ(s.at(4, 1), 0u);
}

TEST(ComposeView, OrderPalettesAndTransparency) {
    View v(16, 8);
    PlaneRecord& a = v.addPlane(2, 1, 4);
    PlaneRecord& b = v.addPlane(2, 1, 4);
    a.cells = {1, 1};
    b.cells = {2, 2};
    b.palette[tilePixel(b, 2, 0, 0)] = 0xFF00FF00;
    v.doc->active = 0;
    // The active plane is drawn last, opaque.
    composeView(v.surface, *v.doc, true, nullptr, {});
    EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(a, 1, 0, 0)));
    // With transparency the active plane is blended over the other at alphaForeground.
    v.doc->options.transparency = 1;
    composeView(v.surface, *v.doc, true, nullptr, {});
    const uint32_t under = blendPixel(0x00FF00, 0x123456, v.doc->options.alphaGfx);
    EXPECT_EQ(v.surface.at(0, 0), blendPixel(v.colourOf(tilePixel(a, 1, 0, 0)), under, v.doc->options.alphaForeground));
    // One palette for all: plane b is drawn with the active plane's palette.
    composeView(v.surface, *v.doc, false, nullptr, {});
    const uint32_t underActive = blendPixel(v.colourOf(tilePixel(b, 2, 0, 0)), 0x123456, v.doc->options.alphaGfx);
    EXPECT_EQ(v.surface.at(0, 0),
              blendPixel(v.colourOf(tilePixel(a, 1, 0, 0)), underActive, v.doc->options.alphaForeground));
    // A hidden plane is not drawn.
    b.visible = 0;
    v.doc->options.transparency = 0;
    a.cells = {9, 9};  // beyond the tile count: the background shows
    composeView(v.surface, *v.doc, true, nullptr, {});
    EXPECT_EQ(v.surface.at(0, 0), 0x123456u);
}

TEST(ComposeView, HexModeOnWhite) {
    View v(32, 16);
    PlaneRecord& a = v.addPlane(2, 1, 4);
    a.blockWidth = a.blockHeight = 16;
    a.cells = {0x1B, 0x02};
    v.doc->options.hexMode = 1;
    v.doc->options.hexActiveMap = 0;
    composeView(v.surface, *v.doc, true, nullptr, {});
    EXPECT_EQ(v.surface.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(v.surface.at(8, 7), 0u);  // B
}

TEST(ViewClock, NewFrameOnlyWhenSomethingChanged) {
    View v(32, 16);
    PlaneRecord& a = v.addPlane(64, 64, 4);
    ViewClock clock;
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 0, false));
    clock.compose(v.surface, *v.doc, true, nullptr, {}, 1000);
    EXPECT_FALSE(clock.frameDiffers(*v.doc, 1010, false));
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 1010, true));  // something animates
    // A cell outside the view changes nothing on screen; one inside does.
    a.cells[size_t(60 * 64 + 60)] = 3;
    EXPECT_FALSE(clock.frameDiffers(*v.doc, 1010, false));
    a.cells[0] = 3;
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 1010, false));
    clock.compose(v.surface, *v.doc, true, nullptr, {}, 1010);
    v.doc->scrollX = 8;
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 1020, false));
    clock.compose(v.surface, *v.doc, true, nullptr, {}, 1020);
    // A message shows, then ages with the clock and leaves after 3000 ms.
    postMessage(*v.doc, "Map opened: plane");
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 1030, false));
    clock.compose(v.surface, *v.doc, true, nullptr, {}, 1030);
    EXPECT_FALSE(clock.frameDiffers(*v.doc, 2000, false));
    EXPECT_TRUE(clock.frameDiffers(*v.doc, 4030, false));
    clock.compose(v.surface, *v.doc, true, nullptr, {}, 4030);
    EXPECT_TRUE(v.doc->messages.empty());
}

TEST(DrawMessages, BoxAtTheBottomLeft) {
    View v(200, 60);
    v.addPlane(1, 1, 1);
    postMessage(*v.doc, "Map saved: town");
    fillRect(v.surface, 0, 0, 200, 60, 0);
    drawMessages(v.surface, *v.doc);
    EXPECT_NE(v.surface.at(1, 59), 0u);
    EXPECT_EQ(v.surface.at(1, 0), 0u);
    EXPECT_EQ(v.surface.at(199, 59), 0u);
}

TEST(ComposeView, DirectColourTilesAreCopiedAsTheyAre) {
    View v(16, 8);
    PlaneRecord& p = v.addPlane(2, 1, 2);
    for (size_t i = 0; i < p.tiles.size(); ++i) p.tiles[i] = 0x100000u + uint32_t(i);
    p.cells = {0, 0x0401};
    p.emulGba = 1;
    p.paletteBanks = false;
    p.depth = 2;  // a depth without a palette
    DepthInfo depths[3] = {};
    depths[0].paletteKind = 2;
    depths[1].paletteKind = 1;
    depths[2].paletteKind = 0;
    PlatformRecord platform{};
    platform.depths = depths;
    platform.depthCount = 3;
    EXPECT_TRUE(tilesHoldColours(p, &platform));
    composeView(v.surface, *v.doc, true, nullptr, {}, &platform);
    EXPECT_EQ(v.surface.at(0, 0), 0x100000u);
    EXPECT_EQ(v.surface.at(1, 2), 0x100000u + 17);
    EXPECT_EQ(v.surface.at(8, 0), 0x100000u + 64 + 7);  // tile 1 mirrored
    // A depth with a palette keeps palette indexes.
    p.depth = 1;
    EXPECT_FALSE(tilesHoldColours(p, &platform));
}

// Planes whose element came without a palette or without tiles still show: the active plane
// without a palette does not lend its grey ramp to the others, a map without tiles shows its
// values, a list without tiles frames its objects.
TEST(ComposeView, PlanesWithoutPaletteOrTilesStillDraw) {
    View v(16, 8);
    PlaneRecord& a = v.addPlane(2, 1, 4);
    PlaneRecord& b = v.addPlane(2, 1, 4);
    a.cells = {9, 1};  // the left cell draws nothing: plane b shows there
    b.cells = {2, 2};
    a.ownPalette = false;
    v.doc->active = 0;
    composeView(v.surface, *v.doc, false, nullptr, {});
    EXPECT_EQ(v.surface.at(0, 0), v.colourOf(tilePixel(b, 2, 0, 0)));
    EXPECT_EQ(v.surface.at(8, 0), v.colourOf(tilePixel(a, 1, 0, 0)));
    // With a palette of its own the active plane lends it, as before.
    a.ownPalette = true;
    a.palette[tilePixel(b, 2, 0, 0)] = 0xFF0000FF;
    composeView(v.surface, *v.doc, false, nullptr, {});
    EXPECT_EQ(v.surface.at(0, 0), 0x0000FFu);

    // Without tiles the values show as hex digits (two in a block lower than 16 pixels).
    b.visible = 0;
    a.tiles.clear();
    a.tileCount = 0;
    a.cells = {0x1B, 0x2C};
    composeView(v.surface, *v.doc, true, nullptr, {});
    Surface want;
    createSurface(want, 16, 8);
    fillRect(want, 0, 0, 16, 8, 0x123456);
    drawHexValue(want, 0, 0, 8, 8, 0x1B, true, false);
    drawHexValue(want, 8, 0, 8, 8, 0x2C, true, false);
    EXPECT_EQ(v.surface.pixels, want.pixels);

    // A list without tiles frames each object's block.
    a.kind = PlaneList;
    a.objects.count = 1;
    a.objects.entries.assign(size_t(a.objects.entrySize), 0);
    setEntryPosition(a.objects, 0, 4, 0);
    composeView(v.surface, *v.doc, true, nullptr, {});
    fillRect(want, 0, 0, 16, 8, 0x123456);
    blendFrame(want, 4, 0, 8, 8, kMessageFrame, kMessageFrameAlpha);
    EXPECT_EQ(v.surface.pixels, want.pixels);
}

// A view that keeps its decoded tiles from frame to frame draws exactly what a fresh frame
// draws, after the palette, the tiles or the cells changed between the frames; large views are
// drawn in pieces, and a block of 16 x 16 in 8-bit tiles goes through the decoded tiles too.
TEST(ComposeView, KeptTilesNeverOutliveTheirFrame) {
    View v(300, 90);  // wider than one piece, bands that end inside the view
    PlaneRecord& a = v.addPlane(40, 12, 64);
    PlaneRecord& b = v.addPlane(20, 6, 16);
    for (size_t i = 0; i < a.cells.size(); ++i) a.cells[i] = uint32_t(i * 7 % 70) | (i % 3) << 10 | (i % 4) << 12;
    a.emulGba = 1;
    a.index0Transparent = true;
    b.paletteBanks = false;  // 256 colours: decoded once a frame
    b.colorsPerBank = 256;
    b.blockWidth = b.blockHeight = 16;
    b.tileCount = 4;
    for (size_t i = 0; i < b.cells.size(); ++i) b.cells[i] = uint32_t(i % 5);
    v.doc->active = 0;
    v.doc->options.transparency = 1;
    v.doc->options.gridShown = 1;
    ViewTileCache kept;
    Surface fresh;
    createSurface(fresh, 300, 90);
    auto same = [&] {
        composeView(v.surface, *v.doc, true, nullptr, {}, nullptr, kept);
        composeView(fresh, *v.doc, true, nullptr, {});
        return v.surface.pixels == fresh.pixels;
    };
    EXPECT_TRUE(same());
    b.palette[3] = 0xFF00FF00;
    a.palette[16 + 5] = 0xFFFF0000;
    EXPECT_TRUE(same());
    for (uint32_t& t : b.tiles) t = (t * 5 + 1) & 255;
    a.tiles[64 * 3 + 9] = 0;
    EXPECT_TRUE(same());
    v.doc->scrollX = 24;
    v.doc->scrollY = 8;
    a.cells[5] = 0xC05;
    EXPECT_TRUE(same());
    // The frame of a kept view is the frame drawn tile by tile through drawCell.
    Surface cellByCell;
    createSurface(cellByCell, 300, 90);
    v.doc->options.transparency = 0;
    v.doc->options.gridShown = 0;
    v.doc->scrollX = v.doc->scrollY = 0;
    b.visible = 0;
    fillRect(cellByCell, 0, 0, 300, 90, 0x123456);
    FramePalette palette;
    makeFramePalette(a, palette);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x) {
            const int64_t entry = tileOfValue(a, a.cells[size_t(y * 40 + x)]);
            if (entry >= 0) drawCell(cellByCell, x * 8, y * 8, a, palette, uint32_t(entry), 0);
        }
    composeView(v.surface, *v.doc, true, nullptr, {}, nullptr, kept);
    EXPECT_EQ(v.surface.pixels, cellByCell.pixels);
}
