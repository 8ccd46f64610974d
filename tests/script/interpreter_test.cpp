#include <gtest/gtest.h>

#include "host/text_file.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;

namespace {
struct Interp : ::testing::Test {
    test::TestApp t;
    test::TempDir dir;
    App& app = t.app;
    void runFile(const std::string& name, const std::string& content, const std::string& label = "") {
        dir.write(name, content);
        ASSERT_TRUE(runScriptFile(app, dir.file(name), label));
    }
};
}  // namespace

TEST_F(Interp, AssignmentsInAnyCaseAndSpacing) {
    runScriptText(app, "Convert.MaxPrecision = 0x20;convert . colorization 7;CONVERT.TileX=16");
    EXPECT_EQ(app.convert.maxPrecision, 32);
    EXPECT_EQ(app.convert.colorization, 7);
    EXPECT_EQ(app.convert.tileX, 16);
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST_F(Interp, QuotedTextKeepsCaseAndHashes) {
    runScriptText(app, "msgbox \"Hello #1\"");
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].text, "Hello #1");
    EXPECT_EQ(t.host.boxes[0].caption, "User message");
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Information);
}

TEST_F(Interp, UnknownIdentifierAndPropertyMessages) {
    runScriptText(app, "nothing 1;system.nothing 2");
    ASSERT_EQ(t.host.boxes.size(), 2u);
    EXPECT_EQ(t.host.boxes[0].text, "The identifier nothing doesn't exist.");
    EXPECT_EQ(t.host.boxes[0].caption, "Erreur d'ex\xE9" "cution du script");
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Error);
    EXPECT_EQ(t.host.boxes[1].text, "The property nothing doesn't exist.");
}

TEST_F(Interp, ArraysCheckTheirIndex) {
    runScriptText(app, "deffolder[3] = \"Gfx\";folders.maps \"Levels\";deffolder[0] \"x\";deffolder[13] \"y\"");
    EXPECT_EQ(app.system.defFolders[2], "Gfx");  // type code 3 (tilesets)
    EXPECT_EQ(app.system.defFolders[0], "Levels");
    ASSERT_EQ(t.host.boxes.size(), 2u);
    EXPECT_EQ(t.host.boxes[0].text, "Table deffolder of object .\nThe array index (0) is out of bounds.");
    EXPECT_EQ(t.host.boxes[1].text, "Table deffolder of object .\nThe array index (13) is out of bounds.");
    runScriptText(app, "folders.folder[4] \"Pics\"");
    EXPECT_EQ(app.system.defFolders[3], "Pics");
}

TEST_F(Interp, StringVariableWithoutQuotesKeepsValue) {
    app.system.scriptName = "a.spt";
    runScriptText(app, "script b.spt");
    EXPECT_EQ(app.system.scriptName, "a.spt");
    EXPECT_EQ(t.host.lastText(), "Object script.\nIt is missing arguments and/or their type is wrong.");
}

TEST_F(Interp, LabelsAndGotoRunForwardOnly) {
    runFile("s.spt",
            "convert.tilex 1\n"
            "goto later\n"
            "convert.tilex 2\n"
            "  _Later:\n"
            "convert.tiley 3\n"
            "top:\n"
            "goto top\n"
            "convert.tiley 4\n");
    EXPECT_EQ(app.convert.tileX, 1);
    EXPECT_EQ(app.convert.tileY, 3);  // the backward goto ends the run
    EXPECT_TRUE(app.script.labelPending);
}

TEST_F(Interp, LabelWithTrailingBlankIsAStatement) {
    runFile("s.spt", "here: \nconvert.tilex 5\n");
    EXPECT_EQ(t.host.lastText(), "The identifier here: doesn't exist.");
    EXPECT_EQ(app.convert.tileX, 5);
}

TEST_F(Interp, GotoKeepsTrailingBlanks) {
    runFile("s.spt", "goto next  \nnext:\nconvert.tilex 9\n");
    EXPECT_EQ(app.convert.tileX, 8);
}

TEST_F(Interp, LastLineWithoutBreakIsNotRun) {
    runFile("s.spt", "convert.tilex 5\r\nconvert.tiley 6");
    EXPECT_EQ(app.convert.tileX, 5);
    EXPECT_EQ(app.convert.tileY, 8);
}

TEST_F(Interp, StartsFromALabelAndHonoursReturn) {
    runFile("s.spt", "convert.tilex 2\nonStart:\nconvert.tiley 16\nreturn 0\nconvert.tiley 32\n", "OnStart");
    EXPECT_EQ(app.convert.tileX, 8);
    EXPECT_EQ(app.convert.tileY, 16);
    EXPECT_EQ(app.script.returnValue, 0);
    EXPECT_EQ(app.system.messages, 1);  // set back when a run ends
}

