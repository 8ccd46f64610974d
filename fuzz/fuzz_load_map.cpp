// Fuzzes the map loader shared by both platforms (header rules, linked tileset, cell reading).
#include "fuzz_load_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzzload::State& s = fuzzload::prepare(bytes, size, ".map.c", ts::TYPE_CARTE);
    ts::MapData map;
    std::vector<uint32_t> tiles;
    ts::PaletteBuffer palette{};
    int ok = ts::currentPlatform(s.app).loadMap(s.app, 0, &tiles, &palette, map, s.data);
    if (ok && map.cells.size() != size_t(map.width) * size_t(map.height)) __builtin_trap();
    return 0;
}
