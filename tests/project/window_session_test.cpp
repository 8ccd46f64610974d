// The window's hooks, closing and the "Execute (script)" run, without the window.
#include <chrono>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "project/script_invite.h"
#include "project/window_session.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;

namespace {

struct WindowSessionTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    WindowSessionTest() {
        setCurrentDirectory(dir.path());
        projectPaths(app).projectPath = dir.file("projet.tsp");
    }
    void script(const std::string& text) { dir.write("script.spt", text); }
};

TEST_F(WindowSessionTest, StartHookClosesOnQuitOrReturnZero) {
    EXPECT_FALSE(runStartHook(app));  // no script at all
    script("onstart:\nconvert.tilex 16\n");
    EXPECT_FALSE(runStartHook(app));
    EXPECT_EQ(app.convert.tileX, 16);
    script("onstart:\nquit\n");
    EXPECT_TRUE(runStartHook(app));
    script("onstart:\nreturn 0\n");
    EXPECT_TRUE(runStartHook(app));
    script("onstart:\nreturn 1\n");
    EXPECT_FALSE(runStartHook(app));
}

TEST_F(WindowSessionTest, QuitHookReturningZeroCancelsTheClosing) {
    script("onquit:\nreturn 0\n");
    EXPECT_FALSE(closeProject(app, true, [] { return std::string("never.tsp"); }));
    EXPECT_FALSE(fileExists(dir.file("projet.tsp")));
    script("onquit:\nconvert.tilex 24\n");
    EXPECT_TRUE(closeProject(app, true, {}));
    EXPECT_TRUE(fileExists(dir.file("projet.tsp")));
}

