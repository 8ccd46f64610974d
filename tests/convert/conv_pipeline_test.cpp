// The tileset and bitmap pipelines through the conversion command: sub-palettes in the map
// entries, the tile limit, Rotation maps, first tile empty, existing tilesets and palettes.
#include <gtest/gtest.h>

#include <set>

#include "conv_test_helpers.h"
#include "convert/conv_command.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class ConvPipeline : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        app.system.messages = 0;
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
    MapData loadMap(const std::string& name) {
        MapData map;
        const int index = TrouveElement(app, TYPE_CARTE, name);
        EXPECT_GE(index, 0);
        if (index < 0) return map;
        EXPECT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(index)]), 1);
        return map;
    }
    int tilesOf(const std::string& name) {
        const int index = TrouveElement(app, TYPE_MOSAIQUE, name);
        EXPECT_GE(index, 0);
        if (index < 0) return -1;
        std::vector<uint32_t> pixels;
        int depth = currentDepthIndex(app);
        return currentPlatform(app).loadTileset(app, 0, depth, nullptr, pixels, app.elements.records[size_t(index)], true);
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

// Colour c (0..14) of set s (0..3) as 0xRRGGBB with distinct 5-bit components.
uint32_t setColour(int s, int c) {
    const int r = (s * 8 + c % 4) * 8, g = (c / 4) * 64, b = (31 - s * 7) * 8;
    return uint32_t(r << 16 | g << 8 | b);
}

}  // namespace