TEST_F(Interp, IncludeAndDoShareState) {
    dir.write("inner.spt", "convert.tilex 4\nend\n");
    dir.write("lib.spt", "convert.tiley 1\n_setup:\nconvert.tiley 24\n");
    std::string outer = "include \"" + dir.file("inner.spt") + "\"\nconvert.tilex 99\n";
    runFile("outer.spt", outer);
    EXPECT_EQ(app.convert.tileX, 4);  // end in the included file ends the caller
    runScriptText(app, "do \"" + dir.file("lib.spt") + "\", \"setup\"");
    EXPECT_EQ(app.convert.tileY, 24);
    runScriptText(app, "include \"" + dir.file("missing.spt") + "\";include missing;do");
    ASSERT_GE(t.host.boxes.size(), 3u);
    EXPECT_EQ(t.host.boxes[0].text, "Unable to include the specified file: " + dir.file("missing.spt"));
    EXPECT_EQ(t.host.boxes[1].text, "Function: include\nFilename incorrectly defined (don't forget quote marks)");
    EXPECT_EQ(t.host.boxes[2].text, "Function: Do\nFile name not defined correctly (don't forget quote marks)");
}

TEST_F(Interp, SelfIncludingScriptStopsInsteadOfOverflowing) {
    std::string path = dir.file("loop.spt");
    runFile("loop.spt", "include \"" + path + "\"\n");
    ASSERT_FALSE(t.host.boxes.empty());
    EXPECT_NE(t.host.boxes[0].text.find(path + " was not run"), std::string::npos) << t.host.boxes[0].text;
}

TEST_F(Interp, DevicesAreNotScripts) {
    runScriptText(app, "include \"/dev/zero\";do \"/dev/zero\", \"x\";msgbox \"after\"");
    ASSERT_FALSE(t.host.boxes.empty());
    EXPECT_EQ(t.host.boxes.back().text, "after");  // nothing hung
}

TEST_F(Interp, MsgBoxCancelWithAndWithoutLabel) {
    t.host.answers = {Answer::Cancel};
    runFile("s.spt", "msgbox \"Sure?\", \"Ask\" else goto skip\nconvert.tilex 1\nskip:\nconvert.tiley 2\n");
    EXPECT_EQ(t.host.boxes[0].caption, "Ask");
    EXPECT_EQ(app.convert.tileX, 8);
    EXPECT_EQ(app.convert.tileY, 2);
    t.host.answers = {Answer::Cancel};
    runScriptText(app, "msgbox;convert.tilex 3");
    EXPECT_EQ(t.host.lastText(), "Breakpoint defined here (MsgBox without argument).");
    EXPECT_EQ(app.convert.tileX, 8);
}

TEST_F(Interp, TextRunsCutLongStatementsAndSplitOnEverySemicolon) {
    std::string longText = "msgbox \"" + std::string(2000, 'a') + "\"";
    runScriptText(app, longText);
    EXPECT_FALSE(t.host.boxes.empty());  // cut pieces run as further statements, no crash
    t.host.clear();
    runScriptText(app, "msgbox \"a;b\"");
    ASSERT_EQ(t.host.boxes.size(), 2u);  // the ';' inside quotes separates too
}

TEST_F(Interp, SystemObject) {
    runScriptText(app, "system.maxobjects 1;system.maxmemory 64 MB;system.autoformatselection false");
    EXPECT_EQ(app.system.maxObjects, 3);
    EXPECT_EQ(app.system.maxMemory, 64u * 1048576u + 1024u);
    EXPECT_EQ(app.system.autoFormatSelection, 0);
}

TEST_F(Interp, IndexIsSharedAcrossTheStatementParts) {
    runScriptText(app, "folders [2] . folder = \"two\"");
    EXPECT_EQ(app.system.defFolders[1], "two");
    runScriptText(app, "deffolder[3] \"Gfx\";folders.tilesets \"Gfx2\"");
    EXPECT_EQ(app.system.defFolders[2], "Gfx2");
}

TEST_F(Interp, ProceduresMenuListsUnderscoreLabels) {
    dir.write("p.spt", "onstart:\n_Build All:\n  _clean: # comment\nnot_a:\n_x : \n");
    auto list = buildProceduresMenu(app, dir.file("p.spt"));
    EXPECT_EQ(list.status, 0);
    ASSERT_EQ(list.labels.size(), 2u);
    EXPECT_EQ(list.labels[0], "Build All");
    EXPECT_EQ(list.labels[1], "clean");
    EXPECT_EQ(buildProceduresMenu(app, "").status, 1);
    EXPECT_EQ(buildProceduresMenu(app, dir.file("none.spt")).status, 2);
}

TEST_F(Interp, BinaryGarbageNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += char((i * 7919) % 256);
    dir.write("g.spt", garbage + "\n");
    runScriptFile(app, dir.file("g.spt"));
    runScriptText(app, garbage);
    SUCCEED();
}

TEST_F(Interp, StatementWithoutIndexStartsAgainFromTheFirstSlot) {
    runScriptText(app, "deffolder[3] \"A\";deffolder \"B\"");
    EXPECT_EQ(app.system.defFolders[0], "B");
    EXPECT_EQ(app.system.defFolders[2], "A");
}

TEST_F(Interp, EscapedQuoteDoesNotCloseTheQuotedPart) {
    runScriptText(app, "msgbox \"a\\\"B #c\"");
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].text, "a\"B #c");  // letters kept, the '#' is no comment
}

TEST_F(Interp, GreenOfRgbIsReadAsPlainDecimalDigits) {
    runScriptText(app, "convert.maskcolor rgb(1,0x10,2)");
    EXPECT_EQ(app.convert.maskRed, 1);
    EXPECT_EQ(app.convert.maskGreen, 0);  // "0x10" read as decimal digits: 0
    EXPECT_EQ(app.convert.maskBlue, 2);
}
