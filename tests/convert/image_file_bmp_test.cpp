// The BMP reader and writer: every header, depth and compression of tests/convert/images/bmp
// (written by scripts/make-test-images.py), and damaged files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "convert/image_file_codecs.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;

namespace {

constexpr int kWidth = 19, kHeight = 11;  // the size of the test pictures

std::string imagePath(const std::string& name) { return TS_SOURCE_DIR "/tests/convert/images/bmp/" + name; }

DecodedImage decode(const std::string& name, DecodeResult expected = DecodeResult::Ok) {
    DecodedImage image;
    EXPECT_EQ(decodeImageFile(imagePath(name), image), expected) << name;
    return image;
}

DecodeResult decodeBytes(const std::string& bytes, DecodedImage& out) {
    return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

// The picture of the script: colour(x, y) and index(x, y, count).
uint32_t colour(int x, int y) {
    return 0xFF000000u | uint32_t((x * 13 + y * 7) & 255) << 16 | uint32_t((x * 5 + y * 29) & 255) << 8 |
           uint32_t((x * y * 3 + 40) & 255);
}
int index(int x, int y, int count) { return (x + y * 3 + (x * y) / 4) % count; }
uint32_t tableColour(int i) { return colour(i * 3, i); }

std::string le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string le16(uint32_t v) { return std::string{char(v), char(v >> 8)}; }

// A 32-bit bit-field BMP of one pixel with a 3.x header and the masks after it.
std::string bitFieldPixel(uint32_t value, uint32_t red, uint32_t green, uint32_t blue) {
    return "BM" + le32(70) + le32(0) + le32(66) + le32(40) + le32(1) + le32(1) + le16(1) + le16(32) + le32(3) +
           le32(4) + le32(0) + le32(0) + le32(0) + le32(0) + le32(red) + le32(green) + le32(blue) + le32(value);
}

}  // namespace

TEST(BmpRead, IndexedFilesKeepTheirTableInFileOrder) {
    struct Case {
        const char* name;
        int tableSize;
        int indexCount;
    } cases[] = {{"bits4.bmp", 16, 16}, {"bits8.bmp", 256, 256}, {"bits8-used-40.bmp", 40, 40},
                 {"bits8-topdown.bmp", 64, 64}, {"bits8-v5.bmp", 100, 100}, {"os2-bits8.bmp", 256, 256},
                 {"bits8-gap-before-pixels.bmp", 32, 32}, {"rle8.bmp", 48, 48}, {"rle4.bmp", 16, 16}};
    for (const Case& c : cases) {
        const DecodedImage image = decode(c.name);
        ASSERT_EQ(image.colourTable.size(), size_t(c.tableSize)) << c.name;
        for (int i = 0; i < c.tableSize; ++i) ASSERT_EQ(image.colourTable[size_t(i)], tableColour(i)) << c.name << " " << i;
        ASSERT_EQ(image.surface.width, kWidth);
        ASSERT_EQ(image.surface.height, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(image.surface.at(x, y), tableColour(index(x, y, c.indexCount))) << c.name << " " << x << "," << y;
    }
}

TEST(BmpRead, TwoColourFiles) {
    // Black first stays first (the table is the file's, whatever its colours).
    DecodedImage dark = decode("bits1-dark-first.bmp");
    ASSERT_EQ(dark.colourTable, (std::vector<uint32_t>{0xFF000000u, 0xFFFFFFFFu}));
    EXPECT_EQ(dark.surface.at(1, 0), 0xFFFFFFFFu);  // index(1, 0, 2) = 1
    EXPECT_EQ(dark.surface.at(0, 0), 0xFF000000u);
    // A single colour: the other pixels are white.
    DecodedImage single = decode("bits1-single.bmp");
    ASSERT_EQ(single.colourTable, (std::vector<uint32_t>{0xFF5A5046u}));
    EXPECT_EQ(single.surface.at(0, 0), 0xFF5A5046u);
    EXPECT_EQ(single.surface.at(1, 0), 0xFFFFFFFFu);
}

TEST(BmpRead, IndicesBeyondTheTableAreTransparentBlack) {
    const DecodedImage image = decode("bits8-short-table.bmp");
    ASSERT_EQ(image.colourTable.size(), 20u);
    for (int x = 0; x < kWidth; ++x) {
        const int i = index(x, 2, 30);
        EXPECT_EQ(image.surface.at(x, 2), i < 20 ? tableColour(i) : 0u) << x;
    }
}

TEST(BmpRead, TrueColourVariantsGiveTheSamePicture) {
    const DecodedImage reference = decode("bits24.bmp");
    EXPECT_TRUE(reference.colourTable.empty());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(reference.surface.at(x, y), colour(x, y));
    for (const char* name : {"bits24-topdown.bmp", "bits24-v5.bmp", "os2-bits24.bmp", "bits32.bmp", "bits32-fields.bmp"}) {
        const DecodedImage image = decode(name);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) ASSERT_EQ(image.surface.at(x, y), colour(x, y)) << name;
    }
    // Five and six bits per channel, scaled by 8 and 4.
    const DecodedImage rgb555 = decode("bits16.bmp"), rgb565 = decode("bits16-565.bmp");
    const uint32_t c = colour(7, 3);
    const uint32_t r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    EXPECT_EQ(rgb555.surface.at(7, 3), 0xFF000000u | (r & 0xF8) << 16 | (g & 0xF8) << 8 | (b & 0xF8));
    EXPECT_EQ(rgb565.surface.at(7, 3), 0xFF000000u | (r & 0xF8) << 16 | (g & 0xFC) << 8 | (b & 0xF8));
    // An alpha mask keeps the alpha; without one a 32-bit file is opaque.
    const DecodedImage alpha = decode("bits32-v4-alpha.bmp");
    EXPECT_EQ(alpha.surface.at(5, 2), (colour(5, 2) & 0xFFFFFF) | uint32_t((5 * 13) & 255) << 24);
}

TEST(BmpRead, WideAndOddBitFields) {
    DecodedImage image;
    // 10 bits per channel: the top 8 bits of each.
    ASSERT_EQ(decodeBytes(bitFieldPixel(0x3FF << 20 | 0x200 << 10 | 0x0FF, 0x3FF00000, 0x000FFC00, 0x000003FF), image),
              DecodeResult::Ok);
    EXPECT_EQ(image.surface.at(0, 0), 0xFFFF803Fu);
    // A mask of every bit is not refused either.
    ASSERT_EQ(decodeBytes(bitFieldPixel(0x12345678, 0xFFFFFFFF, 0, 0), image), DecodeResult::Ok);
    EXPECT_EQ(image.surface.at(0, 0), 0xFF120000u);
}

TEST(BmpRead, RleSkipsLeaveTheFirstColour) {
    const DecodedImage image = decode("rle8-skip.bmp");
    // File line 3 (picture row 7): four pixels of the run, then skipped to the end; file line 4
    // (picture row 6) skipped up to x = 6.
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(image.surface.at(x, 7), x < 4 ? tableColour(index(0, 7, 48)) : tableColour(0)) << x;
        EXPECT_EQ(image.surface.at(x, 6), x < 6 ? tableColour(0) : tableColour(index(x, 6, 48))) << x;
    }
}

