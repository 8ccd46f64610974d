// Conversion benchmarks: whole conversions through the conversion command (PNG decoding, colour
// reduction, tiles, sub-palettes and the three C files) and the tile matching alone, hashed and
// linear, on deterministic pictures (bench_convert_pictures.h). The multi-palette benchmark also
// reports its quality: how many of the 960 distinct tiles come out exact, and the mean squared
// error per pixel (sum over red, green and blue, 8-bit units).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "bench_convert_pictures.h"
#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "convert/multi_palette.h"
#include "convert/tile_stage.h"
#include "editor/surface.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "app/app_init.h"
#include "app/app_state.h"

namespace {

using namespace ts;

// The pictures as PNG files in a scratch folder that lives as long as the program. With
// TS_BENCH_PICTURES set, they are written into that folder and kept (to time the program itself:
// tilesmithery p.tsp -tset src=p1024.png, with convert.maskColor = RGB(0,0,0) in the project).
struct Pictures {
    std::string folder;
    bool keep = false;
    Pictures() {
        const char* kept = std::getenv("TS_BENCH_PICTURES");
        keep = kept && *kept;
        folder = keep ? std::string(kept)
                      : (std::filesystem::temp_directory_path() / ("tilesmithery-bench-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        write("p512.png", 512, 512, bench::placedPicture(512, 512, 1));
        write("p1024.png", 1024, 1024, bench::placedPicture(1024, 1024, 2));
        write("d1024x512.png", 1024, 512, bench::distinctPicture(1024, 512, 3));
    }
    ~Pictures() {
        std::error_code ec;
        if (!keep) std::filesystem::remove_all(folder, ec);
    }
    void write(const std::string& name, int w, int h, const std::vector<uint32_t>& pixels) {
        Surface s;
        createSurface(s, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s.at(x, y) = pixels[size_t(y) * w + x];
        saveImageFile(s, {}, folder + "/" + name);
    }
};

Pictures& pictures() {
    static Pictures p;
    return p;
}

// A fresh program state in the pictures' folder, black as the transparent colour.
struct Session {
    RecordingHost host;
    App app{host};
    Session() {
        setCurrentDirectory(pictures().folder);
        initializeApp(app);
        app.system.messages = 0;
        app.convert.maskRed = app.convert.maskGreen = app.convert.maskBlue = 0;
    }
    void conv(const std::string& args) {
        std::string text = args;
        cmdConv(app, text.data());
    }
};

void runConversion(benchmark::State& state, const std::string& args) {
    pictures();
    for (auto _ : state) {
        Session s;
        s.conv(args);
        if (!s.host.boxes.empty()) {
            state.SkipWithError(s.host.boxes.back().text.c_str());
            break;
        }
    }
}

void BM_Convert8Bit512(benchmark::State& state) { runConversion(state, "tset src=p512.png dst=o512"); }
void BM_Convert8Bit1024(benchmark::State& state) { runConversion(state, "tset src=p1024.png dst=o1024"); }
void BM_Convert8BitAllDistinct(benchmark::State& state) { runConversion(state, "tset src=d1024x512.png dst=odist"); }
void BM_Convert4BitSixteenPalettes1024(benchmark::State& state) {
    runConversion(state, "tset src=p1024.png +16c col=255 dst=o4");
}

// Index image of a picture as the direct path sees it: 5-bit components, black transparent.
std::vector<uint32_t> directColours(const std::vector<uint32_t>& picture) {
    std::vector<uint32_t> out(picture.size());
    for (size_t i = 0; i < picture.size(); ++i) {
        const uint32_t p = picture[i];
        out[i] = p == 0 ? 0u : 0xFF000000u | ((p >> 3) & 0x1F1F1F);
    }
    return out;
}

void tileMatching(benchmark::State& state, bool hashed, const std::vector<uint32_t>& image, int w, int h) {
    int tiles = 0;
    for (auto _ : state) {
        TileStore store;
        std::vector<uint32_t> map;
        if (hashed)
            cutIntoTiles(image.data(), w, h, {}, store, map);
        else
            cutIntoTilesLinear(image.data(), w, h, {}, store, map);
        tiles = store.count;
        benchmark::DoNotOptimize(map.data());
    }
    state.counters["tiles"] = tiles;
}

const std::vector<uint32_t>& distinctImage() {
    static const auto image = directColours(bench::distinctPicture(1024, 512, 3));
    return image;
}
const std::vector<uint32_t>& placedImage() {
    static const auto image = directColours(bench::placedPicture(1024, 1024, 2));
    return image;
}

void BM_TileMatchingHashedAllDistinct(benchmark::State& s) { tileMatching(s, true, distinctImage(), 1024, 512); }
void BM_TileMatchingLinearAllDistinct(benchmark::State& s) { tileMatching(s, false, distinctImage(), 1024, 512); }
void BM_TileMatchingHashed1024(benchmark::State& s) { tileMatching(s, true, placedImage(), 1024, 1024); }
void BM_TileMatchingLinear1024(benchmark::State& s) { tileMatching(s, false, placedImage(), 1024, 1024); }

// The sub-palette assignment alone on the 1024 x 1024 picture's 960 tiles, with its quality.
void BM_MultiPaletteQuality(benchmark::State& state) {
    const int threads = int(state.range(0));
    TileStore tiles;
    std::vector<uint32_t> map;
    cutIntoTiles(placedImage().data(), 1024, 1024, {}, tiles, map);
    TileStore result;
    MultiPaletteResult out;
    for (auto _ : state) {
        result = tiles;
        MultiPaletteParams params;
        params.colorCount = 255;
        params.threads = threads;
        assignSubPalettes(result, 0, params, out);
    }
    int exact = 0;
    double squared = 0;
    for (int t = 0; t < tiles.count; ++t) {
        const uint32_t group = out.tileValues[size_t(t)] >> 12;
        bool same = true;
        for (int i = 0; i < 64; ++i) {
            const uint32_t want = tiles.tile(t)[i];
            const uint32_t index = result.tile(t)[i];
            const uint32_t got = index == 0 ? 0u : out.palette[group * 16 + index];
            if ((want >> 24) == 0 && index == 0) continue;
            for (int shift : {0, 8, 16}) {
                const double d = (double(int((want >> shift) & 255)) - double(int((got >> shift) & 255))) * 8;
                squared += d * d;
            }
            same = same && (want & 0xFFFFFF) == (got & 0xFFFFFF);
        }
        exact += same;
    }
    state.counters["tiles"] = tiles.count;
    state.counters["exact_tiles"] = exact;
    state.counters["mse_per_pixel"] = squared / (double(tiles.count) * 64);
    state.counters["threads"] = threads;
}

BENCHMARK(BM_Convert8Bit512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8Bit1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8BitAllDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert4BitSixteenPalettes1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileMatchingHashedAllDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileMatchingLinearAllDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileMatchingHashed1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileMatchingLinear1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultiPaletteQuality)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
