// Packed tilesets, maps and bitmaps written through the templates and read back: every depth and
// map type with both methods, the built-in format's text, user formats, and damaged files.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "formats/compression.h"
#include "formats/format_table.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

constexpr Packing kMethods[] = {Packing::Lz77, Packing::Rle};

class PackedLoadSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        pal = test::addElement(app, TYPE_PALETTE, dir.file("hero.pal.c"), "hero");
        til = test::addElement(app, TYPE_MOSAIQUE, dir.file("hero.til.c"), "hero");
        map = test::addElement(app, TYPE_CARTE, dir.file("hero.map.c"), "hero");
        bmp = test::addElement(app, TYPE_BITMAP, dir.file("hero.bmp.c"), "hero");
        for (int i = 0; i < 16; ++i) colours[size_t(i)] = packBgra(i, 31 - i, i * 2 % 32, 255);
        ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
    }
    PlatformRecord& platform() { return currentPlatform(app); }

    // Pixels of a depth with runs and repeats, so both methods have something to do.
    static std::vector<uint32_t> pixelsFor(int depth, size_t count) {
        std::vector<uint32_t> pixels(count);
        for (size_t i = 0; i < count; ++i) {
            uint32_t v = uint32_t(i % 50 < 20 ? 3 : (i * 7) % 23);
            pixels[i] = depth == 0 ? v & 15 : depth == 1 ? v & 255 : depth == 2 ? packBgra(v & 31, (v >> 1) & 31, 5, 255)
                                                                                 : v * 0x01030507u;
        }
        return pixels;
    }

    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    test::TempDir dir;
    ElementRecord pal, til, map, bmp;
    PaletteBuffer colours{};
};

TEST_F(PackedLoadSaveTest, TilesetsOfEveryDepthComeBackWithBothMethods) {
    for (Packing method : kMethods)
        for (int depth = 0; depth < 4; ++depth) {
            SCOPED_TRACE(testing::Message() << packingName(method) << " depth " << depth);
            std::vector<uint32_t> pixels = pixelsFor(depth, 5 * 64);
            ASSERT_EQ(platform().saveTileset(app, savePackingFlags(method), depth, til, &pal, pixels.data(), 5, 8, 8), 1);
            const std::string text = test::readFile(til.file);
            EXPECT_NE(text.find(std::string("//Compression: ") + packingName(method) + ", "), std::string::npos);
            EXPECT_NE(text.find("const unsigned long hero_tiles["), std::string::npos);
            std::vector<uint32_t> back;
            PaletteBuffer palette{};
            int depthRead = -1;
            app.platforms.lastTilePacking = 0;
            EXPECT_EQ(platform().loadTileset(app, 0, depthRead, &palette, back, til, false), 5);
            EXPECT_EQ(depthRead, depth);
            EXPECT_EQ(back, pixels);
            EXPECT_EQ(app.platforms.lastTilePacking, int(method));
            if (depth < 2) {
                EXPECT_EQ(palette[5], colours[5]);
            }
            EXPECT_TRUE(host.boxes.empty()) << host.lastText();
        }
}

TEST_F(PackedLoadSaveTest, MapsOfTheThreeTypesComeBackAndKeepTheirType) {
    std::vector<uint32_t> tiles = pixelsFor(1, 4 * 64);
    ASSERT_EQ(platform().saveTileset(app, 0, 1, til, &pal, tiles.data(), 4, 8, 8), 1);
    const int types[] = {MapRotation, MapText, MapExtended};
    for (Packing method : kMethods)
        for (int type : types) {
            SCOPED_TRACE(testing::Message() << packingName(method) << " type " << type);
            std::vector<uint32_t> cells(13 * 5);
            for (size_t i = 0; i < cells.size(); ++i)
                cells[i] = type == MapRotation ? (i / 4) & 0xFF : type == MapText ? ((i / 3) * 37) & 0xFFFF : uint32_t(i / 2) * 0x01020304u;
            setCurrentMapType(app, type);
            ASSERT_EQ(platform().saveMap(app, savePackingFlags(method), map, &til, 13, 5, cells.data()), 1);
            setCurrentMapType(app, type == MapText ? MapRotation : MapText);
            MapData back;
            std::vector<uint32_t> tilesBack;
            PaletteBuffer palette{};
            EXPECT_EQ(platform().loadMap(app, 0, &tilesBack, &palette, back, map), 1);
            EXPECT_EQ(back.mapType, type);
            EXPECT_EQ(currentMapType(app), type);
            EXPECT_EQ(back.packing, int(method));
            EXPECT_EQ(back.width, 13);
            EXPECT_EQ(back.height, 5);
            EXPECT_EQ(back.cells, cells);
            EXPECT_EQ(tilesBack, tiles);
            EXPECT_TRUE(host.boxes.empty()) << host.lastText();
        }
}

