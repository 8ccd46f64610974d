// The files the conversion writes compile for the console: the demo pictures are converted at
// 4 bits (sub-palettes), 8 bits, 15 bits and as a bitmap, and every file is compiled with the
// ARM cross compiler; each array must have the size its header comment announces.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "convert/conv_command.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

bool haveCrossCompiler() {
    int status = 0;
    runCommand("arm-none-eabi-gcc --version", status);
    return status == 0;
}

// Bytes per array element of a data file, from its kind and depth.
struct Produced {
    std::string file;
    int elementBytes;
};

}  // namespace

TEST(ConvCompile, ConvertedDemoPicturesCompileWithTheirAnnouncedSizes) {
    if (!haveCrossCompiler()) GTEST_SKIP() << "arm-none-eabi-gcc is not installed (scripts/deps.sh installs it)";
    TempDir dir;
    for (const char* picture : {"level.png", "ship.png", "title.png"})
        ASSERT_TRUE(std::filesystem::exists(std::string(TS_SOURCE_DIR) + "/examples/demo/" + picture)) << picture;
    for (const char* picture : {"level.png", "ship.png", "title.png"})
        std::filesystem::copy_file(std::string(TS_SOURCE_DIR) + "/examples/demo/" + picture, dir.file(picture));
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    TestApp t;
    t.app.system.messages = 0;
    for (std::string args : {"tset src=level +16c col=64 dst=level4", "tset src=ship dst=ship8",
                             "tset src=ship cmode=15 dst=ship15", "bmp src=title dst=title8",
                             "tset src=level +16c col=64 +flip dst=levelflip"}) {
        cmdConv(t.app, args.data());
        EXPECT_TRUE(t.host.boxes.empty()) << args << ": " << t.host.lastText();
    }
    const Produced produced[] = {
        {"level4.til.c", 1}, {"level4.map.c", 1}, {"level4.pal.c", 1}, {"ship8.til.c", 1},
        {"ship8.map.c", 1},  {"ship8.pal.c", 1},  {"ship15.til.c", 2}, {"ship15.map.c", 1},
        {"title8.bmp.c", 1}, {"title8.pal.c", 1},  {"levelflip.til.c", 1}, {"levelflip.map.c", 1},
        {"levelflip.pal.c", 1},
    };
    const std::regex memory("//M\xE9moire: ([0-9]+) octets");
    for (const Produced& p : produced) {
        SCOPED_TRACE(p.file);
        const std::string text = readFile(dir.file(p.file));
        ASSERT_FALSE(text.empty());
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, memory)) << text.substr(0, 300);
        const long expected = std::stol(m[1]) * p.elementBytes;
        int status = 0;
        const std::string object = dir.file(p.file + ".o");
        // The built-in bitmap layout declares a two-dimensional array with a flat initializer,
        // which -Wall reports as missing braces; everything else must compile warning-free.
        const bool bitmap = p.file.find(".bmp.c") != std::string::npos;
        const std::string flags = std::string("-c -Wall -Werror -mthumb -mcpu=arm7tdmi") +
                                  (bitmap ? " -Wno-missing-braces" : "");
        const std::string log =
            runCommand("arm-none-eabi-gcc " + flags + " -o '" + object + "' '" + dir.file(p.file) + "'", status);
        ASSERT_EQ(status, 0) << log << "\n" << text.substr(0, 400);
        const std::string symbols = runCommand("arm-none-eabi-nm -S '" + object + "'", status);
        ASSERT_EQ(status, 0) << symbols;
        std::smatch s;
        ASSERT_TRUE(std::regex_search(symbols, s, std::regex("[0-9a-f]+ ([0-9a-f]+) [A-Za-z] "))) << symbols;
        EXPECT_EQ(std::stol(s[1], nullptr, 16), expected) << symbols << text.substr(0, 300);
    }
}
