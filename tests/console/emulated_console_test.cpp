// Converted pictures shown by a GBA program in the emulated console: the program is built with
// arm-none-eabi-gcc around the files the conversion wrote (raw, LZ77 and run-length packed),
// unpacks them with the BIOS functions, and the screen after a few frames must be the source
// picture, pixel for pixel in 15-bit colour.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "../convert/conv_test_helpers.h"
#include "convert/conv_command.h"
#include "formats/compression.h"
#include "formats/compression_lz77.h"
#include "formats/platform.h"
#include "gba_emulator.h"
#include "host/file_system.h"
#include "test_support.h"

namespace ts {
namespace {

using test::kGbaScreenHeight;
using test::kGbaScreenWidth;

bool toolAvailable(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Four groups of fifteen colours (multiples of 8, so they are exact in 15 bits); 24 tiles drawn
// from one group each, placed at random, with a band of one repeated tile.
uint32_t groupColour(int group, int c) {
    const uint32_t r = uint32_t(group * 4 + (c & 3)) * 8 + 64;
    const uint32_t g = uint32_t((c >> 2) * 5 + group) * 8 + 40;
    const uint32_t b = uint32_t((group * 7 + c * 3) % 32) * 8;
    return r << 16 | g << 8 | b;
}

std::vector<uint32_t> screenPicture() {
    std::mt19937 rng(1606);
    std::vector<std::vector<uint32_t>> tiles(24, std::vector<uint32_t>(64));
    for (int t = 0; t < 24; ++t)
        for (auto& p : tiles[size_t(t)]) p = groupColour(t % 4, int(rng() % 15));
    std::vector<uint32_t> picture(size_t(kGbaScreenWidth) * kGbaScreenHeight);
    for (int ty = 0; ty < kGbaScreenHeight / 8; ++ty)
        for (int tx = 0; tx < kGbaScreenWidth / 8; ++tx) {
            const auto& tile = tiles[ty >= 8 && ty < 11 ? 5 : rng() % 24];
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    picture[size_t(ty * 8 + y) * kGbaScreenWidth + tx * 8 + x] = tile[size_t(y * 8 + x)];
        }
    return picture;
}

uint16_t to15(uint32_t rgb) {
    return uint16_t(((rgb >> 19) & 31) | ((rgb >> 11) & 31) << 5 | ((rgb >> 3) & 31) << 10);
}

struct Case {
    std::string name;   // also the output name
    std::string args;   // conversion arguments besides src and dst
    bool tiles;         // tileset and map, else a bitmap
    int bppOrMode;      // 8 or 4 bits per pixel (tiles), mode 3 or 4 (bitmap)
    int packing;        // 0 raw, 1 LZ77, 2 run-length
};

class EmulatedConsole : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::emulatorAvailable())
            GTEST_SKIP() << "libmgba is not installed (scripts/deps.sh installs libmgba-dev)";
        if (!toolAvailable("arm-none-eabi-gcc") || !toolAvailable("arm-none-eabi-objcopy"))
            GTEST_SKIP() << "arm-none-eabi-gcc is not installed (scripts/deps.sh installs gcc-arm-none-eabi)";
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        picture = screenPicture();
        ASSERT_TRUE(test::writePicture(dir.file("picture.png"), kGbaScreenWidth, kGbaScreenHeight,
                                       [&](int x, int y) { return picture[size_t(y) * kGbaScreenWidth + x]; }));
        app.system.messages = 0;
    }