TEST_F(WindowSessionTest, ClosingAProjectWithoutNameAsksForOne) {
    newProject(app);
    int asked = 0;
    EXPECT_FALSE(closeProject(app, true, [&] { ++asked; return std::string(); }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(closeProject(app, true, [&] { return dir.file("named"); }));
    EXPECT_TRUE(fileExists(dir.file("named.tsp")));
    EXPECT_EQ(projectPaths(app).projectPath, dir.file("named.tsp"));
    // Quit without saving writes nothing.
    std::remove(dir.file("named.tsp").c_str());
    EXPECT_TRUE(closeProject(app, false, {}));
    EXPECT_FALSE(fileExists(dir.file("named.tsp")));
}

TEST_F(WindowSessionTest, ScriptInviteRunsAsAFileAndLeavesNoTemporaryFile) {
    test::TempDir tmp;
    setenv("TMPDIR", tmp.path().c_str(), 1);
    EXPECT_TRUE(runScriptInvite(app, "goto skip\r\nconvert.tilex 99\r\nskip:\r\nconvert.tiley 32\r\n"));
    unsetenv("TMPDIR");
    EXPECT_EQ(app.convert.tileY, 32);
    EXPECT_NE(app.convert.tileX, 99);
    DIR* d = opendir(tmp.path().c_str());
    int entries = 0;
    while (dirent* e = readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++entries;
    closedir(d);
    EXPECT_EQ(entries, 0);
}

TEST_F(WindowSessionTest, ScriptInviteReportsAMissingTemporaryFolder) {
    setenv("TMPDIR", dir.file("no/such/folder").c_str(), 1);
    EXPECT_FALSE(runScriptInvite(app, "convert.tilex 16"));
    unsetenv("TMPDIR");
    EXPECT_EQ(t.host.lastCaption(), "Error");
}

TEST_F(WindowSessionTest, NewAndOpenReplaceTheProject) {
    dir.write("a.til.c", "x");
    dir.write("other/p.tsp", "#Fichier de projet Tilesmithery\r\n");
    ElementRecord r;
    r.name = "A";
    r.file = "a.til.c";
    r.typeAndFlags = TYPE_MOSAIQUE;
    addElement(app, r);
    newProject(app);
    EXPECT_EQ(elementTable(app).count(), 0);
    EXPECT_TRUE(projectPaths(app).projectPath.empty());
    openProject(app, dir.file("other/p.tsp"));
    EXPECT_EQ(projectPaths(app).projectPath, dir.file("other/p.tsp"));
}

}  // namespace

// The window holds the open project's lock; another window or a batch run on it is refused once
// the wait runs out, and Open, New and Save As move the lock.
struct ProjectLockTest : WindowSessionTest {
    ProjectLockTest() { setenv("TILESMITHERY_LOCK_TIMEOUT", "0.05", 1); }
    ~ProjectLockTest() override { unsetenv("TILESMITHERY_LOCK_TIMEOUT"); }
    // Whether another run could take the lock of `path` now.
    static bool freeForOthers(const std::string& path) {
        FileLock other;
        return other.acquire(path, 0);
    }
};

TEST_F(ProjectLockTest, OpenTakesTheLockAndASecondWindowIsRefused) {
    const std::string a = dir.file("a.tsp"), b = dir.file("b.tsp");
    dir.write("a.tsp", "#Fichier de projet Tilesmithery\r\n");
    dir.write("b.tsp", "#Fichier de projet Tilesmithery\r\n");
    openProject(app, a);
    ASSERT_EQ(projectPaths(app).projectPath, a);
    EXPECT_FALSE(freeForOthers(a));

    test::TestApp second;
    second.app.system.messages = 0;
    EXPECT_FALSE(openProject(second.app, a));
    EXPECT_EQ(second.host.lastCaption(), "Error");
    EXPECT_NE(second.host.lastText().find("a.tsp"), std::string::npos);
    // The second window keeps what it had.
    EXPECT_TRUE(projectPaths(second.app).projectPath.empty() || projectPaths(second.app).projectPath != a);
    EXPECT_FALSE(projectPaths(second.app).lock);

    // Opening another project releases the first one.
    openProject(app, b);
    ASSERT_EQ(projectPaths(app).projectPath, b);
    EXPECT_TRUE(freeForOthers(a));
    EXPECT_FALSE(freeForOthers(b));
    newProject(app);
    EXPECT_TRUE(freeForOthers(b));
}

// A project in a read-only folder opens without the lock, as the window's start does; the lock
// of the project open before is released. (Root writes anywhere, so the case cannot arise there.)
TEST_F(ProjectLockTest, OpenInAReadOnlyFolderGoesWithoutTheLock) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string a = dir.file("a.tsp"), shown = dir.file("shown/p.tsp");
    dir.write("a.tsp", "#Fichier de projet Tilesmithery\r\n");
    dir.write("shown/p.tsp", "#Fichier de projet Tilesmithery\r\n");
    ASSERT_TRUE(openProject(app, a));
    ASSERT_EQ(::chmod(dir.file("shown").c_str(), 0555), 0);
    EXPECT_TRUE(inReadOnlyFolder(shown));
    EXPECT_FALSE(inReadOnlyFolder(a));
    EXPECT_FALSE(inReadOnlyFolder(dir.file("missing/p.tsp")));
    EXPECT_TRUE(openProject(app, shown));
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    EXPECT_EQ(projectPaths(app).projectPath, shown);
    EXPECT_FALSE(projectPaths(app).lock);
    EXPECT_TRUE(freeForOthers(a));
    ::chmod(dir.file("shown").c_str(), 0755);
}

TEST_F(ProjectLockTest, SaveAsMovesTheLockAndIsRefusedOnALockedName) {
    dir.write("a.tsp", "#Fichier de projet Tilesmithery\r\n");
    openProject(app, dir.file("a.tsp"));
    ASSERT_TRUE(saveProjectAs(app, true, [&] { return dir.file("c"); }));
    EXPECT_EQ(projectPaths(app).projectPath, dir.file("c.tsp"));
    EXPECT_TRUE(freeForOthers(dir.file("a.tsp")));
    EXPECT_FALSE(freeForOthers(dir.file("c.tsp")));

    // A name another run holds: nothing is written, the project keeps its name and its lock.
    FileLock other;
    ASSERT_TRUE(other.acquire(dir.file("d.tsp"), 0));
    EXPECT_FALSE(saveProjectAs(app, true, [&] { return dir.file("d.tsp"); }));
    EXPECT_EQ(t.host.lastCaption(), "Error");
    EXPECT_FALSE(fileExists(dir.file("d.tsp")));
    EXPECT_EQ(projectPaths(app).projectPath, dir.file("c.tsp"));
    EXPECT_FALSE(freeForOthers(dir.file("c.tsp")));
}

// A window holds its project as long as it is open, so another window waits only for a batch run
// to finish, not for the whole lock timeout of batch runs.
struct WindowLockWaitTest : ProjectLockTest {
    WindowLockWaitTest() { setenv("TILESMITHERY_LOCK_TIMEOUT", "60", 1); }
};

TEST_F(WindowLockWaitTest, TheWindowsWaitIsShortAndNeverLongerThanTheBatchTimeout) {
    EXPECT_GT(windowLockWaitMs(), 0);
    EXPECT_LE(windowLockWaitMs(), 5000);
    setenv("TILESMITHERY_LOCK_TIMEOUT", "0.05", 1);
    EXPECT_EQ(windowLockWaitMs(), 50);
}

TEST_F(WindowLockWaitTest, AProjectOpenInAnotherWindowIsRefusedWithoutTheLongWait) {
    const std::string a = dir.file("a.tsp"), b = dir.file("b.tsp");
    dir.write("a.tsp", "#Fichier de projet Tilesmithery\r\n");
    dir.write("b.tsp", "#Fichier de projet Tilesmithery\r\n");
    FileLock otherWindow;
    ASSERT_TRUE(otherWindow.acquire(a, 0));
    openProject(app, b);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(openProject(app, a));
    const auto waited = std::chrono::steady_clock::now() - start;
    // Far below the minute a batch run would wait.
    EXPECT_LT(waited, std::chrono::seconds(20));
    EXPECT_EQ(t.host.lastCaption(), "Error");
    EXPECT_EQ(t.host.lastText(), formatText(tr(T::ProjectOpenElsewhere), a.c_str()));
    EXPECT_EQ(projectPaths(app).projectPath, b);  // the window keeps its project and its lock
    EXPECT_FALSE(freeForOthers(b));

    // Save As onto it is refused the same way and writes nothing.
    t.host.clear();
    EXPECT_FALSE(saveProjectAs(app, true, [&] { return a; }));
    EXPECT_EQ(t.host.lastText(), formatText(tr(T::ProjectOpenElsewhere), a.c_str()));
    EXPECT_EQ(projectPaths(app).projectPath, b);
}

TEST_F(WindowLockWaitTest, ABatchRunThatFinishesSoonIsWaitedFor) {
    const std::string a = dir.file("a.tsp");
    dir.write("a.tsp", "#Fichier de projet Tilesmithery\r\n");
    FileLock batch;
    ASSERT_TRUE(batch.acquire(a, 0));
    std::thread finishing([&batch] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        batch.release();
    });
    EXPECT_TRUE(openProject(app, a));
    finishing.join();
    EXPECT_FALSE(freeForOthers(a));
    for (const auto& box : t.host.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
}

TEST_F(WindowLockWaitTest, ALockFileThatCannotBeMadeIsNotCalledAnotherRun) {
    const std::string missing = dir.file("missing/p.tsp");
    EXPECT_FALSE(openProject(app, missing));
    EXPECT_EQ(t.host.lastCaption(), "Error");
    const std::string said = t.host.lastText();
    EXPECT_EQ(said.rfind(formatText(tr(T::FileLockNotMade), missing.c_str(), "").substr(0, 20), 0), 0u) << said;
    EXPECT_EQ(said.find("another run"), std::string::npos) << said;
}
