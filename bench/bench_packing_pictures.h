#pragma once
// Deterministic pictures for the sub-palette packing benchmarks: 256 x 256 pictures whose tiles
// each use a few colours of one of 16 hidden 15-colour palettes (so an exact answer with 16
// sub-palettes exists), black (the transparent colour 0) in half the tiles. Two sets of 20:
// tiles of 2 to 15 colours, and tiles of 2 to 6 colours.
#include <cstdint>
#include <random>
#include <vector>

#include "bench_convert_pictures.h"

namespace ts::bench {

constexpr int kPackingPictures = 20;
constexpr int kPackingSide = 256;

// Picture `index` (0..19) of the set whose tiles use minColours..maxColours colours.
inline std::vector<uint32_t> packingPicture(int index, int minColours, int maxColours) {
    std::mt19937 rng(uint32_t(1000 + index * 31 + maxColours));
    std::vector<uint32_t> picture(size_t(kPackingSide) * kPackingSide);
    const int tiles = kPackingSide / 8;
    for (int ty = 0; ty < tiles; ++ty)
        for (int tx = 0; tx < tiles; ++tx) {
            const int group = int(rng() % 16);
            const int n = minColours + int(rng() % uint32_t(maxColours - minColours + 1));
            std::vector<uint32_t> colours;
            while (int(colours.size()) < n) {
                const uint32_t c = groupColour(group, int(rng() % 15));
                bool known = false;
                for (uint32_t k : colours) known = known || k == c;
                if (!known) colours.push_back(c);
            }
            const bool black = rng() % 2 == 0;
            for (int i = 0; i < 64; ++i) {
                uint32_t p = i < n ? colours[size_t(i)] : colours[rng() % colours.size()];
                if (black && i >= n && rng() % 6 == 0) p = 0;
                picture[size_t(ty * 8 + i / 8) * kPackingSide + size_t(tx * 8 + i % 8)] = p;
            }
        }
    return picture;
}

}  // namespace ts::bench
