// The accurate method and error diffusion through the conversion command: the bitmap pipeline,
// the 8-bit tileset and the sub-palette path, read back from the written files.
#include <gtest/gtest.h>

#include <algorithm>

#include "conv_test_helpers.h"
#include "convert/conv_command.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

// A smooth picture with grain: about 1200 colours at 5 bits per component.
uint32_t photo(int x, int y) {
    const uint32_t n = (uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u);
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return c(x * 4 + int(n % 23)) << 16 | c(y * 5 + int((n >> 5) % 19)) << 8 | c(250 - x * 2 - y * 2 + int((n >> 11) % 29));
}

class ConvAccurate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        ASSERT_TRUE(writePicture(dir.file("photo.png"), 48, 40, photo));
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
    const ElementRecord& element(uint32_t type, const std::string& name) {
        const int index = TrouveElement(app, type, name);
        EXPECT_GE(index, 0) << name;
        return app.elements.records[size_t(std::max(index, 0))];
    }
    int paletteCount(const std::string& name, PaletteBuffer& palette) {
        int depth = 0;
        return currentPlatform(app).loadPalette(app, 0, &depth, palette, element(TYPE_PALETTE, name));
    }
    // Summed squared error (5-bit units) of a bitmap rebuilt from its files.
    uint64_t bitmapError(const std::string& name) {
        PaletteBuffer palette{};
        BitmapData bitmap;
        int depth = -1;
        EXPECT_EQ(currentPlatform(app).loadBitmap(app, 0, depth, &palette, bitmap, element(TYPE_BITMAP, name), false), 1);
        EXPECT_EQ(bitmap.width, 48);
        uint64_t total = 0;
        for (int y = 0; y < bitmap.height; ++y)
            for (int x = 0; x < bitmap.width; ++x) {
                const uint32_t want = photo(x, y), got = palette[bitmap.pixels[size_t(y * 48 + x)] & 255];
                for (int shift : {0, 8, 16}) {
                    const int d = int((want >> shift) & 255) / 8 - int((got >> shift) & 255);
                    total += uint64_t(d * d);
                }
            }
        return total;
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(ConvAccurate, BitmapPipelineUsesTheChosenMethodWithoutAsking) {
    conv("bmp src=photo dst=standard col=64");  // asks about its filter: OK is the default answer
    ASSERT_FALSE(host.boxes.empty());
    host.clear();
    runScriptText(app, "convert.mode = accurate");
    conv("bmp src=photo dst=accurate col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    PaletteBuffer palette{};
    EXPECT_EQ(paletteCount("accurate", palette), 64);  // 63 colours and the zero colour
    EXPECT_LT(bitmapError("accurate") * 3 / 2, bitmapError("standard"));

    runScriptText(app, "convert.dither = 1");
    conv("bmp src=photo dst=dithered col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_GT(bitmapError("dithered"), 0u);
    EXPECT_NE(bitmapError("dithered"), bitmapError("accurate"));
}

TEST_F(ConvAccurate, TilesetsAndSubPalettesWithTheAccurateMethod) {
    runScriptText(app, "convert.mode pr\xE9" "cis");
    conv("tset src=photo dst=eight");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    PaletteBuffer palette{};
    EXPECT_EQ(paletteCount("eight", palette), 255);

    conv("tset src=photo dst=four +16c col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(paletteCount("four", palette), 64);
    MapData map;
    ASSERT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, element(TYPE_CARTE, "four")), 1);
    uint32_t groups = 0;
    for (uint32_t cell : map.cells) groups |= 1u << (cell >> 12);
    EXPECT_EQ(groups, 0xFu);  // all four sub-palettes in use

    runScriptText(app, "convert.dither = 1");
    conv("tset src=photo dst=fourdithered +16c col=64");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(paletteCount("fourdithered", palette), 64);
}
