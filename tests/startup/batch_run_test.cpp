// The program run from a shell, as build scripts use it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "test_support.h"

namespace {
struct RunResult {
    int status = -1;
    std::string err;
};

// Runs the program with arguments in a folder; captures stderr.
RunResult runProgram(const std::string& folder, const std::string& arguments) {
    std::string command = "cd '" + folder + "' && '" TS_PROGRAM "' " + arguments + " 2>&1 1>/dev/null";
    RunResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), p)) > 0) r.err.append(buffer.data(), n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
}  // namespace

TEST(BatchRun, MessageBoxPrintsAndProjectIsWritten) {
    ts::test::TempDir dir;
    auto r = runProgram(dir.path(), "demo.tsp 'msgbox \"Hello\"'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "User message: Hello\n");
    std::string project = dir.read("demo.tsp");
    EXPECT_EQ(project.rfind("#Fichier de projet Tilesmithery\r\n", 0), 0u);
}

TEST(BatchRun, UnknownIdentifierFailsTheRun) {
    ts::test::TempDir dir;
    auto r = runProgram(dir.path(), "p.tsp 'frobnicate 1'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The identifier frobnicate doesn't exist."), std::string::npos);
    EXPECT_TRUE(ts::test::readFile(dir.file("p.tsp")).size() > 0);  // still written
}

TEST(BatchRun, ScriptsRunWithIncludeAndDo) {
    ts::test::TempDir dir;
    dir.write("lib.spt", "msgbox \"top\"\n_second:\nmsgbox \"from label\"\nend\n");
    auto r = runProgram(dir.path(), "p.tsp 'include \"lib.spt\"'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "User message: top\nUser message: from label\n");
    r = runProgram(dir.path(), "p.tsp 'do \"lib.spt\", \"second\"'");
    EXPECT_EQ(r.err, "User message: from label\n");
}

TEST(BatchRun, HelpVersionAndInteractive) {
    ts::test::TempDir dir;
    EXPECT_EQ(runProgram(dir.path(), "--help").status, 0);
    EXPECT_EQ(runProgram(dir.path(), "--version").status, 0);
    auto r = runProgram(dir.path(), "p.tsp");
    EXPECT_EQ(r.status, 2);
}

TEST(BatchRun, ProjectFolderIsTheCurrentDirectory) {
    ts::test::TempDir dir;
    dir.write("sub/inc.spt", "msgbox \"found\"\n");
    auto r = runProgram(dir.path(), "sub/p.tsp 'include \"inc.spt\"'");
    EXPECT_EQ(r.err, "User message: found\n");
    EXPECT_FALSE(ts::test::readFile(dir.file("sub/p.tsp")).empty());
}
