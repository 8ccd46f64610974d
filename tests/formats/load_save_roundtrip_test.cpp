// Data saved from memory and loaded back through the current format, and the loaders' limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "formats/load_save_common.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

class LoadSaveRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        pal = test::addElement(app, TYPE_PALETTE, dir.file("hero.pal.c"), "hero");
        til = test::addElement(app, TYPE_MOSAIQUE, dir.file("hero.til.c"), "hero");
        map = test::addElement(app, TYPE_CARTE, dir.file("hero.map.c"), "hero");
        for (int i = 0; i < 16; ++i) colours[size_t(i)] = packBgra(i, 31 - i, i * 2 % 32, 255);
    }
    PlatformRecord& platform() { return currentPlatform(app); }
    void savePaletteAndTiles(int depth, const std::vector<uint32_t>& pixels, int tiles) {
        ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
        ASSERT_EQ(platform().saveTileset(app, 0, depth, til, &pal, pixels.data(), tiles, 8, 8), 1);
    }

    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    test::TempDir dir;
    ElementRecord pal, til, map;
    PaletteBuffer colours{};
};

TEST_F(LoadSaveRoundTripTest, PaletteComesBackWithEntryZeroTransparent) {
    colours[3] = packBgra(1, 2, 3, 0);
    ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
    PaletteBuffer back{};
    back.fill(0x12345678);
    int depth = -1;
    EXPECT_EQ(platform().loadPalette(app, 0, &depth, back, pal), 16);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(back[0], 0u);  // the 8-bit depth makes colour 0 transparent black
    for (int i = 1; i < 16; ++i) EXPECT_EQ(back[size_t(i)], colours[size_t(i)]) << i;
    EXPECT_EQ(back[16], 0u);  // the buffer is cleared first
}

TEST_F(LoadSaveRoundTripTest, ReversedColourOrderRoundTripsAndShowsInTheFile) {
    app.platforms.gba.revColorOrder = 1;
    const uint32_t red = packBgra(0, 0, 31, 255);
    ASSERT_EQ(platform().savePalette(app, 0, pal, &red, 1), 1);
    EXPECT_NE(test::readFile(pal.file).find("0x7c00};"), std::string::npos);
    PaletteBuffer back{};
    setCurrentDepthIndex(app, 2);  // no transparent colour 0 at 15 bits
    EXPECT_EQ(platform().loadPalette(app, 0, nullptr, back, pal), 1);
    EXPECT_EQ(back[0], red);
}

TEST_F(LoadSaveRoundTripTest, PaletteOfMoreThan256ColoursLoadsTheFirst256) {
    std::vector<uint32_t> many(300);
    for (size_t i = 0; i < many.size(); ++i) many[i] = packBgra(int(i % 32), int(i / 32), 0, 255);
    ASSERT_EQ(platform().savePalette(app, 0, pal, many.data(), 300), 1);
    PaletteBuffer back{};
    EXPECT_EQ(platform().loadPalette(app, 0, nullptr, back, pal), 256);
    EXPECT_EQ(back[255], many[255]);
}

TEST_F(LoadSaveRoundTripTest, TilesetsOfEveryDepthComeBack) {
    for (int depth = 0; depth < 4; ++depth) {
        SCOPED_TRACE(depth);
        std::vector<uint32_t> pixels(3 * 64);
        for (size_t i = 0; i < pixels.size(); ++i) {
            uint32_t v = uint32_t(i * 7 + depth);
            pixels[i] = depth == 0 ? v & 15 : depth == 1 ? v & 255 : depth == 2 ? packBgra(v & 31, (v >> 2) & 31, 5, 255)
                                                                                 : v * 0x01010101u;
        }
        savePaletteAndTiles(depth, pixels, 3);
        std::vector<uint32_t> back;
        PaletteBuffer palette{};
        int depthRead = -1;
        app.convert.tileX = app.convert.tileY = 16;  // the file's values come back
        EXPECT_EQ(platform().loadTileset(app, 0, depthRead, &palette, back, til, false), 3);
        EXPECT_EQ(depthRead, depth);
        EXPECT_EQ(back, pixels);
        if (depth < 2) {
            EXPECT_EQ(palette[5], colours[5]);  // the linked palette was loaded
        }
        EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    }
}