    // Converts the picture, builds the program around the files and gives the screen it shows.
    void show(const Case& c, std::vector<uint16_t>& screen) {
        const char* packing[] = {"", " +lz77", " +rle"};
        std::string args = (c.tiles ? "tset" : "bmp") + std::string(" src=picture.png dst=") + c.name + " " + c.args +
                           packing[c.packing];
        cmdConv(app, args.data());
        ASSERT_TRUE(t.host.boxes.empty()) << t.host.lastText();
        const PlatformRecord& platform = currentPlatform(app);
        const std::vector<ElementRecord>& records = app.elements.records;
        auto element = [&](const std::string& file) {
            for (const ElementRecord& r : records)
                if (r.file == file) return r;
            ADD_FAILURE() << "no element " << file;
            return ElementRecord{};
        };

        std::string header = "#define PACKING " + std::to_string(c.packing) + "\n";
        std::string sources;
        int colours = 0;
        if (c.tiles || c.bppOrMode == 4) {
            PaletteBuffer palette{};
            int depth = 0;
            colours = platform.loadPalette(app, 0, &depth, palette, element(c.name + ".pal.c"));
            header += "#define PALETTE " + c.name + "_palette\n";
            sources += " " + c.name + ".pal.c";
        }
        header += "#define PAL_COUNT " + std::to_string(colours) + "\n";
        if (c.tiles) {
            std::vector<uint32_t> pixels;
            int depth = 0;
            const int blocks = platform.loadTileset(app, 0, depth, nullptr, pixels, element(c.name + ".til.c"), false);
            header += "#define TILES " + c.name + "_tiles\n#define TILE_BYTES " +
                      std::to_string(blocks * (c.bppOrMode == 8 ? 64 : 32)) + "\n#define BPP " +
                      std::to_string(c.bppOrMode) + "\n#define MAP " + c.name + "_map\n#define MAP_W " +
                      std::to_string(kGbaScreenWidth / 8) + "\n#define MAP_H " + std::to_string(kGbaScreenHeight / 8) +
                      "\n";
            sources += " " + c.name + ".til.c " + c.name + ".map.c";
        } else {
            header += "#define BITMAP " + c.name + "_bitmap8\n#define BITMAP_BYTES " +
                      std::to_string(kGbaScreenWidth * kGbaScreenHeight * (c.bppOrMode == 3 ? 2 : 1)) +
                      "\n#define MODE " + std::to_string(c.bppOrMode) + "\n";
            sources += " " + c.name + ".bmp.c";
        }
        buildAndRun(c.name, header, sources, screen);
    }

    // Builds the program with `header` as its case.h and the data `sources` (in the test folder),
    // runs it and gives the screen.
    void buildAndRun(const std::string& name, const std::string& header, const std::string& sources,
                     std::vector<uint16_t>& screen) {
        std::filesystem::create_directories(dir.file(name));
        test::writeFile(dir.file(name + "/case.h"), header);
        const std::string program = std::string(TS_SOURCE_DIR) + "/tests/console/gba/";
        const std::string elf = dir.file(name + ".elf"), rom = dir.file(name + ".gba");
        int status = 0;
        std::string out = test::runCommand(
            "cd '" + dir.path() + "' && arm-none-eabi-gcc -mthumb -mcpu=arm7tdmi -O2 -ffreestanding -nostdlib -Wall -Wno-missing-braces -I'" +
                dir.file(name) + "' -T '" + program + "gba.ld' '" + program + "crt0.s' '" + program + "bios.s' '" +
                program + "main.c'" + sources + " -lgcc -o '" + elf + "' && arm-none-eabi-objcopy -O binary '" + elf +
                "' '" + rom + "'",
            status);
        ASSERT_EQ(status, 0) << out;
        std::string error;
        // Copying a raw 15-bit screen from the cartridge takes several frames.
        ASSERT_TRUE(test::runCartridge(rom, 30, screen, error)) << error;
    }

    // A mode 3 screen unpacked from an LZ77 stream (written as a C array of words) by the BIOS's
    // VRAM function.
    void showPackedScreen(const std::string& name, const std::vector<uint8_t>& stream, std::vector<uint16_t>& screen) {
        std::string c = "const unsigned int " + name + "_bitmap8[] = {";
        for (size_t i = 0; i < stream.size(); i += 4) {
            uint32_t word = 0;
            for (size_t k = 0; k < 4 && i + k < stream.size(); ++k) word |= uint32_t(stream[i + k]) << (8 * k);
            c += std::to_string(word) + "u,";
        }
        test::writeFile(dir.file(name + ".c"), c + "};\n");
        buildAndRun(name,
                    "#define PACKING 1\n#define PAL_COUNT 0\n#define BITMAP " + name + "_bitmap8\n#define BITMAP_BYTES " +
                        std::to_string(kGbaScreenWidth * kGbaScreenHeight * 2) + "\n#define MODE 3\n",
                    " " + name + ".c", screen);
    }

