// The JPEG decoder alone, on any bytes (the signature is not required).
#include <cstddef>
#include <cstdint>

#include "convert/image_file_codecs.h"
#include "fuzz_image_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ts::DecodedImage image;
    ts::fuzz::checkDecoded(ts::decodeJpeg(data, size, image), image);
    return 0;
}
