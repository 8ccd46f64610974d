// Sub-palette packing benchmarks: the two sets of 20 packing pictures (bench_packing_pictures.h),
// each packed on its own (pictures solved, longest packing time, tiles stored with and without
// duplicate preference and with flip merging), the approximate assignment on the same pictures
// (tiles that keep every pixel), the whole 4-bit conversion of one picture through the conversion
// command, and flip merging on the 1024 x 1024 conversion picture.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <unistd.h>

#include "app/app_init.h"
#include "app/app_state.h"
#include "bench_packing_pictures.h"
#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "convert/multi_palette.h"
#include "convert/packed_tiles.h"
#include "convert/tile_index.h"
#include "convert/tile_stage.h"
#include "editor/surface.h"
#include "host/file_system.h"
#include "host/host_services.h"

namespace {

using namespace ts;

// Index image as the direct path sees it: 5-bit components, black transparent.
std::vector<uint32_t> directColours(const std::vector<uint32_t>& picture) {
    std::vector<uint32_t> out(picture.size());
    for (size_t i = 0; i < picture.size(); ++i)
        out[i] = picture[i] == 0 ? 0u : 0xFF000000u | ((picture[i] >> 3) & 0x1F1F1F);
    return out;
}

struct Packed {
    bool solved = false;
    int tiles = 0;
    double milliseconds = 0;
};

Packed pack(const std::vector<uint32_t>& image, bool prefer, bool flip) {
    TileStore store;
    std::vector<uint32_t> map;
    std::vector<uint8_t> mirrors;
    TilingOptions options;
    options.mirrors = flip;
    cutIntoTiles(image.data(), bench::kPackingSide, bench::kPackingSide, options, store, map, flip ? &mirrors : nullptr);
    PackedTilesParams params;
    params.colorCount = 255;
    params.preferDuplicates = prefer;
    params.mirrors = flip;
    PackedTilesResult result;
    // Processor time of this thread: the machine that runs the benchmarks is shared.
    auto cpuNow = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
    };
    const double start = cpuNow();
    Packed p;
    p.solved = packTilesExactly(store, 0, params, result);
    p.milliseconds = cpuNow() - start;
    p.tiles = store.count;
    return p;
}

void packingSet(benchmark::State& state) {
    const int maxColours = int(state.range(0));
    std::vector<std::vector<uint32_t>> images;
    for (int i = 0; i < bench::kPackingPictures; ++i) images.push_back(directColours(bench::packingPicture(i, 2, maxColours)));
    int solved = 0, tiles = 0, tilesFirst = 0, tilesFlip = 0;
    double longest = 0;
    for (auto _ : state) {
        solved = tiles = tilesFirst = tilesFlip = 0;
        longest = 0;
        for (const auto& image : images) {
            const Packed p = pack(image, true, false);
            solved += p.solved;
            tiles += p.tiles;
            longest = std::max(longest, p.milliseconds);
            tilesFirst += pack(image, false, false).tiles;
            tilesFlip += pack(image, true, true).tiles;
        }
    }
    state.counters["pictures_solved"] = solved;
    state.counters["longest_packing_cpu_ms"] = longest;
    state.counters["tiles_preferring_duplicates"] = tiles;
    state.counters["tiles_first_subpalette"] = tilesFirst;
    state.counters["tiles_with_flip"] = tilesFlip;
}