TEST_F(LoadSaveRoundTripTest, RawFifteenBitTilesStayEncoded) {
    std::vector<uint32_t> pixels(64, packBgra(31, 0, 0, 255));
    savePaletteAndTiles(2, pixels, 1);
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, true), 1);
    EXPECT_EQ(back[0], 0x7C00u);
}

TEST_F(LoadSaveRoundTripTest, LargeTilesCountEightByEightBlocks) {
    std::vector<uint32_t> pixels(2 * 4 * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i % 251);
    ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
    ASSERT_EQ(platform().saveTileset(app, 0, 1, til, &pal, pixels.data(), 2, 16, 16), 1);
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), 8);
    EXPECT_EQ(back, pixels);
    EXPECT_EQ(app.formats.shared.tileX, 16);
}

TEST_F(LoadSaveRoundTripTest, TileLimitAcceptsBlock8192AndRefusesMore) {
    std::vector<uint32_t> pixels(8193 * 64, 1);
    savePaletteAndTiles(1, pixels, 8193);
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), 8193);
    std::string text = test::readFile(til.file);
    size_t at = text.find("8*8*8193");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 8, "8*8*8194");
    test::writeFile(til.file, text);
    back.assign(10, 7);
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), -1);
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(host.lastText(), "The tiles count is greater than available memory. The format is probably wrong...");
    EXPECT_EQ(host.lastCaption(), til.file);
    EXPECT_EQ(host.boxes.back().icon, Icon::Error);
}

TEST_F(LoadSaveRoundTripTest, HugeOrNegativeTileCountsAreRefused) {
    test::writeFile(til.file, "//x\r\n//Converti avec Tilesmithery par Orvane\r\n//Tileset 8 bits (\"\")\r\n"
                              "//Taille: 8*8*2147483647\r\n//M\xE9moire: 1 octets\r\n\r\nconst unsigned char x_tiles[1]=\t{\r\n0x00};\r\n");
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), -1);
    test::writeFile(til.file, "//x\r\n//Converti avec Tilesmithery par Orvane\r\n//Tileset 8 bits (\"\")\r\n"
                              "//Taille: 65536*65536*1\r\n//M\xE9moire: 1 octets\r\n\r\nconst unsigned char x_tiles[1]=\t{\r\n0x00};\r\n");
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), 0);
    EXPECT_EQ(host.lastCaption(), til.file);
}

TEST_F(LoadSaveRoundTripTest, MapsOfTheThreeTypesComeBack) {
    std::vector<uint32_t> pixels(4 * 64, 1);
    savePaletteAndTiles(1, pixels, 4);
    const int types[] = {MapRotation, MapText, MapExtended};
    for (int type : types) {
        SCOPED_TRACE(type);
        std::vector<uint32_t> cells(13 * 5);
        for (size_t i = 0; i < cells.size(); ++i)
            cells[i] = type == MapRotation ? i & 0xFF : type == MapText ? (i * 37) & 0xFFFF : uint32_t(i) * 0x01020304u;
        setCurrentMapType(app, type);
        ASSERT_EQ(platform().saveMap(app, 0, map, &til, 13, 5, cells.data()), 1);
        setCurrentMapType(app, MapText == type ? MapRotation : MapText);
        MapData back;
        std::vector<uint32_t> tiles;
        PaletteBuffer palette{};
        EXPECT_EQ(platform().loadMap(app, 0, &tiles, &palette, back, map), 1);
        EXPECT_EQ(back.mapType, type);
        EXPECT_EQ(currentMapType(app), type);
        EXPECT_EQ(back.width, 13);
        EXPECT_EQ(back.height, 5);
        EXPECT_EQ(back.cells, cells);
        EXPECT_EQ(tiles, pixels);
        EXPECT_EQ(palette[3], colours[3]);
    }
}

