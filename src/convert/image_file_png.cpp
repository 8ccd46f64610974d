// PNG files through libpng. Palette images keep their palette (with the alpha of the
// transparency chunk) as the colour table, in file order; pixels whose index lies beyond the
// palette take its first colour. Grey images of fewer than 8 bits, or
// with a transparent grey level, come back with a grey ramp as their table; a 1-bit grey image's
// table is white then black. Samples of 16 bits are rounded to 8. The image data of large
// non-interlaced 8-bit (or indexed) files is inflated by libdeflate in one go
// (image_file_png_data.h); libpng reads everything else, and any file that path declines.
#include <png.h>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

#include "convert/image_file_codecs.h"
#include "convert/image_file_png_data.h"

namespace ts {

namespace {

// Compressed text, colour profiles and the like are skipped unread: they never change the
// pixels, and a hostile file could make them inflate to any size.
constexpr png_byte kIgnoredChunks[] = "iCCP\0zTXt\0iTXt\0tEXt\0sPLT\0eXIf\0hIST\0";
constexpr int kIgnoredChunkCount = 7;
// The largest ancillary chunk we still read (palettes and transparency are far smaller).
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->pos) png_error(png, "the file ends too early");
    std::memcpy(out, source->data + source->pos, length);
    source->pos += length;
}

void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

// What libpng is asked to deliver, chosen from the header.
enum class RowKind {
    Indices,   // one byte per pixel, looked up in the table
    Grey8,     // one grey byte per pixel
    Rgba16,    // four big-endian 16-bit samples per pixel
    Rgb8,      // red, green, blue bytes
    Rgba8,     // red, green, blue, alpha bytes
    Bgra8,     // the pixel words themselves (after libpng's own transformations)
};

struct PngReader {
    PngSource source;
    bool dataPath = true;  // large non-interlaced files: image data inflated in one go
    bool anySize = false;  // small files too
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> buffer;          // rows that are not pixel words
    std::vector<png_bytep> rowPointers;   // interlaced images
    std::vector<uint32_t> lookup;         // index -> pixel word, 256 entries

    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }

    DecodeResult read(DecodedImage& out);
    bool readImageData(RowKind kind, int depth, DecodedImage& out);
};

// Chooses the transformations and the colour table; returns the kind of rows to read.
RowKind prepare(png_structp png, png_infop info, std::vector<uint32_t>& table, std::vector<uint32_t>& lookup) {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    png_bytep transAlpha = nullptr;
    int transCount = 0;
    png_color_16p transColour = nullptr;
    const bool hasTrns = png_get_tRNS(png, info, &transAlpha, &transCount, &transColour) != 0;
    lookup.assign(256, 0u);

    if (colourType == PNG_COLOR_TYPE_GRAY && depth == 1) {
        table = {0xFFFFFFFFu, 0xFF000000u};
        if (hasTrns && transColour) {
            if (transColour->gray == 0) table[1] = 0;
            else if (transColour->gray == 1) table[0] = 0x00FFFFFFu;
        }
        png_set_packing(png);
        lookup[0] = table[1];
        lookup[1] = table[0];
        return RowKind::Indices;
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && depth == 8 && !hasTrns) return RowKind::Grey8;
    if (colourType == PNG_COLOR_TYPE_GRAY && depth <= 8) {
        const int count = 1 << depth;
        table.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            const uint32_t c = uint32_t(i * 255 / (count - 1));
            table[size_t(i)] = 0xFF000000u | c << 16 | c << 8 | c;
        }
        if (hasTrns && transColour && transColour->gray < count) table[transColour->gray] = 0;
        if (depth < 8) png_set_packing(png);
        std::copy(table.begin(), table.end(), lookup.begin());
        return RowKind::Indices;
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        if (!png_get_PLTE(png, info, &palette, &count) || count <= 0) png_error(png, "no palette");
        count = std::min(count, 256);
        table.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            const uint32_t alpha = hasTrns && transAlpha && i < transCount ? transAlpha[i] : 0xFFu;
            table[size_t(i)] = alpha << 24 | uint32_t(palette[i].red) << 16 |
                               uint32_t(palette[i].green) << 8 | palette[i].blue;
        }
        // A two-colour image with a single palette entry has white for its second colour.
        if (depth == 1 && count == 1) table.push_back(0xFFFFFFFFu);
        std::copy(table.begin(), table.end(), lookup.begin());
        // Indices beyond the palette stand for its first colour.
        std::fill(lookup.begin() + std::ptrdiff_t(table.size()), lookup.end(), table[0]);
        if (depth < 8) png_set_packing(png);
        return RowKind::Indices;
    }
    if (depth == 16) {
        png_set_expand(png);
        if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
        // Opaque filler where no alpha comes from the file (libpng adds none after an alpha
        // channel, whether it was in the file or made from the transparency chunk).
        png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
        return RowKind::Rgba16;
    }
    // The common 8-bit colour files are rearranged here, in one pass, rather than by libpng's
    // filler and swap, a pass each.
    if (colourType == PNG_COLOR_TYPE_RGB && !hasTrns) return RowKind::Rgb8;
    if (colourType == PNG_COLOR_TYPE_RGB_ALPHA) return RowKind::Rgba8;
    png_set_expand(png);
    if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    return RowKind::Bgra8;
}

