// The conversion command's +lz77 and +rle and the convert.compression setting: packed tilesets,
// maps and bitmaps that load back as the raw conversion does, raw palettes, reuse with util=.
#include <gtest/gtest.h>

#include "conv_test_helpers.h"
#include "convert/conv_command.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class ConvCompression : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        ASSERT_TRUE(writePicture(dir.file("ship.png"), 48, 24, [](int x, int y) {
            return uint32_t(((x / 8) * 0x302010 + (y / 8) * 0x000040 + ((x * y) % 5) * 0x081008) & 0xFFFFFF);
        }));
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
    std::string text(const std::string& name) const { return readFile(dir.file(name)); }
    bool packedWith(const std::string& name, const char* method) const {
        return text(name).find(std::string("//Compression: ") + method + ",") != std::string::npos;
    }
    // The tileset and map of the project's elements from `first` (tileset, palette, map).
    void loadTilesetAndMap(int first, std::vector<uint32_t>& tiles, MapData& map) {
        const PlatformRecord& p = currentPlatform(app);
        int depth = 0;
        EXPECT_GT(p.loadTileset(app, 0, depth, nullptr, tiles, app.elements.records[size_t(first)], false), 0);
        EXPECT_EQ(p.loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(first + 2)]), 1);
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(ConvCompression, PackedConversionLoadsBackLikeTheRawOne) {
    conv("tset src=ship.png dst=raw");
    conv("tset src=ship.png dst=lz +lz77");
    conv("tset src=ship.png dst=rl +rle");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    ASSERT_EQ(app.elements.count(), 9);
    EXPECT_TRUE(packedWith("lz.til.c", "LZ77"));
    EXPECT_TRUE(packedWith("lz.map.c", "LZ77"));
    EXPECT_TRUE(packedWith("rl.til.c", "RLE"));
    EXPECT_TRUE(packedWith("rl.map.c", "RLE"));
    // The palette stays raw, byte for byte.
    EXPECT_EQ(text("lz.pal.c").find("Compression"), std::string::npos);
    EXPECT_EQ(text("raw.pal.c").substr(text("raw.pal.c").find("=")), text("lz.pal.c").substr(text("lz.pal.c").find("=")));
    std::vector<uint32_t> rawTiles, tiles;
    MapData rawMap, map;
    loadTilesetAndMap(0, rawTiles, rawMap);
    for (int first : {3, 6}) {
        SCOPED_TRACE(first);
        loadTilesetAndMap(first, tiles, map);
        EXPECT_EQ(tiles, rawTiles);
        EXPECT_EQ(map.cells, rawMap.cells);
        EXPECT_EQ(map.mapType, rawMap.mapType);
    }
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(ConvCompression, FourBitMultiPaletteAndBitmapsPackToo) {
    app.system.messages = 0;
    conv("tset src=ship.png dst=m4 +16c col=64 +lz77");
    conv("bmp src=ship.png dst=b15 cmode=15 +rle");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(packedWith("m4.til.c", "LZ77"));
    EXPECT_TRUE(packedWith("m4.map.c", "LZ77"));
    EXPECT_TRUE(packedWith("b15.bmp.c", "RLE"));
    const PlatformRecord& p = currentPlatform(app);
    BitmapData bitmap;
    int depth = 0;
    ASSERT_EQ(p.loadBitmap(app, 0, depth, nullptr, bitmap, app.elements.records.back(), false), 1);
    EXPECT_EQ(depth, 2);
    EXPECT_EQ(bitmap.width, 48);
    EXPECT_EQ(bitmap.packing, 2);
}

TEST_F(ConvCompression, SettingChoosesTheDefaultAndArgumentsOverrideIt) {
    runScriptText(app, "convert.compression = rle\n");
    EXPECT_EQ(app.convert.compression, 2);
    conv("tset src=ship.png dst=a");
    EXPECT_TRUE(packedWith("a.til.c", "RLE"));
    conv("tset src=ship.png dst=b +lz77");
    EXPECT_TRUE(packedWith("b.til.c", "LZ77"));
    conv("tset src=ship.png dst=c -rle");
    EXPECT_EQ(text("c.til.c").find("Compression"), std::string::npos);
    conv("tset src=ship.png dst=d -lz77");  // drops only LZ77: the setting's RLE stays
    EXPECT_TRUE(packedWith("d.til.c", "RLE"));
    runScriptText(app, "convert.compactage = 0\n");
    EXPECT_EQ(app.convert.compression, 0);
    runScriptText(app, "convert.compression = 1\n");
    EXPECT_EQ(app.convert.compression, 1);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    runScriptText(app, "convert.compression = huffman\n");
    EXPECT_EQ(app.convert.compression, 1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.lastText().find("Unknown compression: huffman"), std::string::npos);
}

TEST_F(ConvCompression, PackedTilesetAndPaletteAreReusedWithUtilAndUpal) {
    conv("tset src=ship.png dst=first +lz77");
    ASSERT_EQ(app.elements.count(), 3);
    const ElementRecord firstTileset = app.elements.records[0], firstMap = app.elements.records[2];
    const PlatformRecord& p = currentPlatform(app);
    int depth = 0;
    std::vector<uint32_t> tiles;
    const int firstBlocks = p.loadTileset(app, 0, depth, nullptr, tiles, firstTileset, false);
    MapData map;
    EXPECT_EQ(p.loadMap(app, 0, nullptr, nullptr, map, firstMap), 1);

    conv("tset src=ship.png dst=second upal=first util=first +lz77");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    // Every tile of the picture is in the first tileset: the second map uses it as it is, and the
    // tileset, written again packed, keeps its tiles.
    ElementRecord secondMap = firstMap;
    secondMap.file = "second.map.c";
    MapData second;
    EXPECT_EQ(p.loadMap(app, 0, nullptr, nullptr, second, secondMap), 1);
    EXPECT_EQ(second.cells, map.cells);
    EXPECT_TRUE(packedWith("first.til.c", "LZ77"));
    EXPECT_EQ(p.loadTileset(app, 0, depth, nullptr, tiles, firstTileset, false), firstBlocks);
}

TEST_F(ConvCompression, ProjectFileKeepsTheSettingOnlyWhenSet) {
    EXPECT_EQ(projectFileText(app).find("convert.compression"), std::string::npos);
    app.convert.compression = 2;
    const std::string text = projectFileText(app);
    EXPECT_NE(text.find("  convert.compression = 2\n"), std::string::npos);
    writeFile(dir.file("p.tsp"), text);
    TestApp other;
    ASSERT_TRUE(ReadProject(other.app, dir.file("p.tsp")));
    EXPECT_EQ(other.app.convert.compression, 2);
    EXPECT_TRUE(other.host.boxes.empty()) << other.host.lastText();
}