// The pictures as PNG files in a scratch folder.
struct Folder {
    std::string path = (std::filesystem::temp_directory_path() / ("tilesmithery-packing-" + std::to_string(getpid()))).string();
    Folder() {
        std::filesystem::create_directories(path);
        write("k15.png", bench::kPackingSide, bench::packingPicture(0, 2, 15));
        write("k6.png", bench::kPackingSide, bench::packingPicture(0, 2, 6));
        write("p1024.png", 1024, bench::placedPicture(1024, 1024, 2));
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    void write(const std::string& name, int side, const std::vector<uint32_t>& pixels) {
        Surface s;
        createSurface(s, side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) s.at(x, y) = pixels[size_t(y) * size_t(side) + size_t(x)];
        saveImageFile(s, {}, path + "/" + name);
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

void conversion(benchmark::State& state, const std::string& args, int exactPacking) {
    folder();
    for (auto _ : state) {
        RecordingHost host;
        App app{host};
        setCurrentDirectory(folder().path);
        initializeApp(app);
        app.system.messages = 0;
        app.convert.maskRed = app.convert.maskGreen = app.convert.maskBlue = 0;
        app.convert.exactPacking = exactPacking;
        std::string text = args;
        cmdConv(app, text.data());
        if (!host.boxes.empty()) {
            state.SkipWithError(host.boxes.back().text.c_str());
            break;
        }
    }
}

// Tile matching alone on the 1024 x 1024 picture (240 base tiles in four orientations), with and
// without mirror matching.
void BM_TileMatching1024(benchmark::State& state) {
    static const auto image = directColours(bench::placedPicture(1024, 1024, 2));
    const bool flip = state.range(0) != 0;
    int tiles = 0;
    for (auto _ : state) {
        TileStore store;
        std::vector<uint32_t> map;
        std::vector<uint8_t> mirrors;
        TilingOptions options;
        options.mirrors = flip;
        cutIntoTiles(image.data(), 1024, 1024, options, store, map, flip ? &mirrors : nullptr);
        tiles = store.count;
        benchmark::DoNotOptimize(map.data());
    }
    state.counters["tiles"] = tiles;
}

// The approximate assignment (what runs without an exact packing) on the first pictures of a set:
// how many tiles keep every pixel.
void BM_ApproximateAssignment(benchmark::State& state) {
    const int maxColours = int(state.range(0));
    int exact = 0, tiles = 0;
    for (auto _ : state) {
        exact = tiles = 0;
        for (int i = 0; i < 2; ++i) {
            const auto image = directColours(bench::packingPicture(i, 2, maxColours));
            TileStore store;
            std::vector<uint32_t> map;
            cutIntoTiles(image.data(), bench::kPackingSide, bench::kPackingSide, {}, store, map);
            const TileStore before = store;
            MultiPaletteParams params;
            params.colorCount = 255;
            MultiPaletteResult result;
            assignSubPalettes(store, 0, params, result);
            for (int t = 0; t < store.count; ++t) {
                const uint32_t group = result.tileValues[size_t(t)] >> 12;
                bool same = true;
                for (int k = 0; k < 64 && same; ++k) {
                    const uint32_t want = before.tile(t)[k], index = store.tile(t)[k];
                    const uint32_t got = index == 0 ? 0u : result.palette[group * 16 + index];
                    same = (want >> 24) == 0 ? index == 0 : (got & 0xFFFFFF) == (want & 0xFFFFFF);
                }
                exact += same;
            }
            tiles += store.count;
        }
    }
    state.counters["tiles"] = tiles;
    state.counters["exact_tiles"] = exact;
}

void BM_PackingSet(benchmark::State& s) { packingSet(s); }
void BM_Convert4Bit256Packed(benchmark::State& s) { conversion(s, "tset src=k" + std::to_string(s.range(0)) + ".png +16c col=255 dst=o256", 1); }
void BM_Convert4Bit1024(benchmark::State& s) { conversion(s, "tset src=p1024.png +16c col=255 dst=o4", int(s.range(0))); }
void BM_Convert4Bit1024Flip(benchmark::State& s) { conversion(s, "tset src=p1024.png +16c col=255 +flip dst=o4f", 1); }
void BM_Convert8Bit1024(benchmark::State& s) { conversion(s, "tset src=p1024.png dst=o8", 1); }
void BM_Convert8Bit1024Flip(benchmark::State& s) { conversion(s, "tset src=p1024.png +flip dst=o8f", 1); }

}  // namespace

BENCHMARK(BM_TileMatching1024)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApproximateAssignment)->Arg(15)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PackingSet)->Arg(15)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Convert4Bit256Packed)->Arg(15)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert4Bit1024)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert4Bit1024Flip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8Bit1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8Bit1024Flip)->Unit(benchmark::kMillisecond);