#if defined(__x86_64__) || defined(__i386__)
// Four R G B pixels at a time with one byte shuffle; reads up to 16 bytes ahead, so it stops five
// pixels before the end (rows have one byte to spare). Returns the pixels done.
__attribute__((target("ssse3"))) int rgbToPixelsShuffled(const uint8_t* in, uint32_t* out, int width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    int x = 0;
    for (; x + 5 <= width; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + size_t(x) * 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(_mm_shuffle_epi8(v, order), opaque));
    }
    return x;
}
int rgbToPixelsFast(const uint8_t* in, uint32_t* out, int width) {
    return __builtin_cpu_supports("ssse3") ? rgbToPixelsShuffled(in, out, width) : 0;
}
#else
int rgbToPixelsFast(const uint8_t*, uint32_t*, int) { return 0; }
#endif

void convertRow(RowKind kind, const uint8_t* in, uint32_t* out, int width, const std::vector<uint32_t>& lookup) {
    switch (kind) {
        case RowKind::Indices:
            for (int x = 0; x < width; ++x) out[x] = lookup[in[x]];
            break;
        case RowKind::Grey8:
            for (int x = 0; x < width; ++x) out[x] = 0xFF000000u | uint32_t(in[x]) * 0x010101u;
            break;
        case RowKind::Rgba16:
            for (int x = 0; x < width; ++x, in += 8) {
                const auto sample = [in](int i) { return sample16To8(uint32_t(in[i * 2]) << 8 | in[i * 2 + 1]); };
                out[x] = sample(3) << 24 | sample(0) << 16 | sample(1) << 8 | sample(2);
            }
            break;
        case RowKind::Rgb8:
            // Four bytes at a time (the row buffer has one to spare): R G B x -> 0xFFRRGGBB.
            for (int x = rgbToPixelsFast(in, out, width); x < width; ++x) {
                uint32_t v;
                std::memcpy(&v, in + size_t(x) * 3, 4);
                out[x] = 0xFF000000u | __builtin_bswap32(v) >> 8;
            }
            break;
        case RowKind::Rgba8:
            for (int x = 0; x < width; ++x, in += 4) {
                uint32_t v;
                std::memcpy(&v, in, 4);  // 0xAABBGGRR on this little-endian machine
                out[x] = (v & 0xFF00FF00u) | (v >> 16 & 0xFFu) | (v & 0xFFu) << 16;
            }
            break;
        case RowKind::Bgra8: break;
    }
}

// Below this many bytes of pixels libpng's own reading is as quick.
constexpr size_t kDataPathMinBytes = 64 << 10;

struct RowTarget {
    RowKind kind;
    int depth;  // bits per index or grey level (Indices only)
    Surface* surface;
    const std::vector<uint32_t>* lookup;
};

// Rows of the data path; indices of fewer than 8 bits are unpacked here (libpng's packing).
void deliverRow(void* context, uint32_t y, const uint8_t* row) {
    const RowTarget& t = *static_cast<const RowTarget*>(context);
    uint32_t* out = t.surface->row(int(y));
    const int width = t.surface->width;
    if (t.kind != RowKind::Indices || t.depth == 8) {
        convertRow(t.kind, row, out, width, *t.lookup);
        return;
    }
    const uint32_t* lookup = t.lookup->data();
    const unsigned mask = (1u << t.depth) - 1;
    for (int x = 0; x < width; ++x) {
        const unsigned bit = unsigned(x) * unsigned(t.depth);
        out[x] = lookup[(row[bit >> 3] >> (8 - t.depth - (bit & 7))) & mask];
    }
}

bool PngReader::readImageData(RowKind kind, int depth, DecodedImage& out) {
    const int width = out.surface.width, height = out.surface.height;
    int filterBytes = 0;
    size_t rowBytes = 0;
    switch (kind) {
        case RowKind::Indices: filterBytes = 1; rowBytes = (size_t(width) * size_t(depth) + 7) / 8; break;
        case RowKind::Grey8: filterBytes = 1; rowBytes = size_t(width); break;
        case RowKind::Rgb8: filterBytes = 3; rowBytes = size_t(width) * 3; break;
        case RowKind::Rgba8: filterBytes = 4; rowBytes = size_t(width) * 4; break;
        default: return false;
    }
    if (rowBytes * size_t(height) < kDataPathMinBytes && !anySize) return false;
    PngDataLayout layout;
    // libpng has read the first image data chunk's length and type, no further.
    if (!findPngImageData(source.data, source.size, layout.firstChunk) || source.pos != layout.firstChunk + 8)
        return false;
    layout.height = uint32_t(height);
    layout.rowBytes = rowBytes;
    layout.filterBytes = filterBytes;
    RowTarget target{kind, depth, &out.surface, &lookup};
    // The rows are inflated into the picture's own memory when each fits in a row of pixels.
    const size_t pitch = size_t(out.surface.stride) * 4;
    if (pitch >= rowBytes + 1) {
        uint8_t* pixels = reinterpret_cast<uint8_t*>(out.surface.pixels.data());
        return readPngImageData(source.data, source.size, layout, pixels, pitch * size_t(height), deliverRow, &target);
    }
    buffer.resize((rowBytes + 1) * size_t(height));
    const bool ok = readPngImageData(source.data, source.size, layout, buffer.data(), buffer.size(), deliverRow, &target);
    std::vector<uint8_t>().swap(buffer);
    return ok;
}

