// Maps in the preview and in exported images are drawn by the map editor's own view code: the
// preview equals the editor's frame, and an export applies the map's settings script.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "editor/editor_document.h"
#include "editor/map_view_renderer.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "project/creation_forms.h"
#include "project/element_preview.h"
#include "project/element_table.h"
#include "project/project_commands.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

constexpr uint32_t kMask = 0xFF00FE;
constexpr uint32_t kPanel = 0xEFEFEF;

class MapFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        app.system.messages = 0;
        // 64 x 32, every 8 x 8 tile different, a transparent (mask-coloured) top-left tile.
        ASSERT_TRUE(writePicture("level.png", 64, 32, [](int x, int y) -> uint32_t {
            if (x < 8 && y < 8) return kMask;
            return uint32_t(((x / 8) * 4 % 32) * 8) << 16 | uint32_t(((y / 4) % 8) * 24) << 8 |
                   uint32_t((x + y) % 4 * 64);
        }));
        // A plain plane to put under it.
        ASSERT_TRUE(writePicture("under.png", 64, 32, [](int, int) -> uint32_t { return 0x00F800; }));
    }
    bool writePicture(const std::string& file, int width, int height, const std::function<uint32_t(int, int)>& colour) {
        Surface s;
        if (!createSurface(s, width, height)) return false;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) s.at(x, y) = colour(x, y);
        return saveImageFile(s, {}, dir.file(file));
    }
    void conv(const std::string& args) {
        runConversion(app, args.c_str());
        ASSERT_TRUE(host.boxes.empty()) << host.lastText();
    }
    Surface exported(const std::string& name) {
        std::string args = "\"" + name + "\", \"out.png\", map";
        cmdExportImage(app, args.data());
        EXPECT_TRUE(host.boxes.empty()) << host.lastText();
        DecodedImage decoded;
        EXPECT_EQ(decodeImageFile(dir.file("out.png"), decoded), DecodeResult::Ok);
        return decoded.surface;
    }
    Surface source(const std::string& file) {
        DecodedImage decoded;
        EXPECT_EQ(decodeImageFile(dir.file(file), decoded), DecodeResult::Ok);
        return decoded.surface;
    }
    static uint32_t rgb(const Surface& s, int x, int y) { return s.at(x, y) & 0xFFFFFF; }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

}  // namespace

TEST_F(MapFrames, PreviewIsTheEditorsFramePixelForPixel) {
    app.system.emulGba = 1;
    // Mirrored halves and sixteen-colour banks: every part of the cell decoding is used.
    ASSERT_TRUE(writePicture("mirror.png", 64, 16, [](int x, int y) -> uint32_t {
        const int sx = x < 32 ? x : 63 - x;
        return uint32_t((sx * sx % 3) * 64) << 16 | uint32_t((y % 4) * 64) << 8 | uint32_t((sx / 8) * 64);
    }));
    conv("tset src=mirror +16c col=128 +flip");
    conv("tset src=level");
    for (const char* name : {"mirror", "level"}) {
        const int index = TrouveElement(app, TYPE_CARTE, name);
        ASSERT_GE(index, 0);
        ElementPreview preview;
        ASSERT_TRUE(buildPreview(app, index, PreviewSettings{}, kPanel, preview));
        ASSERT_EQ(preview.mode, PreviewMode::Map);

        EditorDocument& doc = editorDocument(app);
        doc.background = kPanel;
        ASSERT_TRUE(openEditor(app, app.elements.records[size_t(index)]));
        doc.messages.clear();
        Surface frame;
        ASSERT_TRUE(createSurface(frame, preview.surface.width, preview.surface.height));
        composeView(frame, doc, editorSettings(app).mapsMultiPalettes != 0, {}, {}, &currentPlatform(app));
        ASSERT_TRUE(closeEditor(app));
        int differing = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) differing += rgb(frame, x, y) != rgb(preview.surface, x, y);
        EXPECT_EQ(differing, 0) << name;
    }
}

TEST_F(MapFrames, PreviewLeavesAnOpenEditorAlone) {
    conv("tset src=level");
    conv("tset src=under");
    const int level = TrouveElement(app, TYPE_CARTE, "level");
    const int under = TrouveElement(app, TYPE_CARTE, "under");
    ASSERT_TRUE(openEditor(app, app.elements.records[size_t(under)]));
    EditorDocument& doc = editorDocument(app);
    doc.planes[0].cells[3] = 7;
    ElementPreview preview;
    ASSERT_TRUE(buildPreview(app, level, PreviewSettings{}, kPanel, preview));
    EXPECT_TRUE(doc.open);
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(doc.planes[0].element.name, "under");
    EXPECT_EQ(doc.planes[0].cells[3], 7u);
    resetPlanes(app);
    doc.open = false;
}

TEST_F(MapFrames, PreviewWithinTheMemoryLimitDrawsTheTopLeftPart) {
    conv("tset src=level");
    app.system.maxMemory = 32 * 16 * 4;  // 32 x 16 pixels
    ElementPreview preview;
    ASSERT_TRUE(buildPreview(app, TrouveElement(app, TYPE_CARTE, "level"), PreviewSettings{}, kMask, preview));
    EXPECT_TRUE(preview.partial);
    EXPECT_EQ(preview.bytesNeeded, 64u * 32u * 4u);
    ASSERT_LE(int64_t(preview.surface.width) * preview.surface.height, 32 * 16);
    const Surface picture = source("level.png");
    for (int y = 0; y < preview.surface.height; ++y)
        for (int x = 0; x < preview.surface.width; ++x)
            ASSERT_EQ(rgb(preview.surface, x, y), rgb(picture, x, y)) << x << "," << y;
}

