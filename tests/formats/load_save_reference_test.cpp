// Saves record their element's properties in the reference index file, and loads read them back.
#include <gtest/gtest.h>

#include <vector>

#include "formats/format_commands.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "host/text_file.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

TEST(LoadSaveReferenceTest, TileSizeKeptOnlyInTheReferenceFileComesBack) {
    test::TestApp t;
    App& app = t.app;
    test::TempDir dir;
    projectPaths(app).projectPath = dir.file("projet.tsp");
    // A layout whose header holds no tile size: only the reference record keeps it.
    std::unique_ptr<TextFile> block = TextFile::fromText(
        "tileset {\n declaration = \"TILES %size% %depth% {\\n\"\n ref_info = \"tile %tilex% %tiley%\\n\"\n"
        " ext = \".tt\"\n}\n}\n");
    defineFormatBlock(app, *block, "NoSize");
    ASSERT_TRUE(ChoisitFormat(app, "NoSize"));
    ElementRecord til = test::addElement(app, TYPE_MOSAIQUE, dir.file("big.tt"), "big");
    std::vector<uint32_t> pixels(2 * 4 * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i) & 255;
    ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 1, til, nullptr, pixels.data(), 2, 16, 16), 1);
    EXPECT_EQ(test::readFile(til.file).rfind("TILES 2 8 {\r\n0x00, ", 0), 0u);
    std::string reference = dir.read("projet.ref");
    std::erase(reference, '\r');  // a text file: CR LF line ends
    EXPECT_NE(reference.find("@" + til.file + "@\n tile 16 16\n"), std::string::npos) << reference;

    app.formats.shared.tileX = app.formats.shared.tileY = 8;
    std::vector<uint32_t> back;
    int depth = 0;
    EXPECT_EQ(currentPlatform(app).loadTileset(app, 0, depth, nullptr, back, til, false), 8);
    EXPECT_EQ(back, pixels);
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
}

}  // namespace
}  // namespace ts
