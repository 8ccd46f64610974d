// The conversion command end to end: names, probing, options, messages and produced elements.
#include <gtest/gtest.h>

#include <filesystem>

#include "conv_test_helpers.h"
#include "convert/conv_command_arguments.h"
#include "convert/conv_command.h"
#include "script/interpreter.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class ConvCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
    bool exists(const std::string& name) const { return fileExists(dir.file(name)); }
    // A 32 x 16 picture of a few distinct 8 x 8 tiles in a handful of colours.
    void writeShip(const std::string& name, int w = 32, int h = 16) {
        ASSERT_TRUE(writePicture(dir.file(name), w, h, [](int x, int y) {
            return uint32_t(((x / 8) * 0x402000 + (y / 8) * 0x000080 + ((x + y) % 3) * 0x101010) & 0xFFFFFF);
        }));
    }
    MapData loadMap(int elementIndex) {
        MapData map;
        const PlatformRecord& p = currentPlatform(app);
        EXPECT_EQ(p.loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(elementIndex)]), 1);
        return map;
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(ConvCommand, TilesetFromSourceNameProbesExtensionAndAddsThreeElements) {
    writeShip("ship.png");
    conv("tset src=ship");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(exists("ship.til.c"));
    EXPECT_TRUE(exists("ship.pal.c"));
    EXPECT_TRUE(exists("ship.map.c"));
    ASSERT_EQ(app.elements.count(), 3);
    const uint32_t types[] = {TYPE_MOSAIQUE, TYPE_PALETTE, TYPE_CARTE};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(app.elements.records[size_t(i)].type(), types[i]);
        EXPECT_EQ(app.elements.records[size_t(i)].name, "ship");
        EXPECT_EQ(app.elements.records[size_t(i)].baseFile, "ship.png");
    }
    // Default: 8-bit depth, 255 colours plus the zero colour; identical tiles stored once.
    EXPECT_EQ(currentDepthIndex(app), 1);
    MapData map = loadMap(2);
    EXPECT_EQ(map.width, 4);
    EXPECT_EQ(map.height, 2);
}

TEST_F(ConvCommand, SourceBeforeKindDerivesNothing) {
    writeShip("ship.png");
    conv("src=ship tset");
    EXPECT_FALSE(exists("ship.til.c"));
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ConvCommand, DestinationNamesAllThreeFiles) {
    writeShip("ship.png");
    std::filesystem::create_directories(dir.file("gfx"));
    conv("tset src=ship dst=gfx/ship2");
    EXPECT_TRUE(exists("gfx/ship2.til.c"));
    EXPECT_TRUE(exists("gfx/ship2.pal.c"));
    EXPECT_TRUE(exists("gfx/ship2.map.c"));
    ASSERT_EQ(app.elements.count(), 3);
    EXPECT_EQ(app.elements.records[0].name, "ship2");
}

TEST_F(ConvCommand, BitmapWithSourceValue) {
    writeShip("title.png", 20, 10);
    conv("bmp bmp=title.png");
    EXPECT_TRUE(exists("title.bmp.c"));
    EXPECT_TRUE(exists("title.pal.c"));
    ASSERT_EQ(app.elements.count(), 2);
    EXPECT_EQ(app.elements.records[0].type(), uint32_t(TYPE_BITMAP));
    EXPECT_EQ(app.elements.records[1].type(), uint32_t(TYPE_PALETTE));
}

TEST_F(ConvCommand, NoMapAndSixteenColours) {
    writeShip("a.png");
    app.system.messages = 0;  // as inside a script: no question about the filter
    conv("tset src=a.png -gmap +16c");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(exists("a.til.c"));
    EXPECT_FALSE(exists("a.map.c"));
    EXPECT_EQ(app.elements.count(), 2);
    EXPECT_EQ(currentDepthIndex(app), 0);
    const PlatformRecord& p = currentPlatform(app);
    PaletteBuffer palette{};
    int depth = 0;
    const int colours = p.loadPalette(app, 0, &depth, palette, app.elements.records[1]);
    EXPECT_GE(colours, 2);
    EXPECT_LE(colours, 16);
}

TEST_F(ConvCommand, TileSizes) {
    writeShip("a.png", 32, 32);
    conv("tset src=a tdim=16");
    ASSERT_EQ(app.elements.count(), 3);
    MapData map = loadMap(2);
    EXPECT_EQ(map.width, 2);
    EXPECT_EQ(map.height, 4);

    host.clear();
    conv("tset src=a dst=b tdim=12x8");
    EXPECT_EQ(host.lastText(), "Error on tileset dimensions (must be multiple of 8 and less than 128)");
    EXPECT_EQ(host.lastCaption(), "Debuging");
    EXPECT_FALSE(exists("b.til.c"));

    host.clear();
    conv("tset src=a dst=c tdim=128x128");
    EXPECT_TRUE(exists("c.til.c"));
    for (const char* bad : {"tdim=0", "tdim=-8x8", "tdim=99999999999x8", "tdim=136"}) {
        host.clear();
        conv(std::string("tset src=a dst=d ") + bad);
        EXPECT_EQ(host.lastText(), "Error on tileset dimensions (must be multiple of 8 and less than 128)") << bad;
    }
    EXPECT_FALSE(exists("d.til.c"));
}