TEST_F(LoadSaveRoundTripTest, MapEndingInTheMiddleOfARowKeepsWhatWasRead) {
    std::vector<uint32_t> pixels(64, 1);
    savePaletteAndTiles(1, pixels, 1);
    std::vector<uint32_t> cells = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(platform().saveMap(app, 0, map, &til, 3, 2, cells.data()), 1);
    std::string text = test::readFile(map.file);
    size_t cut = text.find("0x0005");
    ASSERT_NE(cut, std::string::npos);
    test::writeFile(map.file, text.substr(0, cut));
    MapData back;
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 1);
    EXPECT_EQ(back.cells, (std::vector<uint32_t>{1, 2, 3, 4, 0, 0}));
}

TEST_F(LoadSaveRoundTripTest, MapLoadKeepsTheUserTexts) {
    std::vector<uint32_t> pixels(64, 1);
    savePaletteAndTiles(1, pixels, 1);
    uint32_t cell = 0;
    ASSERT_EQ(platform().saveMap(app, 0, map, &til, 1, 1, &cell), 1);
    app.formats.userBuffers[0] = "mine";
    MapData back;
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 1);
    EXPECT_EQ(app.formats.userBuffers[0], "mine");
}

TEST_F(LoadSaveRoundTripTest, MapWithAnUnknownTilesetOrHugeSizeIsRefused) {
    uint32_t cell = 0;
    ElementRecord stranger = test::makeElement(TYPE_MOSAIQUE, "elsewhere.til.c", "x");
    ASSERT_EQ(platform().saveMap(app, 0, map, &stranger, 1, 1, &cell), 1);
    MapData back;
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 0);
    EXPECT_EQ(host.lastText(), "The tileset linked to this file is not in the project: elsewhere.til.c");
    std::string text = test::readFile(map.file);
    size_t at = text.find("[1][1]");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 6, "[100000][100000]");
    test::writeFile(map.file, text);
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 0);
    EXPECT_EQ(host.lastCaption(), map.file);
    EXPECT_TRUE(back.cells.empty());
}

// A size of 0 by two billion holds no cells: the load reads none, and at once (the rows were once
// walked one by one).
TEST_F(LoadSaveRoundTripTest, MapOfNoCellsReadsNothing) {
    std::vector<uint32_t> pixels(64, 1);
    savePaletteAndTiles(1, pixels, 1);
    uint32_t cell = 7;
    ASSERT_EQ(platform().saveMap(app, 0, map, &til, 1, 1, &cell), 1);
    const std::string text = test::readFile(map.file);
    const size_t at = text.find("[1][1]");
    ASSERT_NE(at, std::string::npos);
    for (const char* size : {"[0][2000000000]", "[2000000000][0]"}) {
        std::string changed = text;
        changed.replace(at, 6, size);
        test::writeFile(map.file, changed);
        MapData back;
        platform().loadMap(app, 0, nullptr, nullptr, back, map);
        EXPECT_TRUE(back.cells.empty()) << size;
    }
    OpenedDataFile file;
    file.data = "1,2,3";
    uint32_t cells[1] = {9};
    EXPECT_EQ(readRows(app, file, "%i,", 0, 2000000000, cells), 0);
    EXPECT_EQ(readRows(app, file, "%i,", 2000000000, 0, cells), 0);
    EXPECT_EQ(cells[0], 9u);
}

TEST_F(LoadSaveRoundTripTest, BitmapsComeBack) {
    ElementRecord bmp = test::addElement(app, TYPE_BITMAP, dir.file("b.bmp.c"), "b");
    ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
    for (int depth : {1, 2}) {
        std::vector<uint32_t> pixels(7 * 3);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = depth == 1 ? uint32_t(i * 9) & 255 : packBgra(int(i), 3, 4, 255);
        ASSERT_EQ(platform().saveBitmap(app, 0, depth, bmp, &pal, pixels.data(), 7, 3), 1);
        BitmapData back;
        PaletteBuffer palette{};
        int depthRead = -1;
        EXPECT_EQ(platform().loadBitmap(app, 0, depthRead, &palette, back, bmp, false), 1);
        EXPECT_EQ(depthRead, depth);
        EXPECT_EQ(back.width, 7);
        EXPECT_EQ(back.height, 3);
        EXPECT_EQ(back.pixels, pixels);
    }
}

