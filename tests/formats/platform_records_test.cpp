// Platform records, selection, the 15-bit colour encoding and the GBA options.
#include <gtest/gtest.h>

#include "formats/format_table.h"
#include "formats/gb_driver.h"
#include "formats/gba_driver.h"
#include "formats/platform.h"
#include "formats/platform_commands.h"
#include "formats/project_lines.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "script/interpreter.h"
#include "test_support.h"

namespace ts {
namespace {

class PlatformTest : public ::testing::Test {
protected:
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

TEST_F(PlatformTest, StartsWithGbaSelectedAndBothRecordsFilled) {
    EXPECT_EQ(currentPlatformIndex(app), kPlatformGba);
    const PlatformRecord& gba = app.platforms.records[kPlatformGba];
    const PlatformRecord& gb = app.platforms.records[kPlatformGameBoy];
    EXPECT_STREQ(gba.name, "Game Boy Advance, Nintendo");
    EXPECT_STREQ(gb.name, "Game Boy, Nintendo");
    EXPECT_EQ(gba.depthCount, 4);
    EXPECT_EQ(gba.defaultDepth, 1);
    EXPECT_EQ(gb.depthCount, 2);
    EXPECT_EQ(gb.defaultDepth, 0);
    EXPECT_STREQ(gba.depths[0].displayName, "4 bits (16 col.)");
    EXPECT_EQ(gba.depths[0].singlePaletteSize, 255);
    EXPECT_EQ(gba.depths[3].colorFormat->bytesPerColor, 4);
    EXPECT_EQ(gba.depths[2].paletteKind, 0);
    EXPECT_STREQ(gb.depths[1].displayName, "2 bits sprite");
    EXPECT_EQ(gb.depths[1].bitCode, 3);
    EXPECT_EQ(gb.depths[1].color0Transparent, 1);
    EXPECT_EQ(gb.depths[0].color0Transparent, 0);
    // Every slot but the fourth is filled; maps and lists share one implementation.
    for (const PlatformRecord* r : {&gba, &gb}) {
        EXPECT_EQ(r->reserved, nullptr);
        EXPECT_TRUE(r->onEvent && r->createOptionsPanel && r->writeSettings && r->onConvert);
        EXPECT_TRUE(r->loadPalette && r->loadTileset && r->loadMap && r->loadList && r->loadBitmap);
        EXPECT_TRUE(r->savePalette && r->saveTileset && r->saveMap && r->saveList && r->saveBitmap);
    }
    EXPECT_EQ(gba.loadMap, gb.loadMap);
    EXPECT_EQ(gba.saveList, gb.saveList);
    EXPECT_NE(gba.saveTileset, gb.saveTileset);
    EXPECT_EQ(gba.createOptionsPanel(app, 0x8000 | 0x1000, nullptr), 1);
    EXPECT_EQ(gba.createOptionsPanel(app, 0x8000 | 0x3000, nullptr), 0);
    EXPECT_EQ(gb.createOptionsPanel(app, 0x8000 | 0x2000, nullptr), 1);
}

TEST_F(PlatformTest, SelectionRunsEventsAndListenersOnlyOnChange) {
    int calls = 0;
    addPlatformChangedListener(app, [&calls](App&) { ++calls; });
    selectPlatform(app, kPlatformGba);
    EXPECT_EQ(calls, 0);
    setCurrentDepthIndex(app, 3);
    EXPECT_TRUE(selectPlatformByName(app, "Game Boy, Nintendo"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(currentPlatformIndex(app), kPlatformGameBoy);
    EXPECT_EQ(currentDepthIndex(app), 1);  // clamped into the Game Boy's two depths
    EXPECT_FALSE(selectPlatformByName(app, "game boy, nintendo"));  // case matters
    EXPECT_EQ(currentPlatformIndex(app), kPlatformGameBoy);
}

TEST_F(PlatformTest, PlatformCommandSelectsOrReports) {
    char good[] = "\"Game Boy, Nintendo\"";
    cmdPlatform(app, good);
    EXPECT_EQ(currentPlatformIndex(app), kPlatformGameBoy);
    EXPECT_TRUE(host.boxes.empty());
    char bad[] = "\"Atari Lynx\"";
    cmdPlatform(app, bad);
    EXPECT_EQ(currentPlatformIndex(app), kPlatformGameBoy);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(), "The specified platform doesn't exist: Atari Lynx");
    EXPECT_EQ(host.boxes.back().icon, Icon::Error);
}

TEST_F(PlatformTest, ColourEncoding) {
    EXPECT_EQ(encodeColor15(31, 0, 0, 0, false), 0x001F);
    EXPECT_EQ(encodeColor15(0, 0, 31, 0, false), 0x7C00);
    EXPECT_EQ(encodeColor15(31, 0, 0, 0, true), 0x7C00);
    EXPECT_EQ(encodeColor15(0, 0, 0, 1, false), 0x8000);
    // From a palette entry: alpha 0 sets the transparency bit, alpha 255 leaves it clear.
    EXPECT_EQ(encodeColor15(app, packBgra(0, 0, 31, 0)), 0x801F);
    EXPECT_EQ(encodeColor15(app, packBgra(0, 0, 31, 255)), 0x001F);

    EXPECT_EQ(decodeColor15(0x8000, false), packBgra(0, 0, 0, 0));
    EXPECT_EQ(decodeColor15(0x7FFF, false), packBgra(31, 31, 31, 255));
    EXPECT_EQ(decodeColor15(0x001F, false), packBgra(0, 0, 31, 255));
    EXPECT_EQ(decodeColor15(0x001F, true), packBgra(31, 0, 0, 255));
    for (uint32_t v : {0x0000u, 0x1234u, 0x7C1Fu, 0xFFFFu})
        for (bool rev : {false, true}) {
            uint32_t c = decodeColor15(v, rev);
            EXPECT_EQ(encodeColor15(bgraRed(c), bgraGreen(c), bgraBlue(c), (~bgraAlpha(c)) & 1, rev), v);
        }
    // The Game Boy ignores the GBA's colour order.
    app.platforms.gba.revColorOrder = 1;
    EXPECT_EQ(encodeColor15(app, packBgra(0, 0, 31, 255)), 0x7C00);
    selectPlatform(app, kPlatformGameBoy);
    EXPECT_EQ(encodeColor15(app, packBgra(0, 0, 31, 255)), 0x001F);
}

TEST_F(PlatformTest, GbaMaskOptionsShapeTheTextLayout) {
    const MapEntryLayout& text = app.platforms.records[kPlatformGba].layouts[MapText];
    EXPECT_EQ(text.tileMask, 0x3FFu);
    EXPECT_EQ(text.palette(0xA000), 0xAu);
    EXPECT_EQ(text.hMirror(0x400), 1u);
    EXPECT_EQ(text.vMirror(0x800), 1u);

    runScriptText(app, "gba.mirrormask = false");
    EXPECT_EQ(text.tileMask, 0x0FFFu);
    EXPECT_EQ(text.hMirrorMask, 0u);
    EXPECT_EQ(text.vMirrorMask, 0u);
    EXPECT_EQ(text.paletteMask, 0xF000u);
    runScriptText(app, "gba.palettemask = 0");
    EXPECT_EQ(text.tileMask, 0xFFFFu);
    EXPECT_EQ(text.paletteMask, 0u);
    EXPECT_EQ(text.palette(0xF000), 0u);
    runScriptText(app, "gba.mirrormask = 0b1");
    EXPECT_EQ(text.tileMask, 0x3FFu);
    EXPECT_EQ(text.hMirrorShift, 10u);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    // The Game Boy's layout never changes.
    EXPECT_EQ(app.platforms.records[kPlatformGameBoy].layouts[MapText].paletteMask, 0xF000u);
}

TEST_F(PlatformTest, AlignGoesIntoUserTextTwoAndIsTakenOnlyOnTheGba) {
    runScriptText(app, "gba.align = 4");
    EXPECT_EQ(app.platforms.gba.align, 4);
    currentPlatform(app).onConvert(app, 0);
    EXPECT_EQ(app.formats.current.user[1], "__attribute__((aligned(4))) ");
    resetTemplateVariables(app);
    setTemplateText(app, "name", "hero");
    setTemplateInteger(app, "size", 1);
    EXPECT_EQ(expandTemplate(app, "const unsigned short %user[2]%%name%_palette[%size%]"),
              "const unsigned short __attribute__((aligned(4))) hero_palette[1]");
    selectPlatform(app, kPlatformGameBoy);
    EXPECT_EQ(app.formats.current.user[1], "");
    runScriptText(app, "gba.align = 0");  // ignored while the Game Boy is current
    EXPECT_EQ(app.platforms.gba.align, 4);
    runScriptText(app, "gba.revcolororder = true");  // always accepted
    EXPECT_EQ(app.platforms.gba.revColorOrder, 1);
}

TEST_F(PlatformTest, SettingsLinesAndProjectLines) {
    app.platforms.gba.align = 4;
    app.platforms.gba.mirrorMask = 0;
    app.platforms.gbc.dmgMode = 1;
    EXPECT_EQ(projectPlatformLines(app),
              "  Platform = \"Game Boy Advance, Nintendo\"\n"
              "  GBA.paletteMask = true\n  GBA.mirrorMask = false\n  GBA.align = 4\n  GBA.revColorOrder = false\n"
              "  GBC.dmgmode = true\n");
}

TEST_F(PlatformTest, SettingsLinesReadBackThroughTheInterpreter) {
    app.platforms.gba = GbaOptions{0, 0, 4, 1};
    applyGbaOptions(app);
    app.platforms.gbc.dmgMode = 1;
    selectPlatform(app, kPlatformGameBoy);
    std::string lines = projectPlatformLines(app);
    test::TestApp fresh;
    test::TempDir dir;
    dir.write("settings.spt", lines);
    EXPECT_TRUE(runScriptFile(fresh.app, dir.file("settings.spt")));
    EXPECT_TRUE(fresh.host.boxes.empty()) << fresh.host.lastText();
    EXPECT_EQ(currentPlatformIndex(fresh.app), kPlatformGameBoy);
    EXPECT_EQ(fresh.app.platforms.gba.paletteMask, 0);
    EXPECT_EQ(fresh.app.platforms.gba.mirrorMask, 0);
    EXPECT_EQ(fresh.app.platforms.gba.revColorOrder, 1);
    EXPECT_EQ(fresh.app.platforms.gbc.dmgMode, 1);
    EXPECT_EQ(fresh.app.platforms.records[kPlatformGba].layouts[MapText].tileMask, 0xFFFFu);
    // align was written while the Game Boy was current, so it is not taken back.
    EXPECT_EQ(fresh.app.platforms.gba.align, 0);
}

TEST_F(PlatformTest, OptionsPanelStateRoundTrip) {
    GbaPanelState state = gbaPanelState(app);
    EXPECT_TRUE(state.mirrorMask && state.paletteMask && !state.align && !state.revColorOrder);
    state.align = true;
    state.mirrorMask = false;
    storeGbaPanelState(app, state);
    EXPECT_EQ(app.platforms.gba.align, 4);
    EXPECT_EQ(app.platforms.records[kPlatformGba].layouts[MapText].tileMask, 0x0FFFu);
}

}  // namespace
}  // namespace ts