TEST_F(PackedLoadSaveTest, BitmapsOfEveryDepthComeBack) {
    for (Packing method : kMethods)
        for (int depth = 0; depth < 4; ++depth) {
            SCOPED_TRACE(testing::Message() << packingName(method) << " depth " << depth);
            std::vector<uint32_t> pixels = pixelsFor(depth == 0 ? 1 : depth, 17 * 9);
            ASSERT_EQ(platform().saveBitmap(app, savePackingFlags(method), depth, bmp, &pal, pixels.data(), 17, 9), 1);
            BitmapData back;
            int depthRead = -1;
            EXPECT_EQ(platform().loadBitmap(app, 0, depthRead, nullptr, back, bmp, false), 1);
            EXPECT_EQ(depthRead, depth);
            EXPECT_EQ(back.packing, int(method));
            EXPECT_EQ(back.width, 17);
            EXPECT_EQ(back.pixels, pixels);
            EXPECT_TRUE(host.boxes.empty()) << host.lastText();
        }
}

TEST_F(PackedLoadSaveTest, GameBoyTilesetsComeBack) {
    ASSERT_TRUE(selectPlatformByName(app, "Game Boy, Nintendo"));
    std::vector<uint32_t> pixels = pixelsFor(1, 3 * 64);
    for (uint32_t& p : pixels) p &= 3;
    for (Packing method : kMethods) {
        ASSERT_EQ(platform().saveTileset(app, savePackingFlags(method), 0, til, &pal, pixels.data(), 3, 8, 8), 1);
        std::vector<uint32_t> back;
        int depth = 0;
        EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), 3);
        EXPECT_EQ(back, pixels);
    }
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(PackedLoadSaveTest, StandardFormatWritesOneArrayOfWordsWithItsSizes) {
    std::vector<uint32_t> cells(4 * 2, 0x0001);
    setCurrentMapType(app, MapText);
    ASSERT_EQ(platform().saveMap(app, savePackingFlags(Packing::Rle), map, &til, 4, 2, cells.data()), 1);
    // 16 bytes 01 00 01 00 ... hold no run: one literal block (0x0F and the 16 bytes) after the
    // header 0x30 | 16 << 8, 21 bytes padded to 24: 6 words.
    const std::string text = test::readFile(map.file);
    const std::string expected =
        "//M\xE9moire: 24 octets\r\n"
        "//Compression: RLE, 16 octets\r\n"
        "\r\nconst unsigned long hero_map[6]=\t{\r\n"
        "0x00001030, 0x0100010f, 0x01000100, 0x01000100, 0x01000100, 0x00000000};\r\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(PackedLoadSaveTest, UserFormatWithThePackingVariablesRoundTrips) {
    FormatRecord f = app.formats.current;
    f.name = "asm";
    FormatSection& s = f.sections[kSectionTileset];
    s.declaration = "@ %packing% %unpacked% %depth% %size% %tilex% %tiley%\r\n";
    s.element3 = ".word 0x%08X\r\n";
    s.nEvery = 0;
    s.end = "@ end\r\n";
    app.formats.records.push_back(f);
    applyFormat(app, int(app.formats.records.size()) - 1);
    std::vector<uint32_t> pixels = pixelsFor(1, 2 * 64);
    ASSERT_EQ(platform().saveTileset(app, savePackingFlags(Packing::Lz77), 1, til, &pal, pixels.data(), 2, 8, 8), 1);
    EXPECT_EQ(test::readFile(til.file).rfind("@ LZ77 128 8 2 8 8\r\n.word 0x00008010\r\n", 0), 0u);
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(platform().loadTileset(app, 0, depth, nullptr, back, til, false), 2);
    EXPECT_EQ(back, pixels);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(PackedLoadSaveTest, FormatThatCannotSayThePackingIsRefusedAndWritesNothing) {
    FormatRecord f = app.formats.current;
    f.name = "plain";
    f.sections[kSectionMap].declaration = "map %sizex% %sizey%\r\n";
    app.formats.records.push_back(f);
    applyFormat(app, int(app.formats.records.size()) - 1);
    std::vector<uint32_t> cells(4, 1);
    EXPECT_EQ(platform().saveMap(app, savePackingFlags(Packing::Lz77), map, &til, 2, 2, cells.data()), 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.lastText().find("\"plain\" cannot hold packed data"), std::string::npos) << host.lastText();
    EXPECT_EQ(host.lastCaption(), map.file);
    EXPECT_FALSE(std::filesystem::exists(map.file));
}

TEST_F(PackedLoadSaveTest, DamagedPackedDataAreRefusedWithAMessage) {
    std::vector<uint32_t> tiles(64, 1);
    ASSERT_EQ(platform().saveTileset(app, 0, 1, til, &pal, tiles.data(), 1, 8, 8), 1);
    std::vector<uint32_t> cells(6 * 6);
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t(i % 7);
    setCurrentMapType(app, MapText);
    ASSERT_EQ(platform().saveMap(app, savePackingFlags(Packing::Lz77), map, &til, 6, 6, cells.data()), 1);
    const std::string good = test::readFile(map.file);
    struct Case {
        std::string from, to, message;
    };
    const size_t header = good.find("0x00004810");  // 72 bytes, LZ77
    ASSERT_NE(header, std::string::npos) << good;
    const Case cases[] = {
        // The header promises more than the stream holds (and than the map needs).
        {"0x00004810", "0x00ffff10", "end before the 65535 bytes"},
        // A size that fits no entry width of a 6 x 6 map.
        {"0x00004810", "0x00004010", "(64 bytes) do not fit a map of 6 x 6"},
        // A header of neither method.
        {"0x00004810", "0x00004820", "header of LZ77 packing"},
        // An unknown method name.
        {"Compression: LZ77", "Compression: LZ78", "Unknown packing method: LZ78"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        std::string bad = good;
        bad.replace(bad.find(c.from), c.from.size(), c.to);
        test::writeFile(map.file, bad);
        host.clear();
        MapData back;
        EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 0);
        EXPECT_NE(host.lastText().find(c.message), std::string::npos) << host.lastText();
        EXPECT_EQ(host.lastCaption(), map.file);
    }
    // The stream cut after its first words: the header promises more than what is left.
    std::string cut = good.substr(0, header + 24) + "};\r\n";
    test::writeFile(map.file, cut);
    host.clear();
    MapData back;
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 0);
    EXPECT_NE(host.lastText().find("end before the 72 bytes"), std::string::npos) << host.lastText();
    // A first item that refers back before the start: flag 0x80, reference at distance 1.
    std::string back0 = good;
    back0.replace(header + 12, 10, "0x00000080");
    test::writeFile(map.file, back0);
    host.clear();
    EXPECT_EQ(platform().loadMap(app, 0, nullptr, nullptr, back, map), 0);
    EXPECT_NE(host.lastText().find("before their start"), std::string::npos) << host.lastText();
}

}  // namespace
}  // namespace ts

