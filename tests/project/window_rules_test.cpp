// The rules of the creation forms, the general options page, the models page and the preview,
// without any window.
#include <gtest/gtest.h>

#include "../convert/conv_test_helpers.h"
#include "convert/conv_command.h"
#include "convert/conversion_form.h"
#include "convert/conversion_options.h"
#include "formats/model_rules.h"
#include "formats/object_list.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/creation_forms.h"
#include "project/element_preview.h"
#include "project/element_table.h"
#include "project/options_rules.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class WindowRules : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }
    // Converts a picture of distinct tiles into ship.til.c, ship.pal.c and ship.map.c.
    void convertShip(int w = 40, int h = 40) {
        ASSERT_TRUE(writePicture(dir.file("ship.png"), w, h, [](int x, int y) {
            return bitPattern(uint64_t(x / 8 + 5 * (y / 8)) * 0x9E3779B97F4A7C15ull, x, y);
        }));
        runConversion(app, "tset src=ship col=16");
        ASSERT_EQ(app.elements.count(), 3) << t.host.lastText();
    }
    TempDir dir;
    TestApp t;
    App& app = t.app;
};

TEST_F(WindowRules, MapsBranchNeedsATileset) { EXPECT_FALSE(creationFormsAvailable(app)); }

TEST_F(WindowRules, GiantMap64By32TextWrites2048ZeroEntries) {
    convertShip();
    EXPECT_TRUE(creationFormsAvailable(app));
    GiantMapFormState s;
    s.file = "level.map.c";
    s.width = "64";
    s.height = "32";
    ASSERT_TRUE(runGiantMapForm(app, s)) << t.host.lastText();
    int index = TrouveElement(app, TYPE_CARTE, "level.map.c");
    ASSERT_NE(index, kElementNotFound);
    MapData map;
    ASSERT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, app.elements.records[size_t(index)]), 1);
    EXPECT_EQ(map.width, 64);
    EXPECT_EQ(map.height, 32);
    EXPECT_EQ(map.mapType, int(MapText));
    ASSERT_EQ(map.cells.size(), 2048u);
    for (uint32_t c : map.cells) EXPECT_EQ(c, 0u);
}

TEST_F(WindowRules, GiantMapAsksBeforeReplacingAFile) {
    convertShip();
    dir.write("level.map.c", "precious level");
    GiantMapFormState s;
    s.file = "level.map.c";
    t.host.answers = {Answer::No};
    EXPECT_FALSE(runGiantMapForm(app, s));
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(t.host.boxes[0].defaultAnswer, Answer::No);
    EXPECT_EQ(dir.read("level.map.c"), "precious level");
    EXPECT_EQ(app.elements.count(), 3);
    t.host.answers = {Answer::Yes};
    EXPECT_TRUE(runGiantMapForm(app, s));
    EXPECT_NE(dir.read("level.map.c"), "precious level");
}

TEST_F(WindowRules, GiantMapRefusesBadSizesAndNames) {
    convertShip();
    GiantMapFormState s;
    s.file = "big.map.c";
    for (auto [w, h] : {std::pair{"0", "1"}, {"abc", "4"}, {"100000", "100000"}, {"-3", "2"}}) {
        s.width = w;
        s.height = h;
        t.host.clear();
        EXPECT_FALSE(runGiantMapForm(app, s)) << w << "x" << h;
        EXPECT_EQ(t.host.lastCaption(), "Error");
    }
    s.width = s.height = "2";
    for (const std::string& name : {std::string("bad\nname.map.c"), std::string(300, 'a'), std::string()}) {
        s.file = name;
        EXPECT_FALSE(runGiantMapForm(app, s));
    }
    EXPECT_FALSE(fileExists(dir.file("big.map.c")));
    EXPECT_EQ(app.elements.count(), 3);
    // A long name is cut to 30 characters in the tree, the file keeps its name.
    s.file = std::string(31, 'n') + ".map.c";
    ASSERT_TRUE(runGiantMapForm(app, s));
    EXPECT_EQ(app.elements.records.back().name.size(), 30u);
}

TEST_F(WindowRules, ObjectListCreatedEmpty) {
    convertShip();
    ObjectListFormState s = defaultObjectListForm(app);
    s.file = "enemies.lst.c";
    ASSERT_TRUE(runObjectListForm(app, s)) << t.host.lastText();
    int index = TrouveElement(app, TYPE_LISTE, "enemies.lst.c");
    ASSERT_NE(index, kElementNotFound);
    ObjectList list;
    ASSERT_EQ(currentPlatform(app).loadList(app, 0, list, app.elements.records[size_t(index)], nullptr, nullptr), 1);
    EXPECT_EQ(list.count, 0);
}

