// The reference index file: section look-up, write, read, rework, clean and the header check.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "formats/template_variables.h"
#include "host/file_system.h"
#include "project/element_record.h"
#include "script/reference_file.h"
#include "test_support.h"

namespace ts {
namespace {

const std::string kHeader = "# Tilesmithery property reference index file version 1.0\r\n";

class ReferenceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setCurrentDirectory(dir.path());
        projectPaths(app).projectPath = dir.file("projet.tsp");
        resetTemplateVariables(app);
    }
    ElementRecord element(const std::string& file) {
        ElementRecord e;
        e.file = file;
        return e;
    }
    void save(const std::string& file, int size) {
        setTemplateInteger(app, "size", size);
        writeSection(app, "size=%size%\r\n", element(file));
    }
    std::string ref() { return dir.read("projet.ref"); }
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

TEST_F(ReferenceFileTest, FileNameRule) {
    EXPECT_EQ(referenceFilePath(app), dir.file("projet.ref"));
    projectPaths(app).projectPath = "/a.b/project";
    EXPECT_EQ(referenceFilePath(app), "/a.b/project.ref");
    projectPaths(app).projectPath = "C:\\games\\demo.v1.tsp";
    EXPECT_EQ(referenceFilePath(app), "C:\\games\\demo.v1.ref");
    projectPaths(app).projectPath = "/x/odd.ref";
    EXPECT_EQ(referenceFilePath(app), "/x/odd.ref.ref");  // never the project file itself
}

TEST_F(ReferenceFileTest, SectionLookUpLooksAtLineStartsOnly) {
    std::string text = "# h\n@a.map@\n x @b.map@\n@b.map@\n y\n@A.map@\n@a.map@x@\n";
    EXPECT_EQ(findSectionLine("a.map", text.data(), text.size()), 4);
    EXPECT_EQ(findSectionLine("b.map", text.data(), text.size()), 23);
    EXPECT_EQ(findSectionLine("A.map", text.data(), text.size()), 34);
    EXPECT_EQ(findSectionLine("c.map", text.data(), text.size()), -1);
    EXPECT_EQ(nextSectionLine(text.data(), 0, text.size()), 4);
    EXPECT_EQ(nextSectionLine(text.data(), 5, text.size()), 23);
    EXPECT_EQ(nextSectionLine(text.data(), 35, text.size()), -1);  // "@a.map@x@" is no section line
    EXPECT_EQ(nextSectionLine(text.data(), long(text.size()), text.size()), -1);
}

TEST_F(ReferenceFileTest, WriteCreatesAppendsAndReplacesInPlace) {
    writeSection(app, "", element("a.map"));  // an empty template does nothing
    EXPECT_FALSE(fileExists(dir.file("projet.ref")));
    save("a.map", 1);
    EXPECT_EQ(ref(), kHeader + "@a.map@\r\n size=1\r\n\r\n");
    save("b.map", 2);
    save("A.map", 3);  // names differ in case: a section of its own
    save("a.map", 4);
    EXPECT_EQ(ref(), kHeader + "@a.map@\r\n size=4\r\n\r\n@b.map@\r\n size=2\r\n\r\n@A.map@\r\n size=3\r\n\r\n");
    EXPECT_TRUE(host.boxes.empty());
    auto files = std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator{});
    EXPECT_EQ(files, 1);  // no temporary file left beside it
}

TEST_F(ReferenceFileTest, FailedRewriteLeavesTheOldFileWhole) {
    save("a.map", 1);
    save("b.map", 2);
    std::string before = ref();
    // The reference file is read-only: every rewrite is refused and said.
    std::filesystem::permissions(dir.file("projet.ref"), std::filesystem::perms::owner_read);
    host.clear();
    save("a.map", 3);
    reworkSection(app, 0, "a.map");
    EXPECT_EQ(ref(), before);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].caption, "Error");
    EXPECT_NE(host.boxes[0].text.find("could not be written: Permission denied."), std::string::npos);
    EXPECT_TRUE(host.failureSeen());
}

