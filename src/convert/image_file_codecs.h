#pragma once
// The decoders and encoders behind image_file.h: the image library (QImage) for PNG, JPEG and
// BMP, giflib for GIF and libtiff for TIFF, which keep the files' colour tables.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/image_file.h"

namespace ts {

// Each decoder fills out.surface with 0xAARRGGBB pixels and out.colourTable with the file's
// table (ARGB, file order) when it has one.
DecodeResult decodeWithImageLibrary(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult decodeGif(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult decodeTiff(const uint8_t* data, size_t size, DecodedImage& out);

// Encoders write into `bytes`. The colour table, when not empty, holds every pixel's colour
// (0x00RRGGBB words), and `indices` the table index of each pixel (row by row from the top).
struct EncodeInput {
    const Surface* surface = nullptr;
    std::vector<uint32_t> table;    // at most 256 entries, or empty for true colour
    std::vector<uint8_t> indices;   // width * height when the table is used
};
bool encodeWithImageLibrary(const EncodeInput& in, const char* format, std::string& bytes);
bool encodeGif(const EncodeInput& in, std::string& bytes);
bool encodeTiff(const EncodeInput& in, std::string& bytes);

}  // namespace ts