TEST_F(LoadSaveRoundTripTest, FifteenBitBitmapEndingEarlyDecodesOnlyThePixelsRead) {
    ElementRecord bmp = test::addElement(app, TYPE_BITMAP, dir.file("b.bmp.c"), "b");
    std::vector<uint32_t> pixels(7 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = packBgra(int(i) + 8, 3, 4, 255);
    ASSERT_EQ(platform().saveBitmap(app, 0, 2, bmp, nullptr, pixels.data(), 7, 3), 1);
    std::string text = test::readFile(bmp.file);
    size_t cut = text.rfind('{');
    for (int element = 0; element < 5 && cut != std::string::npos; ++element) cut = text.find("0x", cut + 1);
    ASSERT_NE(cut, std::string::npos) << text;
    test::writeFile(bmp.file, text.substr(0, cut));
    BitmapData back;
    int depthRead = -1;
    EXPECT_EQ(platform().loadBitmap(app, 0, depthRead, nullptr, back, bmp, false), 1);
    std::vector<uint32_t> expected(pixels.size(), 0);
    std::copy(pixels.begin(), pixels.begin() + 4, expected.begin());
    EXPECT_EQ(back.pixels, expected);
}

TEST_F(LoadSaveRoundTripTest, MissingFilesAreReportedWithThePathAsCaption) {
    PaletteBuffer palette{};
    EXPECT_EQ(platform().loadPalette(app, 0, nullptr, palette, pal), 0);
    EXPECT_EQ(host.lastText(), "The palette file doesn't exist.");
    EXPECT_EQ(host.lastCaption(), pal.file);
    std::vector<uint32_t> pixels;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, pixels, til, false), 0);
    EXPECT_EQ(host.lastText(), "The specified tileset file doesn't exist");
    MapData cells;
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, cells, map), 0);
    EXPECT_EQ(host.lastText(), "The specified map file doesn't exist");
}

TEST_F(LoadSaveRoundTripTest, SaveIntoAMissingFolderFailsAndLeavesNothing) {
    ElementRecord lost = test::makeElement(TYPE_PALETTE, dir.file("no/such/folder/p.pal.c"), "p");
    EXPECT_EQ(platform().savePalette(app, 0, lost, colours.data(), 2), 0);
    EXPECT_EQ(host.lastText(), "Unable to open the file for writing.\nThe file name is probably erroneous.");
    EXPECT_EQ(host.lastCaption(), lost.file);
    EXPECT_EQ(host.boxes.back().icon, Icon::Error);
    ElementRecord lostTiles = test::makeElement(TYPE_MOSAIQUE, dir.file("no/t.til.c"), "t");
    std::vector<uint32_t> pixels(64);
    EXPECT_EQ(platform().saveTileset(app, 0, 1, lostTiles, nullptr, pixels.data(), 1, 8, 8), 0);
    EXPECT_EQ(host.lastText(),
              "Unable to open the file for writing.\nMaybe the name is wrong or you don't have access to this directory.");
}

TEST_F(LoadSaveRoundTripTest, SaveReplacesTheFileWithoutLeavingTemporaries) {
    test::writeFile(pal.file, "old content");
    ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 2), 1);
    EXPECT_NE(test::readFile(pal.file).find("hero_palette[2]"), std::string::npos);
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
    EXPECT_EQ(files, 1);
}

TEST_F(LoadSaveRoundTripTest, FilesOverTheLimitAreRefusedNotCut) {
    test::writeFile(pal.file, "x");
    std::filesystem::resize_file(pal.file, (uintmax_t(256) << 20) + 1);
    PaletteBuffer palette{};
    EXPECT_EQ(platform().loadPalette(app, 0, nullptr, palette, pal), 0);
    EXPECT_NE(host.lastText().find("too large"), std::string::npos) << host.lastText();
    EXPECT_EQ(host.lastCaption(), pal.file);
}

}  // namespace
}  // namespace ts
