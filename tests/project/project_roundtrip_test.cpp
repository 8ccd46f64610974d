#include <gtest/gtest.h>

#include <cstring>

#include "host/file_system.h"
#include "project/element_table.h"
#include "project/legacy_project.h"
#include "project/project_file.h"
#include "test_support.h"

using namespace ts;

namespace {

struct ProjectRoundTripTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }
};

// A legacy record of 560 bytes.
std::string legacyRecord(const std::string& base, const std::string& file, const std::string& name, uint32_t type) {
    std::string r(kLegacyRecordSize, '\0');
    std::memcpy(&r[4], base.data(), std::min<size_t>(base.size(), 260));
    std::memcpy(&r[264], file.data(), std::min<size_t>(file.size(), 260));
    std::memcpy(&r[524], name.data(), std::min<size_t>(name.size(), 32));
    for (int i = 0; i < 4; ++i) r[556 + size_t(i)] = char((type >> (8 * i)) & 0xFF);
    return r;
}

std::string legacyHeader(uint32_t count) {
    std::string h = "Tilesmithery 02";
    for (int i = 0; i < 4; ++i) h += char((count >> (8 * i)) & 0xFF);
    return h;
}

void fillProject(App& app, const test::TempDir& dir) {
    for (int i = 0; i < 3; ++i) dir.write("data/e" + std::to_string(i) + ".c", "x");
    ElementRecord folder;
    folder.name = "Backgrounds";
    folder.typeAndFlags = kFolderFlag | kInFolderFlag;
    folder.folder = "tilesets";
    appendElementRecord(app, folder);
    ElementRecord tiles;
    tiles.name = "Sky";
    tiles.typeAndFlags = TYPE_MOSAIQUE | kInFolderFlag;
    tiles.folder = "Backgrounds";
    tiles.file = "data\\e0.c";
    tiles.baseFile = "images\\sky blue.png";
    appendElementRecord(app, tiles);
    ElementRecord map = tiles;
    map.name = "Sky";
    map.typeAndFlags = TYPE_CARTE;
    map.file = "data\\e1.c";
    appendElementRecord(app, map);
    ElementRecord list;
    list.name = "Enemies";
    list.typeAndFlags = TYPE_LISTE;
    list.file = "data\\e2.c";
    appendElementRecord(app, list);
    app.system.defFolders[2] = "Backgrounds";
    app.system.maxObjects = 300;
    app.system.saveMapsParams = 0;
    app.system.saveMapsParamsAuto = 1;
    app.system.userHelp = "help me.htm";
}

}  // namespace