TEST_F(WindowRules, GeneralPageRules) {
    GeneralOptionsState s = loadGeneralOptions(app);
    EXPECT_EQ(s.maxObjects, "1024");
    s.maxObjects = "2";
    applyGeneralOptions(app, s, false);
    EXPECT_EQ(app.system.maxObjects, 3);
    s.maxObjects = "0";
    applyGeneralOptions(app, s, false);
    EXPECT_EQ(app.system.maxObjects, 3);
    s.maxObjects = "500";
    applyGeneralOptions(app, s, true);
    EXPECT_EQ(app.system.maxObjects, 3);
    EXPECT_EQ(t.host.lastCaption(), "Error");

    s.maxMemory = "Max.";
    applyGeneralOptions(app, s, false);
    EXPECT_EQ(app.system.maxMemory, 0u);
    EXPECT_EQ(loadGeneralOptions(app).maxMemory, "Max.");
    s.maxMemory = "64 MB";
    applyGeneralOptions(app, s, false);
    EXPECT_EQ(loadGeneralOptions(app).maxMemory, "64 MB");

    for (auto [text, stored] : {std::pair{"abc", 0}, {"-5", 0}, {"5000", 1000}, {"250", 250}}) {
        s.timer = text;
        applyGeneralOptions(app, s, false);
        EXPECT_EQ(app.editor.timing, stored) << text;
    }
    setSaveMapsParams(s, true);
    s.saveMapsParamsAuto = true;
    setSaveMapsParams(s, false);
    EXPECT_FALSE(s.saveMapsParamsAuto);
}

TEST_F(WindowRules, ConversionPagesDefaultsAndApply) {
    ConversionPageState c = loadConversionPage(app);
    EXPECT_EQ(c.gamma, 100);
    EXPECT_EQ(c.shades, 256);
    c.gamma = 200;
    c.shades = 2;
    c.method = 2;
    applyConversionPage(app, c);
    EXPECT_DOUBLE_EQ(app.convert.gamma[1], 0.5);
    EXPECT_EQ(app.convert.shades, 1);
    EXPECT_EQ(app.convert.quantization, 2);
    EXPECT_EQ(loadConversionPage(app).gamma, 200);
    EXPECT_EQ(gammaText(130), "1.30");
    applyConversionPage(app, conversionPageDefaults());
    EXPECT_EQ(app.convert.shades, 255);

    ConversionPlusPageState p = loadConversionPlusPage(app);
    p.maxPrecision = "abc";
    p.shadesBefore = true;
    applyConversionPlusPage(app, p);
    EXPECT_EQ(app.convert.maxPrecision, 512);
    EXPECT_EQ(app.convert.shadesBefore, 1);
    applyConversionPlusPage(app, conversionPlusPageDefaults(app));
    EXPECT_EQ(app.convert.shadesBefore, 0);
}

TEST_F(WindowRules, ModelsPageRules) {
    ModelsPageState s = loadModelsPage(app);
    EXPECT_FALSE(addOrUpdateParam(app, s, "speed", 0, "2", ""));
    EXPECT_EQ(t.host.lastText(), "The size must be at least 4 bytes.");
    EXPECT_FALSE(addOrUpdateParam(app, s, "speed", 0, "0", ""));
    EXPECT_TRUE(addOrUpdateParam(app, s, "speed", 0, "4", "3"));
    EXPECT_TRUE(addOrUpdateParam(app, s, "speed", 1, "8", ""));
    EXPECT_EQ(s.models[0].params.size(), 1u);
    EXPECT_EQ(s.models[0].entrySize, 20);
    t.host.clear();
    EXPECT_FALSE(deleteShownModel(app, s));
    EXPECT_EQ(t.host.lastText(), "You can't delete all existing models, at least one must be available.");
    ASSERT_TRUE(addModel(app, s, "Enemies"));
    s.shown = 0;
    t.host.answers = {Answer::Yes};
    ASSERT_TRUE(deleteShownModel(app, s));
    EXPECT_EQ(s.models.size(), 1u);
    EXPECT_EQ(s.current, 0);
    EXPECT_EQ(app.models.models.size(), 1u);  // nothing stored before OK
    applyModelsPage(app, s);
    EXPECT_EQ(app.models.models[0].name, "Enemies");

    // Closing with edits not stored asks; No leaves the table as it was.
    ModelsPageState edits = loadModelsPage(app);
    ASSERT_TRUE(addOrUpdateParam(app, edits, "life", 1, "8", "abc"));
    t.host.answers = {Answer::No};
    EXPECT_FALSE(confirmModelsClose(app, edits));
    EXPECT_EQ(t.host.lastCaption(), "Warning");
    EXPECT_TRUE(app.models.models[0].params.empty());
    t.host.answers = {Answer::Yes};
    EXPECT_TRUE(confirmModelsClose(app, edits));
    ASSERT_EQ(app.models.models[0].params.size(), 1u);
    EXPECT_EQ(app.models.models[0].params[0].kind, int(ParamRaw));
}

