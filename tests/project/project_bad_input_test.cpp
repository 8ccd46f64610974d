#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "host/file_system.h"
#include "project/element_table.h"
#include "project/legacy_project.h"
#include "project/project_file.h"
#include "test_support.h"

using namespace ts;

namespace {

struct ProjectBadInputTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    void SetUp() override { ASSERT_TRUE(setCurrentDirectory(dir.path())); }
};

// A file of `size` bytes that begins with `head` and is a hole after it (no disk space used).
bool makeSparseFile(const std::string& path, const std::string& head, off_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, head.data(), head.size()) == ssize_t(head.size()) && ::ftruncate(fd, size) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

TEST_F(ProjectBadInputTest, TwoGigabyteLegacyFileWithAHugeCount) {
    std::string head = std::string("Tilesmithery 02") + "\xFF\xFF\xFF\x7F";
    if (!makeSparseFile(dir.file("huge.tsp"), head, off_t(2) << 30)) GTEST_SKIP() << "no sparse files here";
    EXPECT_TRUE(ReadLegacyProject(app, dir.file("huge.tsp")));  // records of empty names and files
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_EQ(t.host.boxes.size(), 1u);  // more records announced than the table takes
}

TEST_F(ProjectBadInputTest, OversizedFilesAreMovedAsideNotRead) {
    // Far larger than any project: moved aside whole as the backup, nothing read.
    std::string head = "#Fichier de projet Tilesmithery\n .section files\n  Element: A\n  Type: map\n End\n";
    if (!makeSparseFile(dir.file("big.tsp"), head, off_t(2) << 30)) GTEST_SKIP() << "no sparse files here";
    EXPECT_FALSE(ReadProject(app, dir.file("big.tsp")));
    EXPECT_EQ(app.elements.count(), 0);
    ASSERT_EQ(t.host.boxes.size(), 2u);
    EXPECT_EQ(t.host.boxes[0].caption, "Attention");
    EXPECT_EQ(t.host.boxes[1].caption, "Error");
    EXPECT_EQ(fileSize(dir.file("big.tsp.bak")), int64_t(2) << 30);
    EXPECT_FALSE(fileExists(dir.file("big.tsp")));

    t.host.clear();
    std::string garbage = "\x89PNG garbage first line";
    if (!makeSparseFile(dir.file("video.tsp"), garbage, off_t(2) << 30)) GTEST_SKIP();
    EXPECT_FALSE(ReadProject(app, dir.file("video.tsp")));
    EXPECT_EQ(t.host.boxes.size(), 2u);
    EXPECT_TRUE(fileExists(dir.file("video.tsp.bak")));

    // Just above the limit is enough.
    t.host.clear();
    dir.write("limit.tsp", head + std::string(size_t(kProjectFileMax) + 1 - head.size(), ' '));
    EXPECT_FALSE(ReadProject(app, dir.file("limit.tsp")));
    EXPECT_EQ(t.host.boxes.size(), 2u);
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ProjectBadInputTest, GarbageAfterTheMagicLine) {
    std::string text = "#Fichier de projet Tilesmithery\r\n";
    for (int i = 0; i < 4000; ++i) text += char((i * 7919) & 0xFF);
    text += "\n .section files\n" + std::string(10000, 'E') + "\n .section infos\n" + std::string(3000, '"') + "\n";
    text += " .section data\n" + std::string(1200000, 'd');
    dir.write("junk.tsp", text);
    EXPECT_TRUE(ReadProject(app, dir.file("junk.tsp")));
    EXPECT_TRUE(projectPaths(app).dataSectionRead);
    EXPECT_EQ(projectPaths(app).dataSection.size(), 1200000u);  // the data section is kept whole
    EXPECT_LE(app.elements.count(), kElementCapacity);
}

TEST_F(ProjectBadInputTest, DataSectionBytesAreKeptExactly) {
    std::string data = "  msgbox \"\xE9t\xE9\"\r\n  End\r\n\r\nlone\rcarriage return\r\n\tand a tab without line end";
    dir.write("d.tsp", std::string("#Fichier de projet Tilesmithery\r\n .section data\r\n") + data);
    t.host.answers = {Answer::Ok};
    EXPECT_TRUE(ReadProject(app, dir.file("d.tsp")));
    ASSERT_EQ(WriteProject(app, dir.file("out.tsp")), WriteProjectResult::Written);
    std::string out = dir.read("out.tsp");
    ASSERT_GE(out.size(), data.size());
    EXPECT_EQ(out.substr(out.size() - data.size()), data);
}

TEST_F(ProjectBadInputTest, LongDataSectionSurvivesASaveWhole) {
    std::string data;
    while (data.size() < 1100000) data += "  # a comment line of the user's own data section\r\n";
    data += "  End\r\n  msgbox \"after the end\"\r\n";
    dir.write("big.tsp", std::string("#Fichier de projet Tilesmithery\r\n .section data\r\n") + data);
    EXPECT_TRUE(ReadProject(app, dir.file("big.tsp")));
    ASSERT_EQ(WriteProject(app, dir.file("big.tsp")), WriteProjectResult::Written);
    std::string out = dir.read("big.tsp");
    ASSERT_GE(out.size(), data.size());
    EXPECT_EQ(out.substr(out.size() - data.size()), data);
}

TEST_F(ProjectBadInputTest, ProjectWithElementsLeftOutIsNotWrittenBack) {
    std::string text = "#Fichier de projet Tilesmithery\r\n .section files\r\n";
    for (int i = 0; i < 5000; ++i) text += " #-\r\n  Element: E" + std::to_string(i) + "\r\n  Type: map\r\n";
    text += " End\r\n";
    dir.write("many.tsp", text);
    ReadProject(app, dir.file("many.tsp"));
    t.host.clear();
    EXPECT_EQ(WriteProject(app, dir.file("many.tsp")), WriteProjectResult::Failed);
    EXPECT_TRUE(dir.read("many.tsp") == text);  // untouched
    EXPECT_TRUE(t.host.failureSeen());
    EXPECT_NE(t.host.lastText().find("was not written"), std::string::npos);
    // Saving it under another name is allowed: nothing is replaced.
    EXPECT_EQ(WriteProject(app, dir.file("first1000.tsp")), WriteProjectResult::Written);
}
