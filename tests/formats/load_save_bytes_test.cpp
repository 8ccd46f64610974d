// Exact bytes of palette, tileset and map files written with the built-in format.
#include <gtest/gtest.h>

#include <vector>

#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

class LoadSaveBytesTest : public ::testing::Test {
protected:
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    test::TempDir dir;
};

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST_F(LoadSaveBytesTest, ThreeColourPalette) {
    ElementRecord pal = test::makeElement(TYPE_PALETTE, dir.file("hero.pal.c"), "hero");
    const uint32_t colours[] = {packBgra(0, 0, 31, 255), packBgra(0, 31, 0, 255), packBgra(31, 0, 0, 255)};
    ASSERT_EQ(currentPlatform(app).savePalette(app, 0, pal, colours, 3), 1);
    EXPECT_EQ(dir.read("hero.pal.c"),
              "//gfx/hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n//Palette\r\n//Taille: 3\r\n"
              "//M\xE9moire: 6 octets\r\n\r\nconst unsigned short hero_palette[3]=\t{\r\n"
              "0x001f, 0x03e0, 0x7c00};\r\n");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(LoadSaveBytesTest, OneTileAtFourBits) {
    ElementRecord pal = test::makeElement(TYPE_PALETTE, "hero.pal.c", "hero");
    ElementRecord til = test::makeElement(TYPE_MOSAIQUE, dir.file("hero.til.c"), "hero");
    std::vector<uint32_t> pixels(64, 0);
    pixels[0] = 1;
    pixels[1] = 2;
    ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 0, til, &pal, pixels.data(), 1, 8, 8), 1);
    std::string first = "0x21" + repeat(", 0x00", 11) + ",\r\n";
    std::string second = "0x00" + repeat(", 0x00", 11) + ",\r\n";
    std::string last = "0x00" + repeat(", 0x00", 7) + "};\r\n";
    EXPECT_EQ(dir.read("hero.til.c"),
              "//gfx/hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n//Tileset 4 bits (\"hero.pal.c\")\r\n"
              "//Taille: 8*8*1\r\n//M\xE9moire: 32 octets\r\n\r\nconst unsigned char hero_tiles[32]=\t{\r\n" +
                  first + second + last);
}

TEST_F(LoadSaveBytesTest, TwoByTwoTextMap) {
    ElementRecord til = test::makeElement(TYPE_MOSAIQUE, "hero.til.c", "hero");
    ElementRecord map = test::makeElement(TYPE_CARTE, dir.file("hero.map.c"), "hero");
    const uint32_t cells[] = {1, 2, 3, 0x1404};
    ASSERT_EQ(currentMapType(app), MapText);
    ASSERT_EQ(currentPlatform(app).saveMap(app, 0, map, &til, 2, 2, cells), 1);
    EXPECT_EQ(dir.read("hero.map.c"),
              "//gfx/hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n"
              "//Map (\"\",\"hero.til.c\",0,ffffffff)\r\n//Taille: 8*8 * 2*2\r\n//M\xE9moire: 8 octets\r\n\r\n"
              "const unsigned short hero_map[2][2]=\t{\r\n\t{0x0001, 0x0002},\r\n\t{0x0003, 0x1404}\r\n};\r\n");
}

TEST_F(LoadSaveBytesTest, MapRowsBreakEveryEightCellsAndTypesFollowTheMapType) {
    ElementRecord map = test::makeElement(TYPE_CARTE, dir.file("wide.map.c"), "wide");
    std::vector<uint32_t> cells(10, 0xAB);
    setCurrentMapType(app, MapRotation);
    ASSERT_EQ(currentPlatform(app).saveMap(app, 0, map, nullptr, 10, 1, cells.data()), 1);
    std::string text = dir.read("wide.map.c");
    EXPECT_NE(text.find("const unsigned char wide_map[1][10]"), std::string::npos);
    EXPECT_NE(text.find("//M\xE9moire: 10 octets"), std::string::npos);
    EXPECT_NE(text.find("\t{" + repeat("0xab, ", 7) + "0xab,\r\n0xab, 0xab}\r\n};\r\n"), std::string::npos) << text;
    setCurrentMapType(app, MapExtended);
    ASSERT_EQ(currentPlatform(app).saveMap(app, 0, map, nullptr, 10, 1, cells.data()), 1);
    text = dir.read("wide.map.c");
    EXPECT_NE(text.find("const unsigned long wide_map[1][10]"), std::string::npos);
    EXPECT_NE(text.find("0x000000ab, "), std::string::npos);
    EXPECT_NE(text.find("//M\xE9moire: 40 octets"), std::string::npos);
}

TEST_F(LoadSaveBytesTest, FifteenAndThirtyTwoBitTilesUseTheirNumberFormats) {
    ElementRecord til = test::makeElement(TYPE_MOSAIQUE, dir.file("c.til.c"), "c");
    std::vector<uint32_t> pixels(64, packBgra(31, 0, 0, 0));
    ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 2, til, nullptr, pixels.data(), 1, 8, 8), 1);
    std::string text = dir.read("c.til.c");
    EXPECT_NE(text.find("//Tileset 15 bits (\"\")"), std::string::npos) << text;
    EXPECT_NE(text.find("const unsigned short c_tiles[64]=\t{\r\n0xfc00, "), std::string::npos) << text;
    pixels.assign(64, 0x80112233);
    ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 3, til, nullptr, pixels.data(), 1, 8, 8), 1);
    text = dir.read("c.til.c");
    EXPECT_NE(text.find("const unsigned long c_tiles[64]=\t{\r\n0x80112233, "), std::string::npos) << text;
}

TEST_F(LoadSaveBytesTest, BitmapsAreNotNibblePacked) {
    ElementRecord bmp = test::makeElement(TYPE_BITMAP, dir.file("b.bmp.c"), "b");
    std::vector<uint32_t> pixels = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(currentPlatform(app).saveBitmap(app, 0, 0, bmp, nullptr, pixels.data(), 3, 2), 1);
    EXPECT_EQ(dir.read("b.bmp.c"),
              "//gfx/hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n//Bitmap 4 bits (\"\")\r\n"
              "//Taille: 3*2\r\n//M\xE9moire: 6 octets\r\n\r\n"
              "const unsigned char b_bitmap8[2][3]=\t{\r\n0x01, 0x02, 0x03, 0x04, 0x05, 0x06};\r\n");
}

TEST_F(LoadSaveBytesTest, ConversionNameReplacesTheElementName) {
    ElementRecord pal = test::makeElement(TYPE_PALETTE, dir.file("p.pal.c"), "element");
    app.platforms.conversionName = "given";
    const uint32_t colour = packBgra(0, 0, 0, 255);
    ASSERT_EQ(currentPlatform(app).savePalette(app, 0, pal, &colour, 1), 1);
    EXPECT_NE(dir.read("p.pal.c").find("given_palette[1]"), std::string::npos);
}

}  // namespace
}  // namespace ts
