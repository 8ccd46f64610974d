// `cmake --install` into a temporary prefix: every file in its standard place, the links
// resolving, and the installed programs running from bin/ with their files found beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

int statusOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

TEST(Install, PutsEveryFileInItsPlace) {
    ts::test::TempDir dir;
    const std::string prefix = dir.file("usr");
    int status = -1;
    // DESTDIR keeps the desktop's databases out of it, as a package build does.
    std::string out = ts::test::runCommand("DESTDIR='" + dir.path() + "/stage' '" TS_CMAKE_COMMAND "' --install '" TS_BINARY_DIR
                                           "' --prefix /usr",
                                           status);
    ASSERT_EQ(statusOf(status), 0) << out;
    const fs::path root = fs::path(dir.path()) / "stage/usr";

    const bool window = fs::exists(fs::path(TS_BINARY_DIR) / "tilesmithery-ui.so");
    for (const char* file : {"lib/tilesmithery/tilesmithery", "lib/tilesmithery/tilesmithery-fr",
                             "share/tilesmithery/dovizeru.png", "share/tilesmithery/manual.html",
                             "share/applications/tilesmithery.desktop", "share/applications/tilesmithery-fr.desktop",
                             "share/mime/packages/tilesmithery.xml", "share/icons/hicolor/scalable/apps/tilesmithery.svg",
                             "share/icons/hicolor/48x48/apps/tilesmithery.png",
                             "share/icons/hicolor/256x256/apps/tilesmithery.png", "share/man/man1/tilesmithery.1.gz"})
        EXPECT_TRUE(fs::is_regular_file(root / file)) << file;
    if (window) {
        EXPECT_TRUE(fs::is_regular_file(root / "lib/tilesmithery/tilesmithery-ui.so"));
        EXPECT_TRUE(fs::is_regular_file(root / "lib/tilesmithery/tilesmithery-fr-ui.so"));
    }
    // Relative links, so that the tree works wherever it is unpacked.
    for (const char* link : {"bin/tilesmithery", "bin/tilesmithery-fr", "lib/tilesmithery/manual.html",
                             "lib/tilesmithery/dovizeru.png", "share/doc/tilesmithery/html",
                             "share/man/man1/tilesmithery-fr.1.gz"}) {
        ASSERT_TRUE(fs::is_symlink(root / link)) << link;
        EXPECT_TRUE(fs::read_symlink(root / link).is_relative()) << link;
        EXPECT_TRUE(fs::exists(root / link)) << link << " points nowhere";
    }
    EXPECT_TRUE(fs::exists(root / "share/doc/tilesmithery/html/manual.html"));

    // The installed programs run from bin/ and find their window module beside the real file.
    out = ts::test::runCommand("'" + (root / "bin/tilesmithery").string() + "' --version", status);
    EXPECT_EQ(statusOf(status), 0);
    EXPECT_EQ(out.rfind("tilesmithery ", 0), 0u) << out;
    out = ts::test::runCommand("'" + (root / "bin/tilesmithery-fr").string() + "' --help", status);
    EXPECT_EQ(statusOf(status), 0);
    EXPECT_NE(out.find("Code de sortie"), std::string::npos) << out;
    if (window) {
        dir.write("script.spt", "onstart:\r\nquit\r\n");
        out = ts::test::runCommand("cd '" + dir.path() + "' && QT_QPA_PLATFORM=offscreen '" +
                                       (root / "bin/tilesmithery-fr").string() + "' p.tsp",
                                   status);
        EXPECT_EQ(statusOf(status), 0) << out;
    }

    // The menu entries open .tsp files with the program; the type knows the project files.
    const std::string desktop = ts::test::readFile((root / "share/applications/tilesmithery.desktop").string());
    EXPECT_NE(desktop.find("Exec=tilesmithery %f"), std::string::npos);
    EXPECT_NE(desktop.find("MimeType=application/x-tilesmithery-project;"), std::string::npos);
    // The desktop's own checker, where the machine has it (desktop-file-utils).
    out = ts::test::runCommand("command -v desktop-file-validate", status);
    if (statusOf(status) == 0) {
        out = ts::test::runCommand("desktop-file-validate '" + (root / "share/applications/tilesmithery.desktop").string() +
                                       "' '" + (root / "share/applications/tilesmithery-fr.desktop").string() + "'",
                                   status);
        EXPECT_EQ(statusOf(status), 0) << out;
        EXPECT_EQ(out.find("error"), std::string::npos) << out;
    }
    const std::string mime = ts::test::readFile((root / "share/mime/packages/tilesmithery.xml").string());
    EXPECT_NE(mime.find("<glob pattern=\"*.tsp\"/>"), std::string::npos);
    EXPECT_NE(mime.find("#Fichier de projet Tilesmithery"), std::string::npos);
}

// --help lists the modes, the exit status and the environment, in the edition's language.
TEST(Install, HelpListsModesExitStatusAndEnvironment) {
    int status = -1;
    const std::string en = ts::test::runCommand("'" TS_PROGRAM "' --help", status);
    EXPECT_EQ(statusOf(status), 0);
    for (const char* part : {"Usage: tilesmithery [PROJECT]", "-CONVERSION", "STATEMENT", "--version", "Exit status:",
                             "  3  ", "TILESMITHERY_LOCK_TIMEOUT", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"})
        EXPECT_NE(en.find(part), std::string::npos) << part;
    const std::string fr = ts::test::runCommand("'" TS_PROGRAM_FR "' --help", status);
    EXPECT_EQ(statusOf(status), 0);
    for (const char* part : {"Usage: tilesmithery-fr [PROJET]", "Code de sortie:", "TILESMITHERY_LOCK_TIMEOUT",
                             "fen\xC3\xAAtre"})
        EXPECT_NE(fr.find(part), std::string::npos) << part;
}

}  // namespace
