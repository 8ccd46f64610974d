#include <gtest/gtest.h>

#include "formats/project_lines.h"
#include "host/file_system.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "script/values.h"
#include "test_support.h"

using namespace ts;

namespace {

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct ProjectWriterTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }

    // Everything up to the infos section's settings lines, as the writer puts it for `app`.
    std::string head() const {
        return std::string("#Fichier de projet Tilesmithery\n") +
               "\n#Useful informations about the last session\n .section infos\n"
               "  Directory = \"" + currentDirectory() + "\"\n  Script = \"script.spt\"\n  UserHelp = \"lisezmoi.htm\"\n";
    }
    std::string tail(const std::string& elements, const std::string& data = "  End\n\n\n\n") const {
        return projectFormatLines(app) + projectModelLines(app) + projectPlatformLines(app) + "  End\n" +
               "\n#Project tree elements\n .section files\n" + elements + " End\n" +
               "\n#Section where you can enter any script command. It permits you to set here different variables.\n"
               " .section data\n" + data;
    }
};

const char* const kDefaultConvertLines =
    "\n  convert.maskColor = RGB(255,0,254)\n"
    "  convert.lighting   GAMMA=RGB(1.000,1.000,1.000)  ADD=RGB(0.0,0.0,0.0)  ALPHA=RGB(0.0,0.0,0.0)\n"
    "  convert.mode = 0\n\n";

}  // namespace

TEST_F(ProjectWriterTest, DefaultProjectBytesWithCrLf) {
    std::string expected = head() + kDefaultConvertLines + "  system.saveMapsParamsAuto = false\n" + tail("");
    EXPECT_EQ(projectFileText(app), expected);
    ASSERT_EQ(WriteProject(app, dir.file("p.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("p.tsp"), crlf(expected));
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST_F(ProjectWriterTest, SettingsLinesOnlyWhenTheyDifferFromTheDefaults) {
    app.convert.maskRed = 1;
    app.convert.maskGreen = 2;
    app.convert.maskBlue = 3;
    app.convert.gamma[0] = 0.5;
    app.convert.gamma[1] = 4.0;
    app.convert.add[2] = -12.25;
    app.convert.alpha[1] = 0.5;
    app.convert.quantization = 2;
    app.system.saveMapsParams = 0;
    app.system.saveMapsParamsAuto = 1;
    app.system.maxObjects = 50;
    app.editor.timing = 40;
    app.system.maxMemory = 1536;
    app.system.autoFormatSelection = 0;
    app.convert.shades = 15;
    app.convert.shadesBefore = 3;
    app.convert.truncate = 1;
    app.convert.useMaxColors = 1;
    app.convert.maxPrecision = 64;
    app.system.emulGba = 1;
    app.convert.colorization = 7;
    app.convert.fastPalReduction = 5;
    app.convert.palReducPost = 0;
    app.convert.exactPacking = 0;
    app.convert.flipMerge = 1;
    app.system.defFolders[0] = "Levels";
    app.system.defFolders[6] = "Lists";
    app.system.scriptName = "other.spt";
    std::string text = projectFileText(app);
    const std::string expected =
        "  UserHelp = \"lisezmoi.htm\"\n"
        "\n  convert.maskColor = RGB(1,2,3)\n"
        "  convert.lighting   GAMMA=RGB(2.000,0.250,1.000)  ADD=RGB(0.0,0.0,-12.2)  ALPHA=RGB(0.0,0.5,0.0)\n"
        "  convert.mode = 2\n\n"
        "  system.saveMapsParams = false\n"
        "  system.saveMapsParamsAuto = true\n"
        "  system.maxObjects = 50\n"
        "  editor.Timing = 40\n"
        "  system.MaxMemory = " + formatSize(1536) + "\n"
        "  system.autoFormatSelection = false\n"
        "  convert.shades = 16\n"
        "  convert.shadesBefore = true\n"
        "  convert.truncate = true\n"
        "  convert.useMaxColors = true\n"
        "  convert.maxPrecision = 64\n"
        "  system.emulGBA = true\n"
        "  convert.colorization = 7\n"
        "  convert.fastPalReduction = true\n"
        "  convert.palReducPost = false\n"
        "  convert.exactPacking = false\n"
        "  convert.flipMerge = true\n"
        "  DefFolder[1] = \"Levels\"\n"
        "  DefFolder[7] = \"Lists\"\n";
    EXPECT_NE(text.find("  Script = \"other.spt\"\n"), std::string::npos);
    EXPECT_NE(text.find(expected + projectFormatLines(app)), std::string::npos) << text;
}

TEST_F(ProjectWriterTest, ElementRecordsAndDataSection) {
    ElementRecord folder;
    folder.name = "World 1";
    folder.typeAndFlags = kFolderFlag | kInFolderFlag;
    folder.folder = "maps";
    appendElementRecord(app, folder);
    ElementRecord map;
    map.name = "Level";
    map.typeAndFlags = TYPE_CARTE | kInFolderFlag;
    map.folder = "World 1";
    map.file = "data\\level one.map.c";
    map.baseFile = "img\\level.png";
    appendElementRecord(app, map);
    ElementRecord pal;
    pal.name = "Pal\nType: map";  // a line break never starts a line of its own
    pal.typeAndFlags = TYPE_PALETTE;
    pal.file = "p.pal.c";
    appendElementRecord(app, pal);
    projectPaths(app).dataSection = "  msgbox \"hi\"\n  End\n";
    projectPaths(app).dataSectionRead = true;

    std::string elements =
        " #--------------\n  Element: World 1\n  Type: folder\n  Folder: maps\n"
        " #--------------\n  Element: Level\n  Type: map\n  File: data\\level one.map.c\n  Base: img\\level.png\n"
        "  Folder: World 1\n"
        " #--------------\n  Element: Pal Type: map\n  Type: palette\n  File: p.pal.c\n  Base: \n";
    std::string text = projectFileText(app);
    EXPECT_EQ(text.substr(text.size() - tail(elements, projectPaths(app).dataSection).size()), tail(elements, projectPaths(app).dataSection));

    projectPaths(app).dataSection.clear();  // a data section that was read empty stays empty
    text = projectFileText(app);
    EXPECT_EQ(text.substr(text.size() - 16), "\n .section data\n");
}

TEST_F(ProjectWriterTest, NamesFromTheSaveDialogAndFailures) {
    EXPECT_EQ(WriteProject(app, ""), WriteProjectResult::Cancelled);
    EXPECT_EQ(WriteProject(app, "", [] { return std::string(); }), WriteProjectResult::Cancelled);
    std::string written;
    EXPECT_EQ(WriteProject(app, "", [&] { return dir.file("chosen"); }, &written), WriteProjectResult::Written);
    EXPECT_EQ(written, dir.file("chosen.tsp"));
    EXPECT_TRUE(fileExists(dir.file("chosen.tsp")));
    EXPECT_EQ(withProjectExtension("my.dir/name"), "my.dir/name.tsp");
    EXPECT_EQ(withProjectExtension("a\\b.project"), "a\\b.project");
    EXPECT_TRUE(t.host.boxes.empty());

    // A failed write leaves the old file and says so.
    dir.write("sub/old.tsp", "old project");
    EXPECT_EQ(WriteProject(app, dir.file("missing/p.tsp")), WriteProjectResult::Failed);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.lastCaption(), "Error");
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Error);
    EXPECT_EQ(WriteProject(app, dir.file("sub")), WriteProjectResult::Failed);  // a directory
    EXPECT_EQ(dir.read("sub/old.tsp"), "old project");
}
