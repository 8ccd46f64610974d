// Conversions with exact sub-palette packing, flip merging and the tile-field warning, checked by
// drawing the written files back and comparing them with the picture pixel for pixel.
#include <gtest/gtest.h>

#include "conv_test_helpers.h"
#include "convert/conv_command.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_render.h"
#include "project/element_table.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

constexpr uint32_t kBackground = 0xFF00FE;  // the mask colour

class ConvPacking : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        app.system.messages = 0;
        app.system.emulGba = 1;  // maps drawn as the console shows them
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
    MapData loadMap(const std::string& name) {
        MapData map;
        const int index = TrouveElement(app, TYPE_CARTE, name);
        EXPECT_GE(index, 0);
        if (index >= 0) currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(index)]);
        return map;
    }
    int tilesOf(const std::string& name) {
        const int index = TrouveElement(app, TYPE_MOSAIQUE, name);
        if (index < 0) return -1;
        std::vector<uint32_t> pixels;
        int depth = currentDepthIndex(app);
        return currentPlatform(app).loadTileset(app, 0, depth, nullptr, pixels, app.elements.records[size_t(index)], true);
    }
    // Pixels where the map drawn from the written files differs from the picture.
    int wrongPixels(const std::string& map, const std::string& picture) {
        Surface drawn;
        const int index = TrouveElement(app, TYPE_CARTE, map);
        EXPECT_GE(index, 0);
        if (index < 0 || !renderMapElement(app, app.elements.records[size_t(index)], kBackground, drawn)) return -1;
        DecodedImage source;
        EXPECT_EQ(decodeImageFile(dir.file(picture), source), DecodeResult::Ok);
        EXPECT_EQ(drawn.width, source.surface.width);
        EXPECT_EQ(drawn.height, source.surface.height);
        int wrong = 0;
        for (int y = 0; y < std::min(drawn.height, source.surface.height); ++y)
            for (int x = 0; x < std::min(drawn.width, source.surface.width); ++x)
                wrong += (drawn.at(x, y) & 0xFFFFFF) != (source.surface.at(x, y) & 0xFFFFFF);
        return wrong;
    }
    std::string outputs(const std::string& base) {
        return readFile(dir.file(base + ".til.c")) + readFile(dir.file(base + ".map.c")) +
               readFile(dir.file(base + ".pal.c"));
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

// Colour c (0..14) of hidden palette s, exact in 5 bits (components are multiples of 8).
uint32_t hiddenColour(int s, int c) {
    const int n = s * 15 + c;
    return uint32_t((n % 32) * 8) << 16 | uint32_t((n / 32) * 8) << 8 | uint32_t(s * 8 + 8);
}

// A picture of tiles that each use `minColours` to `maxColours` colours of one of `palettes`
// hidden palettes; some tiles also hold transparent (mask colour) pixels.
bool writePackingPicture(const std::string& path, int width, int height, int palettes, int minColours,
                         int maxColours, uint32_t seed) {
    const int tilesX = width / 8;
    std::vector<std::vector<uint32_t>> tileColours;
    std::vector<int> transparent;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, int((seed >> 16) & 0x7FFF); };
    for (int i = 0; i < tilesX * (height / 8); ++i) {
        const int s = next() % palettes, n = minColours + next() % (maxColours - minColours + 1);
        std::vector<uint32_t> colours;
        while (int(colours.size()) < n) {
            const uint32_t c = hiddenColour(s, next() % 15);
            if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
        }
        tileColours.push_back(colours);
        transparent.push_back(next() % 2);
    }
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t tile = size_t((y / 8) * tilesX + x / 8);
            const auto& colours = tileColours[tile];
            const int pick = next();
            pixels[size_t(y) * size_t(width) + size_t(x)] =
                transparent[tile] && pick % 5 == 0 ? kBackground : colours[size_t(pick) % colours.size()];
        }
    // Every colour of a tile appears in it at least once.
    for (size_t tile = 0; tile < tileColours.size(); ++tile)
        for (size_t k = 0; k < tileColours[tile].size(); ++k) {
            const int x = int(tile % size_t(tilesX)) * 8 + int(k % 8), y = int(tile / size_t(tilesX)) * 8 + int(k / 8);
            pixels[size_t(y) * size_t(width) + size_t(x)] = tileColours[tile][k];
        }
    return writePicture(path, width, height, [&](int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; });
}

// An asymmetric two-colour 8 x 8 pattern, mirrored as asked.
uint32_t orientedPattern(int base, int x, int y, bool h, bool v) {
    const int sx = h ? 7 - x % 8 : x % 8, sy = v ? 7 - y % 8 : y % 8;
    const uint64_t bits = (uint64_t(base) + 3) * 0x9E3779B97F4A7C15ull;
    return (bits >> (sy * 8 + sx)) & 1 ? hiddenColour(base % 4, 1) : hiddenColour(base % 4, 2);
}

}  // namespace

