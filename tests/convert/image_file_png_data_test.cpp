// PNG image data inflated by libdeflate against libpng's own reading: every file must give the
// same result, the same pixels and the same colour table through both paths, whole or damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

#include "convert/image_file.h"
#include "convert/image_file_codecs.h"
#include "convert/image_file_png_data.h"
#include "test_support.h"

using namespace ts;

namespace {

std::string be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string chunk(const std::string& kind, const std::string& data) {
    const std::string body = kind + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return be32(uint32_t(data.size())) + body + be32(uint32_t(crc));
}

std::string deflate(const std::string& raw, int level = 9) {
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), level);
    out.resize(size);
    return out;
}

// A PNG of the given header whose filtered rows are `raw`, the compressed data split into IDAT
// chunks of `piece` bytes; `before` goes before the data, `after` between the data and IEND.
std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, const std::string& raw,
                    const std::string& before = "", const std::string& after = "", size_t piece = 1000) {
    std::string file = std::string("\x89PNG\r\n\x1a\n", 8) +
                       chunk("IHDR", be32(width) + be32(height) + char(depth) + char(colourType) + std::string(3, '\0')) +
                       before;
    const std::string data = deflate(raw, raw.size() > 100000 ? 1 : 9);
    for (size_t at = 0; at < data.size(); at += piece) file += chunk("IDAT", data.substr(at, piece));
    return file + after + chunk("IEND", "");
}

// Rows of random bytes, each with the filter type row % 5.
std::string filteredRows(uint32_t height, size_t rowBytes, uint32_t seed) {
    std::mt19937 random(seed);
    std::string raw;
    for (uint32_t y = 0; y < height; ++y) {
        raw += char(y % 5);
        for (size_t i = 0; i < rowBytes; ++i) raw += char(random() % 7 == 0 ? random() : random() % 4);
    }
    return raw;
}

std::string palette(int count) {
    std::string p;
    for (int i = 0; i < count; ++i) p += {char(i * 37), char(255 - i * 11), char(i * 5)};
    return chunk("PLTE", p);
}

void expectSameDecoding(const std::string& bytes, const std::string& what) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    DecodedImage viaLibpng, viaData;
    const DecodeResult a = decodePng(data, bytes.size(), viaLibpng, PngDecoding::LibpngOnly);
    const DecodeResult b = decodePng(data, bytes.size(), viaData, PngDecoding::AnySize);
    ASSERT_EQ(a, b) << what;
    if (a != DecodeResult::Ok) return;
    ASSERT_EQ(viaLibpng.colourTable, viaData.colourTable) << what;
    ASSERT_EQ(viaLibpng.surface.width, viaData.surface.width) << what;
    ASSERT_EQ(viaLibpng.surface.height, viaData.surface.height) << what;
    for (int y = 0; y < viaLibpng.surface.height; ++y)
        ASSERT_TRUE(std::equal(viaLibpng.surface.row(y), viaLibpng.surface.row(y) + viaLibpng.surface.width,
                               viaData.surface.row(y)))
            << what << ", row " << y;
}

}  // namespace

TEST(PngImageData, EveryTestImageDecodesAsThroughLibpng) {
    int files = 0;
    for (const char* root : {TS_SOURCE_DIR "/tests", TS_SOURCE_DIR "/examples", TS_SOURCE_DIR "/fuzz/seeds"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".png") continue;
            expectSameDecoding(test::readFile(entry.path().string()), entry.path().string());
            ++files;
        }
    }
    EXPECT_GT(files, 30);
}

TEST(PngImageData, EveryFilterAtEveryPixelSize) {
    // Grey, RGB, palette, grey + alpha (libpng's path), RGBA; widths that are no multiple of four.
    struct Kind { int depth, colourType, samples; };
    for (const Kind k : {Kind{8, 0, 1}, Kind{8, 2, 3}, Kind{8, 3, 1}, Kind{8, 4, 2}, Kind{8, 6, 4}, Kind{1, 0, 1},
                         Kind{2, 3, 1}, Kind{4, 3, 1}, Kind{4, 0, 1}, Kind{16, 2, 3}}) {
        for (uint32_t width : {1u, 3u, 17u, 70u}) {
            const size_t rowBytes = (size_t(width) * size_t(k.samples) * size_t(k.depth) + 7) / 8;
            const std::string raw = filteredRows(23, rowBytes, width * 31 + uint32_t(k.depth));
            const std::string before = k.colourType == 3 ? palette(k.depth == 8 ? 200 : 1 << k.depth) : "";
            expectSameDecoding(pngFile(width, 23, k.depth, k.colourType, raw, before),
                               "depth " + std::to_string(k.depth) + " type " + std::to_string(k.colourType) +
                                   " width " + std::to_string(width));
        }
    }
}

