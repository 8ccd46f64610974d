// The program run from a shell, as build scripts use it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>


#include "convert/image_file.h"
#include "host/file_system.h"
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

// Writes a picture of one colour (0xRRGGBB) in the format of the file's extension.
bool writeFilled(const std::string& path, int width, int height, uint32_t colour) {
    ts::Surface surface;
    if (!ts::createSurface(surface, width, height)) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) surface.at(x, y) = colour;
    return ts::saveImageFile(surface, {}, path);
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
    // Interactive mode: the window opens (offscreen) and a `quit` in "onstart" closes it; a build
    // without the window module says so with status 2.
    dir.write("script.spt", "onstart:\nquit\n");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto r = runProgram(dir.path(), "p.tsp");
    const bool window = std::filesystem::exists(std::filesystem::path(TS_PROGRAM).parent_path() / "tilesmithery-ui.so");
    EXPECT_EQ(r.status, window ? 0 : 2) << r.err;
}

TEST(BatchRun, ProjectFolderIsTheCurrentDirectory) {
    ts::test::TempDir dir;
    dir.write("sub/inc.spt", "msgbox \"found\"\n");
    auto r = runProgram(dir.path(), "sub/p.tsp 'include \"inc.spt\"'");
    EXPECT_EQ(r.err, "User message: found\n");
    EXPECT_FALSE(ts::test::readFile(dir.file("sub/p.tsp")).empty());
}

TEST(BatchRun, ProjectFormatIsSelectedBeforeTheRun) {
    ts::test::TempDir dir;
    ASSERT_TRUE(writeFilled(dir.file("img.png"), 16, 8, 0x0AC81E));
    // A project that defines a format in its data section and names it in its infos section.
    dir.write("p.tsp",
              "#Fichier de projet Tilesmithery\r\n .section infos\r\n  Format = \"Bin\"\r\n  End\r\n"
              " .section files\r\n End\r\n .section data\r\n"
              "  definefmt \"Bin\"\r\n  palette {\r\n    ext = \".pal.bin\"\r\n  }\r\n  }\r\n  End\r\n");
    auto r = runProgram(dir.path(), "p.tsp -tset src=img");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(ts::test::readFile(dir.file("img.pal.bin")).empty());
    EXPECT_FALSE(ts::test::readFile(dir.file("img.til.c")).empty());
    EXPECT_NE(ts::test::readFile(dir.file("p.tsp")).find("  Format = \"Bin\"\r\n"), std::string::npos);
}