DecodeResult PngReader::read(DecodedImage& out) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png) return DecodeResult::Undecodable;
    info = png_create_info_struct(png);
    if (!info) return DecodeResult::Undecodable;
    if (setjmp(png_jmpbuf(png))) return DecodeResult::Damaged;

    png_set_read_fn(png, &source, readFromMemory);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
#ifdef PNG_IGNORE_ADLER32
    // Every chunk's CRC already guards the image data; its zlib checksum would only cost time.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    out.declaredWidth = width;
    out.declaredHeight = height;
    if (!surfaceSizeAllowed(width, height)) return DecodeResult::TooLarge;

    const int fileDepth = png_get_bit_depth(png, info);  // before the transformations change it
    const RowKind kind = prepare(png, info, out.colourTable, lookup);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (!prepareSurface(out.surface, int(width), int(height))) return DecodeResult::TooLarge;
    const size_t pixelBytes = kind == RowKind::Rgba16 ? 8
                              : kind == RowKind::Bgra8 || kind == RowKind::Rgba8 ? 4
                              : kind == RowKind::Rgb8 ? 3 : 1;
    if (rowBytes != size_t(width) * pixelBytes) png_error(png, "unexpected row size");

    // Where the data path declines, libpng reads on from where it stopped; it writes every pixel.
    if (passes == 1 && dataPath && readImageData(kind, fileDepth, out)) return DecodeResult::Ok;

    if (passes > 1) {
        // Interlaced: every pass revisits the rows, which are kept whole until the end.
        rowPointers.resize(height);
        if (kind != RowKind::Bgra8) buffer.resize(rowBytes * height + 1);
        for (png_uint_32 y = 0; y < height; ++y)
            rowPointers[y] = kind == RowKind::Bgra8 ? reinterpret_cast<png_bytep>(out.surface.row(int(y)))
                                                    : buffer.data() + rowBytes * y;
        png_read_image(png, rowPointers.data());
        if (kind != RowKind::Bgra8)
            for (png_uint_32 y = 0; y < height; ++y)
                convertRow(kind, rowPointers[y], out.surface.row(int(y)), int(width), lookup);
    } else {
        if (kind != RowKind::Bgra8) buffer.resize(rowBytes + 1);
        for (png_uint_32 y = 0; y < height; ++y) {
            uint32_t* row = out.surface.row(int(y));
            if (kind == RowKind::Bgra8) {
                png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
            } else {
                png_read_row(png, buffer.data(), nullptr);
                convertRow(kind, buffer.data(), row, int(width), lookup);
            }
        }
    }
    png_read_end(png, nullptr);
    return DecodeResult::Ok;
}

}  // namespace

DecodeResult decodePng(const uint8_t* data, size_t size, DecodedImage& out, PngDecoding decoding) {
    PngReader reader{PngSource{data, size, 0}};
    reader.dataPath = decoding != PngDecoding::LibpngOnly;
    reader.anySize = decoding == PngDecoding::AnySize;
    const DecodeResult result = reader.read(out);
    if (result != DecodeResult::Ok) out.colourTable.clear();
    return result;
}

namespace {

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string data;
    std::vector<uint8_t> row;
    std::vector<png_color> palette;
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
    bool write(const EncodeInput& in);
};

void writeToMemory(png_structp png, png_bytep bytes, size_t length) {
    static_cast<PngWriter*>(png_get_io_ptr(png))->data.append(reinterpret_cast<const char*>(bytes), length);
}
void flushMemory(png_structp) {}

bool PngWriter::write(const EncodeInput& in) {
    const Surface& s = *in.surface;
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png) return false;
    info = png_create_info_struct(png);
    if (!info) return false;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, this, writeToMemory, flushMemory);
    const bool indexed = !in.table.empty();
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) {
        for (uint32_t c : in.table)
            palette.push_back(png_color{png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    png_write_info(png, info);
    row.resize(size_t(s.width) * 3);
    for (int y = 0; y < s.height; ++y) {
        if (indexed) {
            png_write_row(png, const_cast<png_bytep>(in.indices.data() + size_t(y) * size_t(s.width)));
            continue;
        }
        const uint32_t* src = s.row(y);
        for (int x = 0; x < s.width; ++x) {
            row[size_t(x) * 3] = uint8_t(src[x] >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(src[x] >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool encodePng(const EncodeInput& in, std::string& bytes) {
    if (!in.surface || in.surface->empty() || in.table.size() > 256) return false;
    PngWriter writer;
    if (!writer.write(in)) return false;
    bytes = std::move(writer.data);
    return true;
}

}  // namespace ts
