// The example project survives being read and written back.
#include <gtest/gtest.h>

#include "host/file_system.h"
#include "project/project_file.h"
#include "test_support.h"

using namespace ts;

namespace {
std::string withoutDirectoryLine(const std::string& text) {
    size_t start = text.find("  Directory = \"");
    size_t end = text.find("\r\n", start);
    return text.substr(0, start) + text.substr(end);
}
}  // namespace

TEST(DemoProject, ReadWriteReadIsByteForByte) {
    test::TempDir dir;
    std::string original = test::readFile(TS_SOURCE_DIR "/examples/demo/demo.tsp");
    ASSERT_FALSE(original.empty());
    dir.write("demo.tsp", original);
    setCurrentDirectory(dir.path());

    test::TestApp first;
    projectPaths(first.app).projectPath = dir.file("demo.tsp");
    ASSERT_TRUE(ReadProject(first.app, projectPaths(first.app).projectPath));
    EXPECT_EQ(first.app.convert.firstTileEmpty, 1);  // the data section ran
    ASSERT_EQ(WriteProject(first.app, dir.file("again.tsp")), WriteProjectResult::Written);
    std::string written = dir.read("again.tsp");
    // Only the Directory line records where the project was written.
    EXPECT_EQ(withoutDirectoryLine(written), withoutDirectoryLine(original));

    test::TestApp second;
    ASSERT_TRUE(ReadProject(second.app, dir.file("again.tsp")));
    ASSERT_EQ(WriteProject(second.app, dir.file("third.tsp")), WriteProjectResult::Written);
    EXPECT_EQ(dir.read("third.tsp"), written);
    EXPECT_TRUE(first.host.boxes.empty());
    EXPECT_TRUE(second.host.boxes.empty());
}
