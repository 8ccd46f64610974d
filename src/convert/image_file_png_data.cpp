#include "convert/image_file_png_data.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <vector>

namespace ts {

namespace {

// Chunks hold at most 2^31 - 1 bytes.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;
// The largest chunk taken here; libpng decides on larger ones (it refuses ancillary chunks past
// its own limit).
constexpr uint32_t kMaxPlainChunk = 8u << 20;
// Length, type and checksum around every chunk's data.
constexpr size_t kChunkOverhead = 12;

uint32_t readBe32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool isLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Chunk {
    const uint8_t* type = nullptr;
    const uint8_t* data = nullptr;
    uint32_t length = 0;
};

// The chunk at `pos`, if it lies whole in the file with a valid type.
bool chunkAt(const uint8_t* file, size_t size, size_t pos, Chunk& chunk) {
    if (pos > size || size - pos < kChunkOverhead) return false;
    chunk.length = readBe32(file + pos);
    if (chunk.length > kMaxChunkLength || chunk.length > size - pos - kChunkOverhead) return false;
    chunk.type = file + pos + 4;
    chunk.data = file + pos + 8;
    for (int i = 0; i < 4; ++i)
        if (!isLetter(chunk.type[i])) return false;
    return true;
}

bool crcMatches(const Chunk& chunk) {
    return libdeflate_crc32(0, chunk.type, size_t(chunk.length) + 4) == readBe32(chunk.data + chunk.length);
}

bool isType(const Chunk& chunk, const char* type) { return std::memcmp(chunk.type, type, 4) == 0; }

// After the image data: ancillary chunks, then the end chunk with its checksum right.
bool trailerIsPlain(const uint8_t* file, size_t size, size_t pos) {
    for (;;) {
        Chunk chunk;
        if (!chunkAt(file, size, pos, chunk) || chunk.length > kMaxPlainChunk) return false;
        if (isType(chunk, "IEND")) return chunk.length == 0 && crcMatches(chunk);
        if ((chunk.type[0] & 0x20) == 0) return false;  // critical: libpng's to judge
        pos += kChunkOverhead + chunk.length;
    }
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Inflates the zlib stream `in` into exactly `expected` bytes at `out`. The Adler-32 checksum is
// not computed: every image data chunk's CRC already guards the bytes (libpng skips it too).
bool inflateExactly(const uint8_t* in, size_t inBytes, uint8_t* out, size_t expected) {
    if (inBytes < 2) return false;
    const unsigned header = unsigned(in[0]) << 8 | in[1];
    const unsigned method = in[0] & 0x0F, windowLog = (in[0] >> 4) + 8;
    if (method != 8 || windowLog > 15 || header % 31 != 0 || (in[1] & 0x20) != 0) return false;
    // zlib refuses references past the window the header declares; libdeflate knows no window.
    if (windowLog < 15 && expected > (size_t(1) << windowLog)) return false;
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> d(libdeflate_alloc_decompressor());
    if (!d) return false;
    size_t used = 0, produced = 0;
    const libdeflate_result r =
        libdeflate_deflate_decompress_ex(d.get(), in + 2, inBytes - 2, out, expected, &used, &produced);
    // The stream must end with its checksum inside the data, as zlib wants it to.
    return r == LIBDEFLATE_SUCCESS && produced == expected && inBytes - 2 - used >= 4;
}

// Sub, Average and Paeth go a whole pixel at a time: their chains run from pixel to pixel, not
// from byte to byte.

// A pixel of B bytes as a word, assembled byte by byte (a copy of three bytes into a word would
// make the processor wait for the store).
template <int B>
uint32_t loadWord(const uint8_t* p) {
    uint32_t w = 0;
    for (int i = 0; i < B; ++i) w |= uint32_t(p[i]) << (8 * i);
    return w;
}
template <int B>
void storeWord(uint8_t* p, uint32_t w) {
    for (int i = 0; i < B; ++i) p[i] = uint8_t(w >> (8 * i));
}

// A pixel in lanes of 16 bits, which leave room for Paeth's sums.
template <int B>
struct Pixel {
    typedef int16_t Lanes __attribute__((vector_size(8)));
    typedef uint8_t Bytes __attribute__((vector_size(4)));
    static Lanes load(const uint8_t* p) {
        const uint32_t w = loadWord<B>(p);
        Bytes b;
        std::memcpy(&b, &w, 4);
        return __builtin_convertvector(b, Lanes);
    }
    static void store(uint8_t* p, Lanes v) {
        const Bytes b = __builtin_convertvector(v, Bytes);
        uint32_t w;
        std::memcpy(&w, &b, 4);
        storeWord<B>(p, w);
    }
    static Lanes select(Lanes mask, Lanes yes, Lanes no) { return (mask & yes) | (~mask & no); }
    static Lanes absolute(Lanes v) { return select(v < 0, -v, v); }
};

// Sub and Average on the bytes of a 32-bit word: no carry crosses from one byte to the next.
inline uint32_t addBytes(uint32_t a, uint32_t b) {
    return ((a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu)) ^ ((a ^ b) & 0x80808080u);
}
inline uint32_t averageBytes(uint32_t a, uint32_t b) { return (a & b) + (((a ^ b) & 0xFEFEFEFEu) >> 1); }

template <int B>
void unfilterSub(const uint8_t* in, uint8_t* out, size_t rowBytes) {
    uint32_t left = 0;
    for (size_t i = 0; i + B <= rowBytes; i += B) {
        left = addBytes(loadWord<B>(in + i), left);
        storeWord<B>(out + i, left);
    }
}

template <int B>
void unfilterAverage(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes) {
    uint32_t left = 0;
    for (size_t i = 0; i + B <= rowBytes; i += B) {
        left = addBytes(loadWord<B>(in + i), averageBytes(left, loadWord<B>(previous + i)));
        storeWord<B>(out + i, left);
    }
}

template <int B>
void unfilterPaeth(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes) {
    using P = Pixel<B>;
    using Lanes = typename P::Lanes;
    Lanes left = {0, 0, 0, 0}, upLeft = {0, 0, 0, 0};
    for (size_t i = 0; i + B <= rowBytes; i += B) {
        const Lanes up = P::load(previous + i);
        const Lanes pa = P::absolute(up - upLeft), pb = P::absolute(left - upLeft);
        const Lanes pc = P::absolute(left + up - upLeft - upLeft);
        const Lanes predictor = P::select((pa <= pb) & (pa <= pc), left, P::select(pb <= pc, up, upLeft));
        left = (P::load(in + i) + predictor) & 0xFF;
        P::store(out + i, left);
        upLeft = up;
    }
}

template <int B>
void unfilterPixels(int type, const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes) {
    if (type == 1) unfilterSub<B>(in, out, rowBytes);
    else if (type == 3) unfilterAverage<B>(in, previous, out, rowBytes);
    else unfilterPaeth<B>(in, previous, out, rowBytes);
}

uint8_t paeth(int a, int b, int c) {
    const int pa = b > c ? b - c : c - b, pb = a > c ? a - c : c - a;
    const int pc = a + b - 2 * c < 0 ? 2 * c - a - b : a + b - 2 * c;
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

void unfilterBytes(int type, const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes, size_t bpp) {
    for (size_t i = 0; i < rowBytes; ++i) {
        const int a = i >= bpp ? out[i - bpp] : 0;
        const int b = previous[i];
        const int c = i >= bpp ? previous[i - bpp] : 0;
        const int p = type == 1 ? a : type == 3 ? (a + b) >> 1 : paeth(a, b, c);
        out[i] = uint8_t(in[i] + p);
    }
}

}  // namespace

bool unfilterPngRow(int type, const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes,
                    int filterBytes) {
    switch (type) {
        case 0: std::memcpy(out, in, rowBytes); return true;
        case 2: {
            // Sixteen bytes at a time: the three rows never overlap.
            typedef uint8_t Bytes __attribute__((vector_size(16)));
            size_t i = 0;
            for (; i + 16 <= rowBytes; i += 16) {
                Bytes a, b;
                std::memcpy(&a, in + i, 16);
                std::memcpy(&b, previous + i, 16);
                a += b;
                std::memcpy(out + i, &a, 16);
            }
            for (; i < rowBytes; ++i) out[i] = uint8_t(in[i] + previous[i]);
            return true;
        }
        case 1:
        case 3:
        case 4:
            if (filterBytes == 3) unfilterPixels<3>(type, in, previous, out, rowBytes);
            else if (filterBytes == 4) unfilterPixels<4>(type, in, previous, out, rowBytes);
            else unfilterBytes(type, in, previous, out, rowBytes, size_t(filterBytes));
            return true;
        default: return false;
    }
}

bool findPngImageData(const uint8_t* file, size_t size, size_t& offset) {
    constexpr size_t kSignatureBytes = 8;
    for (size_t pos = kSignatureBytes;;) {
        Chunk chunk;
        if (!chunkAt(file, size, pos, chunk)) return false;
        if (isType(chunk, "IDAT")) {
            offset = pos;
            return true;
        }
        pos += kChunkOverhead + chunk.length;
    }
}

bool readPngImageData(const uint8_t* file, size_t size, const PngDataLayout& layout, uint8_t* work,
                      size_t workBytes, PngRowSink sink, void* context) {
    const size_t pitch = layout.rowBytes + 1;
    if (layout.height == 0 || layout.rowBytes == 0 || layout.filterBytes < 1 ||
        size_t(layout.filterBytes) > layout.rowBytes || pitch > workBytes / layout.height)
        return false;
    const size_t expected = pitch * layout.height;

    // The run of image data chunks, each whole with its checksum right.
    std::vector<Chunk> run;
    size_t pos = layout.firstChunk, streamBytes = 0;
    for (;;) {
        Chunk chunk;
        if (!chunkAt(file, size, pos, chunk)) return false;
        if (!isType(chunk, "IDAT")) break;
        if (chunk.length > kMaxPlainChunk || !crcMatches(chunk)) return false;
        run.push_back(chunk);
        streamBytes += chunk.length;
        pos += kChunkOverhead + chunk.length;
    }
    if (run.empty() || !trailerIsPlain(file, size, pos)) return false;

    // One stream: the file's bytes themselves when a single chunk holds it.
    std::vector<uint8_t> joined;
    const uint8_t* stream = run.front().data;
    if (run.size() > 1) {
        joined.resize(streamBytes);
        size_t at = 0;
        for (const Chunk& c : run) {
            std::memcpy(joined.data() + at, c.data, c.length);
            at += c.length;
        }
        stream = joined.data();
    }
    uint8_t* rows = work + (workBytes - expected);
    if (!inflateExactly(stream, streamBytes, rows, expected)) return false;
    for (uint32_t y = 0; y < layout.height; ++y)
        if (rows[size_t(y) * pitch] > 4) return false;
    std::vector<uint8_t>().swap(joined);

    // Two row buffers (unfiltered rows are needed by the next row's filter), with a spare byte.
    std::vector<uint8_t> buffers(2 * pitch, 0);
    uint8_t* previous = buffers.data();
    uint8_t* current = buffers.data() + pitch;
    for (uint32_t y = 0; y < layout.height; ++y) {
        const uint8_t* in = rows + size_t(y) * pitch;
        unfilterPngRow(in[0], in + 1, previous, current, layout.rowBytes, layout.filterBytes);
        sink(context, y, current);
        std::swap(previous, current);
    }
    return true;
}

}  // namespace ts
