#include <gtest/gtest.h>

#include "host/file_system.h"
#include "host/text_file.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "test_support.h"

using namespace ts;

namespace {

struct ProjectReaderTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }

    int readElements(const std::string& text) {
        auto file = TextFile::fromText(text);
        return readProjectElements(app, *file);
    }
    const ElementRecord& at(int i) const { return app.elements.records.at(size_t(i)); }
};

}  // namespace

TEST_F(ProjectReaderTest, RecordsWithCarriedOverAttributes) {
    ASSERT_EQ(readElements(" #--------------\n"
                           "  Element: Level 1\n"
                           "\tType: map\n"
                           "  File: data\\my level.map.c\n"
                           "  Base: level.png\n"
                           "  Folder: World\n"
                           " #--------------\n"
                           "  El\xE9ment: Tiles\n"
                           "  Type: tileset\n"
                           "  Fichier: t.til.c\n"
                           " #--------------\n"
                           "  Element: Box\n"
                           "  Type: folders\n"
                           "  Dossier: cartes\n"
                           " #--------------\n"
                           " End\n"
                           "  Element: After the end\n"
                           "  Type: map\n"),
              0);
    ASSERT_EQ(app.elements.count(), 3);
    EXPECT_EQ(at(0).name, "Level 1");
    EXPECT_EQ(at(0).typeAndFlags, TYPE_CARTE | kInFolderFlag);
    EXPECT_EQ(at(0).file, "data\\my level.map.c");  // blanks inside a path are kept
    EXPECT_EQ(at(0).baseFile, "level.png");
    EXPECT_EQ(at(0).folder, "World");
    // The next record keeps the base file and folder name, but not the in-folder flag.
    EXPECT_EQ(at(1).name, "Tiles");
    EXPECT_EQ(at(1).typeAndFlags, uint32_t(TYPE_MOSAIQUE));
    EXPECT_EQ(at(1).file, "t.til.c");
    EXPECT_EQ(at(1).baseFile, "level.png");
    EXPECT_EQ(at(1).folder, "World");
    EXPECT_EQ(at(2).typeAndFlags, kFolderFlag | kInFolderFlag);
    EXPECT_EQ(at(2).folder, "cartes");
}

TEST_F(ProjectReaderTest, DroppedRecordsAndLostElements) {
    readElements(" #--------------\n"
                 "  Element: Capital\n"
                 "  Type: Map\n"  // the type names are case-sensitive: the record is dropped
                 "  File: capital.map.c\n"
                 " #--------------\n"
                 "  Element: First\n"
                 "  Type: palette\n"
                 "  File: first.pal.c\n"
                 "  Element: Lost\n"  // ends First without a separator: this element is lost
                 "  Type: palette\n"
                 "  File: lost.pal.c\n"
                 "  random line\n"
                 "  Element: Liste\n"
                 "  Type: liste\n"
                 "  Base: b\n");
    ASSERT_EQ(app.elements.count(), 2);
    EXPECT_EQ(at(0).name, "First");
    EXPECT_EQ(at(0).file, "first.pal.c");
    EXPECT_EQ(at(1).name, "Liste");
    EXPECT_EQ(at(1).type(), uint32_t(TYPE_LISTE));
    EXPECT_EQ(at(1).file, "first.pal.c");  // the file of the dropped record was never read
}

TEST_F(ProjectReaderTest, EndLinesInAnyCaseStopTheList) {
    // A line that ends a record is consumed with it, even an end line.
    readElements("  Element: A\n  Type: map\n End\n  Element: B\n  Type: map\n");
    EXPECT_EQ(app.elements.count(), 2);

    for (const char* end : {"End", "end", "FIN", "\t .Section data", "ENDING"}) {
        readElements(std::string("  Element: A\n  Type: map\n -\n") + end + "\n  Element: B\n  Type: map\n");
        EXPECT_EQ(app.elements.count(), 1) << end;
    }
}

TEST_F(ProjectReaderTest, LongLinesAndGarbageStayBounded) {
    std::string longName(5000, 'n');
    std::string text = "  Element: " + longName + "\n  Type: map\n  File: " + std::string(3000, 'f') +
                       "\n  Folder: " + std::string(100, 'd') + "\n -\n";
    text += std::string("  Element: Z\0ero\n  Type: map\n -\n", 32);
    text += std::string(4096, '\xFF') + "\n\x01\x02\n";
    readElements(text);
    ASSERT_GE(app.elements.count(), 1);
    EXPECT_EQ(at(0).name, std::string(30, 'n'));
    for (const ElementRecord& r : app.elements.records) {
        EXPECT_LE(r.name.size(), kElementNameMax);
        EXPECT_LE(r.file.size(), kElementPathMax);
        EXPECT_LE(r.folder.size(), kFolderNameMax);
    }
}

TEST_F(ProjectReaderTest, NoMoreThanTheTableHolds) {
    std::string text;
    for (int i = 0; i < kElementCapacity + 5; ++i) text += " #-\n  Element: E" + std::to_string(i) + "\n  Type: map\n";
    EXPECT_EQ(readElements(text), 5);
    EXPECT_EQ(app.elements.count(), kElementCapacity);

    dir.write("big.tsp", std::string("#Fichier de projet Tilesmithery\n .section files\n") + text + " End\n");
    EXPECT_TRUE(ReadProject(app, dir.file("big.tsp")));
    EXPECT_EQ(app.elements.count(), kElementCapacity);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Warning);
    EXPECT_NE(t.host.lastText().find("1000"), std::string::npos);
}

TEST_F(ProjectReaderTest, FindSectionMatchesLowerCaseNames) {
    dir.write("s.tsp", "x\r\n  .SECTION Infos\r\nafter infos\r\n.section\r\n\t.section donn\xE9" "es\r\ndata line\r\n");
    std::string line;
    auto infos = FindSection(dir.file("s.tsp"), "infos");
    ASSERT_TRUE(infos);
    ASSERT_TRUE(infos->readLine(line, 100));
    EXPECT_EQ(line, "after infos\n");
    auto data = FindSection(dir.file("s.tsp"), "donn\xE9" "es", "data");
    ASSERT_TRUE(data);
    ASSERT_TRUE(data->readLine(line, 100));
    EXPECT_EQ(line, "data line\n");
    EXPECT_FALSE(FindSection(dir.file("s.tsp"), "files"));
    EXPECT_FALSE(FindSection(dir.file("s.tsp"), "INFOS"));  // the names are compared in lower case
    EXPECT_FALSE(FindSection(dir.file("missing.tsp"), "infos"));
}

TEST_F(ProjectReaderTest, MissingOrEmptyFileChangesNothing) {
    ElementRecord r;
    r.name = "Kept";
    appendElementRecord(app, r);
    app.system.scriptName = "mine.spt";
    EXPECT_FALSE(ReadProject(app, dir.file("missing.tsp")));
    dir.write("empty.tsp", "");
    EXPECT_FALSE(ReadProject(app, dir.file("empty.tsp")));
    EXPECT_EQ(app.elements.count(), 1);
    EXPECT_EQ(app.system.scriptName, "mine.spt");
    EXPECT_TRUE(t.host.boxes.empty());
    EXPECT_FALSE(fileExists(dir.file("empty.tsp.bak")));
}
