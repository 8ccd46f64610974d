// Fuzz target: tile cutting and the multi-palette assignment on small pictures built from the
// input (first bytes: sizes and settings, then pixels). Checks that hashed and linear matching
// agree and that every index stays inside its sub-palette.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/multi_palette.h"
#include "convert/packed_tiles.h"
#include "convert/tile_index.h"
#include "convert/tile_stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    const int tilesX = 1 + data[0] % 6, tilesY = 1 + data[1] % 4;
    const int tileSide = data[2] & 1 ? 16 : 8;
    const int colours = 1 + data[3];
    const int colorization = int(data[4] % 5) - 2;
    const int flags = data[5];
    const int method = data[4] / 5;  // accurate refinement, error diffusion
    data += 6;
    size -= 6;
    const int w = tilesX * tileSide, h = tilesY * tileSide;
    std::vector<uint32_t> image(size_t(w) * h);
    for (size_t i = 0; i < image.size(); ++i) {
        const uint8_t b = size ? data[i % size] : 0;
        image[i] = b < 32 ? 0u : 0xFF000000u | uint32_t(b & 31) << 16 | uint32_t((b >> 3) & 31) << 8 | uint32_t(b % 7);
    }
    ts::TileStore hashed, linear;
    hashed.tileWidth = hashed.tileHeight = linear.tileWidth = linear.tileHeight = tileSide;
    if (flags & 2) {
        hashed.appendEmpty();
        linear.appendEmpty();
    }
    ts::TilingOptions options;
    options.matching = !(flags & 4);
    options.searchStart = (flags & 8) ? hashed.count : 0;
    std::vector<uint32_t> mapA, mapB;
    const auto a = ts::cutIntoTiles(image.data(), w, h, options, hashed, mapA);
    const auto b = ts::cutIntoTilesLinear(image.data(), w, h, options, linear, mapB);
    if (a != b || mapA != mapB || hashed.values != linear.values) __builtin_trap();

    // Exact packing (with mirror matching): when it succeeds, every tile shown through its map
    // value and mirror flags gives back its colours.
    {
        ts::TileStore packed = hashed;
        ts::PackedTilesParams packing;
        packing.colorsPerSubPalette = (flags & 16) ? 4 : 16;
        packing.colorCount = colours;
        packing.reserved = (flags & 32) ? 0 : 1;
        packing.mirrors = flags & 1;
        packing.budget = 20000;
        ts::PackedTilesResult r;
        if (ts::packTilesExactly(packed, 0, packing, r)) {
            const int B = packing.colorsPerSubPalette, n = packed.valuesPerTile();
            std::vector<uint32_t> shown(static_cast<size_t>(n));
            for (int t = 0; t < hashed.count; ++t) {
                const uint32_t tile = r.tileNumbers[size_t(t)], group = r.tileValues[size_t(t)] >> 12;
                if (int(tile) >= packed.count) __builtin_trap();
                ts::mirrorTile(packed.tile(int(tile)), tileSide, tileSide, r.tileMirrors[size_t(t)], shown.data());
                // Transparent pixels take index 0, which is a colour of its own when no entry is
                // reserved (the depth has no transparency then); opaque ones keep their colour.
                for (int i = 0; i < n; ++i) {
                    const uint32_t want = hashed.tile(t)[i], index = shown[size_t(i)];
                    if ((want >> 24) == 0) {
                        if (index != 0) __builtin_trap();
                    } else if (index < uint32_t(packing.reserved) ||
                               (r.palette.at(group * B + index) | 0xFF000000u) != want) {
                        __builtin_trap();
                    }
                }
            }
        }
    }

    ts::MultiPaletteParams params;
    params.colorsPerSubPalette = (flags & 16) ? 4 : 16;
    params.colorCount = colours;
    params.reserved = (flags & 32) ? 0 : 1;
    params.colorization = colorization;
    params.fastPalReduction = !(flags & 64);
    params.palReducPost = !(flags & 128);
    params.threads = 1;
    params.accurate = method & 1;
    params.dither = (method >> 1) & 1;
    ts::MultiPaletteResult result;
    const int n = ts::assignSubPalettes(hashed, 0, params, result);
    if (n > 0) {
        for (uint32_t v : hashed.values)
            if (v >= uint32_t(params.colorsPerSubPalette)) __builtin_trap();
        if (result.palette.size() != size_t(n)) __builtin_trap();
    }
    return 0;
}
