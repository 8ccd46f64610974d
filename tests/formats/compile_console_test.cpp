// The C files written with the built-in format compile for the GBA's ARM7TDMI, and each array has
// the size its header comment states.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "formats/compression.h"
#include "formats/load_save_ops.h"
#include "formats/model.h"
#include "formats/object_list.h"
#include "formats/platform.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

bool toolAvailable(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The byte count of the header comment "//Mémoire: N octets".
long statedSize(const std::string& text) {
    const std::string key = "//M\xE9moire: ";
    size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::strtol(text.c_str() + at + key.size(), nullptr, 10);
}

// Sizes of the defined symbols of an object file (nm -S).
std::map<std::string, long> symbolSizes(const std::string& object) {
    int status = 0;
    std::string out = test::runCommand("arm-none-eabi-nm -S --defined-only '" + object + "'", status);
    std::map<std::string, long> sizes;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(start, end - start);
        start = end + 1;
        char address[64], size[64], kind[8], name[256];
        if (std::sscanf(line.c_str(), "%63s %63s %7s %255s", address, size, kind, name) == 4)
            sizes[name] = std::strtol(size, nullptr, 16);
    }
    return sizes;
}

TEST(CompileConsoleTest, SavedFilesCompileWithArmNoneEabiGcc) {
    if (!toolAvailable("arm-none-eabi-gcc") || !toolAvailable("arm-none-eabi-nm"))
        GTEST_SKIP() << "arm-none-eabi-gcc is not installed (scripts/deps.sh installs gcc-arm-none-eabi)";
    test::TestApp t;
    App& app = t.app;
    test::TempDir dir;
    PlatformRecord& gba = currentPlatform(app);
    ElementRecord pal = test::addElement(app, TYPE_PALETTE, dir.file("hero.pal.c"), "hero");
    ElementRecord til4 = test::addElement(app, TYPE_MOSAIQUE, dir.file("hero4.til.c"), "hero4");
    ElementRecord til8 = test::addElement(app, TYPE_MOSAIQUE, dir.file("hero8.til.c"), "hero8");
    ElementRecord map = test::addElement(app, TYPE_CARTE, dir.file("hero.map.c"), "hero");
    ElementRecord bmp = test::addElement(app, TYPE_BITMAP, dir.file("hero.bmp.c"), "hero");
    ElementRecord lst = test::addElement(app, TYPE_LISTE, dir.file("hero.lst.c"), "hero");

    std::vector<uint32_t> colours(16);
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = packBgra(int(i), int(i) * 2 % 32, 31 - int(i), 255);
    ASSERT_EQ(gba.savePalette(app, 0, pal, colours.data(), 16), 1);
    std::vector<uint32_t> pixels(5 * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 3) & 15;
    ASSERT_EQ(gba.saveTileset(app, 0, 0, til4, &pal, pixels.data(), 5, 8, 8), 1);
    app.platforms.gba.align = 4;  // the attribute must compile too
    gba.onConvert(app, 1);
    ASSERT_EQ(gba.saveTileset(app, 0, 1, til8, &pal, pixels.data(), 5, 8, 8), 1);
    app.platforms.gba.align = 0;
    gba.onConvert(app, 1);
    std::vector<uint32_t> cells(30 * 20);
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t(i % 5) | 0x1000;
    setCurrentMapType(app, MapText);
    ASSERT_EQ(gba.saveMap(app, 0, map, &til8, 30, 20, cells.data()), 1);
    std::vector<uint32_t> bitmap(17 * 9);
    for (size_t i = 0; i < bitmap.size(); ++i) bitmap[i] = uint32_t(i) & 255;
    ASSERT_EQ(gba.saveBitmap(app, 0, 1, bmp, &pal, bitmap.data(), 17, 9), 1);
    ObjectList list;
    resetObjectList(list, currentModel(app));
    addListEntry(app, list, 10, 20, 2);
    addListEntry(app, list, 3, 4, 1);
    addListEntry(app, list, 30, 5, 7);
    ASSERT_EQ(gba.saveList(app, 0, lst, &til8, list, 8, 8), 1);
    ASSERT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    dir.write("def.h", "typedef struct { int type, x, y; } SPRITE_LISTE;\n");

    struct Expected {
        ElementRecord element;
        std::string symbol;
        std::string extraFlags;
    };
    // The built-in bitmap layout initialises its two-dimensional array without row braces: valid
    // C, which -Wall reports only as missing braces.
    const Expected files[] = {{pal, "hero_palette", ""},   {til4, "hero4_tiles", ""},
                              {til8, "hero8_tiles", ""},   {map, "hero_map", ""},
                              {bmp, "hero_bitmap8", " -Wno-missing-braces"}, {lst, "hero_liste", ""}};
    for (const Expected& e : files) {
        SCOPED_TRACE(e.element.file);
        std::string object = e.element.file + ".o";
        int status = 0;
        std::string out = test::runCommand("arm-none-eabi-gcc -c -Wall -Werror -mthumb -mcpu=arm7tdmi" + e.extraFlags +
                                               " -I'" + dir.path() + "' '" + e.element.file + "' -o '" + object + "'",
                                           status);
        ASSERT_EQ(status, 0) << out;
        long stated = statedSize(test::readFile(e.element.file));
        std::map<std::string, long> sizes = symbolSizes(object);
        ASSERT_TRUE(sizes.count(e.symbol)) << "no symbol " << e.symbol;
        EXPECT_EQ(sizes[e.symbol], stated);
    }
    EXPECT_EQ(symbolSizes(lst.file + ".o")["hero_liste_nbEle"], 4);
    int status = 0;
    std::string dump = test::runCommand("arm-none-eabi-objdump -t '" + til8.file + ".o'", status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(dump.find("hero8_tiles"), std::string::npos);
}

// Packed data compile as arrays of 32-bit words, aligned to 4 bytes as the BIOS functions need,
// whose size is the header comment's.
TEST(CompileConsoleTest, PackedFilesCompileAsAlignedWords) {
    if (!toolAvailable("arm-none-eabi-gcc") || !toolAvailable("arm-none-eabi-nm"))
        GTEST_SKIP() << "arm-none-eabi-gcc is not installed (scripts/deps.sh installs gcc-arm-none-eabi)";
    test::TestApp t;
    App& app = t.app;
    test::TempDir dir;
    PlatformRecord& gba = currentPlatform(app);
    ElementRecord pal = test::addElement(app, TYPE_PALETTE, dir.file("p.pal.c"), "p");
    ElementRecord til = test::addElement(app, TYPE_MOSAIQUE, dir.file("p.til.c"), "p");
    ElementRecord map = test::addElement(app, TYPE_CARTE, dir.file("p.map.c"), "p");
    ElementRecord bmp = test::addElement(app, TYPE_BITMAP, dir.file("p.bmp.c"), "p");
    std::vector<uint32_t> pixels(5 * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i / 3) & 15;
    ASSERT_EQ(gba.saveTileset(app, savePackingFlags(Packing::Lz77), 0, til, &pal, pixels.data(), 5, 8, 8), 1);
    setCurrentMapType(app, MapText);
    ASSERT_EQ(gba.saveMap(app, savePackingFlags(Packing::Rle), map, &til, 16, 20, pixels.data()), 1);
    ASSERT_EQ(gba.saveBitmap(app, savePackingFlags(Packing::Lz77), 2, bmp, &pal, pixels.data(), 16, 20), 1);
    ASSERT_TRUE(t.host.boxes.empty()) << t.host.lastText();
    const std::pair<ElementRecord, std::string> files[] = {{til, "p_tiles"}, {map, "p_map"}, {bmp, "p_bitmap8"}};
    for (const auto& [element, symbol] : files) {
        SCOPED_TRACE(element.file);
        const std::string object = element.file + ".o";
        int status = 0;
        std::string out = test::runCommand("arm-none-eabi-gcc -c -Wall -Werror -mthumb -mcpu=arm7tdmi '" + element.file +
                                               "' -o '" + object + "'",
                                           status);
        ASSERT_EQ(status, 0) << out;
        EXPECT_EQ(symbolSizes(object)[symbol], statedSize(test::readFile(element.file)));
        std::string dump = test::runCommand("arm-none-eabi-nm --defined-only '" + object + "'", status);
        const size_t at = dump.find(" " + symbol);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(std::strtoul(dump.substr(0, at).substr(dump.rfind('\n', at) + 1).c_str(), nullptr, 16) % 4, 0u);
    }
}

}  // namespace
}  // namespace ts