TEST(PngImageData, DamagedAndUnusualFilesDecodeAsThroughLibpng) {
    const std::string raw = filteredRows(40, 60 * 3, 7);
    const std::string whole = pngFile(60, 40, 8, 2, raw, "", chunk("tEXt", std::string("a\0b", 3)), 300);
    // Every cut, and a flipped bit at every position of a smaller file.
    for (size_t cut = 0; cut < whole.size(); cut += 1 + cut / 64) expectSameDecoding(whole.substr(0, cut), "cut");
    const std::string small = pngFile(9, 5, 8, 2, filteredRows(5, 27, 3), "", "", 40);
    for (size_t i = 8; i < small.size(); ++i) {
        std::string flipped = small;
        flipped[i] = char(flipped[i] ^ (1 << (i % 8)));
        expectSameDecoding(flipped, "bit flipped at " + std::to_string(i));
    }
    const std::string rows = filteredRows(10, 30, 5);
    const std::string header = std::string("\x89PNG\r\n\x1a\n", 8) +
                               chunk("IHDR", be32(10) + be32(10) + std::string("\x08\x02\x00\x00\x00", 5));
    // Data past the rows, rows missing, an unknown filter type, data after the end chunk, a
    // critical chunk after the data, no end chunk, a stream without its checksum.
    expectSameDecoding(pngFile(10, 10, 8, 2, rows + std::string(5000, '\0')), "too much data");
    expectSameDecoding(pngFile(10, 10, 8, 2, rows.substr(0, rows.size() - 31)), "too little data");
    std::string badFilter = rows;
    badFilter[31 * 4] = 9;
    expectSameDecoding(pngFile(10, 10, 8, 2, badFilter), "filter 9");
    expectSameDecoding(pngFile(10, 10, 8, 2, rows) + "garbage after the end", "after the end");
    expectSameDecoding(pngFile(10, 10, 8, 2, rows, "", chunk("PLTE", std::string(6, '\1'))), "palette after the data");
    expectSameDecoding(header + chunk("IDAT", deflate(rows)), "no end chunk");
    const std::string stream = deflate(rows);
    expectSameDecoding(header + chunk("IDAT", stream.substr(0, stream.size() - 4)) + chunk("IEND", ""),
                       "stream without its checksum");
    // Data chunks interrupted by an ancillary chunk.
    expectSameDecoding(header + chunk("IDAT", stream.substr(0, 20)) + chunk("tEXt", "x") +
                           chunk("IDAT", stream.substr(20)) + chunk("IEND", ""),
                       "split data");
}

TEST(PngImageData, LargePictureTakesTheDataPathAndKeepsItsPixels) {
    // A picture large enough for the data path by default, with every filter; stored uncompressed
    // too, so that one chunk holds the whole stream.
    const std::string raw = filteredRows(300, 400 * 4, 11);
    for (const std::string& file : {pngFile(400, 300, 8, 6, raw, "", "", 8192),
                                    pngFile(400, 300, 8, 6, raw, "", "", size_t(1) << 30)}) {
        DecodedImage fast, slow;
        ASSERT_EQ(decodeImage(reinterpret_cast<const uint8_t*>(file.data()), file.size(), fast), DecodeResult::Ok);
        ASSERT_EQ(decodePng(reinterpret_cast<const uint8_t*>(file.data()), file.size(), slow, PngDecoding::LibpngOnly),
                  DecodeResult::Ok);
        for (int y = 0; y < 300; ++y)
            ASSERT_TRUE(std::equal(slow.surface.row(y), slow.surface.row(y) + 400, fast.surface.row(y))) << y;
    }
}

TEST(PngImageData, UnfilteringMatchesTheDefinition) {
    // Paeth at three and four bytes a pixel, against the filter as the format defines it.
    std::mt19937 random(5);
    for (int bpp : {1, 3, 4}) {
        for (int type = 0; type <= 4; ++type) {
            std::vector<uint8_t> in(48), previous(48), out(48), want(48);
            for (auto* v : {&in, &previous})
                for (uint8_t& b : *v) b = uint8_t(random());
            for (size_t i = 0; i < 48; ++i) {
                const int a = i >= size_t(bpp) ? want[i - size_t(bpp)] : 0, b = previous[i];
                const int c = i >= size_t(bpp) ? previous[i - size_t(bpp)] : 0;
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                const int predictor[] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
                want[i] = uint8_t(in[i] + predictor[type]);
            }
            ASSERT_TRUE(unfilterPngRow(type, in.data(), previous.data(), out.data(), 48, bpp));
            EXPECT_EQ(out, want) << "filter " << type << ", " << bpp << " bytes a pixel";
        }
    }
    uint8_t byte = 0;
    EXPECT_FALSE(unfilterPngRow(5, &byte, &byte, &byte, 1, 1));
}
