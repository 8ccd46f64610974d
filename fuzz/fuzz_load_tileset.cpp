// Fuzzes the tileset loaders (GBA nibble/byte/colour depths, Game Boy bit planes).
#include "fuzz_load_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzzload::State& s = fuzzload::prepare(bytes, size, ".til.c", ts::TYPE_MOSAIQUE);
    std::vector<uint32_t> pixels;
    ts::PaletteBuffer palette{};
    int depth = 0;
    bool raw = size && (bytes[0] & 0x80);
    int blocks = ts::currentPlatform(s.app).loadTileset(s.app, 0, depth, &palette, pixels, s.data, raw);
    if (blocks > 8193 || (blocks > 0 && pixels.size() != size_t(blocks) * 64)) __builtin_trap();
    return 0;
}