TEST_F(ProjectRoundTripTest, WrittenProjectReadsBackByteForByte) {
    fillProject(app, dir);
    app.convert.exactPacking = 0;
    app.convert.flipMerge = 1;
    projectPaths(app).dataSection = "  # the user's own lines\n  deffolder[7] = \"Lists\"\n  End\n\n\n\n";
    projectPaths(app).dataSectionRead = true;
    ASSERT_EQ(WriteProject(app, dir.file("p.tsp")), WriteProjectResult::Written);
    std::string first = dir.read("p.tsp");

    test::TestApp fresh;
    ASSERT_TRUE(ReadProject(fresh.app, dir.file("p.tsp")));
    EXPECT_TRUE(fresh.host.boxes.empty()) << fresh.host.lastCaption() << ": " << fresh.host.lastText();
    ASSERT_EQ(fresh.app.elements.count(), 4);
    EXPECT_EQ(fresh.app.elements.records[1].baseFile, "images\\sky blue.png");
    EXPECT_EQ(fresh.app.elements.records[1].typeAndFlags, TYPE_MOSAIQUE | kInFolderFlag);
    EXPECT_EQ(fresh.app.system.maxObjects, 300);
    EXPECT_EQ(fresh.app.convert.exactPacking, 0);
    EXPECT_EQ(fresh.app.convert.flipMerge, 1);
    EXPECT_EQ(fresh.app.system.saveMapsParams, 0);
    EXPECT_EQ(fresh.app.system.userHelp, "help me.htm");
    EXPECT_EQ(fresh.app.system.defFolders[2], "Backgrounds");
    EXPECT_EQ(fresh.app.system.defFolders[6], "Lists");  // the data section ran
    EXPECT_EQ(projectPaths(fresh.app).dataSection, projectPaths(app).dataSection);
    fresh.app.system.defFolders[6].clear();  // set by the data section, not by the infos section

    ASSERT_EQ(WriteProject(fresh.app, dir.file("q.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("q.tsp"), first);
}

TEST_F(ProjectRoundTripTest, HandWrittenCrLfProjectSurvives) {
    std::string written;
    {
        test::TestApp blank;
        written = projectFileText(blank.app);
    }
    // Take the writer's own infos lines from the defaults, then a hand-made files and data section.
    size_t infosEnd = written.find("\n#Project tree elements\n");
    ASSERT_NE(infosEnd, std::string::npos);
    std::string infos = written.substr(0, infosEnd);
    std::string crlfInfos;
    for (char c : infos) {
        if (c == '\n') crlfInfos += '\r';
        crlfInfos += c;
    }
    std::string file = crlfInfos +
                       "\r\n#Project tree elements\r\n .section files\r\n"
                       " #--------------\r\n  Element: Hero\r\n  Type: tileset\r\n  File: hero.til.c\r\n  Base: hero.png\r\n"
                       " End\r\n"
                       "\r\n#Section where you can enter any script command. It permits you to set here different variables.\r\n"
                       " .section data\r\n"
                       "  End\r\n\r\n  anything after End is kept\r\n\twith \"quotes\" and tabs\r\n";
    dir.write("hand.tsp", file);
    ASSERT_TRUE(ReadProject(app, dir.file("hand.tsp")));
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    ASSERT_EQ(WriteProject(app, dir.file("out.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("out.tsp"), file);
}

TEST_F(ProjectRoundTripTest, WrongMagicGoesThroughTheLegacyPathWithBackup) {
    app.system.scriptName = "kept.spt";
    ElementRecord old;
    old.name = "Old";
    appendElementRecord(app, old);
    dir.write("p.tsp", "#Some other file\n .section infos\n  script = \"changed.spt\"\n");
    EXPECT_FALSE(ReadProject(app, dir.file("p.tsp")));
    ASSERT_EQ(t.host.boxes.size(), 2u);
    EXPECT_EQ(t.host.boxes[0].caption, "Attention");
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Warning);
    EXPECT_FALSE(t.host.boxes[0].owned);
    EXPECT_EQ(t.host.boxes[0].text,
              "This is an older project file version (or newer)\nTilesmithery will try to update of this file, but will "
              "first back it up as Projet.tsp.bak, ok?");
    EXPECT_EQ(t.host.boxes[1].caption, "Error");
    EXPECT_EQ(t.host.boxes[1].icon, Icon::Error);
    EXPECT_EQ(t.host.boxes[1].text,
              "None of the built-in filters can load the project file.\nTilesmithery will now start with a new (empty) "
              "project.");
    EXPECT_EQ(dir.read("p.tsp.bak"), dir.read("p.tsp"));
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_EQ(app.system.scriptName, "kept.spt");  // the infos section does not run on this path

    // The magic line without its line feed is not the magic line either.
    t.host.clear();
    dir.write("q.tsp", "#Fichier de projet Tilesmithery");
    EXPECT_FALSE(ReadProject(app, dir.file("q.tsp")));
    EXPECT_EQ(t.host.boxes.size(), 2u);
}

TEST_F(ProjectRoundTripTest, LegacyProjectIsAddedThroughTheAddOperation) {
    dir.write("a.map.c", "x");
    dir.write("b.map.c", "x");
    dir.write("t.til.c", "x");
    std::string bytes = legacyHeader(5);
    bytes += legacyRecord("a.png", "a.map.c", "Level", TYPE_CARTE - 1);
    bytes += legacyRecord("b.png", "b.map.c", "Level", TYPE_CARTE - 1);  // same name: renamed
    bytes += legacyRecord("", "missing.c", "Gone", TYPE_CARTE - 1);       // missing file: left out
    bytes += legacyRecord("t.png", "t.til.c", std::string(32, 'N'), TYPE_MOSAIQUE - 1);  // no terminator
    bytes += legacyRecord("", "t.til.c", "Odd", 0xFFFFFFFFu);  // type wraps to 0
    dir.write("old.tsp", bytes);
    EXPECT_TRUE(ReadLegacyProject(app, dir.file("old.tsp")));
    ASSERT_EQ(app.elements.count(), 4);
    EXPECT_EQ(app.elements.records[0].name, "Level");
    EXPECT_EQ(app.elements.records[0].baseFile, "a.png");
    EXPECT_EQ(app.elements.records[0].typeAndFlags, uint32_t(TYPE_CARTE));
    EXPECT_EQ(app.elements.records[1].name, "Level2");
    EXPECT_EQ(app.elements.records[2].name, std::string(30, 'N'));
    EXPECT_EQ(app.elements.records[2].type(), uint32_t(TYPE_MOSAIQUE));
    EXPECT_EQ(app.elements.records[3].typeAndFlags, 0u);
    EXPECT_TRUE(t.host.boxes.empty());

    // Through ReadProject: the backup, the first message, and the project loaded.
    ASSERT_TRUE(ReadProject(app, dir.file("old.tsp")));
    EXPECT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(app.elements.count(), 4);
    EXPECT_EQ(dir.read("old.tsp.bak"), bytes);
}

TEST_F(ProjectRoundTripTest, LegacyCountsBeyondTheFileOrTheTable) {
    dir.write("a.c", "x");
    std::string bytes = legacyHeader(0xFFFFFFFFu) + legacyRecord("", "a.c", "One", 0) + std::string(100, '\0');
    dir.write("huge-count.tsp", bytes);
    EXPECT_TRUE(ReadLegacyProject(app, dir.file("huge-count.tsp")));
    EXPECT_EQ(app.elements.count(), 1);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Warning);

    clearElements(app);
    t.host.clear();
    std::string many = legacyHeader(1200);
    for (int i = 0; i < 1200; ++i) many += legacyRecord("", "a.c", "E" + std::to_string(i), 0);
    dir.write("many.tsp", many);
    EXPECT_TRUE(ReadLegacyProject(app, dir.file("many.tsp")));
    EXPECT_EQ(app.elements.count(), kElementCapacity);
    EXPECT_EQ(t.host.boxes.size(), 1u);

    dir.write("short.tsp", "Tilesmithery 02\x01");
    EXPECT_FALSE(ReadLegacyProject(app, dir.file("short.tsp")));
    EXPECT_FALSE(ReadLegacyProject(app, dir.file("nothing.tsp")));
}

TEST_F(ProjectRoundTripTest, DemoProjectSurvivesReadWriteRead) {
    std::string original = test::readFile(std::string(TS_SOURCE_DIR) + "/examples/demo/demo.tsp");
    if (original.empty()) GTEST_SKIP() << "no demo project";
    dir.write("demo.tsp", original);
    ASSERT_TRUE(ReadProject(app, dir.file("demo.tsp")));
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    ASSERT_EQ(WriteProject(app, dir.file("once.tsp")), WriteProjectResult::Written);
    std::string once = dir.read("once.tsp");

    test::TestApp fresh;
    ASSERT_TRUE(ReadProject(fresh.app, dir.file("once.tsp")));
    ASSERT_EQ(WriteProject(fresh.app, dir.file("twice.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("twice.tsp"), once);

    // Only the Directory line (where the project was written) differs from the shipped file.
    auto withoutDirectory = [](std::string text) {
        size_t at = text.find("  Directory = \"");
        size_t end = text.find("\r\n", at);
        return at == std::string::npos ? text : text.erase(at, end - at);
    };
    EXPECT_EQ(withoutDirectory(once), withoutDirectory(original));
}

TEST_F(ProjectRoundTripTest, AccurateMethodAndErrorDiffusionReadBack) {
    ASSERT_EQ(WriteProject(app, dir.file("p.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("p.tsp").find("convert.dither"), std::string::npos);  // off: not written

    app.convert.quantization = 3;
    app.convert.dither = 1;
    ASSERT_EQ(WriteProject(app, dir.file("p.tsp")), WriteProjectResult::Written);
    const std::string text = dir.read("p.tsp");
    EXPECT_NE(text.find("  convert.mode = 3\r\n"), std::string::npos);
    EXPECT_NE(text.find("  convert.dither = 1\r\n"), std::string::npos);

    test::TestApp fresh;
    ASSERT_TRUE(ReadProject(fresh.app, dir.file("p.tsp")));
    EXPECT_TRUE(fresh.host.boxes.empty()) << fresh.host.lastText();
    EXPECT_EQ(fresh.app.convert.quantization, 3);
    EXPECT_EQ(fresh.app.convert.dither, 1);
}