TEST_F(ConvCommand, MissingExistingElementsConvertNothing) {
    writeShip("a.png");
    conv("tset src=a upal=nothere");
    EXPECT_EQ(host.lastText(), "Internal error: TrouveElement(TYPE_PALETTE,chneUPal)");
    EXPECT_EQ(host.lastCaption(), "Debuging");
    conv("tset src=a util=nothere");
    EXPECT_EQ(host.lastText(), "Internal error: TrouveElement(TYPE_MOSAIQUE,chneUTil)");
    EXPECT_FALSE(exists("a.til.c"));
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ConvCommand, UnknownIdentifierIsReportedAndReadingGoesOn) {
    writeShip("a.png");
    conv("tset bogus=1 src=a " + std::string(600, 'z'));
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "Unrecognized convertion identifier: bogus");
    EXPECT_EQ(host.boxes[1].text, "Unrecognized convertion identifier: " + std::string(100, 'z'));
    EXPECT_TRUE(exists("a.til.c"));
}

TEST_F(ConvCommand, BadSizesAndCountsAreRefused) {
    writeShip("a.png");
    conv("tset src=a mdim=-8x8");
    EXPECT_EQ(host.lastText(), "Negative map dimensions");
    host.clear();
    conv("tset src=a mdim=99999999999x99999999");
    EXPECT_EQ(host.boxes.size(), 1u);
    host.clear();
    conv("tset src=a col=99999");
    EXPECT_EQ(host.boxes.size(), 1u);
    host.clear();
    conv("tset src=a col=0");
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_FALSE(exists("a.til.c"));
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ConvCommand, WorkingSizeGrowsTheMap) {
    writeShip("a.png");
    conv("tset src=a mdim=64x24");
    ASSERT_EQ(app.elements.count(), 3);
    MapData map = loadMap(2);
    EXPECT_EQ(map.width, 8);
    EXPECT_EQ(map.height, 3);
}

TEST_F(ConvCommand, UnreadableSourcesAreRefused) {
    std::filesystem::create_directories(dir.file("adir.png"));
    conv("tset src=adir.png");
    EXPECT_EQ(host.boxes.size(), 1u);
    host.clear();
    writeFile(dir.file("junk.png"), "not a picture at all");
    conv("tset src=junk.png");
    EXPECT_EQ(host.boxes.size(), 1u);
    host.clear();
    conv("tset src=missing");
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ConvCommand, OnePixelImage) {
    ASSERT_TRUE(writePicture(dir.file("dot.png"), 1, 1, [](int, int) { return 0x123456u; }));
    conv("tset src=dot");
    ASSERT_EQ(app.elements.count(), 3);
    MapData map = loadMap(2);
    EXPECT_EQ(map.width, 1);
    EXPECT_EQ(map.height, 1);
}

TEST_F(ConvCommand, BitmapKindsB8AndB16ProduceNothing) {
    writeShip("a.png");
    conv("b8 src=a dst=x");
    conv("b16 src=a dst=x");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_FALSE(exists("x"));
}

TEST_F(ConvCommand, ArgumentReading) {
    ConvArguments a = startConvArguments(app);
    std::string text = "\t tset src=\"My Ship.png\" !upal=Pal -txt +gmap !opt name=Hero col=abc cmode=4 mapmode=32";
    readConvArguments(app, text.c_str(), a);
    EXPECT_EQ(a.outputKind, ConvTileset);
    EXPECT_EQ(a.source, "My Ship.png");
    EXPECT_EQ(a.mainOutput, "My Ship.til.c");
    EXPECT_EQ(a.mapFile, "My Ship.map.c");
    EXPECT_EQ(a.paletteFile, "My Ship.pal.c");
    EXPECT_EQ(a.existingPalette, "Pal");
    EXPECT_EQ(a.paletteReuse, 0);
    EXPECT_EQ(a.mapType, 0);
    EXPECT_EQ(a.makeMap, 1);
    EXPECT_EQ(a.tileMatching, 2);
    EXPECT_EQ(a.tilesetName, "Hero");
    EXPECT_EQ(a.mapName, "Hero");
    EXPECT_EQ(a.depth, 0);
    EXPECT_EQ(a.colorCount, 16);  // cmode came after col
    EXPECT_EQ(a.mapmode, "32");

    ConvArguments b = startConvArguments(app);
    readConvArguments(app, "bmp pal=p map=m dst=out", b);
    EXPECT_EQ(b.paletteFile, "out.pal.c");
    EXPECT_EQ(b.mapFile, "m");
    EXPECT_EQ(b.mainOutput, "out.bmp.c");
    ConvArguments c = startConvArguments(app);
    readConvArguments(app, "tset cmode=99 col=12", c);
    EXPECT_EQ(c.depth, 1);
    EXPECT_EQ(c.colorCount, 12);

    EXPECT_EQ(deriveElementName("gfx\\level.map.c"), "level");
    EXPECT_EQ(deriveElementName("a.b.c"), "a");
    EXPECT_EQ(deriveElementName(std::string(40, 'n') + ".c"), std::string(30, 'n'));
    int64_t w, h;
    parseDimensions("16", 8, w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
    parseDimensions("256x192", 0, w, h);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 192);
}

TEST_F(ConvCommand, NamesGoIntoTheFiles) {
    writeShip("a.png");
    conv("tset src=a name=hero namepal=colours");
    EXPECT_NE(readFile(dir.file("a.til.c")).find("hero_"), std::string::npos);
    EXPECT_NE(readFile(dir.file("a.map.c")).find("hero_"), std::string::npos);
    EXPECT_NE(readFile(dir.file("a.pal.c")).find("colours_"), std::string::npos);
    // The elements keep the names derived from their files.
    ASSERT_EQ(app.elements.count(), 3);
    EXPECT_EQ(app.elements.records[0].name, "a");
    EXPECT_TRUE(app.platforms.conversionName.empty());
}

TEST_F(ConvCommand, ScriptLineIsLowerCasedOutsideQuotes) {
    writeShip("Ship.png");
    runScriptText(app, "conv TSET SRC=\"Ship\"");
    EXPECT_TRUE(exists("Ship.til.c"));
    EXPECT_EQ(app.elements.count(), 3);
}
