// Interactive mode goes through the window module beside the program: without it the program says
// so clearly; batch modes never need it.
#include <filesystem>
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

bool moduleBuilt() {
    return std::filesystem::exists(std::filesystem::path(TS_PROGRAM).parent_path() / "tilesmithery-ui.so");
}

TEST(InteractiveModuleTest, MissingModuleIsReportedAndBatchModesStillWork) {
    ts::test::TempDir dir;
    const std::string program = dir.file("tilesmithery");
    std::filesystem::copy_file(TS_PROGRAM, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    int status = 0;
    std::string out = ts::test::runCommand("cd '" + dir.path() + "' && QT_QPA_PLATFORM=offscreen '" + program + "'", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("the project window cannot open because its module"), std::string::npos) << out;
    EXPECT_NE(out.find("tilesmithery-ui.so"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(dir.file("projet.tsp")));

    out = ts::test::runCommand("cd '" + dir.path() + "' && '" + program + "' p.tsp end", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("p.tsp")));
}

TEST(InteractiveModuleTest, WithoutDisplayTheWindowSaysSo) {
    if (!moduleBuilt()) GTEST_SKIP() << "built without the window";
    ts::test::TempDir dir;
    int status = 0;
    std::string out = ts::test::runCommand(
        "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + TS_PROGRAM + "'", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("no display is available for the project window"), std::string::npos) << out;
}

TEST(InteractiveModuleTest, OnstartQuitClosesTheWindowAndSavesTheProject) {
    if (!moduleBuilt()) GTEST_SKIP() << "built without the window";
    ts::test::TempDir dir;
    dir.write("script.spt", "onstart:\nquit\n");
    int status = 0;
    std::string out = ts::test::runCommand("cd '" + dir.path() + "' && QT_QPA_PLATFORM=offscreen timeout 60 '" +
                                               std::string(TS_PROGRAM) + "'", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("projet.tsp")));
}

}  // namespace
