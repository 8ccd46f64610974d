// JPEG files through libjpeg(-turbo): colour files straight into the surface, grey files as grey
// pixels, CMYK files (as written by print software, inverted) multiplied by their black. A file
// that ends before its last scan is refused instead of being shown half grey.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "convert/image_file_codecs.h"

namespace ts {

namespace {

// Progressive files may hold any number of scans, each of which walks the whole image: past
// this many the file is taken for a hostile one.
constexpr int kMaxScans = 1000;
// Memory that the library itself may take (coefficient buffers of progressive files).
constexpr long kMaxLibraryMemory = 768L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void onMessage(j_common_ptr, int) {}

// A memory source that notes when the data runs out (the library then goes on with an end marker).
struct MemorySource {
    jpeg_source_mgr base;
    bool truncated = false;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}
boolean fillInput(j_decompress_ptr info) {
    auto* source = reinterpret_cast<MemorySource*>(info->src);
    source->truncated = true;
    source->base.next_input_byte = kEndOfImage;
    source->base.bytes_in_buffer = 2;
    return TRUE;
}
void skipInput(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<MemorySource*>(info->src);
    if (count <= 0) return;
    if (size_t(count) > source->base.bytes_in_buffer) {
        fillInput(info);
        return;
    }
    source->base.next_input_byte += count;
    source->base.bytes_in_buffer -= size_t(count);
}
void termSource(j_decompress_ptr) {}

void limitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) onError(info);
}

struct JpegReader {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    MemorySource source{};
    jpeg_progress_mgr progress{};
    std::vector<uint8_t> row;
    bool created = false;
    ~JpegReader() {
        if (created) jpeg_destroy_decompress(&info);
    }
    DecodeResult read(const uint8_t* data, size_t size, DecodedImage& out);
};

DecodeResult JpegReader::read(const uint8_t* data, size_t size, DecodedImage& out) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.jump)) return DecodeResult::Damaged;
    jpeg_create_decompress(&info);
    created = true;
    info.mem->max_memory_to_use = kMaxLibraryMemory;
    source.base.next_input_byte = data;
    source.base.bytes_in_buffer = size;
    source.base.init_source = initSource;
    source.base.fill_input_buffer = fillInput;
    source.base.skip_input_data = skipInput;
    source.base.resync_to_restart = jpeg_resync_to_restart;
    source.base.term_source = termSource;
    info.src = &source.base;
    progress.progress_monitor = limitScans;
    info.progress = &progress;

    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return DecodeResult::Damaged;
    out.declaredWidth = info.image_width;
    out.declaredHeight = info.image_height;
    if (info.image_width == 0 || info.image_height == 0) return DecodeResult::Empty;
    if (!surfaceSizeAllowed(info.image_width, info.image_height)) return DecodeResult::TooLarge;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.num_components == 1;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width), height = int(info.output_height);
    if (!surfaceSizeAllowed(width, height) || !prepareSurface(out.surface, width, height))
        return DecodeResult::TooLarge;
    row.resize(size_t(width) * size_t(info.output_components));
    while (info.output_scanline < info.output_height) {
        uint32_t* pixels = out.surface.row(int(info.output_scanline));
        JSAMPROW target = info.out_color_space == JCS_EXT_BGRA ? reinterpret_cast<JSAMPROW>(pixels) : row.data();
        if (jpeg_read_scanlines(&info, &target, 1) != 1) return DecodeResult::Damaged;
        if (grey) {
            for (int x = 0; x < width; ++x) pixels[x] = 0xFF000000u | uint32_t(row[size_t(x)]) * 0x010101u;
        } else if (cmyk) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = row.data() + size_t(x) * 4;
                const uint32_t k = p[3];
                pixels[x] = 0xFF000000u | (k * p[0] / 255) << 16 | (k * p[1] / 255) << 8 | (k * p[2] / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return source.truncated ? DecodeResult::Damaged : DecodeResult::Ok;
}

}  // namespace

DecodeResult decodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
    out.colourTable.clear();
    JpegReader reader;
    return reader.read(data, size, out);
}

namespace {

// Same quality as the image library this program used before: 75.
constexpr int kJpegQuality = 75;

struct JpegWriter {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row;
    bool created = false;
    ~JpegWriter() {
        if (created) jpeg_destroy_compress(&info);
        std::free(buffer);
    }
    bool write(const Surface& s);
};

bool JpegWriter::write(const Surface& s) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    created = true;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(s.width);
    info.image_height = JDIMENSION(s.height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;  // the pixel words as they lie in memory
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW source = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(s.row(int(info.next_scanline))));
        jpeg_write_scanlines(&info, &source, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

bool encodeJpeg(const EncodeInput& in, std::string& bytes) {
    if (!in.surface || in.surface->empty() || in.surface->width > JPEG_MAX_DIMENSION ||
        in.surface->height > JPEG_MAX_DIMENSION)
        return false;
    JpegWriter writer;
    if (!writer.write(*in.surface)) return false;
    bytes.assign(reinterpret_cast<const char*>(writer.buffer), writer.size);
    return true;
}

}  // namespace ts
