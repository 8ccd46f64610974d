// The settings script beside each map: the lines written, reading them back on opening, every
// command of the editor's script objects and their bad input.
#include <gtest/gtest.h>

#include <filesystem>

#include "document_fixture.h"
#include "editor/editor_settings_script.h"
#include "editor/map_view_renderer.h"
#include "script/identifier_table.h"

namespace ts {
namespace {

class SettingsScriptTest : public test::DocumentFixture {
protected:
    void SetUp() override {
        DocumentFixture::SetUp();
        town = addMap("town", 6, 4);
        ASSERT_TRUE(openEditor(app, town));
    }
    std::string script() { return settingsScriptText(doc()); }
    ElementRecord town;
};

TEST_F(SettingsScriptTest, UntouchedSingleMapWritesFourLines) {
    EXPECT_EQ(script(),
              "    Maps.Add \"town\", 1\n"
              "    Maps[1].EmulGBA = false\n"
              "    Editor.Move 800, 600, 0, 0, false\n"
              "    End\n\n\n\n");
    ASSERT_TRUE(writeSettings(app));
    EXPECT_EQ(test::readFile(dir.file("town.map.spt")),
              "    Maps.Add \"town\", 1\r\n    Maps[1].EmulGBA = false\r\n"
              "    Editor.Move 800, 600, 0, 0, false\r\n    End\r\n\r\n\r\n\r\n");
    // Only the script itself is left in the folder (the temporary file was renamed over it).
    int spt = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename().string().find("spt") != std::string::npos) ++spt;
    EXPECT_EQ(spt, 1);
}

TEST_F(SettingsScriptTest, NothingIsWrittenWhenMapSettingsAreNotSaved) {
    app.system.saveMapsParams = 0;
    EXPECT_TRUE(writeSettings(app));
    EXPECT_FALSE(std::filesystem::exists(dir.file("town.map.spt")));
}

TEST_F(SettingsScriptTest, ScrollRateGridAndConditionsOfTheIndexedPlane) {
    run("Maps[1].ScrollRate 0.5, 0");
    EXPECT_EQ(plane(0).scrollRateX, 0.5);
    EXPECT_EQ(plane(0).scrollRateY, 1.0);
    run("Maps[1].Grid 16");
    EXPECT_EQ(plane(0).gridX, 16);
    EXPECT_EQ(plane(0).gridY, 16);
    run("maps [1] . grid = 8,32");
    EXPECT_EQ(plane(0).gridY, 32);
    run("Maps[1].AddCondition 0x10,0x1f 0x2=");
    run("Maps[1].AddCondition 0x10,0x1f 0x2");
    run("Maps[1].AddCondition 0x10,0x1f 0x2");  // the same rule is not added twice
    ASSERT_EQ(plane(0).ruleCount, 2);
    EXPECT_TRUE(plane(0).rules[0].exact);
    EXPECT_EQ(plane(0).rules[0].target(), 2u);
    EXPECT_FALSE(plane(0).rules[1].exact);
    EXPECT_EQ(plane(0).rules[1].offset, 0x0E);
    run("Maps.Transparency = true; Editor.Zoom = 2; Editor.GridColor = rgb(1,2,3); Maps.AlphaGfx = 7");
    run("Maps.Visible[1] = false; Maps[1].EmulGBA = true; ModeHexa.FillZeros = true");
    EXPECT_EQ(script(),
              "    Maps.Add \"town\", 1\n"
              "    Maps[1].Visible = false\n"
              "    Maps[1].ScrollRate 0.500000, 1.000000\n"
              "    Maps[1].Grid 8, 32\n"
              "    Maps[1].AddCondition 0x10,0x1f 0x2=\n"
              "    Maps[1].AddCondition 0x10,0x1f 0x2\n"
              "    Maps[1].EmulGBA = true\n"
              "    Maps.Transparency = true\n"
              "    ModeHexa.FillZeros = true\n"
              "    Editor.GridColor = RGB(1,2,3)\n"
              "    Maps.AlphaGfx = 7\n"
              "    Editor.Zoom = 2.00\n"
              "    Editor.Move 800, 600, 0, 0, false\n"
              "    End\n\n\n\n");
}

TEST_F(SettingsScriptTest, ExactRuleDrawsOneTileAndTheOtherARange) {
    plane(0).tileCount = 40;
    run("Maps[1].AddCondition 0x10,0x1f 0x2=");
    for (uint32_t v = 16; v < 32; ++v) EXPECT_EQ(tileOfValue(plane(0), v), 2) << v;
    plane(0).ruleCount = 0;
    run("Maps[1].AddCondition 0x10,0x1f 0x2");
    for (uint32_t v = 16; v < 32; ++v) EXPECT_EQ(tileOfValue(plane(0), v), int64_t(v) - 14) << v;
    EXPECT_EQ(tileOfValue(plane(0), 0x11), 3);
}

TEST_F(SettingsScriptTest, FrenchNamesActOnTheSameSettings) {
    run("fonds[1].grille 16, 16; editeur.zoom 3; fonds[1].vitessedefil 0.25, 0.75; modehexa.actif = vrai");
    EXPECT_EQ(plane(0).gridX, 16);
    EXPECT_EQ(doc().options.zoom, 3.0);
    EXPECT_EQ(plane(0).scrollRateY, 0.75);
    EXPECT_EQ(doc().options.hexMode, 1);
    run("maps[1].stepping 32");
    EXPECT_EQ(plane(0).gridX, 32);
}

TEST_F(SettingsScriptTest, ThreeLinkedPlanesGiveOneLinkLine) {
    ASSERT_EQ(openPlane(app, addMap("b", 6, 4)), OpenDone);
    ASSERT_EQ(openPlane(app, addMap("c", 6, 4)), OpenDone);
    run("Fonds.Link 1, 3, 2");
    EXPECT_EQ(doc().links[0], doc().links[2]);
    std::string text = script();
    size_t first = text.find("    Fonds.Link 1, 3, 2\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("Fonds.Link", first + 8), std::string::npos);
    // Numbers 0, beyond the planes and repeated are dropped; nothing left does nothing.
    run("Fonds.Link 0, 9, abc");
    EXPECT_EQ(doc().links[0].size(), 3);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(SettingsScriptTest, ScriptWrittenIsReadBackOnTheNextOpening) {
    ElementRecord b = addMap("b", 6, 4, 3);
    ASSERT_EQ(openPlane(app, b), OpenDone);
    run("Maps[2].ScrollRate 0.5, 0.5; Maps[2].Grid 16, 8; Fonds.Link 1,2; Editor.Grid = true");
    run("Bits[2].BitText 3,\"Solid\"; Bits[2].BitEnabled = 10,false; Maps[2].AddCondition 1,4 0x9=");
    ASSERT_TRUE(writeSettings(app));
    ASSERT_TRUE(closeEditor(app));
    ASSERT_TRUE(openEditor(app, town));
    ASSERT_EQ(doc().count, 2);
    EXPECT_EQ(plane(1).element.name, "b");
    EXPECT_EQ(plane(1).scrollRateX, 0.5);
    EXPECT_EQ(plane(1).gridX, 16);
    EXPECT_EQ(plane(1).gridY, 8);
    EXPECT_EQ(doc().links[0].size(), 2);
    EXPECT_EQ(doc().options.gridShown, 1);
    EXPECT_EQ(plane(1).bitTexts[3], "Solid");
    EXPECT_FALSE((plane(1).bitFlags >> 10) & 1);
    ASSERT_EQ(plane(1).ruleCount, 1);
    EXPECT_TRUE(plane(1).rules[0].exact);
    // Linking restarted the histories but kept them unmodified.
    EXPECT_FALSE(planeModified(plane(0)));
    EXPECT_EQ(script(), settingsScriptText(doc()));
}

TEST_F(SettingsScriptTest, BadIndexesTouchNothingOutsideTheOpenPlanes) {
    ASSERT_EQ(openPlane(app, addMap("b", 6, 4)), OpenDone);
    const int32_t gridBefore = plane(0).gridX;
    for (const char* index : {"0", "-1", "21", "99999", "abc", "3"}) {
        SCOPED_TRACE(index);
        std::string i = index;
        run("Maps[" + i + "].Grid 16; Maps[" + i + "].ScrollRate 0.5, 0.5; Maps[" + i +
            "].AddCondition 1,2 3; Maps[" + i + "].EmulGBA 1");
        EXPECT_EQ(plane(0).gridX, gridBefore);
        EXPECT_EQ(plane(0).ruleCount, 0);
        EXPECT_EQ(plane(1).ruleCount, 0);
        EXPECT_EQ(plane(1).gridX, 8);
    }
    host.clear();
    run("Bits[0].BitText 3,\"x\"");
    EXPECT_EQ(host.lastText(), "Bits renaming: Please specify a plane (Bits[0].BitEnabled).");
    EXPECT_EQ(host.lastCaption(), "Erreur d'ex\xE9" "cution du script");
    run("Bits[1].BitText 40,\"x\"");
    EXPECT_EQ(host.lastText(), "Bits renaming: the specified bit number is out of range (0 to 31).");
    run("Bits[-1].BitEnabled 3, 1");
    EXPECT_EQ(host.lastText(), "Bits enabling: Please specify a plane (Bits[0].BitEnabled).");
    run("Bits.BitEnabled 32, 1");
    EXPECT_EQ(host.lastText(), "Bit enabling: the specified bit number is out of range (0 \xE0 31).");
    host.clear();
    run("Bits.BitText 0xFFFFFFFF,\"x\"; Bits.BitEnabled 0x80000000, 1; Specimen.AddMap 0x80000000");
    EXPECT_EQ(host.boxes.size(), 2u);
    run("Bits.BitText 3,\"" + std::string(31, 'x') + "\"");
    EXPECT_EQ(plane(0).bitTexts[3], "");
    run("Bits[99999].BitText 3,\"far\"; Specimen.AddMap 7; Specimen.AddMap 0");
    EXPECT_TRUE(doc().specimenPlanes.empty());
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(SettingsScriptTest, RefusedValuesKeepTheOldOnes) {
    run("Maps[1].Grid 0; Maps[1].ScrollRate -1, 0; Editor.Zoom 0; Editor.Zoom -2");
    EXPECT_EQ(plane(0).gridX, 8);
    EXPECT_EQ(plane(0).gridY, 8);
    EXPECT_EQ(plane(0).scrollRateX, 1.0);
    EXPECT_EQ(doc().options.zoom, 1.0);
    for (int i = 0; i < 30; ++i) run("Maps[1].AddCondition " + std::to_string(i) + ", 100 1");
    EXPECT_EQ(plane(0).ruleCount, kMaxPlaneRules);
    run("Editor.Move 640, 480, 5000, 5000");  // off every screen
    EXPECT_EQ(doc().editorPlace.left, 0);
    EXPECT_EQ(doc().editorPlace.width, 800);
    run("Editor.Move 640, 480, 100, 50");
    EXPECT_EQ(doc().editorPlace.left, 100);
    EXPECT_EQ(doc().editorPlace.width, 640);
    run("Editor.Move 640, 480, 100, 50, true");
    EXPECT_TRUE(doc().editorPlace.maximized);
    run("Bits.Move 3000, 10");
    EXPECT_EQ(doc().bitsPlace.left, 0);
}

TEST_F(SettingsScriptTest, MapsAddOpensReplacesOrLeavesASlot) {
    addMap("b", 6, 4);
    addMap("c", 6, 4);
    run("Maps.Add \"town\", 1");  // the map being opened: harmless
    EXPECT_EQ(doc().count, 1);
    run("Maps.Add \"b\", 5");  // slot 5 is empty: a new plane
    EXPECT_EQ(doc().count, 2);
    EXPECT_EQ(plane(1).element.name, "b");
    run("Maps.Add \"c\", 2");  // replaces plane 2
    EXPECT_EQ(doc().count, 2);
    EXPECT_EQ(plane(1).element.name, "c");
    run("Maps.Add \"nothing\"");
    EXPECT_EQ(doc().count, 2);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(SettingsScriptTest, EditorObjectsStandInTheIdentifierTableInOrder) {
    const auto& table = builtinIdentifiers();
    std::vector<std::string> tail;
    for (size_t i = table.size() - 11; i < table.size(); ++i) tail.emplace_back(table[i].name);
    EXPECT_EQ(tail, (std::vector<std::string>{"fonds", "modehexa", "system", "convert", "editeur", "specimen", "bits",
                                              "liste", "maps", "editor", "list"}));
}

}  // namespace
}  // namespace ts
