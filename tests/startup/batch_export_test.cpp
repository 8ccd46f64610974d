// Build-script use of the program: images out with exportimage, and a conversion whose tile
// numbers do not fit the map entries ending with status 1.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "convert/image_file.h"
#include "host/file_system.h"
#include "test_support.h"

namespace {

struct ProgramRun {
    int status = -1;
    std::string err;
};

ProgramRun runIn(const std::string& folder, const std::string& arguments) {
    const std::string command = "cd '" + folder + "' && '" TS_PROGRAM "' " + arguments + " 2>&1 1>/dev/null";
    ProgramRun r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), p)) > 0) r.err.append(buffer.data(), n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

bool writeTiles(const std::string& path, int tiles) {
    ts::Surface s;
    if (!ts::createSurface(s, tiles * 8, 8)) return false;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < tiles * 8; ++x) {
            const uint64_t bits = uint64_t(x / 8 + 1) * 0x9E3779B97F4A7C15ull;
            s.at(x, y) = (bits >> (y * 8 + x % 8)) & 1 ? 0xF8F8F8 : 0x000000;
        }
    return ts::saveImageFile(s, {}, path);
}

}  // namespace

TEST(BatchExport, ExportImageWorksInABuildScript) {
    ts::test::TempDir dir;
    ASSERT_TRUE(writeTiles(dir.file("level.png"), 12));
    ProgramRun r = runIn(dir.path(), "game.tsp 'conv tset src=level'");
    ASSERT_EQ(r.status, 0) << r.err;
    r = runIn(dir.path(), "game.tsp 'exportimage \"level\", \"out.png\"'");
    EXPECT_EQ(r.status, 0) << r.err;
    ts::DecodedImage image;
    ASSERT_EQ(ts::decodeImageFile(dir.file("out.png"), image), ts::DecodeResult::Ok);
    EXPECT_EQ(image.surface.width, 96);
    EXPECT_EQ(image.surface.height, 8);
    r = runIn(dir.path(), "game.tsp 'exporteimage \"missing\", \"none.png\"'");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(ts::fileExists(dir.file("none.png")));
}

TEST(BatchExport, TileNumbersBeyondTheFieldEndWithStatusOne) {
    ts::test::TempDir dir;
    ASSERT_TRUE(writeTiles(dir.file("many.png"), 1025));
    ProgramRun r = runIn(dir.path(), "game.tsp 'conv tset src=many'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Warning: Tile 1024 "), std::string::npos) << r.err;
    EXPECT_TRUE(ts::fileExists(dir.file("many.map.c")));
}
