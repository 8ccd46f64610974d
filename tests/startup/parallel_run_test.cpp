// Runs started together on one project, as `make -j` starts them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "convert/image_file.h"
#include "editor/surface.h"
#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "project/window_session.h"
#include "startup/startup.h"
#include "test_support.h"

namespace {
void writePicture(const std::string& path, uint32_t colour) {
    ts::Surface surface;
    ASSERT_TRUE(ts::createSurface(surface, 16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) surface.at(x, y) = (x < 8) ? colour : 0x000000;
    ASSERT_TRUE(ts::saveImageFile(surface, {}, path));
}

// Starts the program in a folder without waiting for it.
pid_t startProgram(const std::string& folder, const std::vector<std::string>& args, const char* timeout = nullptr) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        if (timeout) setenv("TILESMITHERY_LOCK_TIMEOUT", timeout, 1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(TS_PROGRAM)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(TS_PROGRAM, argv.data());
        _exit(127);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(ParallelRuns, EveryRunKeepsItsElements) {
    ts::test::TempDir dir;
    const int runs = 6;
    for (int i = 0; i < runs; ++i) writePicture(dir.file("p" + std::to_string(i) + ".bmp"), 0x102030u * uint32_t(i + 1));
    std::vector<pid_t> pids;
    for (int i = 0; i < runs; ++i) pids.push_back(startProgram(dir.path(), {"game.tsp", "-tset src=p" + std::to_string(i)}));
    for (pid_t pid : pids) EXPECT_EQ(waitFor(pid), 0);
    const std::string project = dir.read("game.tsp");
    for (int i = 0; i < runs; ++i) {
        const std::string n = "p" + std::to_string(i);
        for (const char* suffix : {".til.c", ".pal.c", ".map.c"})
            EXPECT_NE(project.find("File: " + n + suffix), std::string::npos) << n << suffix;
    }
    EXPECT_NE(access(ts::lockPathFor(dir.file("game.tsp")).c_str(), F_OK), 0);  // released and removed
}

TEST(ParallelRuns, ARunGivesUpWhenTheProjectStaysLocked) {
    ts::test::TempDir dir;
    dir.write("game.tsp", "#Fichier de projet Tilesmithery\r\n");
    ts::FileLock holder;
    ASSERT_TRUE(holder.acquire(dir.file("game.tsp"), 0));
    pid_t pid = startProgram(dir.path(), {"game.tsp", "msgbox \"x\""}, "0.3");
    EXPECT_EQ(waitFor(pid), 1);
    EXPECT_EQ(dir.read("game.tsp"), "#Fichier de projet Tilesmithery\r\n");  // neither read nor written
    holder.release();
    EXPECT_EQ(waitFor(startProgram(dir.path(), {"game.tsp", "end"}, "0.3")), 0);
}

TEST(ParallelRuns, ALockDiesWithItsHolder) {
    ts::test::TempDir dir;
    pid_t child = fork();
    if (child == 0) {
        ts::FileLock lock;
        if (!lock.acquire(dir.file("game.tsp"), 0)) _exit(1);
        _exit(0);  // dies holding it: the lock file stays behind
    }
    ASSERT_EQ(waitFor(child), 0);
    ts::FileLock again;
    EXPECT_TRUE(again.acquire(dir.file("game.tsp"), 0));
}

namespace {

TEST(ParallelRuns, ABatchRunWaitsWhileAWindowHasTheProjectOpen) {
    ts::test::TempDir dir;
    dir.write("game.tsp", "#Fichier de projet Tilesmithery\r\n");
    ts::test::TestApp window;
    ASSERT_TRUE(ts::setCurrentDirectory(dir.path()));
    ts::openProject(window.app, dir.file("game.tsp"));
    EXPECT_EQ(waitFor(startProgram(dir.path(), {"game.tsp", "end"}, "0.3")), 1);
    // "New" lets the project go.
    ts::newProject(window.app);
    EXPECT_EQ(waitFor(startProgram(dir.path(), {"game.tsp", "end"}, "0.3")), 0);
}

}  // namespace

namespace {

TEST(ParallelRuns, AWindowsStartTakesTheProjectsLockOrIsRefused) {
    setenv("TILESMITHERY_LOCK_TIMEOUT", "0.05", 1);
    ts::test::TempDir dir;
    dir.write("game.tsp", "#Fichier de projet Tilesmithery\r\n");
    {
        ts::test::TestApp window;
        ts::FileLock lock;
        std::string rest;
        EXPECT_EQ(ts::prepareStartup(window.app, "\"" + dir.file("game.tsp") + "\"", dir.path(), rest, &lock),
                  ts::StartMode::Interactive);
        EXPECT_TRUE(lock.held());

        ts::test::TestApp second;
        ts::FileLock refused;
        EXPECT_EQ(ts::prepareStartup(second.app, "\"" + dir.file("game.tsp") + "\"", dir.path(), rest, &refused),
                  ts::StartMode::Refused);
        EXPECT_EQ(second.host.lastCaption(), "Error");
        // Said as what it is: the project is open elsewhere (not a run that overstayed).
        EXPECT_EQ(second.host.lastText(),
                  ts::formatText(ts::tr(ts::T::ProjectOpenElsewhere), ts::absolutePath(dir.file("game.tsp")).c_str()));
    }
    unsetenv("TILESMITHERY_LOCK_TIMEOUT");
}

}  // namespace
