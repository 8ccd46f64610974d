#pragma once
// The loader this program used before it read PNG, JPEG and BMP files itself: Qt's image
// reader. Kept for the tests only, to prove that both loaders give the same pixels and colour
// tables.
#include <cstddef>
#include <cstdint>

#include "convert/image_file.h"

namespace ts::test {

// Decodes PNG, JPEG and BMP data as the Qt loader did (GIF and TIFF never went through Qt).
DecodeResult decodeWithQtLoader(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace ts::test
