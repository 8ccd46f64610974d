// Format definition blocks, selection by name and by extension, and the project file line.
#include <gtest/gtest.h>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "formats/project_lines.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/text_file.h"
#include "test_support.h"

namespace ts {
namespace {

class FormatDefinitionTest : public ::testing::Test {
protected:
    // Runs `definefmt <args>` with the block text as the rest of the current script file.
    void define(std::string args, const std::string& block) {
        auto file = TextFile::fromText(block);
        app.script.currentFile = file.get();
        cmdDefineFormat(app, args.data());
        app.script.currentFile = nullptr;
        remaining.clear();
        std::string line;
        while (file->readLine(line, 4096)) remaining += line;
    }
    const FormatRecord& record(const std::string& name) {
        int i = findFormat(app, name);
        EXPECT_GE(i, 0) << name;
        return app.formats.records[size_t(i < 0 ? 0 : i)];
    }
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    std::string remaining;  // what the block reader left of the file
};

bool sameSection(const FormatSection& a, const FormatSection& b) {
    for (int f = 0; f < kSectionFieldCount; ++f)
        if (f != kFieldNEvery && *a.textField(f) != *b.textField(f)) return false;
    return a.nEvery == b.nEvery;
}

TEST_F(FormatDefinitionTest, StartUpHoldsOnlyStandardSelected) {
    ASSERT_EQ(app.formats.records.size(), 1u);
    EXPECT_EQ(app.formats.current.name, "Standard");
    EXPECT_EQ(app.formats.currentIndex, 0);
    EXPECT_EQ(app.formats.current.sections[kSectionMap].ext, ".map.c");
    EXPECT_EQ(app.formats.current.user[0], "#include \"def.h\"");
    EXPECT_EQ(projectFormatLines(app), "  Format = \"Standard\"\n\n");
}

TEST_F(FormatDefinitionTest, ANewFormatDiffersInTheOneFieldItNames) {
    define("Sixteen {", "palette {\nn_every = 16\n}\n}\nafter\n");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(remaining, "after\n");
    const FormatRecord& f = record("Sixteen");
    const FormatRecord& s = record("Standard");
    EXPECT_EQ(f.sections[kSectionPalette].nEvery, 16);
    for (int i = kSectionBitmap; i <= kSectionList; ++i) {
        FormatSection a = f.sections[size_t(i)], b = s.sections[size_t(i)];
        if (i == kSectionPalette) a.nEvery = b.nEvery;
        EXPECT_TRUE(sameSection(a, b)) << i;
    }
    EXPECT_EQ(f.user, s.user);
    EXPECT_EQ(f.type16, s.type16);
    EXPECT_EQ(app.formats.current.name, "Standard");  // defining does not select
}

TEST_F(FormatDefinitionTest, FieldsQuotesEscapesAndBothLanguages) {
    define("\"Asm\"",
           "{\n"
           "  Map {   # the map section\n"
           "\tElement = '0x%04X, '  trailing words are ignored\n"
           "    ligne = \"\\n\\b\\q\\\"#\"\n"
           "    EXT = *.S*\n"
           "    n_chaque = 4\n"
           "  }\n"
           "  liste {\n    fin = \"END\"\n  }\n"
           "  type16 = \"u16\"\n"
           "  user[3] = \"Abc\"\n"
           "}\n");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    const FormatRecord& f = record("Asm");
    EXPECT_EQ(f.sections[kSectionMap].element, "0x%04X, ");
    EXPECT_EQ(f.sections[kSectionMap].line, "\r\n\bq\"#");
    EXPECT_EQ(f.sections[kSectionMap].ext, ".s");  // asterisk quotes are not protected from lowering
    EXPECT_EQ(f.sections[kSectionMap].nEvery, 4);
    EXPECT_EQ(f.sections[kSectionList].end, "END");
    EXPECT_EQ(f.type16, "u16");
    EXPECT_EQ(f.user[2], "Abc");
    ASSERT_TRUE(ChoisitFormat(app, "Asm"));
    TemplateOutput out;
    writeElement(app, out, app.formats.current.sections[kSectionMap].element, 0xab);
    EXPECT_EQ(out.bytes, "0x00AB, ");
}

TEST_F(FormatDefinitionTest, DefinitionMessages) {
    define("Bad {",
           "user[9] = \"x\"\n"
           "colour = \"x\"\n"
           "line = \"x\"\n"
           "map ! \n"
           "weird {\n  line = \"lost\"\n}\n"
           "map {\n  ext = .unquoted\n}\n"
           "}\n");
    std::vector<std::string> texts;
    for (auto& b : host.boxes) {
        texts.push_back(b.text);
        EXPECT_EQ(b.caption, "Debuging");
        EXPECT_EQ(b.icon, Icon::None);
    }
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Invalid field definition: 9]");
    EXPECT_EQ(texts[1], "Invalid field definition: colour");
    EXPECT_EQ(texts[2], "Field definition must be defined in a section (line=\"x\")");
    EXPECT_EQ(texts[3], "Unexpected character: !");
    EXPECT_EQ(texts[4], "Unknown section: weird");
    EXPECT_EQ(texts[5], "This field needs a quoted text (ext=.unquoted)");
    const FormatRecord& f = record("Bad");
    EXPECT_EQ(f.sections[kSectionMap].ext, ".map.c");
    EXPECT_EQ(f.sections[kSectionEmpty].line, "lost");  // the unknown section went to the ignored one
}

TEST_F(FormatDefinitionTest, ExistingFormatIsUpdatedInPlace) {
    define("A {", "map {\next = \".a1\"\n}\n}\n");
    define("A {", "tileset {\next = \".t1\"\n}\n}\n");
    EXPECT_EQ(app.formats.records.size(), 2u);
    EXPECT_EQ(record("A").sections[kSectionMap].ext, ".a1");
    EXPECT_EQ(record("A").sections[kSectionTileset].ext, ".t1");
}

TEST_F(FormatDefinitionTest, OverlongLineIsCutAndItsRestDropped) {
    std::string longLine = "map {" + std::string(10000, ' ') + "}\n";
    std::string block = "map {\n  ext = \"" + std::string(10000, 'x') + "\"\n}\n" + longLine + "}\n}\nafter\n";
    define("Long {", block);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(remaining, "after\n");
    EXPECT_LT(record("Long").sections[kSectionMap].ext.size(), 4096u);
}

TEST_F(FormatDefinitionTest, CommandNameFormsAndTextRuns) {
    std::string args = "NoFile {";
    cmdDefineFormat(app, args.data());  // no current script file: nothing happens
    EXPECT_EQ(findFormat(app, "NoFile"), -1);
    define("   Spaced Name \t{", "}\n");
    EXPECT_GE(findFormat(app, "Spaced Name"), 0);
    define("Forgot", "}\n");
    EXPECT_EQ(host.lastText(), "You have forgotten the format opening { (on the same line).");
    EXPECT_EQ(host.lastCaption(), "Erreur d'ex\xE9" "cution du script");
    EXPECT_EQ(findFormat(app, "Forgot"), -1);
    define("\"" + std::string(150, 'n') + "\"", "}\n");
    EXPECT_GE(findFormat(app, std::string(99, 'n')), 0);
}

TEST_F(FormatDefinitionTest, SelectionByName) {
    define("Other {", "map {\next = \".o\"\n}\n}\n");
    std::string args = " \"Other\"";
    cmdSetFormat(app, args.data());
    EXPECT_EQ(app.formats.current.name, "Other");
    EXPECT_EQ(app.formats.currentIndex, 1);
    EXPECT_EQ(projectFormatLines(app), "  Format = \"Other\"\n\n");
    EXPECT_FALSE(ChoisitFormat(app, "other"));
    EXPECT_EQ(host.lastText(), "Format not found: other");
    EXPECT_EQ(host.lastCaption(), "Internal error: ChoisitFormat");
    EXPECT_EQ(host.boxes.back().icon, Icon::Error);
    EXPECT_EQ(app.formats.current.name, "Other");
    // Changing the table does not change the working copy until selected again.
    define("Other {", "map {\next = \".p\"\n}\n}\n");
    EXPECT_EQ(app.formats.current.sections[kSectionMap].ext, ".o");
    app.system.formatToSelect = "Standard";
    selectRememberedFormat(app);
    EXPECT_EQ(app.formats.current.name, "Standard");
    EXPECT_EQ(projectFormatLines(app), "  Format = \"Standard\"\n\n");
}

TEST_F(FormatDefinitionTest, ProjectLineKeepsARememberedFormatThatWasNeverSelected) {
    app.system.formatToSelect = "Mine";  // the project file's Format line, in a batch run
    EXPECT_EQ(projectFormatLines(app), "  Format = \"Mine\"\n\n");
    ChoisitFormat(app, "Standard");
    EXPECT_EQ(projectFormatLines(app), "  Format = \"Standard\"\n\n");
}

TEST_F(FormatDefinitionTest, ExtensionRule) {
    EXPECT_EQ(formatExtensionOf("gfx/ship.til.c"), "til.c");
    EXPECT_EQ(formatExtensionOf("gfx\\ship.til.c"), "til.c");
    EXPECT_EQ(formatExtensionOf("level1.map.c"), "map.c");
    EXPECT_EQ(formatExtensionOf("dir.v2/level"), "v2/level");
    EXPECT_EQ(formatExtensionOf("plain"), "plain");
    EXPECT_EQ(formatExtensionOf("a/b.c/d.e"), "e");
}

TEST_F(FormatDefinitionTest, AutomaticSelectionNeedsExactlyOneMatch) {
    define("Asm {", "map {\next = \".map.s\"\n}\npalette {\next = \".pal.s\"\n}\n}\n");
    AutoSelectFormat(app, "gfx/level1.map.s");
    EXPECT_EQ(app.formats.current.name, "Asm");
    AutoSelectFormat(app, "level1.map.c");  // only Standard still has ".map.c"
    EXPECT_EQ(app.formats.current.name, "Standard");
    AutoSelectFormat(app, "ship.til.c");  // Asm copied Standard's tileset section: two matches
    EXPECT_EQ(app.formats.current.name, "Standard");
    define("Twice {", "map {\next = \".zz\"\n}\ntileset {\next = \".zz\"\n}\n}\n");
    AutoSelectFormat(app, "a.zz");  // two sections of one format
    EXPECT_EQ(app.formats.current.name, "Standard");
    AutoSelectFormat(app, "a.unknown");
    EXPECT_EQ(app.formats.current.name, "Standard");
    define("Solo {", "bitmap {\next = \".solo\"\n}\n}\n");
    app.system.autoFormatSelection = 0;
    AutoSelectFormat(app, "a.solo");
    EXPECT_EQ(app.formats.current.name, "Standard");
    app.system.autoFormatSelection = 1;
    AutoSelectFormat(app, "a.solo");
    EXPECT_EQ(app.formats.current.name, "Solo");
    EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace ts

#include "script/interpreter.h"

namespace ts {
namespace {

TEST_F(FormatDefinitionTest, ScriptDefinesAndSelectsAFormat) {
    runScript(app, TextFile::fromText("definefmt \"Mine\"\r\n{\r\n  palette {\r\n    n_every = 16\r\n  }\r\n}\r\n"
                                      "selformat \"Mine\"\r\nsystem.maxobjects 7\r\n"));
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(app.formats.current.name, "Mine");
    EXPECT_EQ(app.formats.current.sections[kSectionPalette].nEvery, 16);
    EXPECT_EQ(app.system.maxObjects, 7);  // the interpreter went on after the block
    // In a text run there is no script file to read a block from.
    runScriptText(app, "definefmt \"Other\"");
    EXPECT_EQ(findFormat(app, "Other"), -1);
}

}  // namespace
}  // namespace ts
