#pragma once
// The image data of a PNG file (its IDAT chunks) inflated in one go by libdeflate and unfiltered,
// for non-interlaced files whose chunks before the image data libpng has already read. libpng
// inflates through zlib a row at a time, which takes twice as long on large pictures.
//
// Only files read the same way by both are taken: every chunk whole, checksums of the image data
// and of the closing chunk right, a complete zlib stream that gives exactly the rows needed, no
// critical chunk after the data but the end. For anything else readPngImageData returns false
// before a single row is delivered, and the caller reads the file through libpng as before, which
// decides between a picture and a damaged file.
#include <cstddef>
#include <cstdint>

namespace ts {

struct PngDataLayout {
    size_t firstChunk = 0;  // offset of the first IDAT chunk (its length field) in the file
    uint32_t height = 0;
    size_t rowBytes = 0;    // bytes of one row without its filter byte
    int filterBytes = 1;    // bytes of one pixel as the filters see it (1 below 8 bits a sample)
};

// Offset of the first IDAT chunk, found by walking the chunks from the signature; false when the
// walk fails first.
bool findPngImageData(const uint8_t* file, size_t size, size_t& offset);

// Receives row y, unfiltered (rowBytes bytes, with one readable byte after them).
using PngRowSink = void (*)(void* context, uint32_t y, const uint8_t* row);

// The inflated rows are placed at the end of `work` (at least height * (rowBytes + 1) bytes).
// While row y is delivered, the sink may overwrite the first (y + 1) * pitch bytes of `work`, for
// any pitch of at least rowBytes + 1 with height * pitch within workBytes: a picture can be
// inflated into its own pixel memory.
bool readPngImageData(const uint8_t* file, size_t size, const PngDataLayout& layout, uint8_t* work,
                      size_t workBytes, PngRowSink sink, void* context);

// Undoes the PNG filter `type` (0 to 4) of the row `in` into `out`. `previous` is the row above,
// unfiltered (all zero for the first row). False for an unknown filter type.
bool unfilterPngRow(int type, const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t rowBytes,
                    int filterBytes);

}  // namespace ts
