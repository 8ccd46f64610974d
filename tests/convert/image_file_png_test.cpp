// The PNG and JPEG decoders beyond what the comparison with the former loader shows: files that
// loader read wrongly, damaged files and hostile ones, and the encoders.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

#include <jpeglib.h>

#include "convert/image_file.h"
#include "convert/image_file_codecs.h"
#include "test_support.h"

using namespace ts;

namespace {

std::string imagePath(const std::string& name) { return TS_SOURCE_DIR "/tests/convert/images/" + name; }

DecodeResult decodeBytes(const std::string& bytes, DecodedImage& out) {
    return decodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

std::string be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string chunk(const std::string& kind, const std::string& data) {
    const std::string body = kind + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return be32(uint32_t(data.size())) + body + be32(uint32_t(crc));
}

std::string deflate(const std::string& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

// An 8-bit RGB PNG of width x height whose filtered rows are `raw`, with extra chunks before IDAT.
std::string rgbPng(uint32_t width, uint32_t height, const std::string& raw, const std::string& extra = "") {
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", be32(width) + be32(height) + std::string("\x08\x02\x00\x00\x00", 5)) + extra +
           chunk("IDAT", deflate(raw)) + chunk("IEND", "");
}

}  // namespace

TEST(PngRead, SixteenBitColourWithATransparentColour) {
    // The former loader read these 6-byte pixels as 8-byte ones; the transparent colour (the
    // script's colour(2, 0)) now has alpha 0 and every other pixel alpha 255.
    DecodedImage image;
    ASSERT_EQ(decodeImageFile(imagePath("png/rgb16-trns.png"), image), DecodeResult::Ok);
    const uint32_t transparent = 0x1A0A28;  // colour(2, 0) = (26, 10, 40)
    int seen = 0;
    for (int y = 0; y < image.surface.height; ++y)
        for (int x = 0; x < image.surface.width; ++x) {
            const uint32_t p = image.surface.at(x, y);
            EXPECT_EQ(p >> 24, (p & 0xFFFFFF) == transparent ? 0u : 255u);
            seen += (p & 0xFFFFFF) == transparent;
        }
    EXPECT_GT(seen, 0);
    EXPECT_EQ(image.surface.at(2, 0), transparent);
}

TEST(PngRead, PaletteEdgeCases) {
    DecodedImage image;
    // A two-colour image with one palette entry: white completes the table.
    ASSERT_EQ(decodeImageFile(imagePath("png/palette1-single.png"), image), DecodeResult::Ok);
    ASSERT_EQ(image.colourTable.size(), 2u);
    EXPECT_EQ(image.colourTable[1], 0xFFFFFFFFu);
    // Indices beyond a 9-entry palette show its first colour; the table keeps 9 entries.
    ASSERT_EQ(decodeImageFile(imagePath("png/palette4-short.png"), image), DecodeResult::Ok);
    ASSERT_EQ(image.colourTable.size(), 9u);
    EXPECT_EQ(image.surface.at(9, 0), image.colourTable[0]);
    // Partial transparency chunk: alpha for the first entries only.
    ASSERT_EQ(decodeImageFile(imagePath("png/palette8-trns.png"), image), DecodeResult::Ok);
    ASSERT_EQ(image.colourTable.size(), 12u);
    EXPECT_EQ(image.colourTable[1] >> 24, 40u);
    EXPECT_EQ(image.colourTable[5] >> 24, 255u);
}

TEST(PngRead, DamagedFilesAreRefused) {
    for (const char* name : {"png/palette8.png", "png/rgba16-interlaced.png", "png/grey1.png", "jpeg/baseline.jpg",
                             "jpeg/progressive.jpg"}) {
        const std::string whole = test::readFile(imagePath(name));
        for (size_t cut = 0; cut < whole.size(); cut += 1 + cut / 16) {
            DecodedImage image;
            const DecodeResult r = decodeBytes(whole.substr(0, cut), image);
            ASSERT_NE(r, DecodeResult::Ok) << name << " cut at " << cut;
            ASSERT_TRUE(image.surface.empty());
            if (cut > 16) {
                ASSERT_EQ(r, DecodeResult::Damaged) << name << " cut at " << cut;
            }
        }
    }
    // A flipped bit in the image data: the checksum no longer matches.
    std::string png = test::readFile(imagePath("png/rgb8.png"));
    png[png.size() - 20] = char(png[png.size() - 20] ^ 0x10);
    DecodedImage image;
    EXPECT_EQ(decodeBytes(png, image), DecodeResult::Damaged);
}

TEST(PngRead, HostileFilesStayBounded) {
    DecodedImage image;
    // Text that inflates to 64 MB is skipped unread.
    const std::string bomb = chunk("zTXt", std::string("Comment\0\0", 9) + deflate(std::string(64 << 20, 'x')));
    ASSERT_EQ(decodeBytes(rgbPng(2, 1, std::string(7, '\0'), bomb), image), DecodeResult::Ok);
    EXPECT_EQ(image.surface.at(1, 0), 0xFF000000u);
    // Image data that would inflate far past the picture: the rows needed are read, the rest is
    // not inflated.
    ASSERT_EQ(decodeBytes(rgbPng(2, 1, std::string(32 << 20, '\0')), image), DecodeResult::Ok);
    // 16-bit colour whose transparency chunk comes before a suggested palette: libpng makes no
    // alpha of it; the rows are still read as whole pixels.
    const std::string early = test::readFile(TS_SOURCE_DIR "/fuzz/seeds/fuzz_decode_png/rgb16-trns-before-plte.png");
    const DecodeResult r = decodeBytes(early, image);
    EXPECT_TRUE(r == DecodeResult::Ok || r == DecodeResult::Damaged);
    // A picture of 65535 x 1024 whose data stops at once.
    EXPECT_EQ(decodeBytes(rgbPng(65535, 1024, std::string(7, '\0')), image), DecodeResult::Damaged);
    EXPECT_TRUE(image.surface.empty());
}

TEST(JpegRead, GreyAndCmykFiles) {
    DecodedImage image;
    ASSERT_EQ(decodeImageFile(imagePath("jpeg/grey.jpg"), image), DecodeResult::Ok);
    const uint32_t p = image.surface.at(3, 3);
    EXPECT_EQ(p >> 24, 255u);
    EXPECT_EQ(p & 255, (p >> 8) & 255);
    EXPECT_EQ(p & 255, (p >> 16) & 255);
    EXPECT_TRUE(image.colourTable.empty());

    // An inverted CMYK file (as print software writes them) of one colour: each component
    // times black / 255.
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 16;
    info.image_height = 16;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row;
    for (int x = 0; x < 16; ++x) row.insert(row.end(), {200, 100, 50, 128});
    while (info.next_scanline < 16) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    const std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    const uint32_t c = image.surface.at(8, 8);
    EXPECT_NEAR(int(c >> 16 & 255), 200 * 128 / 255, 2);
    EXPECT_NEAR(int(c >> 8 & 255), 100 * 128 / 255, 2);
    EXPECT_NEAR(int(c & 255), 50 * 128 / 255, 2);
}

TEST(ImageWrite, PngAndJpegReadBack) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 33, 9));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 33; ++x) s.at(x, y) = uint32_t(x * 7) << 16 | uint32_t(y * 20) << 8 | 0x80;
    EncodeInput in{&s, {}, {}};
    std::string bytes;
    ASSERT_TRUE(encodePng(in, bytes));
    DecodedImage image;
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 33; ++x) ASSERT_EQ(image.surface.at(x, y), 0xFF000000u | s.at(x, y));

    ASSERT_TRUE(encodeJpeg(in, bytes));
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    EXPECT_EQ(image.surface.width, 33);
    EXPECT_NEAR(int(image.surface.at(16, 4) >> 16 & 255), 16 * 7, 12);

    // Indexed PNG: the table and indices as given (a repeated colour included).
    in.table = {0x102030, 0x405060, 0x102030};
    for (int i = 0; i < 33 * 9; ++i) in.indices.push_back(uint8_t(i % 3));
    ASSERT_TRUE(encodePng(in, bytes));
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    EXPECT_EQ(image.colourTable, (std::vector<uint32_t>{0xFF102030u, 0xFF405060u, 0xFF102030u}));
    EXPECT_EQ(image.surface.at(2, 0), 0xFF102030u);
}