TEST_F(ReferenceFileTest, ReadSectionFillsTheVariables) {
    save("a.map", 11);
    save("b.map", 22);
    resetTemplateVariables(app);
    readSection(app, "size=%size%\r\n", element("b.map"));
    EXPECT_EQ(getTemplateInteger(app, "size"), 22);
    readSection(app, "size=%size%\r\n", element("a.map"));
    EXPECT_EQ(getTemplateInteger(app, "size"), 11);
    resetTemplateVariables(app);
    readSection(app, "size=%size%\r\n", element("missing.map"));
    readSection(app, "", element("a.map"));
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ReferenceFileTest, ReworkRenamesCopiesAndDeletes) {
    save("a.map", 1);
    save("b.map", 2);
    std::string c = "c.map";
    reworkSection(app, 1, "a.map", &c);
    EXPECT_EQ(ref(), kHeader + "@c.map@\r\n size=1\r\n\r\n@b.map@\r\n size=2\r\n\r\n");
    std::string d = "d.map";
    reworkSection(app, 2, "b.map", &d);
    EXPECT_EQ(ref(), kHeader + "@c.map@\r\n size=1\r\n\r\n@b.map@\r\n size=2\r\n\r\n@d.map@\r\n size=2\r\n\r\n");
    reworkSection(app, 0, "d.map");
    EXPECT_EQ(ref(), kHeader + "@c.map@\r\n size=1\r\n\r\n@b.map@\r\n size=2\r\n\r\n");
    reworkSection(app, 0, "nothing.map");
    EXPECT_EQ(ref(), kHeader + "@c.map@\r\n size=1\r\n\r\n@b.map@\r\n size=2\r\n\r\n");
    EXPECT_TRUE(host.boxes.empty());
    reworkSection(app, 1, "c.map", nullptr);
    EXPECT_EQ(host.lastText(), "reworkSection(deleteSection): the newSection parameter is null!");
    EXPECT_EQ(host.lastCaption(), "Serious error");
    EXPECT_EQ(host.boxes.back().icon, Icon::Warning);
    EXPECT_EQ(ref(), kHeader + "@c.map@\r\n size=1\r\n\r\n@b.map@\r\n size=2\r\n\r\n");
}

TEST_F(ReferenceFileTest, ReworkOfAMissingSectionCreatesEmptyOnes) {
    std::string n = "new.map";
    reworkSection(app, 2, "old.map", &n);
    EXPECT_EQ(ref(), kHeader + "@old.map@\r\n@new.map@\r\n");
}

TEST_F(ReferenceFileTest, InvalidHeaderIsBackedUpOnce) {
    std::string bad = "# Tilesmithery reference index file version 1.0\r\n@a.map@\r\n x\r\n";
    dir.write("projet.ref", bad);
    save("b.map", 5);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(),
              "The reference file was invalid and has been recreated. The original file has been renamed with the "
              "extension .bak.");
    EXPECT_EQ(host.lastCaption(), "Warning");
    EXPECT_EQ(host.boxes.back().icon, Icon::Information);
    EXPECT_EQ(dir.read("projet.ref.bak"), bad);
    EXPECT_EQ(ref(), kHeader + "@b.map@\r\n size=5\r\n\r\n");
    // A second invalid file is backed up under a new name: the first backup stays.
    dir.write("projet.ref", "garbage");
    resetTemplateVariables(app);
    readSection(app, "size=%size%\r\n", element("b.map"));
    EXPECT_EQ(host.lastText(),
              "The reference file was invalid and has been recreated. The original file has been renamed with the "
              "extension .bak1.");
    EXPECT_EQ(dir.read("projet.ref.bak"), bad);
    EXPECT_EQ(dir.read("projet.ref.bak1"), "garbage");
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
}

TEST_F(ReferenceFileTest, LineFeedOnlyFilesAndFilesWithoutFinalLineEndAreRead) {
    dir.write("projet.ref", "# Tilesmithery property reference index file version 1.0\n@a.map@\n size=7\n@b.map@\n size=8");
    readSection(app, "size=%size%\r\n", element("a.map"));
    EXPECT_EQ(getTemplateInteger(app, "size"), 7);
    save("c.map", 9);
    EXPECT_EQ(ref(), kHeader + "@a.map@\r\n size=7\r\n@b.map@\r\n size=8\r\n@c.map@\r\n size=9\r\n\r\n");
}

TEST_F(ReferenceFileTest, CleanRemovesSectionsOfMissingFilesOnly) {
    dir.write("kept.map", "x");
    dir.write("also.map", "x");
    std::string text = kHeader + "@kept.map@\r\n a\r\n@gone.map@\r\n b\r\n@gone.map@x\r\n@also.map@\r\n c\r\n" +
                       "@gone2.map@\r\n d\r\n";
    dir.write("projet.ref", text);
    cleanReferenceFile(app);
    EXPECT_EQ(ref(), kHeader + "@kept.map@\r\n a\r\n@also.map@\r\n c\r\n");
    EXPECT_TRUE(host.boxes.empty());
    cleanReferenceFile(app);
    EXPECT_EQ(ref(), kHeader + "@kept.map@\r\n a\r\n@also.map@\r\n c\r\n");
}

}  // namespace
}  // namespace ts
