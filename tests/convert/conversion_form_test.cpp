// The tilemap and image forms without widgets: defaults, browse rules and the "Ok!" procedure.
#include <gtest/gtest.h>

#include <filesystem>

#include "conv_test_helpers.h"
#include "convert/conversion_options.h"
#include "convert/conversion_form.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class ConversionForm : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }
    void writeImage(const std::string& name, int w, int h) {
        ASSERT_TRUE(writePicture(dir.file(name), w, h, [](int x, int y) {
            return uint32_t(((x / 8) * 0x402000 + (y / 8) * 0x000080 + ((x + y) % 3) * 0x101010) & 0xFFFFFF);
        }));
    }
    MapData loadMap(const std::string& name) {
        MapData map;
        int index = TrouveElement(app, TYPE_CARTE, name);
        EXPECT_NE(index, kElementNotFound);
        if (index == kElementNotFound) return map;
        currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(index)]);
        return map;
    }
    TempDir dir;
    TestApp t;
    App& app = t.app;
};

TEST_F(ConversionForm, DefaultsFollowThePlatform) {
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    const PlatformRecord& p = currentPlatform(app);
    EXPECT_EQ(s.depth, p.defaultDepth);
    EXPECT_EQ(s.colors, std::to_string(p.depths[p.defaultDepth].colorsPerTile));
    EXPECT_EQ(s.mapType, 1);
    EXPECT_TRUE(s.makeMap);
    EXPECT_TRUE(s.optimize);
    EXPECT_EQ(s.mapSize, 0);
    EXPECT_EQ(s.tileSize, 0);
    EXPECT_EQ(s.existingPalette, ExistingOff);
    EXPECT_EQ(depthNames(app).size(), size_t(p.depthCount));
}

TEST_F(ConversionForm, BrowseRulesGiveRelativePathsAndDestinations) {
    EXPECT_EQ(relativeFormPath("/work/art/ship.png", "/work/art"), "ship.png");
    EXPECT_EQ(relativeFormPath("/work/other/ship.png", "/work/art"), "../other/ship.png");
    EXPECT_EQ(relativeFormPath("C:\\work\\art\\ship.png", "C:\\work\\art"), "ship.png");
    EXPECT_EQ(relativeFormPath("/elsewhere/ship.png", "/work/art"), "/elsewhere/ship.png");
    EXPECT_EQ(relativeFormPath("/work/artist/ship.png", "/work/art"), "../artist/ship.png");

    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    EXPECT_EQ(s.source, "ship.png");
    EXPECT_EQ(s.destination, "ship.til.c");
    EXPECT_EQ(s.palette, "ship.pal.c");
    EXPECT_EQ(s.map, "ship.map.c");

    // A folder named with a dot names the files after the image, not after the folder.
    applyBrowsedSource(app, s, dir.path() + "/old.files/ship.png");
    EXPECT_EQ(s.source, "old.files/ship.png");
    EXPECT_EQ(s.destination, "old.files/ship.til.c");
    EXPECT_EQ(s.map, "old.files/ship.map.c");
    // Above the current folder: the ".." form still gives a usable base name.
    applyBrowsedSource(app, s, directoryOf(dir.path()) + "/ship.png");
    EXPECT_EQ(s.source, "../ship.png");
    EXPECT_EQ(s.palette, "../ship.pal.c");

    applyBrowsedDestination(app, s, dir.path() + "/gfx/boat.til.c");
    EXPECT_EQ(s.destination, "gfx/boat.til.c");
    EXPECT_EQ(s.palette, "gfx/boat.pal.c");
    EXPECT_EQ(s.map, "gfx/boat.map.c");

    ConversionFormState image = defaultConversionForm(app, ConversionFormKind::Image);
    applyBrowsedSource(app, image, dir.path() + "/title.bmp");
    EXPECT_EQ(image.destination, "title.bmp.c");
    EXPECT_EQ(image.palette, "title.pal.c");
    EXPECT_TRUE(image.map.empty());
}

TEST_F(ConversionForm, MapSize256ConvertsTheWholeAreaWithoutAsking) {
    writeImage("ship.png", 100, 60);
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    s.mapSize = 2;
    ASSERT_TRUE(runConversionForm(app, s));
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    MapData map = loadMap("ship");
    EXPECT_EQ(map.width, 32);
    EXPECT_EQ(map.height, 32);
    EXPECT_EQ(app.elements.count(), 3);
}

