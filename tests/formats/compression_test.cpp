// The LZ77 and run-length packers give the exact bytes the GBA BIOS expects, the LZ77 stream
// stays safe for the BIOS's 16-bit VRAM writes, and corrupt streams are refused.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "formats/compression.h"
#include "formats/compression_lz77.h"
#include "formats/compression_rle.h"

namespace ts {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes lz77(const Bytes& data) { return packLz77(data.data(), data.size()); }
Bytes rle(const Bytes& data) { return packRle(data.data(), data.size()); }

Bytes unpacked(const Bytes& stream, size_t size) {
    Bytes out;
    EXPECT_EQ(unpackData(stream.data(), stream.size(), size, out), UnpackStatus::Ok);
    return out;
}

// Back-reference distances of an LZ77 stream, read item by item.
std::vector<int> lz77Distances(const Bytes& s) {
    std::vector<int> distances;
    size_t size = size_t(s[1]) | size_t(s[2]) << 8 | size_t(s[3]) << 16, o = 0, pos = 4;
    while (o < size && pos < s.size()) {
        uint8_t flags = s[pos++];
        for (int bit = 0; bit < 8 && o < size; ++bit, flags = uint8_t(flags << 1)) {
            if (flags & 0x80) {
                distances.push_back(((s[pos] & 0x0F) << 8 | s[pos + 1]) + 1);
                o += size_t(s[pos] >> 4) + 3;
                pos += 2;
            } else {
                ++o;
                ++pos;
            }
        }
    }
    return distances;
}

TEST(CompressionExactBytes, EmptyBlockIsTheHeaderAlone) {
    EXPECT_EQ(lz77({}), (Bytes{0x10, 0, 0, 0}));
    EXPECT_EQ(rle({}), (Bytes{0x30, 0, 0, 0}));
    EXPECT_TRUE(unpacked({0x10, 0, 0, 0}, 0).empty());
    EXPECT_TRUE(unpacked({0x30, 0, 0, 0}, 0).empty());
}

TEST(CompressionExactBytes, RunLongerThanTheLongestMatch) {
    // 38 bytes: two literals (distance 1 is not allowed), then two references of 18 at distance 2.
    Bytes run(38, 0x41);
    EXPECT_EQ(lz77(run), (Bytes{0x10, 38, 0, 0, 0x30, 0x41, 0x41, 0xF0, 0x01, 0xF0, 0x01}));
    // 140 bytes: a run of 130 (the longest) and one of 10.
    Bytes longRun(140, 0x41);
    EXPECT_EQ(rle(longRun), (Bytes{0x30, 140, 0, 0, 0xFF, 0x41, 0x87, 0x41}));
    EXPECT_EQ(unpacked(lz77(run), 38), run);
    EXPECT_EQ(unpacked(rle(longRun), 140), longRun);
}

TEST(CompressionExactBytes, DataThatDoesNotCompress) {
    Bytes distinct;
    for (int i = 0; i < 16; ++i) distinct.push_back(uint8_t(i * 17));
    Bytes expectedLz{0x10, 16, 0, 0, 0x00};
    expectedLz.insert(expectedLz.end(), distinct.begin(), distinct.begin() + 8);
    expectedLz.push_back(0x00);
    expectedLz.insert(expectedLz.end(), distinct.begin() + 8, distinct.end());
    EXPECT_EQ(lz77(distinct), expectedLz);
    Bytes expectedRle{0x30, 16, 0, 0, 0x0F};
    expectedRle.insert(expectedRle.end(), distinct.begin(), distinct.end());
    EXPECT_EQ(rle(distinct), expectedRle);
    // Runs of two stay inside literal blocks; a run of four is worth a block of its own.
    EXPECT_EQ(rle({1, 1, 2}), (Bytes{0x30, 3, 0, 0, 0x02, 1, 1, 2}));
    EXPECT_EQ(rle({1, 1, 1, 1, 2}), (Bytes{0x30, 5, 0, 0, 0x81, 1, 0x00, 2}));
}

TEST(CompressionExactBytes, NoBackReferenceAtDistanceOne) {
    // A packer that ignores the VRAM rule would write a literal and a reference at distance 1.
    EXPECT_EQ(lz77({7, 7, 7, 7}), (Bytes{0x10, 4, 0, 0, 0x00, 7, 7, 7, 7}));
    // Twenty equal bytes: two literals and one reference of 18 at distance 2.
    EXPECT_EQ(lz77(Bytes(20, 9)), (Bytes{0x10, 20, 0, 0, 0x20, 9, 9, 0xF0, 0x01}));
}

TEST(CompressionRoundTrip, VariedDataUnpacksExactlyAndOptimalBeatsGreedy) {
    std::mt19937 rng(16);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        size_t size = rng() % 6000;
        int alphabet = 1 + int(rng() % 20);
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) {
            // Runs, repeats from far back and noise.
            uint32_t kind = rng() % 10;
            if (kind < 3 && i > 0) data[i] = data[i - 1];
            else if (kind < 6 && i > 300) data[i] = data[i - 1 - rng() % 300];
            else data[i] = uint8_t(rng() % uint32_t(alphabet) * 13);
        }
        Bytes packed = lz77(data);
        EXPECT_EQ(unpacked(packed, size), data);
        EXPECT_LE(packed.size(), packLz77Greedy(data.data(), size).size());
        for (int d : lz77Distances(packed)) ASSERT_GE(d, 2);
        EXPECT_EQ(unpacked(rle(data), size), data);
        EXPECT_EQ(unpacked(packData(Packing::Lz77, data.data(), size), size), data);
    }
}

