// exportimage: elements drawn as the preview draws them and saved as images; exporting and
// converting again gives the same data.
#include <gtest/gtest.h>

#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "project/project_commands.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

constexpr uint32_t kMask = 0xFF00FE;

class ExportImage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        app.system.messages = 0;
        // A 64 x 32 picture of 5-bit-exact colours with a transparent corner.
        ASSERT_TRUE(writePicture("level.png", 64, 32, [](int x, int y) -> uint32_t {
            if (x < 8 && y < 8) return kMask;
            return uint32_t(((x / 8) * 4 % 32) * 8) << 16 | uint32_t(((y / 4) % 8) * 24) << 8 | uint32_t((x + y) % 4 * 64);
        }));
    }
    bool writePicture(const std::string& file, int width, int height, const std::function<uint32_t(int, int)>& colour) {
        Surface s;
        if (!createSurface(s, width, height)) return false;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) s.at(x, y) = colour(x, y);
        return saveImageFile(s, {}, dir.file(file));
    }
    void run(void (*command)(App&, char*), const std::string& args) {
        std::string text = args;
        command(app, text.data());
    }
    Surface image(const std::string& file) {
        DecodedImage decoded;
        EXPECT_EQ(decodeImageFile(dir.file(file), decoded), DecodeResult::Ok) << file;
        return decoded.surface;
    }
    static bool samePixels(const Surface& a, const Surface& b) {
        if (a.width != b.width || a.height != b.height) return false;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if ((a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) return false;
        return true;
    }
    // The data files with the element names taken out.
    std::string dataOf(const std::string& base) {
        std::string all;
        for (const char* ext : {".til.c", ".map.c", ".pal.c"}) {
            std::string text = readFile(dir.file(base + ext));
            for (size_t at; (at = text.find(base)) != std::string::npos;) text.replace(at, base.size(), "@");
            all += text;
        }
        return all;
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(ExportImage, MapIsTheSourcePictureAndConvertsToTheSameData) {
    run(cmdConv, "tset src=level");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    run(cmdExportImage, "\"level\", \"out.png\"");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_TRUE(samePixels(image("out.png"), image("level.png")));
    run(cmdConv, "tset src=out");
    EXPECT_EQ(dataOf("out"), dataOf("level"));
}

TEST_F(ExportImage, MultiPaletteMapWithMirrorsDrawsAsTheConsole) {
    app.system.emulGba = 1;
    // Left half and its mirror image on the right.
    ASSERT_TRUE(writePicture("mirror.png", 64, 16, [](int x, int y) -> uint32_t {
        const int sx = x < 32 ? x : 63 - x;
        return uint32_t((sx * sx % 3) * 64) << 16 | uint32_t((y % 4) * 64) << 8 | uint32_t((sx / 8) * 64);
    }));
    run(cmdConv, "tset src=mirror +16c col=128 +flip");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    run(cmdExportImage, "\"mirror\", \"mirror-out.bmp\"");
    EXPECT_TRUE(samePixels(image("mirror-out.bmp"), image("mirror.png")));
}

TEST_F(ExportImage, TilesetPaletteAndBitmap) {
    run(cmdConv, "tset src=level");
    run(cmdExportImage, "\"level\", \"tiles.png\", tileset");
    const Surface tiles = image("tiles.png");
    const Surface source = image("level.png");
    ASSERT_EQ(tiles.width, 256);
    ASSERT_EQ(tiles.height, 8);
    // Tile 0 is the top-left one, transparent pixels in the mask colour; tile 1 the next one.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(tiles.at(x, y) & 0xFFFFFF, source.at(x, y) & 0xFFFFFF) << x << "," << y;

    run(cmdExportImage, "\"level\", \"colours.png\", palette");
    const Surface colours = image("colours.png");
    EXPECT_EQ(colours.width, 256);
    EXPECT_EQ(colours.height % 16, 0);
    EXPECT_EQ(colours.at(0, 0) & 0xFFFFFF, kMask);  // colour 0 is the transparent one

    run(cmdConv, "bmp src=level dst=pic");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    run(cmdExportImage, "\"pic\", \"pic.png\"");
    EXPECT_TRUE(samePixels(image("pic.png"), source));
}

TEST_F(ExportImage, TypePicksAmongSharedNamesInEitherLanguage) {
    run(cmdConv, "tset src=level");
    run(cmdExportImage, "\"level\", \"a.png\"");          // the map comes first
    EXPECT_EQ(image("a.png").width, 64);
    run(cmdExportImage, "\"level\", \"b.png\", \"tileset\"");
    EXPECT_EQ(image("b.png").width, 256);
    run(cmdExportImage, "\"level\", \"c.png\", carte");
    EXPECT_EQ(image("c.png").width, 64);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();

    run(cmdExportImage, "\"level\", \"d.png\", sprite");
    EXPECT_EQ(host.lastCaption(), "Erreur d'ex\xE9" "cution du script");
    run(cmdExportImage, "\"nothing\", \"e.png\"");
    EXPECT_NE(host.lastText().find("nothing"), std::string::npos);
    EXPECT_FALSE(fileExists(dir.file("d.png")));
    EXPECT_FALSE(fileExists(dir.file("e.png")));
}

TEST_F(ExportImage, MapSettingsScriptGivesTheEmulationFlag) {
    // Entry 0x400 | t is tile t mirrored: drawn so only with the emulation flag.
    ASSERT_TRUE(writePicture("two.png", 16, 8, [](int x, int y) -> uint32_t {
        const int sx = x < 8 ? x : 15 - x;
        return sx < 3 ? 0xF80000u : sx < 5 ? 0x00F800u : 0x0000F8u;
    }));
    run(cmdConv, "tset src=two +flip");
    ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    run(cmdExportImage, "\"two\", \"off.png\"");
    // Without emulation the entry 0x400 is beyond the tiles: the mask colour shows.
    EXPECT_EQ(image("off.png").at(12, 0) & 0xFFFFFF, kMask);
    dir.write("two.map.spt", "    Maps.Add \"two\", 1\r\n    Maps[1].EmulGBA = true\r\n");
    run(cmdExportImage, "\"two\", \"on.png\"");
    EXPECT_TRUE(samePixels(image("on.png"), image("two.png")));
}
