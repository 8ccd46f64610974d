#pragma once
// The `convert` object's settings: colour effects, quantization and tiling parameters.
#include <cstdint>

namespace ts {

struct ConvertSettings {
    uint8_t maskRed = 255, maskGreen = 0, maskBlue = 254;
    uint8_t zeroRed = 0, zeroGreen = 0, zeroBlue = 0;  // 5-bit components
    int32_t useMaxColors = 0;
    double gamma[3] = {1.0, 1.0, 1.0};  // stored as 1 / the value given (red, green, blue)
    double add[3] = {0.0, 0.0, 0.0};
    double alpha[3] = {0.0, 0.0, 0.0};
    int32_t shades = 255;  // number of shades minus one
    int32_t shadesBefore = 0;
    int32_t quantization = 0;  // 0 standard, 1 halftone, 2 optimal
    int32_t truncate = 0;
    int32_t maxPrecision = 512;
    int32_t colorization = 0;
    int32_t firstTileEmpty = 0;
    int32_t fastPalReduction = 1;
    int32_t palReducPost = 1;
    int32_t tileX = 8;
    int32_t tileY = 8;
};

}  // namespace ts