TEST_F(WindowRules, PaletteAndTilesetPreviewRows) {
    convertShip(40, 40);  // 25 distinct tiles
    PreviewSettings settings;
    ElementPreview p;
    const int palette = TrouveElement(app, TYPE_PALETTE, "ship");
    ASSERT_TRUE(buildPreview(app, palette, settings, 0xC0C0C0, p));
    EXPECT_EQ(p.mode, PreviewMode::Palette);
    EXPECT_EQ(p.label, std::to_string(p.count) + " colors");
    EXPECT_EQ(p.surface.width, std::min(p.count, 16) * 16);
    auto texts = previewMouseTexts(p, 17, 3);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Idx: 01 hex");

    const int tileset = TrouveElement(app, TYPE_MOSAIQUE, "ship");
    settings.tilesetWidth = 64;  // 8 tiles a row
    ASSERT_TRUE(buildPreview(app, tileset, settings, 0xC0C0C0, p));
    EXPECT_EQ(p.mode, PreviewMode::Tileset);
    EXPECT_EQ(p.columns, 8);
    EXPECT_EQ(p.surface.width, 64);
    EXPECT_EQ(p.surface.height, ((p.count + 7) / 8) * 8);
    EXPECT_EQ(previewMouseTexts(p, 9, 9)[0], "009  ");
    // The tiles are drawn in their palette's colours, not left as background.
    int drawn = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x) drawn += p.surface.at(x, y) != 0xC0C0C0;
    EXPECT_GT(drawn, 64);

    const int map = TrouveElement(app, TYPE_CARTE, "ship");
    ASSERT_TRUE(buildPreview(app, map, settings, 0xC0C0C0, p));
    EXPECT_EQ(p.label, "Size: 5x5 blocks");
    EXPECT_FALSE(p.settingsScriptExists);
    EXPECT_EQ(previewMouseTexts(p, 17, 33)[0], "02,04  ");
    // The map shows the tiles as the tileset preview draws them.
    ElementPreview tiles;
    settings.tilesetWidth = 256;
    ASSERT_TRUE(buildPreview(app, tileset, settings, 0xC0C0C0, tiles));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(p.surface.at(x, y), tiles.surface.at(x, y));
}

TEST_F(WindowRules, PaletteOf20ColoursIn16ColumnsAndMemoryLimit) {
    ASSERT_TRUE(writePicture(dir.file("pal.png"), 160, 8, [](int x, int) { return uint32_t((x / 8) * 0x0C0A08); }));
    runConversion(app, "bmp src=pal col=19 cmode=8");
    const int palette = TrouveElement(app, TYPE_PALETTE, "pal");
    ASSERT_NE(palette, kElementNotFound) << t.host.lastText();
    ElementPreview p;
    ASSERT_TRUE(buildPreview(app, palette, PreviewSettings{}, 0, p));
    ASSERT_GT(p.count, 16);
    ASSERT_LE(p.count, 32);
    const int second = p.count - 16;  // colours in the second row
    EXPECT_EQ(p.surface.width, 256);
    EXPECT_EQ(p.surface.height, 32);
    EXPECT_EQ(previewMouseTexts(p, (second - 1) * 16 + 1, 17)[0], formatText("Idx: %02X hex", p.count - 1));
    EXPECT_TRUE(previewMouseTexts(p, second * 16 + 1, 17).empty());

    const int bitmap = TrouveElement(app, TYPE_BITMAP, "pal");
    app.system.maxMemory = 160 * 4 * 3;  // three rows
    ASSERT_TRUE(buildPreview(app, bitmap, PreviewSettings{}, 0, p));
    EXPECT_EQ(p.label, "Size: 160x8");
    EXPECT_TRUE(p.partial);
    EXPECT_EQ(p.surface.height, 3);
    EXPECT_EQ(previewMegabytesNeeded(p), 1);
}

TEST_F(WindowRules, DamagedDataFileLeavesNoPreview) {
    convertShip();
    dir.write("ship.til.c", "garbage");
    ElementPreview p;
    EXPECT_FALSE(buildPreview(app, TrouveElement(app, TYPE_MOSAIQUE, "ship"), PreviewSettings{}, 0, p));
    EXPECT_EQ(p.mode, PreviewMode::None);
    EXPECT_FALSE(buildPreview(app, 999, PreviewSettings{}, 0, p));
}

}  // namespace
