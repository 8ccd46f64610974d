// Fuzzes the bitmap loaders of both platforms.
#include "fuzz_load_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzzload::State& s = fuzzload::prepare(bytes, size, ".bmp.c", ts::TYPE_BITMAP);
    ts::BitmapData bitmap;
    ts::PaletteBuffer palette{};
    int depth = 0;
    bool raw = size && (bytes[0] & 0x80);
    int ok = ts::currentPlatform(s.app).loadBitmap(s.app, 0, depth, &palette, bitmap, s.data, raw);
    if (ok && bitmap.pixels.size() != size_t(bitmap.width) * size_t(bitmap.height)) __builtin_trap();
    return 0;
}
