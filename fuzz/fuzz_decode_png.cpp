// The PNG decoder alone, on any bytes (the signature is not required). The image data path
// (libdeflate, taken here at any size) and libpng's own reading must agree on every input: the
// same result, the same table, the same pixels.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "convert/image_file_codecs.h"
#include "fuzz_image_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
    return 0;
}
