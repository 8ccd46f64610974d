// The PNG decoder alone, on any bytes (the signature is not required). The image data path
// (libdeflate, taken here at any size) and libpng's own reading must agree on every input: the
// same result, the same table, the same pixels. Each input is also tried with every chunk's
// checksum made right, so that mutated files reach the image data instead of stopping at a CRC.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>
#include <zlib.h>

#include "convert/image_file_codecs.h"
#include "fuzz_image_support.h"

namespace {

std::vector<uint8_t> withChunkChecksums(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out(data, data + size);
    for (size_t pos = 8; pos + 12 <= out.size();) {
        const uint32_t length = uint32_t(out[pos]) << 24 | uint32_t(out[pos + 1]) << 16 |
                                uint32_t(out[pos + 2]) << 8 | out[pos + 3];
        if (length > out.size() - pos - 12) break;
        const uint32_t crc = uint32_t(crc32(0, out.data() + pos + 4, uInt(length + 4)));
        for (size_t i = 0; i < 4; ++i) out[pos + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
        pos += 12 + size_t(length);
    }
    return out;
}

void decodeBothWays(const uint8_t* data, size_t size) {
    ts::DecodedImage image, reference;
    const ts::DecodeResult result = ts::decodePng(data, size, image, ts::PngDecoding::AnySize);
    const ts::DecodeResult expected = ts::decodePng(data, size, reference, ts::PngDecoding::LibpngOnly);
    if (result != expected) __builtin_trap();
    if (result == ts::DecodeResult::Ok) {
        if (image.colourTable != reference.colourTable || image.surface.width != reference.surface.width ||
            image.surface.height != reference.surface.height)
            __builtin_trap();
        for (int y = 0; y < image.surface.height; ++y)
            if (!std::equal(image.surface.row(y), image.surface.row(y) + image.surface.width, reference.surface.row(y)))
                __builtin_trap();
    }
    ts::fuzz::checkDecoded(result, image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    decodeBothWays(data, size);
    const std::vector<uint8_t> fixed = withChunkChecksums(data, size);
    decodeBothWays(fixed.data(), fixed.size());
    return 0;
}