TEST_F(ConvPacking, FewColourTilesKeepEveryPixel) {
    ASSERT_TRUE(writePackingPicture(dir.file("pk.png"), 128, 64, 4, 2, 4, 7));
    conv("tset src=pk +16c col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(wrongPixels("pk", "pk.png"), 0);
    // The sub-palette numbers are in bits 12 to 15 and stay below the four hidden palettes.
    for (uint32_t cell : loadMap("pk").cells) EXPECT_LT(cell >> 12, 4u);
}

TEST_F(ConvPacking, HardPictureOfSixteenHiddenPalettesPacksExactly) {
    ASSERT_TRUE(writePackingPicture(dir.file("hard.png"), 256, 256, 16, 2, 6, 99));
    conv("tset src=hard +16c col=255");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(wrongPixels("hard", "hard.png"), 0);
}

TEST_F(ConvPacking, WithoutAnExactAnswerTheAssignmentIsUnchanged) {
    // One tile of 16 colours: no sub-palette of 15 holds it.
    ASSERT_TRUE(writePicture(dir.file("wide.png"), 64, 16, [](int x, int y) {
        if (x < 8 && y < 8) return hiddenColour((x + y * 8) / 15, (x + y * 8) % 15);
        return hiddenColour(1 + (x / 8) % 3, (x * 3 + y) % 15);
    }));
    conv("tset src=wide +16c col=64");
    const std::string packedFirst = outputs("wide");
    ASSERT_FALSE(packedFirst.empty());
    app.convert.exactPacking = 0;
    conv("tset src=wide +16c col=64");
    EXPECT_EQ(outputs("wide"), packedFirst);
}

TEST_F(ConvPacking, FlipMergingWritesTheMirrorBits) {
    // Four base tiles, each followed by its horizontal, vertical and double mirror images.
    ASSERT_TRUE(writePicture(dir.file("fl.png"), 128, 8, [](int x, int y) {
        const int cell = x / 8, orientation = cell % 4;
        return orientedPattern(cell / 4, x, y, orientation & 1, orientation & 2);
    }));
    for (const char* args : {"tset src=fl dst=fl8 +flip", "tset src=fl dst=fl4 +16c col=64 +flip"}) {
        SCOPED_TRACE(args);
        host.clear();
        conv(args);
        EXPECT_TRUE(host.boxes.empty()) << host.lastText();
        const std::string name = std::string(args).find("fl4") != std::string::npos ? "fl4" : "fl8";
        EXPECT_EQ(tilesOf(name), 4);
        const MapData map = loadMap(name);
        ASSERT_EQ(map.cells.size(), 16u);
        for (int cell = 0; cell < 16; ++cell) {
            EXPECT_EQ(map.cells[size_t(cell)] & 0xC00, uint32_t(cell % 4) << 10) << cell;
            EXPECT_EQ(map.cells[size_t(cell)] & 0x3FF, uint32_t(cell / 4)) << cell;
        }
        EXPECT_EQ(wrongPixels(name, "fl.png"), 0);
    }
    // The approximate assignment keeps the mirror bits too: a tile and its mirror images share
    // their stored tile, so they share its sub-palette.
    app.convert.exactPacking = 0;
    conv("tset src=fl dst=approx +16c col=64 +flip");
    EXPECT_EQ(tilesOf("approx"), 4);
    const MapData approx = loadMap("approx");
    ASSERT_EQ(approx.cells.size(), 16u);
    for (int cell = 0; cell < 16; ++cell) {
        EXPECT_EQ(approx.cells[size_t(cell)] & 0xC00, uint32_t(cell % 4) << 10) << cell;
        EXPECT_EQ(approx.cells[size_t(cell)] >> 12, approx.cells[size_t(cell / 4 * 4)] >> 12) << cell;
    }
    app.convert.exactPacking = 1;

    // Without the argument: sixteen tiles.
    conv("tset src=fl dst=plain");
    EXPECT_EQ(tilesOf("plain"), 16);
    // The setting turns it on for every conversion.
    app.convert.flipMerge = 1;
    conv("tset src=fl dst=bysetting");
    EXPECT_EQ(tilesOf("bysetting"), 4);
}

TEST_F(ConvPacking, FlipIsRefusedOnMapsWithoutMirrorBits) {
    ASSERT_TRUE(writePicture(dir.file("rot.png"), 16, 8, [](int x, int y) { return orientedPattern(0, x, y, x >= 8, false); }));
    conv("tset src=rot -txt +flip");
    EXPECT_EQ(host.lastCaption(), "Debuging");
    EXPECT_FALSE(fileExists(dir.file("rot.map.c")));
    EXPECT_EQ(app.elements.count(), 0);
    // The setting alone is not applied there, and the conversion goes on.
    host.clear();
    app.convert.flipMerge = 1;
    conv("tset src=rot -txt");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(tilesOf("rot"), 2);
}

TEST_F(ConvPacking, TileNumbersBeyondTheFieldAreWrittenWholeWithAWarning) {
    ASSERT_TRUE(writePicture(dir.file("many.png"), 1025 * 8, 8,
                             [](int x, int y) { return bitPattern(uint64_t(x / 8 + 1) * 0x9E3779B97F4A7C15ull, x, y); }));
    conv("tset src=many mdim=8192x8 dst=fits");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    conv("tset src=many");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastCaption(), "Warning");
    EXPECT_NE(host.lastText().find("Tile 1024 "), std::string::npos) << host.lastText();
    EXPECT_NE(host.lastText().find("10-bit"), std::string::npos) << host.lastText();
    EXPECT_TRUE(host.failureSeen());
    const MapData map = loadMap("many");
    ASSERT_EQ(map.cells.size(), 1025u);
    EXPECT_EQ(map.cells[1024], 1024u);
    EXPECT_EQ(tilesOf("many"), 1025);
}