namespace ts {
namespace {

// The packed seeds of the loader fuzz targets are sound files (a seed that fails to load would
// only exercise the refusal paths).
TEST(PackedFuzzSeeds, LoadAsWritten) {
    test::TestApp t;
    App& app = t.app;
    test::TempDir dir;
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    ElementRecord pal = test::addElement(app, TYPE_PALETTE, "p.pal.c", "p");
    ElementRecord til = test::addElement(app, TYPE_MOSAIQUE, "t.til.c", "t");
    std::vector<uint32_t> colours(16, packBgra(1, 2, 3, 255)), pixels(4 * 64, 1);
    ASSERT_EQ(currentPlatform(app).savePalette(app, 0, pal, colours.data(), 16), 1);
    ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 1, til, &pal, pixels.data(), 4, 8, 8), 1);
    const std::string seeds = std::string(TS_SOURCE_DIR) + "/fuzz/seeds/";
    for (const char* name : {"lz77", "rle"}) {
        SCOPED_TRACE(name);
        dir.write("m.map.c", test::readFile(seeds + "fuzz_load_map/" + name).substr(1));
        MapData map;
        ASSERT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, test::makeElement(TYPE_CARTE, "m.map.c", "m")), 1);
        EXPECT_EQ(map.cells, (std::vector<uint32_t>{1, 2, 3, 0x1404}));
    }
    dir.write("s.til.c", test::readFile(seeds + "fuzz_load_tileset/lz77").substr(1));
    std::vector<uint32_t> tiles;
    int depth = 0;
    EXPECT_EQ(currentPlatform(app).loadTileset(app, 0, depth, nullptr, tiles, test::makeElement(TYPE_MOSAIQUE, "s.til.c", "s"), false), 1);
    EXPECT_EQ(tiles, std::vector<uint32_t>(64, 1));
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
}

}  // namespace
}  // namespace ts
