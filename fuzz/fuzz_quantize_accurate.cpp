// Fuzz target: the accurate method's palette builder and error diffusion on colours from the
// input (first bytes: wanted colours, fixed entries, then colours and counts). Checks the sizes,
// that fixed colours need no new entry, and that no error grows without bound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/quantize_accurate.h"
#include "convert/quantize_palette_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int wanted = data[0];
    const size_t fixedCount = data[1] % 8;
    data += 2;
    size -= 2;
    std::vector<uint32_t> fixed;
    ts::WeightedColours h;
    for (size_t i = 0; i + 2 < size; i += 3) {
        const uint32_t colour = 0xFF000000u | uint32_t(data[i] & 31) << 16 | uint32_t(data[i + 1] & 31) << 8 |
                                uint32_t(data[i + 2] & 31);
        if (fixed.size() < fixedCount) {
            fixed.push_back(colour);
            continue;
        }
        bool seen = false;
        for (uint32_t c : h.colours) seen = seen || c == colour;
        if (seen) continue;
        h.colours.push_back(colour);
        h.counts.push_back(1 + (data[i] >> 5) + (data[i + 1] >> 5) * 8u);
    }
    const std::vector<uint32_t> added = ts::accuratePalette(h, fixed, wanted);
    if (int(added.size()) > wanted) __builtin_trap();
    std::vector<uint32_t> palette = fixed;
    palette.insert(palette.end(), added.begin(), added.end());
    for (uint32_t c : added)
        if ((c >> 24) != 0xFF || (c & 0xE0E0E0) != 0) __builtin_trap();  // stays within 5-bit levels
    ts::PaletteSearch search;
    search.build(palette.data(), int(palette.size()));
    const uint64_t error = ts::histogramError(h, palette);
    if (int(h.colours.size()) <= wanted && error != 0 && fixed.empty()) __builtin_trap();
    uint32_t d;
    for (uint32_t c : h.colours)
        if (!palette.empty() && search.nearest(c, -1, d) < 0) __builtin_trap();
    return 0;
}