TEST_F(MapFrames, ExportShowsThePlanesTheSettingsScriptOpensUnlessHidden) {
    conv("tset src=level");
    conv("tset src=under");
    // Alone, the transparent tile shows the mask colour.
    EXPECT_EQ(rgb(exported("level"), 2, 2), kMask);
    // With the other plane opened by the settings script, it shows through.
    dir.write("level.map.spt", "    Maps.Add \"level\", 1\r\n    Maps.Add \"under\", 2\r\n    End\r\n");
    Surface both = exported("level");
    EXPECT_EQ(rgb(both, 2, 2), rgb(source("under.png"), 2, 2));
    EXPECT_EQ(rgb(both, 20, 20), rgb(source("level.png"), 20, 20));
    // Hidden, it does not.
    dir.write("level.map.spt",
              "    Maps.Add \"level\", 1\r\n    Maps.Add \"under\", 2\r\n    Maps[2].Visible = false\r\n    End\r\n");
    EXPECT_EQ(rgb(exported("level"), 2, 2), kMask);
    // The export changed nothing in the editor's state.
    EXPECT_FALSE(editorDocument(app).open);
    EXPECT_EQ(editorDocument(app).count, 0);
}

TEST_F(MapFrames, ExportAppliesTheSettingsScriptsRules) {
    conv("tset src=level");
    const Surface picture = source("level.png");
    // Every value draws the next tile: the first block shows the second tile of the picture.
    dir.write("level.map.spt", "    Maps.Add \"level\", 1\r\n    Maps[1].AddCondition 0x0,0xFFFF 0x1\r\n    End\r\n");
    const Surface shifted = exported("level");
    ASSERT_EQ(shifted.width, 64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(rgb(shifted, x, y), rgb(picture, x + 8, y)) << x << "," << y;
    // An exact rule draws one tile everywhere.
    dir.write("level.map.spt", "    Maps.Add \"level\", 1\r\n    Maps[1].AddCondition 0x0,0xFFFF 0x2=\r\n    End\r\n");
    const Surface one = exported("level");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(rgb(one, x, y), rgb(picture, 16 + x % 8, y % 8)) << x << "," << y;
}

TEST_F(MapFrames, ExportWithinAScriptLeavesTheScriptRunning) {
    conv("tset src=level");
    dir.write("level.map.spt", "    Maps.Add \"level\", 1\r\n    End\r\n    Maps[1].Visible = false\r\n");
    dir.write("build.spt", "    exportimage \"level\", \"a.png\"\r\n    exportimage \"level\", \"b.png\"\r\n");
    runScriptFile(app, dir.file("build.spt"));
    EXPECT_TRUE(fileExists(dir.file("a.png")));
    EXPECT_TRUE(fileExists(dir.file("b.png")));
}

TEST_F(MapFrames, ExportEqualsTheSourceWhereverTheConversionWasExact) {
    // 15-bit tiles: colours whose components are multiples of 8 convert exactly (left half); the
    // others lose their low bits (right half).
    ASSERT_TRUE(writePicture("mixed.png", 32, 16, [](int x, int y) -> uint32_t {
        if (x < 16) return uint32_t((x * 16) & 0xF8) << 16 | uint32_t((y * 16) & 0xF8) << 8 | 0x40;
        return uint32_t(x * 7 + 1) << 16 | uint32_t(y * 13 + 3) << 8 | uint32_t(x + y) | 0x010101;
    }));
    conv("tset src=mixed cmode=15");
    const Surface drawn = exported("mixed");
    const Surface picture = source("mixed.png");
    ASSERT_EQ(drawn.width, 32);
    ASSERT_EQ(drawn.height, 16);
    int inexact = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x < 16) {
                ASSERT_EQ(rgb(drawn, x, y), rgb(picture, x, y)) << x << "," << y;
            } else {
                // What was lost is below the 15-bit precision, nothing more.
                const uint32_t a = rgb(drawn, x, y), b = rgb(picture, x, y);
                for (int shift : {0, 8, 16}) ASSERT_EQ((a >> shift) & 0xF8, (b >> shift) & 0xF8) << x << "," << y;
                inexact += a != b;
            }
        }
    EXPECT_GT(inexact, 0);
}

TEST_F(MapFrames, ExportOfAMapTooLargeForOnePictureIsRefused) {
    conv("tset src=level");
    GiantMapFormState form;
    form.file = "wide.map.c";
    form.width = "9000";  // 9000 blocks of 8 pixels: wider than a picture may be
    form.height = "1";
    form.blockSize = 0;
    ASSERT_TRUE(runGiantMapForm(app, form)) << host.lastText();
    std::string args = "\"wide.map.c\", \"wide.png\"";
    cmdExportImage(app, args.data());
    EXPECT_EQ(host.lastCaption(), "Erreur d'ex\xE9" "cution du script");
    EXPECT_NE(host.lastText().find("72000 x 8"), std::string::npos) << host.lastText();
    EXPECT_FALSE(fileExists(dir.file("wide.png")));
}