TEST_F(ConvPipeline, FourDisjointSetsGiveSubPaletteNumbersInTheMap) {
    // 64 x 32: tile (tx, ty) uses set (tx + ty) % 4.
    ASSERT_TRUE(writePicture(dir.file("level.png"), 64, 32, [](int x, int y) {
        const int s = (x / 8 + y / 8) % 4;
        return setColour(s, (x * 7 + y * 3 + x / 8) % 15);
    }));
    conv("tset src=level +16c col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    MapData map = loadMap("level");
    ASSERT_EQ(map.cells.size(), 32u);
    std::set<uint32_t> groups;
    for (int i = 0; i < 32; ++i) {
        const int tx = i % 8, ty = i / 8;
        groups.insert(map.cells[size_t(i)] >> 12);
        // Tiles of the same set share a sub-palette.
        EXPECT_EQ(map.cells[size_t(i)] >> 12, map.cells[size_t(((tx + ty) % 4))] >> 12);
    }
    EXPECT_EQ(groups.size(), 4u);
    PaletteBuffer palette{};
    int depth = 0;
    EXPECT_EQ(currentPlatform(app).loadPalette(app, 0, &depth, palette,
                                               app.elements.records[size_t(TrouveElement(app, TYPE_PALETTE, "level"))]),
              64);
}

// The progress display sees every block of the tile column with the colours of its final
// mapping, the sub-palettes as they grow, and the end; a host that shows no progress is sent none.
TEST_F(ConvPipeline, MultiPaletteProgressShowsEveryBlockMapped) {
    const auto source = [](int x, int y) { return setColour((x / 8 + y / 8) % 4, (x * 7 + y * 3 + x / 8) % 15); };
    ASSERT_TRUE(writePicture(dir.file("level.png"), 64, 32, source));
    app.convert.exactPacking = 0;
    conv("tset src=level +16c col=64");
    EXPECT_EQ(host.blockReports, 0);

    host.showProgress = true;
    conv("tset src=level +16c col=64 dst=shown");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_GT(host.paletteReports, 0);
    EXPECT_EQ(host.largestPalettes.size(), 4u);
    EXPECT_GE(host.blockDisplayEnds, 1);
    const MapData map = loadMap("shown");
    ASSERT_EQ(map.cells.size(), 32u);
    ASSERT_FALSE(host.shownBlocks.empty());
    // Assigned once, mapped once.
    EXPECT_EQ(host.blockReports, 2 * int(host.shownBlocks.size()));
    for (int i = 0; i < 32; ++i) {
        const uint32_t tile = map.cells[size_t(i)] & 0x3FF;
        ASSERT_LT(tile, host.shownBlocks.size());
        const ProgressBlock& block = host.shownBlocks[tile];
        ASSERT_EQ(block.width, 8);
        ASSERT_EQ(block.height, 8);
        ASSERT_EQ(block.pixels.size(), 64u);
        // Exact 5-bit colours come back as the display shows them: c x 8 + 4.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(block.pixels[size_t(y * 8 + x)], source((i % 8) * 8 + x, (i / 8) * 8 + y) + 0x040404u)
                    << "cell " << i << " at " << x << "," << y;
    }
}

TEST_F(ConvPipeline, TileLimitRefusesWithoutWritingAnything) {
    // 1024 x 520 of two-colour patterns: 8320 distinct tiles.
    ASSERT_TRUE(writePicture(dir.file("many.png"), 1024, 520, [](int x, int y) {
        return bitPattern(uint64_t((y / 8) * 128 + x / 8) * 0x9E3779B97F4A7C15ull, x, y);
    }));
    conv("tset src=many");
    EXPECT_EQ(host.lastText(), "Unable to convert because there are too many tiles.");
    EXPECT_EQ(host.lastCaption(), "Tiles converter");
    EXPECT_EQ(host.lastText(), "Unable to convert because there are too many tiles.");
    EXPECT_FALSE(fileExists(dir.file("many.til.c")));
    EXPECT_FALSE(fileExists(dir.file("many.map.c")));
    EXPECT_FALSE(fileExists(dir.file("many.pal.c")));
    EXPECT_EQ(app.elements.count(), 0);

    // 8192 distinct tiles convert (with the warning that Text entries hold only tiles 0 to 1023).
    host.clear();
    conv("tset src=many mdim=1024x512 dst=fits");
    ASSERT_EQ(host.boxes.size(), 1u) << host.lastText();
    EXPECT_EQ(host.lastCaption(), "Warning");
    EXPECT_EQ(tilesOf("fits"), 8192);
}

TEST_F(ConvPipeline, RotationMapKeepsLowEightBits) {
    ASSERT_TRUE(writePicture(dir.file("rot.png"), 257 * 8, 8,
                             [](int x, int y) { return bitPattern(uint64_t(x / 8 + 1) * 0x51ED27u, x, y); }));
    conv("tset src=rot -txt");
    MapData map = loadMap("rot");
    ASSERT_EQ(map.cells.size(), 257u);
    EXPECT_EQ(map.cells[255], 255u);
    EXPECT_EQ(map.cells[256], 0u);
    EXPECT_EQ(tilesOf("rot"), 257);
}

TEST_F(ConvPipeline, FirstTileEmptyAndMatchingOff) {
    // Left tile transparent (mask colour), right tile drawn, 64 x 8.
    ASSERT_TRUE(writePicture(dir.file("e.png"), 16, 8, [](int x, int) { return x < 8 ? 0xFF00FEu : 0x00FF00u; }));
    app.convert.firstTileEmpty = 1;
    conv("tset src=e");
    MapData map = loadMap("e");
    ASSERT_EQ(map.cells.size(), 2u);
    EXPECT_EQ(map.cells[0], 0u);
    EXPECT_EQ(map.cells[1], 1u);
    EXPECT_EQ(tilesOf("e"), 2);

    app.convert.firstTileEmpty = 0;
    ASSERT_TRUE(writePicture(dir.file("p.png"), 64, 64, [](int x, int y) { return uint32_t((x % 8) * 0x200000 + (y % 8) * 0x20); }));
    conv("tset src=p");
    EXPECT_EQ(tilesOf("p"), 1);
    EXPECT_EQ(loadMap("p").cells, std::vector<uint32_t>(64, 0));
    conv("tset src=p dst=q -opt");
    EXPECT_EQ(tilesOf("q"), 64);
}

TEST_F(ConvPipeline, ExistingTilesetWithAndWithoutReuse) {
    ASSERT_TRUE(writePicture(dir.file("base.png"), 16, 8, [](int x, int y) { return x < 8 ? 0x0000FFu : 0xFFFFFFu; }));
    conv("tset src=base");
    ASSERT_EQ(tilesOf("base"), 2);
    ASSERT_TRUE(writePicture(dir.file("more.png"), 24, 8, [](int x, int y) {
        return x < 8 ? 0x0000FFu : x < 16 ? 0xFF0000u : 0xFFFFFFu;
    }));
    // With the existing palette and tileset reused, only the red tile is new.
    conv("tset src=more upal=base util=base");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(tilesOf("base"), 3);
    EXPECT_EQ(loadMap("more").cells, (std::vector<uint32_t>{0, 2, 1}));
    // Without reuse the stored tiles never match: three new tiles after the three.
    conv("tset src=more upal=base !util=base dst=more2");
    EXPECT_EQ(tilesOf("base"), 6);
    EXPECT_EQ(loadMap("more2").cells, (std::vector<uint32_t>{3, 4, 5}));
}

// A reused palette or tileset that yields nothing stops the conversion with a message naming the
// file (the build would otherwise go on with the old outputs); one cut short is reported.
TEST_F(ConvPipeline, ReusedDataThatYieldsNothingIsAFailure) {
    ASSERT_TRUE(writePicture(dir.file("base.png"), 16, 8, [](int x, int y) { return x < 8 ? 0x0000FFu : 0xFFFFFFu; }));
    conv("tset src=base");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    const std::string palette = dir.read("base.pal.c");
    const std::string tiles = dir.read("base.til.c");
    for (const std::string& damaged : {std::string(), std::string("x"), std::string("const unsigned short base_palette[2] = {\n};\n")}) {
        dir.write("base.pal.c", damaged);
        host.clear();
        conv("tset src=base upal=base dst=again");
        ASSERT_FALSE(host.boxes.empty()) << "palette file of " << damaged.size() << " bytes";
        EXPECT_TRUE(host.failureSeen());
        bool named = false;
        for (const auto& box : host.boxes)
            named |= box.text.find("base.pal.c") != std::string::npos || box.caption.find("base.pal.c") != std::string::npos;
        EXPECT_TRUE(named) << host.boxes.front().caption << ": " << host.boxes.front().text;
        EXPECT_FALSE(fileExists(dir.file("again.map.c")));
    }
    dir.write("base.pal.c", palette);
    dir.write("base.til.c", "");
    host.clear();
    conv("tset src=base util=base dst=again");
    EXPECT_TRUE(host.failureSeen());
    EXPECT_FALSE(fileExists(dir.file("again.map.c")));
    // Cut after the first tile: the header promises two.
    dir.write("base.til.c", tiles.substr(0, tiles.size() / 2));
    host.clear();
    conv("tset src=base util=base dst=again");
    EXPECT_TRUE(host.failureSeen());
    EXPECT_NE(host.boxes.front().text.find("of the 2 its header announces"), std::string::npos) << host.boxes.front().text;
}

TEST_F(ConvPipeline, LargePicturesAndDepths) {
    ASSERT_TRUE(writePicture(dir.file("big.png"), 100, 50, [](int x, int y) { return uint32_t((x * 2) << 16 | (y * 4) << 8); }));
    conv("tset src=big cmode=15");
    MapData map = loadMap("big");
    EXPECT_EQ(map.width, 13);  // 104 x 56
    EXPECT_EQ(map.height, 7);
    EXPECT_FALSE(fileExists(dir.file("big.pal.c")));
    EXPECT_EQ(app.elements.count(), 2);  // no palette in 15-bit colour
    conv("bmp src=big cmode=32 dst=big32");
    EXPECT_TRUE(fileExists(dir.file("big32.bmp.c")));
    conv("bmp src=big dst=big8");
    EXPECT_TRUE(fileExists(dir.file("big8.bmp.c")));
    EXPECT_TRUE(fileExists(dir.file("big8.pal.c")));
}

TEST_F(ConvPipeline, GameBoyFourShades) {
    ASSERT_TRUE(selectPlatformByName(app, "Game Boy, Nintendo"));
    ASSERT_TRUE(writePicture(dir.file("gb.png"), 32, 16, [](int x, int y) {
        const uint32_t shades[] = {0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};
        return shades[(x / 4 + y / 4) % 4];
    }));
    conv("tset src=gb +16c");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(fileExists(dir.file("gb.til.c")));
    EXPECT_TRUE(fileExists(dir.file("gb.pal.c")));
    EXPECT_EQ(app.elements.count(), 3);
    // Several 4-colour sub-palettes through the multi-palette path.
    conv("tset src=gb +16c col=8 dst=gb2");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(fileExists(dir.file("gb2.til.c")));
}

TEST_F(ConvPipeline, GameBoyMonochromeWritesNoPalette) {
    ASSERT_TRUE(selectPlatformByName(app, "Game Boy, Nintendo"));
    app.platforms.gbc.dmgMode = 1;
    ASSERT_TRUE(writePicture(dir.file("mono.png"), 16, 16, [](int x, int y) {
        const uint32_t shades[] = {0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};
        return shades[(x / 2 + y) % 4];
    }));
    conv("tset src=mono col=4");
    EXPECT_TRUE(fileExists(dir.file("mono.til.c")));
    EXPECT_TRUE(fileExists(dir.file("mono.map.c")));
    EXPECT_FALSE(fileExists(dir.file("mono.pal.c")));
    EXPECT_EQ(app.elements.count(), 2);
}

// In monochrome mode the written tiles hold shade ranks (0 the brightest), whatever order the
// conversion's palette has: the whole conversion, not only the tile writer.
TEST_F(ConvPipeline, GameBoyMonochromeTilesAreWrittenInShadeOrder) {
    ASSERT_TRUE(selectPlatformByName(app, "Game Boy, Nintendo"));
    app.platforms.gbc.dmgMode = 1;
    app.convert.firstTileEmpty = 0;
    // The darkest colour comes first, so the palette is not in brightness order.
    const uint32_t shades[] = {0x000000, 0x555555, 0xFFFFFF, 0xAAAAAA};
    const uint32_t rankOf[] = {3, 2, 0, 1};
    ASSERT_TRUE(writePicture(dir.file("mono.png"), 8, 8, [&](int x, int y) { return shades[(x + y) % 4]; }));
    conv("tset src=mono col=4");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    const int index = TrouveElement(app, TYPE_MOSAIQUE, "mono");
    ASSERT_GE(index, 0);
    std::vector<uint32_t> pixels;
    int depth = currentDepthIndex(app);
    ASSERT_EQ(currentPlatform(app).loadTileset(app, 0, depth, nullptr, pixels, app.elements.records[size_t(index)], true), 1);
    ASSERT_GE(pixels.size(), 64u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pixels[size_t(y * 8 + x)], rankOf[(x + y) % 4]) << x << "," << y;
}

TEST_F(ConvPipeline, OverlongValuesAreCut) {
    const std::string longName(600, 'q');
    conv("tset src=" + longName);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(), "Unable to read the image \"" + std::string(500, 'q') + ".bmp\".");
    EXPECT_EQ(app.elements.count(), 0);
}
