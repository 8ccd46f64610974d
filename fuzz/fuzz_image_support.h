#pragma once
// Shared checks of the image decoder fuzz targets: a decoder either gives a whole picture with a
// table of at most 256 entries, or nothing; what follows a load (used entries, mask) runs on it.
#include <cstddef>
#include <cstdint>

#include "convert/image_file.h"

namespace ts::fuzz {

inline void checkDecoded(DecodeResult result, DecodedImage& image) {
    if (result != DecodeResult::Ok) return;
    if (image.surface.empty() || image.colourTable.size() > 256) __builtin_trap();
    const SourceWindow window{0, 0, image.surface.width, image.surface.height};
    const int used = countUsedEntries(image.surface, window, image.colourTable);
    if (used < 0 || size_t(used) > image.colourTable.size()) __builtin_trap();
    applyMaskColour(image.surface, 255, 0, 254, true);
}

}  // namespace ts::fuzz
