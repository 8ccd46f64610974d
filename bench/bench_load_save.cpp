// Save and load of large data files through the built-in C format: a 1024 x 1024 Text map
// (about 8.4 MB of C) and a tileset of 8192 8x8 tiles at 8 bits.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/compression.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "app/app_init.h"
#include "app/app_state.h"

namespace {

struct Fixture {
    ts::RecordingHost host;
    ts::App app{host};
    std::string dir;
    ts::ElementRecord palette, tileset, smallTileset, map;
    std::vector<uint32_t> tiles, cells;

    Fixture() {
        char pattern[] = "/tmp/bench-load-save-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        ts::initializeApp(app);
        palette = make(ts::TYPE_PALETTE, "p.pal.c");
        tileset = make(ts::TYPE_MOSAIQUE, "big.til.c");
        smallTileset = make(ts::TYPE_MOSAIQUE, "small.til.c");
        map = make(ts::TYPE_CARTE, "big.map.c");
        app.elements.records = {palette, tileset, smallTileset, map};
        tiles.resize(size_t(8192) * 64);
        for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint32_t(i * 2654435761u >> 24) & 0xFF;
        cells.resize(size_t(1024) * 1024);
        for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t(i * 40503u) & 0xFFFF;
        std::vector<uint32_t> colours(256, ts::packBgra(4, 5, 6, 255));
        ts::PlatformRecord& gba = ts::currentPlatform(app);
        gba.savePalette(app, 0, palette, colours.data(), 256);
        gba.saveTileset(app, 0, 1, smallTileset, &palette, tiles.data(), 16, 8, 8);
        ts::setCurrentMapType(app, ts::MapText);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    ts::ElementRecord make(uint32_t type, const std::string& name) {
        ts::ElementRecord e;
        e.typeAndFlags = type;
        e.file = dir + "/" + name;
        e.name = "bench";
        e.baseFile = "bench.png";
        return e;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SaveTextMap1024(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        int ok = ts::currentPlatform(f.app).saveMap(f.app, 0, f.map, &f.smallTileset, 1024, 1024, f.cells.data());
        if (!ok) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.map.file)));
}
BENCHMARK(BM_SaveTextMap1024)->Unit(benchmark::kMillisecond);

void BM_LoadTextMap1024(benchmark::State& state) {
    Fixture& f = fixture();
    ts::currentPlatform(f.app).saveMap(f.app, 0, f.map, &f.smallTileset, 1024, 1024, f.cells.data());
    for (auto _ : state) {
        ts::MapData map;
        int ok = ts::currentPlatform(f.app).loadMap(f.app, 0, nullptr, nullptr, map, f.map);
        if (!ok || map.cells != f.cells) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.map.file)));
}
BENCHMARK(BM_LoadTextMap1024)->Unit(benchmark::kMillisecond);

void BM_SaveTileset8192(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        int ok = ts::currentPlatform(f.app).saveTileset(f.app, 0, 1, f.tileset, &f.palette, f.tiles.data(), 8192, 8, 8);
        if (!ok) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.tileset.file)));
}
BENCHMARK(BM_SaveTileset8192)->Unit(benchmark::kMillisecond);

void BM_LoadTileset8192(benchmark::State& state) {
    Fixture& f = fixture();
    ts::currentPlatform(f.app).saveTileset(f.app, 0, 1, f.tileset, &f.palette, f.tiles.data(), 8192, 8, 8);
    for (auto _ : state) {
        std::vector<uint32_t> pixels;
        int depth = 0;
        int blocks = ts::currentPlatform(f.app).loadTileset(f.app, 0, depth, nullptr, pixels, f.tileset, false);
        if (blocks != 8192 || pixels != f.tiles) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.tileset.file)));
}
BENCHMARK(BM_LoadTileset8192)->Unit(benchmark::kMillisecond);

// The same map and tileset saved and loaded LZ77-packed (save = pack + write, load = read the
// words + unpack).
void BM_SavePackedTextMap1024(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        int ok = ts::currentPlatform(f.app).saveMap(f.app, ts::savePackingFlags(ts::Packing::Lz77), f.map,
                                                    &f.smallTileset, 1024, 1024, f.cells.data());
        if (!ok) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SavePackedTextMap1024)->Unit(benchmark::kMillisecond);

void BM_LoadPackedTextMap1024(benchmark::State& state) {
    Fixture& f = fixture();
    ts::currentPlatform(f.app).saveMap(f.app, ts::savePackingFlags(ts::Packing::Lz77), f.map, &f.smallTileset, 1024,
                                       1024, f.cells.data());
    for (auto _ : state) {
        ts::MapData map;
        int ok = ts::currentPlatform(f.app).loadMap(f.app, 0, nullptr, nullptr, map, f.map);
        if (!ok || map.cells != f.cells) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadPackedTextMap1024)->Unit(benchmark::kMillisecond);

void BM_LoadPackedTileset8192(benchmark::State& state) {
    Fixture& f = fixture();
    ts::currentPlatform(f.app).saveTileset(f.app, ts::savePackingFlags(ts::Packing::Lz77), 1, f.tileset, &f.palette,
                                           f.tiles.data(), 8192, 8, 8);
    for (auto _ : state) {
        std::vector<uint32_t> pixels;
        int depth = 0;
        int blocks = ts::currentPlatform(f.app).loadTileset(f.app, 0, depth, nullptr, pixels, f.tileset, false);
        if (blocks != 8192 || pixels != f.tiles) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadPackedTileset8192)->Unit(benchmark::kMillisecond);

}  // namespace
