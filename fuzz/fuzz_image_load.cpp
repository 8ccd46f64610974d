// Image decoding of untrusted bytes: every decoder, the used-entry count and the mask rule.
#include <cstddef>
#include <cstdint>

#include "convert/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ts::DecodedImage image;
    const ts::DecodeResult result = ts::decodeImage(data, size, image);
    if (result != ts::DecodeResult::Ok) {
        if (!image.surface.empty()) __builtin_trap();
        return 0;
    }
    if (image.surface.empty() || image.colourTable.size() > 256) __builtin_trap();
    const ts::SourceWindow window{0, 0, image.surface.width, image.surface.height};
    const int used = ts::countUsedEntries(image.surface, window, image.colourTable);
    if (used < 0 || size_t(used) > image.colourTable.size()) __builtin_trap();
    ts::applyMaskColour(image.surface, 255, 0, 254, true);
    return 0;
}
