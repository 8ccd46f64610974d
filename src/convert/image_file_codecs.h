#pragma once
// The decoders and encoders behind image_file.h: libpng for PNG, libjpeg for JPEG, a reader and
// writer of our own for BMP, giflib for GIF and libtiff for TIFF. Every decoder keeps the file's
// own colour table in file order.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/image_file.h"

namespace ts {

// Each decoder fills out.surface with 0xAARRGGBB pixels and out.colourTable with the file's
// table (ARGB, file order) when it has one. A file that is recognised but ends early or holds
// data its format does not allow gives DecodeResult::Damaged.
// The image data of large PNG files goes through libdeflate where the file allows it
// (image_file_png_data.h). AnySize takes that path for small files too, LibpngOnly never: both
// are there to compare the two paths.
enum class PngDecoding { Fastest, AnySize, LibpngOnly };
DecodeResult decodePng(const uint8_t* data, size_t size, DecodedImage& out,
                       PngDecoding decoding = PngDecoding::Fastest);
DecodeResult decodeJpeg(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult decodeBmp(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult decodeGif(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult decodeTiff(const uint8_t* data, size_t size, DecodedImage& out);

// Encoders write into `bytes`. The colour table, when not empty, holds every pixel's colour
// (0x00RRGGBB words), and `indices` the table index of each pixel (row by row from the top).
struct EncodeInput {
    const Surface* surface = nullptr;
    std::vector<uint32_t> table;    // at most 256 entries, or empty for true colour
    std::vector<uint8_t> indices;   // width * height when the table is used
};
bool encodePng(const EncodeInput& in, std::string& bytes);
bool encodeJpeg(const EncodeInput& in, std::string& bytes);
bool encodeBmp(const EncodeInput& in, std::string& bytes);
bool encodeGif(const EncodeInput& in, std::string& bytes);
bool encodeTiff(const EncodeInput& in, std::string& bytes);

// 16-bit sample to 8 bits, rounded to the nearest value (x * 255 / 65535).
inline uint32_t sample16To8(uint32_t x) { return (x - (x >> 8) + 0x80) >> 8; }

}  // namespace ts
