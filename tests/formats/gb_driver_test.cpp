// The Game Boy driver: planar tiles, shade order, monochrome mode and its presets.
#include <gtest/gtest.h>

#include <vector>

#include "formats/format_table.h"
#include "formats/gb_driver.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "load_save_test_support.h"
#include "script/interpreter.h"

namespace ts {
namespace {

class GameBoyTest : public ::testing::Test {
protected:
    void SetUp() override {
        selectPlatform(app, kPlatformGameBoy);
        pal = test::addElement(app, TYPE_PALETTE, dir.file("gb.pal.c"), "gb");
        til = test::addElement(app, TYPE_MOSAIQUE, dir.file("gb.til.c"), "gb");
    }
    PlatformRecord& platform() { return currentPlatform(app); }
    // The element bytes of the saved tileset, in order.
    std::vector<int> savedBytes() {
        std::string text = test::readFile(til.file);
        std::vector<int> bytes;
        size_t at = text.find("=\t{");
        while ((at = text.find("0x", at)) != std::string::npos) {
            bytes.push_back(std::stoi(text.substr(at + 2, 2), nullptr, 16));
            at += 2;
        }
        return bytes;
    }

    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    test::TempDir dir;
    ElementRecord pal, til;
};

TEST_F(GameBoyTest, RowIsWrittenAsTwoBitPlanes) {
    std::vector<uint32_t> pixels(64, 0);
    const uint32_t row[] = {0, 1, 2, 3, 0, 1, 2, 3};
    for (int x = 0; x < 8; ++x) pixels[size_t(x)] = row[x];
    pixels[8] = 7;  // only the low two bits count
    ASSERT_EQ(platform().saveTileset(app, 0, 0, til, &pal, pixels.data(), 1, 8, 8), 1);
    std::vector<int> bytes = savedBytes();
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes[0], 0x55);
    EXPECT_EQ(bytes[1], 0x33);
    EXPECT_EQ(bytes[2], 0x80);
    EXPECT_EQ(bytes[3], 0x80);
    std::string text = test::readFile(til.file);
    EXPECT_NE(text.find("//Tileset 4 bits (\"" + pal.file + "\")"), std::string::npos) << text;
    EXPECT_NE(text.find("//M\xE9moire: 16 octets"), std::string::npos);
    EXPECT_NE(text.find("const unsigned char gb_tiles[16]"), std::string::npos);
}

TEST_F(GameBoyTest, EveryXComesBeforeRowsStartingAtMultiplesOfNEvery) {
    std::vector<uint32_t> pixels(64 * 2, 1);
    ASSERT_EQ(platform().saveTileset(app, 0, 0, til, nullptr, pixels.data(), 2, 8, 8), 1);
    std::string text = test::readFile(til.file);
    std::string data = text.substr(text.find("=\t{\r\n") + 5);
    // 32 bytes, 12 per line: line breaks after bytes 12 and 24.
    size_t first = data.find("\r\n");
    size_t second = data.find("\r\n", first + 2);
    EXPECT_EQ(std::count(data.begin(), data.begin() + long(first), 'x'), 12);
    EXPECT_EQ(std::count(data.begin() + long(first), data.begin() + long(second), 'x'), 12);
    EXPECT_NE(data.find("};\r\n"), std::string::npos);
}

TEST_F(GameBoyTest, ShadeOrderSortsFromBrightestToDarkest) {
    const uint32_t palette[4] = {packBgra(31, 31, 31, 255), packBgra(0, 0, 0, 255), packBgra(20, 20, 20, 255),
                                 packBgra(8, 8, 8, 255)};
    std::array<int, 4> order = shadeOrder(palette);
    EXPECT_EQ(order, (std::array<int, 4>{0, 2, 3, 1}));
    // Blue weighs more than red in the key.
    const uint32_t tinted[4] = {packBgra(0, 0, 31, 255), packBgra(31, 0, 0, 255), packBgra(0, 0, 0, 255),
                                packBgra(31, 31, 31, 255)};
    EXPECT_EQ(shadeOrder(tinted), (std::array<int, 4>{3, 1, 0, 2}));
}

TEST_F(GameBoyTest, MonochromeTilesAreWrittenInShadeOrderWithoutLink) {
    app.platforms.workingPalette[0] = packBgra(31, 31, 31, 255);
    app.platforms.workingPalette[1] = packBgra(0, 0, 0, 255);
    app.platforms.workingPalette[2] = packBgra(20, 20, 20, 255);
    app.platforms.workingPalette[3] = packBgra(8, 8, 8, 255);
    runScriptText(app, "gbc.dmgmode = true");
    ASSERT_EQ(app.platforms.gbc.dmgMode, 1);
    std::vector<uint32_t> pixels(64, 0);
    pixels[0] = 1;  // black: shade 3
    pixels[1] = 2;  // light grey: shade 1
    ASSERT_EQ(platform().saveTileset(app, 0, 0, til, &pal, pixels.data(), 1, 8, 8), 1);
    std::vector<int> bytes = savedBytes();
    EXPECT_EQ(bytes[0], 0xC0);  // bit 0 of shades 3 and 1
    EXPECT_EQ(bytes[1], 0x80);  // bit 1 of shade 3 only
    EXPECT_NE(test::readFile(til.file).find("//Tileset 4 bits (\"\")"), std::string::npos);
}

TEST_F(GameBoyTest, MonochromePaletteIsNeitherWrittenNorRead) {
    test::writeFile(pal.file, "untouched");
    app.platforms.gbc.dmgMode = 1;
    const uint32_t colours[2] = {packBgra(1, 2, 3, 255), packBgra(4, 5, 6, 255)};
    EXPECT_EQ(platform().savePalette(app, 0, pal, colours, 2), 0);
    EXPECT_EQ(test::readFile(pal.file), "untouched");
    storeGameBoyPanelState(app, GameBoyPanelState{true, int(DmgPreset::Dmg)});
    PaletteBuffer palette{};
    int depth = -1;
    EXPECT_EQ(platform().loadPalette(app, 0, &depth, palette, pal), 4);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(bgraRed(palette[0]), 26);
    EXPECT_EQ(bgraGreen(palette[0]), 27);
    EXPECT_EQ(bgraBlue(palette[0]), 6);
    EXPECT_EQ(bgraRed(palette[3]), 0x28 >> 3);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(GameBoyTest, PresetsAndStartUpPalette) {
    EXPECT_EQ(app.platforms.gbc.dmgPalette, dmgPresetColors(DmgPreset::Pocket));
    EXPECT_EQ(dmgPresetColors(DmgPreset::Pocket)[1], 0xFFAAAAAAu);
    EXPECT_EQ(dmgPresetColors(DmgPreset::Light)[0], 0xFF00E7FFu);
    storeGameBoyPanelState(app, GameBoyPanelState{false, -1});  // "(choose...)" keeps the palette
    EXPECT_EQ(app.platforms.gbc.dmgPalette, dmgPresetColors(DmgPreset::Pocket));
}

TEST_F(GameBoyTest, TilesetsRoundTripAndDepthThreeIsTheSpriteDepth) {
    const uint32_t colours[4] = {packBgra(1, 1, 1, 255), packBgra(2, 2, 2, 255), packBgra(3, 3, 3, 255),
                                 packBgra(4, 4, 4, 255)};
    ASSERT_EQ(platform().savePalette(app, 0, pal, colours, 4), 1);
    std::vector<uint32_t> pixels(3 * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 5 + i / 7) & 3;
    for (int depth : {0, 1}) {
        SCOPED_TRACE(depth);
        setCurrentDepthIndex(app, depth);
        ASSERT_EQ(platform().saveTileset(app, 0, depth, til, &pal, pixels.data(), 3, 8, 8), 1);
        std::vector<uint32_t> back;
        PaletteBuffer palette{};
        int depthRead = -1;
        EXPECT_EQ(platform().loadTileset(app, 0, depthRead, &palette, back, til, false), 3);
        EXPECT_EQ(depthRead, depth);
        EXPECT_EQ(back, pixels);
        // Colour 0 becomes transparent only at the sprite depth.
        EXPECT_EQ(palette[0], depth == 1 ? 0u : colours[0]);
        EXPECT_EQ(palette[2], colours[2]);
    }
    EXPECT_NE(test::readFile(til.file).find("//Tileset 3 bits"), std::string::npos);
}

TEST_F(GameBoyTest, PaletteColourOrderIsFixed) {
    app.platforms.gba.revColorOrder = 1;
    const uint32_t red = packBgra(0, 0, 31, 255);
    ASSERT_EQ(platform().savePalette(app, 0, pal, &red, 1), 1);
    EXPECT_NE(test::readFile(pal.file).find("0x001f};"), std::string::npos);
}

TEST_F(GameBoyTest, SettingsLine) {
    std::string out;
    app.platforms.gbc.dmgMode = 1;
    platform().writeSettings(app, 0, out);
    EXPECT_EQ(out, "  GBC.dmgmode = true\n");
    EXPECT_EQ(platform().onConvert(app, 0), 1);
}

}  // namespace
}  // namespace ts