TEST(CompressionRefusal, CorruptStreamsAreRefusedWithoutReadingPastThem) {
    Bytes out;
    // A header that promises more than the stream holds.
    EXPECT_EQ(unpackData(Bytes{0x10, 9, 0, 0, 0x00, 1, 2}.data(), 7, 9, out), UnpackStatus::Truncated);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(unpackData(Bytes{0x30, 9, 0, 0, 0x83, 5}.data(), 6, 9, out), UnpackStatus::Truncated);
    EXPECT_EQ(unpackData(Bytes{0x30, 4, 0, 0, 0x03, 1, 2}.data(), 7, 4, out), UnpackStatus::Truncated);
    EXPECT_EQ(unpackData(Bytes{0x10, 3, 0, 0, 0x80, 0x00}.data(), 6, 3, out), UnpackStatus::Truncated);
    // A back-reference before the start.
    EXPECT_EQ(unpackData(Bytes{0x10, 5, 0, 0, 0x40, 1, 0x00, 0x01}.data(), 8, 5, out), UnpackStatus::BeforeStart);
    // Neither method, a size other than the data's, a header cut short.
    EXPECT_EQ(unpackData(Bytes{0x20, 1, 0, 0, 0}.data(), 5, 1, out), UnpackStatus::UnknownMethod);
    EXPECT_EQ(unpackData(Bytes{0x30, 2, 0, 0, 0x01, 1, 2}.data(), 7, 3, out), UnpackStatus::SizeMismatch);
    EXPECT_EQ(unpackData(Bytes{0x10, 0}.data(), 2, 0, out), UnpackStatus::Truncated);
    // Padding after the stream is ignored.
    EXPECT_EQ(unpackData(Bytes{0x30, 3, 0, 0, 0x80, 4, 0, 0}.data(), 8, 3, out), UnpackStatus::Ok);
    EXPECT_EQ(out, (Bytes{4, 4, 4}));
}

TEST(CompressionNames, MethodsByNameAndCode) {
    Packing p = Packing::None;
    EXPECT_TRUE(packingFromName(" lz77 ", p));
    EXPECT_EQ(p, Packing::Lz77);
    EXPECT_TRUE(packingFromName("RLE", p));
    EXPECT_EQ(p, Packing::Rle);
    EXPECT_FALSE(packingFromName("huffman", p));
    EXPECT_FALSE(packingFromCode(3, p));
    EXPECT_EQ(packingFromSaveFlags(savePackingFlags(Packing::Rle)), Packing::Rle);
    EXPECT_EQ(packingFromSaveFlags(0), Packing::None);
}

}  // namespace
}  // namespace ts
