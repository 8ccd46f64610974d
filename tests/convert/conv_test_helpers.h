#pragma once
// Helpers of the conversion tests: pictures written as PNG files, files read back.
#include <cstdint>
#include <functional>
#include <string>

#include "convert/image_file.h"
#include "editor/surface.h"

namespace ts::test {

// Writes a width x height picture whose pixel (x, y) is colour(x, y) (0xRRGGBB) as a PNG file.
inline bool writePicture(const std::string& path, int width, int height,
                         const std::function<uint32_t(int, int)>& colour) {
    Surface s;
    if (!createSurface(s, width, height)) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) s.at(x, y) = colour(x, y) & 0xFFFFFF;
    return saveImageFile(s, {}, path);
}

// An 8 x 8 two-colour tile whose pixel i is white when bit i of n is set (distinct for every n).
inline uint32_t bitPattern(uint64_t n, int x, int y) {
    return (n >> ((y % 8) * 8 + (x % 8))) & 1 ? 0xFFFFFF : 0x000000;
}

}  // namespace ts::test