TEST_F(ConversionForm, OptimizedAsksAboutMultiplesOf8ThenConverts104By64) {
    writeImage("ship.png", 100, 60);
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    t.host.answers = {Answer::Cancel};
    EXPECT_FALSE(runConversionForm(app, s));
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].caption, "Oops");
    EXPECT_EQ(t.host.boxes[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_FALSE(fileExists(dir.file("ship.map.c")));

    t.host.clear();
    t.host.answers = {Answer::Ok};
    ASSERT_TRUE(runConversionForm(app, s));
    ASSERT_EQ(t.host.boxes.size(), 1u);
    MapData map = loadMap("ship");
    EXPECT_EQ(map.width, 13);
    EXPECT_EQ(map.height, 8);
}

TEST_F(ConversionForm, ColourCountZeroRefusedWithAPaletteAcceptedAt15Bits) {
    writeImage("ship.png", 32, 16);
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    for (const char* bad : {"0", "99999", "abc", ""}) {
        t.host.clear();
        s.colors = bad;
        EXPECT_FALSE(runConversionForm(app, s)) << bad;
        ASSERT_EQ(t.host.boxes.size(), 1u) << bad;
        EXPECT_EQ(t.host.lastText(), "The entered color number is invalid.");
        EXPECT_EQ(t.host.lastCaption(), "Oops...");
    }
    EXPECT_EQ(app.elements.count(), 0);

    // The GBA's 15-bit depth has no palette: any count goes.
    int direct = -1;
    const PlatformRecord& p = currentPlatform(app);
    for (int i = 0; i < p.depthCount; ++i)
        if (p.depths[i].paletteKind == 0) direct = i;
    ASSERT_GE(direct, 0);
    t.host.clear();
    s.depth = direct;
    s.colors = "0";
    EXPECT_TRUE(runConversionForm(app, s)) << t.host.lastText();
    EXPECT_EQ(TrouveElement(app, TYPE_PALETTE, "ship"), kElementNotFound);
    EXPECT_NE(TrouveElement(app, TYPE_MOSAIQUE, "ship"), kElementNotFound);
}

TEST_F(ConversionForm, BadSourcesAddNothing) {
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/sub.png");
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("sub.png")));
    EXPECT_FALSE(runConversionForm(app, s));
    EXPECT_EQ(t.host.lastCaption(), "Error");
    dir.write("broken.png", "\x89PNG\r\n\x1a\nrubbish");
    applyBrowsedSource(app, s, dir.path() + "/broken.png");
    t.host.clear();
    EXPECT_FALSE(runConversionForm(app, s));
    EXPECT_FALSE(t.host.boxes.empty());
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_FALSE(fileExists(dir.file("broken.til.c")));

    writeImage("ship.png", 16, 16);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    s.map = "ship\n.map.c";
    t.host.clear();
    EXPECT_FALSE(runConversionForm(app, s));
    EXPECT_EQ(t.host.lastCaption(), "Error");
    s.map = std::string(300, 'm');
    EXPECT_FALSE(runConversionForm(app, s));
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ConversionForm, ImageFormAddsBitmapThenPalette) {
    writeImage("title.png", 24, 16);
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Image);
    applyBrowsedSource(app, s, dir.path() + "/title.png");
    ASSERT_TRUE(runConversionForm(app, s)) << t.host.lastText();
    ASSERT_EQ(app.elements.count(), 2);
    EXPECT_EQ(app.elements.records[0].type(), uint32_t(TYPE_BITMAP));
    EXPECT_EQ(app.elements.records[0].file, "title.bmp.c");
    EXPECT_EQ(app.elements.records[0].baseFile, "title.png");
    EXPECT_EQ(app.elements.records[1].type(), uint32_t(TYPE_PALETTE));

    t.host.clear();
    applyBrowsedSource(app, s, dir.path() + "/missing.png");
    EXPECT_FALSE(runConversionForm(app, s));
    EXPECT_EQ(t.host.lastText(), "Unable to load the specified bitmap file");
}

TEST_F(ConversionForm, ExistingTilesetIsReusedAsTheTilesetFile) {
    writeImage("a.png", 32, 16);
    writeImage("b.png", 32, 16);
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Tilemap);
    applyBrowsedSource(app, s, dir.path() + "/a.png");
    ASSERT_TRUE(runConversionForm(app, s));
    applyBrowsedSource(app, s, dir.path() + "/b.png");
    s.existingTileset = ExistingReuse;
    s.existingPalette = ExistingReuse;
    ASSERT_TRUE(runConversionForm(app, s)) << t.host.lastText();
    EXPECT_FALSE(fileExists(dir.file("b.til.c")));
    EXPECT_TRUE(fileExists(dir.file("b.map.c")));
    EXPECT_EQ(countElementsOfType(app, TYPE_MOSAIQUE), 1);
    EXPECT_EQ(countElementsOfType(app, TYPE_CARTE), 2);
}

}  // namespace

// The options page lists every quantization method: opening it and pressing OK keeps method 3.
TEST_F(ConversionForm, ConversionPageKeepsTheAccurateMethod) {
    app.convert.quantization = 3;
    ConversionPageState state = loadConversionPage(app);
    EXPECT_EQ(state.method, 3);
    applyConversionPage(app, state);
    EXPECT_EQ(app.convert.quantization, 3);
}

TEST_F(ConversionForm, AnEmptyPaletteDestinationIsRefusedBeforeAnyFileIsWritten) {
    writeImage("ship.png", 16, 16);
    for (ConversionFormKind kind : {ConversionFormKind::Tilemap, ConversionFormKind::Image}) {
        ConversionFormState s = defaultConversionForm(app, kind);
        applyBrowsedSource(app, s, dir.path() + "/ship.png");
        s.palette.clear();  // the 8-bit depth has a palette, and no existing one is chosen
        t.host.clear();
        EXPECT_FALSE(runConversionForm(app, s));
        EXPECT_EQ(t.host.lastCaption(), "Oops...");
        EXPECT_EQ(app.elements.count(), 0);
        EXPECT_FALSE(fileExists(dir.file("ship.til.c")));
        EXPECT_FALSE(fileExists(dir.file("ship.bmp.c")));
        EXPECT_FALSE(fileExists(dir.file("ship.map.c")));
    }
    // Without a palette in the depth (15 bits) no palette file is needed.
    ConversionFormState s = defaultConversionForm(app, ConversionFormKind::Image);
    applyBrowsedSource(app, s, dir.path() + "/ship.png");
    s.palette.clear();
    s.depth = 2;
    s.colors = "0";
    t.host.clear();
    EXPECT_TRUE(runConversionForm(app, s)) << t.host.lastText();
    EXPECT_EQ(app.elements.count(), 1);
}
