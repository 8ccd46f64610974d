// Fuzzes the palette loaders of both platforms with arbitrary file contents.
#include "fuzz_load_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzzload::State& s = fuzzload::prepare(bytes, size, ".pal.c", ts::TYPE_PALETTE);
    ts::PaletteBuffer palette{};
    int depth = -1;
    int count = ts::currentPlatform(s.app).loadPalette(s.app, 0, &depth, palette, s.data);
    if (count < 0 || count > ts::kPaletteEntries) __builtin_trap();
    return 0;
}
