#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/file_system.h"
#include "test_support.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {
mode_t modeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}
size_t entriesIn(const std::string& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}
}  // namespace

TEST(AtomicWrite, KeepsTheModeOfTheReplacedFile) {
    test::TempDir dir;
    dir.write("p.tsp", "old");
    chmod(dir.file("p.tsp").c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(dir.file("p.tsp"), "new"));
    EXPECT_EQ(dir.read("p.tsp"), "new");
    EXPECT_EQ(modeOf(dir.file("p.tsp")), 0600u);  // a private project stays private
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicWrite, RefusesAReadOnlyFileAndSaysWhy) {
    test::TempDir dir;
    dir.write("level.map.c", "precious");
    chmod(dir.file("level.map.c").c_str(), 0444);
    std::string reason;
    EXPECT_FALSE(canReplaceFile(dir.file("level.map.c"), &reason));
    EXPECT_FALSE(writeFileAtomically(dir.file("level.map.c"), "other", &reason));
    EXPECT_EQ(reason, "Permission denied");
    EXPECT_EQ(dir.read("level.map.c"), "precious");
    EXPECT_EQ(modeOf(dir.file("level.map.c")), 0444u);
}

TEST(AtomicWrite, FollowsLinksAndReplacesTheirTarget) {
    test::TempDir dir;
    fs::create_directory(dir.file("real"));
    dir.write("real/p.tsp", "old");
    fs::create_symlink("real/p.tsp", dir.file("link.tsp"));
    ASSERT_TRUE(writeFileAtomically(dir.file("link.tsp"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.tsp")));
    EXPECT_EQ(dir.read("real/p.tsp"), "new");
    EXPECT_EQ(entriesIn(dir.file("real")), 1u);  // the temporary lived in the target's folder
}

TEST(AtomicWrite, NamesNearTheLengthLimitWork) {
    test::TempDir dir;
    const std::string name(250, 'n');
    ASSERT_TRUE(writeFileAtomically(dir.file(name + ".c"), "data"));
    EXPECT_EQ(dir.read(name + ".c"), "data");
}

TEST(AtomicWrite, DevicesFoldersAndPipesAreNotFiles) {
    test::TempDir dir;
    std::string reason;
    EXPECT_FALSE(writeFileAtomically(dir.path(), "x", &reason));
    EXPECT_EQ(openFile("/dev/zero", "rb"), nullptr);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(openFile(dir.file("fifo"), "rb"), nullptr);  // would block forever
    std::string bytes;
    EXPECT_FALSE(readWholeFile("/dev/zero", bytes));
}

TEST(AtomicWrite, TemporariesOfDeadRunsAreRemovedOthersKept) {
    test::TempDir dir;
    // A run that has ended: its pid is free again once reaped.
    pid_t dead = fork();
    if (dead == 0) _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string stale = ".ts" + std::to_string(dead) + "-abcdef";
    const std::string staleOld = "p.tsp.tmp" + std::to_string(dead);
    const std::string alive = ".ts" + std::to_string(getppid()) + "-abcdef";
    for (const auto& n : {stale, staleOld, alive}) dir.write(n, std::string(1000, 'x'));
    EXPECT_TRUE(isReplacementTemporary(stale));
    EXPECT_FALSE(isReplacementTemporary("notes.tmp"));
    ASSERT_TRUE(writeFileAtomically(dir.file("p.tsp"), "new"));
    EXPECT_FALSE(fs::exists(dir.file(stale)));
    EXPECT_FALSE(fs::exists(dir.file(staleOld)));
    EXPECT_TRUE(fs::exists(dir.file(alive)));
}

// A full disk: the old file stays whole and the system's reason is given. Needs a small file
// system of its own, which only a user allowed to mount can make.
TEST(AtomicWrite, FullDiskKeepsTheOldFileAndSaysWhy) {
    test::TempDir dir;
    const std::string mountPoint = dir.file("small");
    fs::create_directory(mountPoint);
    const std::string mount = "mount -t tmpfs -o size=64k tmpfs '" + mountPoint + "' 2>/dev/null";
    if (geteuid() != 0 || std::system(mount.c_str()) != 0) GTEST_SKIP() << "cannot mount a small file system here";
    struct Unmount {
        std::string command;
        ~Unmount() { (void)!std::system(command.c_str()); }
    } unmount{"umount '" + mountPoint + "'"};
    const std::string target = mountPoint + "/level.map.c";
    ASSERT_TRUE(writeFileAtomically(target, std::string(20000, 'a')));
    std::string reason;
    EXPECT_FALSE(writeFileAtomically(target, std::string(100000, 'b'), &reason));
    EXPECT_EQ(reason, "No space left on device");
    EXPECT_EQ(test::readFile(target), std::string(20000, 'a'));
    EXPECT_EQ(entriesIn(mountPoint), 1u);  // no temporary left behind
}