    void expectPicture(const Case& c) {
        SCOPED_TRACE(c.name);
        std::vector<uint16_t> screen;
        show(c, screen);
        ASSERT_EQ(screen.size(), picture.size());
        int wrong = 0;
        std::string first;
        for (int y = 0; y < kGbaScreenHeight; ++y)
            for (int x = 0; x < kGbaScreenWidth; ++x) {
                const size_t i = size_t(y) * kGbaScreenWidth + x;
                if (screen[i] == to15(picture[i])) continue;
                if (!wrong++)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): screen " +
                            std::to_string(screen[i]) + ", picture " + std::to_string(to15(picture[i]));
            }
        EXPECT_EQ(wrong, 0) << "first difference at " << first;
    }

    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    std::vector<uint32_t> picture;
};

TEST_F(EmulatedConsole, EightBitTilesAndTextMap) {
    for (int packing = 0; packing < 3; ++packing)
        expectPicture({"t8_" + std::to_string(packing), "", true, 8, packing});
}

TEST_F(EmulatedConsole, FourBitTilesWithFourSubPalettes) {
    for (int packing = 0; packing < 3; ++packing)
        expectPicture({"t4_" + std::to_string(packing), "+16c col=64", true, 4, packing});
}

TEST_F(EmulatedConsole, FifteenBitBitmapInMode3) {
    for (int packing = 0; packing < 3; ++packing)
        expectPicture({"b3_" + std::to_string(packing), "cmode=15", false, 3, packing});
}

TEST_F(EmulatedConsole, EightBitBitmapInMode4) {
    for (int packing = 0; packing < 3; ++packing)
        expectPicture({"b4_" + std::to_string(packing), "", false, 4, packing});
}

TEST_F(EmulatedConsole, VramUnpackingBreaksReferencesAtDistanceOneButNotOurs) {
    // A screen of one colour whose two bytes are equal: a run of 76800 equal bytes.
    const std::vector<uint8_t> screenBytes(size_t(kGbaScreenWidth) * kGbaScreenHeight * 2, 0x21);
    // What a packer blind to the 16-bit writes makes of it: a literal, then references of 18 bytes
    // at distance 1 (the last one cut by the size).
    std::vector<uint8_t> unsafe = {0x10, 0x00, 0x2C, 0x01};  // 76800 bytes
    unsafe.push_back(0x7F);
    unsafe.push_back(0x21);
    size_t made = 1;
    for (int item = 1; made < screenBytes.size(); ++item) {
        if (item % 8 == 0) unsafe.push_back(0xFF);
        unsafe.push_back(0xF0);
        unsafe.push_back(0x00);
        made += 18;
    }
    std::vector<uint8_t> check;
    ASSERT_EQ(unpackData(unsafe.data(), unsafe.size(), screenBytes.size(), check), UnpackStatus::Ok);
    ASSERT_EQ(check, screenBytes);  // a sound stream for a byte-wise unpacker

    std::vector<uint16_t> screen;
    showPackedScreen("unsafe", unsafe, screen);
    int wrong = 0;
    for (uint16_t p : screen) wrong += p != 0x2121;
    EXPECT_GT(wrong, 0) << "the emulated BIOS wrote a distance-1 stream to VRAM byte by byte";

    showPackedScreen("safe", packLz77(screenBytes.data(), screenBytes.size()), screen);
    wrong = 0;
    for (uint16_t p : screen) wrong += p != 0x2121;
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace ts
