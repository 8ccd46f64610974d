#pragma once
// Deterministic pictures for the conversion benchmarks, like those used to time other converters:
// 16 groups of 15 colours plus black; 240 base tiles, each drawing only from one group (and
// black), in 4 orientations (as is, H, V and HV mirrored) = 960 distinct tiles, placed at random.
// Colours are multiples of 8 so that they stay distinct at 5 bits per component.
#include <cstdint>
#include <random>
#include <set>
#include <vector>

namespace ts::bench {

inline uint32_t groupColour(int group, int c) {
    const uint32_t r = uint32_t(group * 2 + (c & 1)) * 8;
    const uint32_t g = uint32_t((c >> 1) * 4 + 2) * 8;
    const uint32_t b = uint32_t((group * 7 + c * 3) % 32) * 8;
    return r << 16 | g << 8 | b;
}

// The 960 distinct tiles, 64 pixels 0xRRGGBB each, tile t of group (t / 4) / 15.
inline std::vector<std::vector<uint32_t>> benchmarkTiles() {
    std::mt19937 rng(20261206);
    std::vector<std::vector<uint32_t>> tiles;
    std::set<std::vector<uint32_t>> seen;
    for (int base = 0; base < 240; ++base) {
        const int group = base / 15;
        while (true) {
            std::vector<uint32_t> t(64);
            for (auto& p : t) p = (rng() % 8 == 0) ? 0u : groupColour(group, int(rng() % 15));
            std::vector<std::vector<uint32_t>> four(4, std::vector<uint32_t>(64));
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    four[0][size_t(y * 8 + x)] = t[size_t(y * 8 + x)];
                    four[1][size_t(y * 8 + x)] = t[size_t(y * 8 + 7 - x)];
                    four[2][size_t(y * 8 + x)] = t[size_t((7 - y) * 8 + x)];
                    four[3][size_t(y * 8 + x)] = t[size_t((7 - y) * 8 + 7 - x)];
                }
            std::set<std::vector<uint32_t>> mine(four.begin(), four.end());
            bool clash = mine.size() != 4;
            for (auto& f : four) clash = clash || seen.count(f);
            if (clash) continue;
            for (auto& f : four) {
                seen.insert(f);
                tiles.push_back(f);
            }
            break;
        }
    }
    return tiles;
}

// A side x side picture (rows from the top, 0xRRGGBB) of the 960 tiles placed at random.
inline std::vector<uint32_t> placedPicture(int width, int height, unsigned seed) {
    static const auto tiles = benchmarkTiles();
    std::mt19937 rng(seed);
    std::vector<uint32_t> picture(size_t(width) * height);
    for (int ty = 0; ty < height / 8; ++ty)
        for (int tx = 0; tx < width / 8; ++tx) {
            const auto& t = tiles[rng() % tiles.size()];
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) picture[size_t(ty * 8 + y) * width + tx * 8 + x] = t[size_t(y * 8 + x)];
        }
    return picture;
}

// A picture in which every 8 x 8 tile is distinct (the same 241 colours).
inline std::vector<uint32_t> distinctPicture(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> picture(size_t(width) * height);
    for (auto& p : picture) {
        const uint32_t r = rng() % 241;
        p = r == 240 ? 0u : groupColour(int(r / 15), int(r % 15));
    }
    return picture;
}

}  // namespace ts::bench