TEST(BmpRead, DamagedFilesAreRefused) {
    for (const char* name : {"bits8.bmp", "rle8.bmp", "rle4.bmp", "bits24.bmp", "bits16-565.bmp", "os2-bits8.bmp"}) {
        // Every cut before the last pixel row's data: not a picture with a missing part.
        const std::string whole = test::readFile(imagePath(name));
        for (size_t cut = 0; cut + 4 < whole.size(); ++cut) {
            DecodedImage image;
            const DecodeResult r = decodeBytes(whole.substr(0, cut), image);
            ASSERT_NE(r, DecodeResult::Ok) << name << " cut at " << cut;
            ASSERT_TRUE(image.surface.empty() || r != DecodeResult::Ok);
        }
    }
    DecodedImage image;
    // Unknown depth, compression, plane count; more than 256 colours; negative width.
    std::string header = test::readFile(imagePath("bits8.bmp"));
    for (auto [offset, value] : std::vector<std::pair<size_t, char>>{{28, 2}, {30, 4}, {26, 2}, {48, 1}, {21, char(0x80)}}) {
        std::string bad = header;
        bad[offset] = value;
        EXPECT_EQ(decodeBytes(bad, image), DecodeResult::Damaged) << offset;
    }
    // Zero height: empty, refused quietly.
    std::string empty = header;
    empty.replace(22, 4, le32(0));
    EXPECT_EQ(decodeBytes(empty, image), DecodeResult::Empty);
}

// A truncated file stops the conversion with its message (and a batch run with exit status 1),
// instead of converting a picture with missing rows.
TEST(BmpRead, TruncatedFileStopsTheConversion) {
    test::TempDir dir;
    test::TestApp t;
    const std::string bytes = test::readFile(imagePath("bits24.bmp"));
    dir.write("cut.bmp", bytes.substr(0, bytes.size() / 2));
    int w = 0, h = 0;
    EXPECT_FALSE(loadImageFile(t.app, dir.file("cut.bmp"), w, h));
    EXPECT_TRUE(t.host.boxes.empty());
    std::string arguments = "tset src=" + dir.file("cut.bmp");
    cmdConv(t.app, arguments.data());
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.lastText(), formatText(tr(T::ConvertImageUnreadable), dir.file("cut.bmp").c_str()));
    EXPECT_EQ(t.host.lastText().rfind("Unable to read the image", 0), 0u);
    EXPECT_TRUE(t.host.failureSeen());
    EXPECT_FALSE(fileExists(dir.file("cut.til.c")));
}

TEST(BmpWrite, IndexedAndTrueColourFilesReadBack) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) s.at(x, y) = colour(x, y) & 0xFFFFFF;
    EncodeInput in{&s, {}, {}};
    std::string bytes;
    ASSERT_TRUE(encodeBmp(in, bytes));
    DecodedImage image;
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.surface.at(x, y), colour(x, y));
    EXPECT_TRUE(image.colourTable.empty());

    // Indexed: the table as given, repeated colours included, and the indices as given.
    in.table = {0x112233, 0x445566, 0x112233};
    for (int i = 0; i < 15; ++i) in.indices.push_back(uint8_t(i % 3));
    ASSERT_TRUE(encodeBmp(in, bytes));
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    EXPECT_EQ(image.colourTable, (std::vector<uint32_t>{0xFF112233u, 0xFF445566u, 0xFF112233u}));
    EXPECT_EQ(image.surface.at(1, 0), 0xFF445566u);
    EXPECT_EQ(bytes[28], 8);
}
