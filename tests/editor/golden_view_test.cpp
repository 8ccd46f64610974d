// Frames of the demo project's pictures, converted with the conv command and opened in the
// editor, compared pixel for pixel with the PNG files under tests/editor/golden/<case>/.
// TS_UPDATE_GOLDEN=1 rewrites them. A map drawn at zoom 1 also equals its source picture wherever
// the conversion was exact (at the 5 bits per component that the console keeps).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/app_state.h"
#include "convert/conv_command.h"
#include "editor/editor_session.h"
#include "editor/map_view_renderer.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

constexpr uint32_t kBackground = 0x3050A0;  // view background of the tests

QImage toImage(const Surface& s) {
    QImage image(s.width, s.height, QImage::Format_RGB32);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) image.setPixel(x, y, 0xFF000000u | (s.at(x, y) & 0xFFFFFFu));
    return image;
}

// Compares a frame with its golden file (or writes the file when asked to).
void expectGolden(const Surface& frame, const std::string& caseName) {
    const std::string folder = std::string(TS_SOURCE_DIR) + "/tests/editor/golden/" + caseName;
    const std::string file = folder + "/frame.png";
    const char* update = std::getenv("TS_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(toImage(frame).save(QString::fromStdString(file), "PNG"));
        return;
    }
    QImage golden(QString::fromStdString(file));
    ASSERT_FALSE(golden.isNull()) << "missing " << file << " (TS_UPDATE_GOLDEN=1 writes it)";
    ASSERT_EQ(golden.width(), frame.width);
    ASSERT_EQ(golden.height(), frame.height);
    int differences = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if ((golden.pixel(x, y) & 0xFFFFFFu) != (frame.at(x, y) & 0xFFFFFFu) && differences++ < 5)
                ADD_FAILURE() << caseName << ": pixel " << x << "," << y << " is " << std::hex << frame.at(x, y)
                              << " instead of " << (golden.pixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(differences, 0) << caseName;
}

class GoldenView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        for (const char* name : {"ship.png", "level.png", "gbtiles.png"})
            dir.write(name, readFile(std::string(TS_SOURCE_DIR) + "/examples/demo/" + name));
        app.system.messages = 0;
        host.memoryAvailable = uint64_t(1) << 32;
        // The mask colour is RGB(255,0,254) by default, as the demo project sets it.
        convertSettings(app).firstTileEmpty = 1;
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
        ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    }
    const ElementRecord& map(const std::string& name) {
        const int index = TrouveElement(app, TYPE_CARTE, name);
        EXPECT_GE(index, 0) << name;
        return app.elements.records[size_t(std::max(index, 0))];
    }
    // Opens a map in the editor with the console's decoding of its entries.
    void open(const std::string& name) {
        EditorDocument& doc = editorDocument(app);
        doc.background = kBackground;
        systemSettings(app).emulGba = 1;
        ASSERT_TRUE(openEditor(app, map(name))) << host.lastText();
        doc.messages.clear();
    }
    Surface frame(int w, int h) {
        Surface s;
        EXPECT_TRUE(createSurface(s, w, h));
        composeView(s, editorDocument(app), true, nullptr, {});
        return s;
    }
    Surface planeFrame() {
        const PlaneRecord& p = editorDocument(app).planes[size_t(editorDocument(app).active)];
        return frame(p.width * p.blockWidth, p.height * p.blockHeight);
    }
    // Compares the frame with the source picture at 5 bits per component; pixels of the mask
    // colour and of `transparent` (the colour that became index 0) show the background. Gives the
    // number of pixels that differ; `compared` gets the number compared.
    int differencesFromSource(const Surface& s, const std::string& picture, int& compared,
                              int64_t transparent = -1, bool report = true) {
        QImage source(QString::fromStdString(dir.file(picture)));
        EXPECT_FALSE(source.isNull());
        compared = 0;
        int mismatches = 0;
        for (int y = 0; y < std::min(source.height(), s.height); ++y)
            for (int x = 0; x < std::min(source.width(), s.width); ++x) {
                const uint32_t src = source.pixel(x, y) & 0xFFFFFFu, drawn = s.at(x, y) & 0xFFFFFFu;
                if (src == 0xFF00FEu || int64_t(src) == transparent) {
                    if (drawn != kBackground && mismatches++ < 3 && report)
                        ADD_FAILURE() << "masked pixel " << x << "," << y;
                    continue;
                }
                ++compared;
                if ((src & 0xF8F8F8u) != (drawn & 0xF8F8F8u) && mismatches++ < 3 && report)
                    ADD_FAILURE() << picture << " pixel " << x << "," << y << ": " << std::hex << drawn << " vs " << src;
            }
        return mismatches;
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(GoldenView, EightBitSpritesheet) {
    conv("tset src=ship");
    open("ship");
    // Depths with a palette (kinds 1 and 2) keep their tiles as palette indices; only kind 0 holds
    // colours. Tiles turned into colours would all be drawn as the background here.
    const PlaneRecord& plane = editorDocument(app).planes[0];
    ASSERT_FALSE(plane.tiles.empty());
    EXPECT_LT(*std::max_element(plane.tiles.begin(), plane.tiles.end()), 256u)
        << "the opener turned the 8-bit tiles (palette kind 1) into colours";
    const Surface s = planeFrame();
    int compared = 0;
    // Up to 255 colours plus the zero colour: exact.
    EXPECT_EQ(differencesFromSource(s, "ship.png", compared), 0);
    EXPECT_GT(compared, 0);
    expectGolden(s, "ship_8bit");
}

TEST_F(GoldenView, FourBitWithPaletteBanks) {
    conv("tset src=level +16c col=64");
    open("level");
    const Surface s = planeFrame();
    // Reduced to 64 colours the conversion is not exact: the frame stays close to the picture.
    QImage source(QString::fromStdString(dir.file("level.png")));
    ASSERT_EQ(source.width(), s.width);
    int64_t error = 0;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint32_t a = source.pixel(x, y), b = s.at(x, y);
            for (int shift : {0, 8, 16}) error += std::abs(int((a >> shift) & 255) - int((b >> shift) & 255));
        }
    EXPECT_LT(error / (int64_t(s.width) * s.height * 3), 16);
    expectGolden(s, "level_4bit_banks");
}

TEST_F(GoldenView, GameBoyMap) {
    runScriptText(app, "platform \"Game Boy, Nintendo\"");
    conv("tset src=gbtiles col=4");
    open("gbtiles");
    expectGolden(planeFrame(), "gameboy");
}

TEST_F(GoldenView, HexModeWithGraphicsUnder) {
    conv("tset src=level +16c col=64");
    open("level");
    setHexMode(editorDocument(app), true);
    expectGolden(frame(128, 96), "level_hex");
    editorDocument(app).options.hexActiveMap = 0;
    editorDocument(app).options.fillZeros = 1;
    expectGolden(frame(128, 96), "level_hex_digits_only");
}

TEST_F(GoldenView, TwoPlanesWithTransparency) {
    conv("tset src=level +16c col=64");
    conv("tset src=ship");
    open("level");
    ASSERT_EQ(openPlane(app, map("ship")), OpenDone);
    EditorDocument& doc = editorDocument(app);
    doc.messages.clear();
    doc.options.transparency = 1;
    doc.options.gridShown = 1;
    expectGolden(frame(160, 96), "level_ship_transparent");
}