// A format and a model that only an included script defines: later runs neither fail at start nor
// forget them, and both are treated alike.
TEST(BatchRun, RememberedFormatAndModelDefinedLaterStayRemembered) {
    ts::test::TempDir dir;
    dir.write("fmt.spt", "definefmt \"Later\"\r\n  palette {\r\n    ext = \".pal.l\"\r\n  }\r\n}\r\n"
                         "definemodel \"Enemy\"\r\n  1, 1, \"hp\", \"3\"\r\n}\r\n");
    auto r = runProgram(dir.path(), "p.tsp 'include \"fmt.spt\";setformat \"Later\";setmodel \"Enemy\"'");
    EXPECT_EQ(r.status, 0) << r.err;
    std::string project = ts::test::readFile(dir.file("p.tsp"));
    // The model was written with its definition; drop the definition as a project would lose it.
    dir.write("p.tsp", "#Fichier de projet Tilesmithery\r\n .section infos\r\n  Format = \"Later\"\r\n"
                       "  Model = \"Enemy\"\r\n  End\r\n .section files\r\n End\r\n");
    r = runProgram(dir.path(), "p.tsp 'msgbox \"hi\"'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "User message: hi\n");
    project = ts::test::readFile(dir.file("p.tsp"));
    EXPECT_NE(project.find("  Format = \"Later\"\r\n"), std::string::npos);
    EXPECT_NE(project.find("  Model = \"Enemy\"\r\n"), std::string::npos);
    r = runProgram(dir.path(), "p.tsp 'include \"fmt.spt\";setformat \"Later\"'");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST(BatchRun, NamesOutsideWindows1252AreRefusedBeforeAnythingIsWritten) {
    ts::test::TempDir dir;
    auto r = runProgram(dir.path(), "p.tsp '-tset src=\xE8\x88\xB9'");  // a CJK file name
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\"-tset src=\xE8\x88\xB9\" holds characters"), std::string::npos) << r.err;
    EXPECT_FALSE(ts::fileExists(dir.file("p.tsp")));
    // Latin letters outside ASCII are fine.
    r = runProgram(dir.path(), "p.tsp 'msgbox \"\xC3\xA9t\xC3\xA9\"'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "User message: \xC3\xA9t\xC3\xA9\n");
}

TEST(BatchRun, ConversionPiecesAddElements) {
    ts::test::TempDir dir;
    ASSERT_TRUE(writeFilled(dir.file("ship.png"), 16, 16, 0x0000FF));
    auto r = runProgram(dir.path(), "p.tsp -tset src=ship:-bmp bmp=ship.png name=pic");
    EXPECT_EQ(r.status, 0) << r.err;
    std::string project = ts::test::readFile(dir.file("p.tsp"));
    for (const char* line : {"  File: ship.til.c\r\n", "  File: ship.pal.c\r\n", "  File: ship.map.c\r\n",
                             "  File: ship.bmp.c\r\n"})
        EXPECT_NE(project.find(line), std::string::npos) << line;
    r = runProgram(dir.path(), "p.tsp -tset src=missing");
    EXPECT_EQ(r.status, 1);
}

// A batch conversion of every image format loads no Qt library: the dynamic linker's own list of
// what it loads (LD_DEBUG) holds none, and libtiff comes only with the TIFF file.
TEST(BatchRun, ConversionsLoadNoQt) {
    ts::test::TempDir dir;
    ASSERT_TRUE(writeFilled(dir.file("ship.png"), 16, 16, 0x0000FF));
    ASSERT_TRUE(writeFilled(dir.file("photo.jpg"), 16, 16, 0xC80A0A));
    ASSERT_TRUE(writeFilled(dir.file("tiles.bmp"), 16, 16, 0x10A010));
    ASSERT_TRUE(writeFilled(dir.file("anim.gif"), 16, 16, 0x808000));
    ASSERT_TRUE(writeFilled(dir.file("scan.tiff"), 8, 8, 0x000000));
    auto r = runProgram(dir.path(), "p.tsp -tset src=ship.png:-tset src=photo.jpg:-tset src=tiles.bmp:"
                                    "-tset src=anim.gif:-tset src=scan.tiff");
    EXPECT_EQ(r.status, 0) << r.err;
    std::string project = ts::test::readFile(dir.file("p.tsp"));
    for (const char* name : {"ship", "photo", "tiles", "anim", "scan"})
        EXPECT_NE(project.find(std::string("  File: ") + name + ".til.c\r\n"), std::string::npos) << name;

    const auto loaded = [&dir](const std::string& arguments) {
        int status = 0;
        return ts::test::runCommand("cd '" + dir.path() + "' && LD_DEBUG=libs '" TS_PROGRAM "' " + arguments +
                                        " 2>&1 >/dev/null | cat",
                                    status);
    };
    std::string libraries = loaded("p.tsp -tset src=ship.png:-tset src=photo.jpg:-tset src=tiles.bmp:"
                                   "-tset src=anim.gif:-tset src=scan.tiff");
    ASSERT_NE(libraries.find("calling init:"), std::string::npos) << "no LD_DEBUG output";
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
    EXPECT_NE(libraries.find("libpng"), std::string::npos);
    EXPECT_NE(libraries.find("libtiff"), std::string::npos);
    libraries = loaded("p.tsp -tset src=ship.png");
    EXPECT_EQ(libraries.find("libtiff"), std::string::npos);
    EXPECT_EQ(libraries.find("libQt"), std::string::npos);
    // Nor does the start of the program, nor an interactive start without the window.
    EXPECT_EQ(loaded("--version").find("libQt"), std::string::npos);
}

// A truncated image of each decoder: a message, exit status 1, no output files.
TEST(BatchRun, TruncatedImagesStopWithAMessage) {
    ts::test::TempDir dir;
    for (const char* name : {"cut.png", "cut.jpg", "cut.bmp"}) {
        ASSERT_TRUE(writeFilled(dir.file(name), 40, 24, 0x336699));
        const std::string whole = dir.read(name);
        dir.write(name, whole.substr(0, whole.size() * 2 / 3));
        auto r = runProgram(dir.path(), std::string("p.tsp -tset src=") + name);
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(std::string("Unable to read the image \"") + name + "\"."), std::string::npos) << r.err;
        EXPECT_FALSE(ts::test::readFile(dir.file("cut.til.c")).size() > 0) << name;
    }
}

TEST(BatchRun, MessagesKeepTheirLineBreaks) {
    ts::test::TempDir dir;
    auto r = runProgram(dir.path(), "p.tsp 'msgbox \"first\\nsecond\", \"Title\"'");
    EXPECT_EQ(r.err, "Title: first\nsecond\n");
}
