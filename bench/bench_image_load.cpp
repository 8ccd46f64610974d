// Image loading: decoding the 1024 x 1024 conversion picture (PNG, BMP, JPEG) alone, the PNG also
// through libpng alone (what the image data path saves) and a 1024 x 1024 photograph-like PNG (its
// rows mostly Paeth-filtered); and loading a 4096 x 4096 photograph-like PNG into the decode
// surface (decode, used entries, mask).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "bench_convert_pictures.h"
#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/image_file_codecs.h"
#include "formats/platform.h"
#include "app/app_state.h"
#include "host/file_system.h"
#include "host/host_services.h"

using namespace ts;

namespace {

constexpr int kPhotoSide = 4096;

std::string makePhoto(int side = kPhotoSide) {
    const std::string path = "/tmp/ts_bench_image_load_" + std::to_string(side) + ".photo.png";
    Surface image;
    createSurface(image, side, side);
    uint32_t seed = 12345;
    for (int y = 0; y < side; ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const double fx = x / double(side), fy = y / double(side);
            const uint32_t r = uint32_t(90 + 120 * fx + 30 * std::sin(fy * 11)) + ((seed >> 24) & 7);
            const uint32_t g = uint32_t(60 + 150 * fy + 20 * std::cos(fx * 9)) + ((seed >> 16) & 7);
            const uint32_t b = uint32_t(200 - 150 * fx * fy) + ((seed >> 8) & 7);
            row[x] = (r & 255) << 16 | (g & 255) << 8 | (b & 255);
        }
    }
    saveImageFile(image, {}, path);
    return path;
}

// The 1024 x 1024 picture of the conversion benchmarks, in memory as a file of the given type.
const std::string& picture1024(const std::string& extension) {
    static std::string files[3];
    const int slot = extension == "png" ? 0 : extension == "bmp" ? 1 : 2;
    if (files[slot].empty()) {
        const std::vector<uint32_t> pixels = bench::placedPicture(1024, 1024, 2);
        Surface s;
        createSurface(s, 1024, 1024);
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1024; ++x) s.at(x, y) = pixels[size_t(y) * 1024 + size_t(x)];
        const std::string path = "/tmp/ts_bench_image_load_1024." + extension;
        saveImageFile(s, {}, path);
        readWholeFile(path, files[slot], int64_t(64) << 20);
    }
    return files[slot];
}

void decodeLoop(benchmark::State& state, const std::string& bytes) {
    DecodedImage image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void pngLoop(benchmark::State& state, const std::string& bytes, PngDecoding decoding) {
    DecodedImage image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, decoding));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

const std::string& photo1024() {
    static std::string bytes;
    if (bytes.empty()) readWholeFile(makePhoto(1024), bytes, int64_t(64) << 20);
    return bytes;
}

void BM_DecodePng1024(benchmark::State& state) { decodeLoop(state, picture1024("png")); }
void BM_DecodePng1024LibpngOnly(benchmark::State& state) { pngLoop(state, picture1024("png"), PngDecoding::LibpngOnly); }
void BM_DecodePhotoPng1024(benchmark::State& state) { pngLoop(state, photo1024(), PngDecoding::Fastest); }
void BM_DecodePhotoPng1024LibpngOnly(benchmark::State& state) { pngLoop(state, photo1024(), PngDecoding::LibpngOnly); }
void BM_DecodeBmp1024(benchmark::State& state) { decodeLoop(state, picture1024("bmp")); }
void BM_DecodeJpeg1024(benchmark::State& state) { decodeLoop(state, picture1024("jpg")); }
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng1024LibpngOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePhotoPng1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePhotoPng1024LibpngOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpeg1024)->Unit(benchmark::kMillisecond);

void BM_LoadPng4096(benchmark::State& state) {
    static const std::string path = makePhoto(kPhotoSide);
    RecordingHost host;
    App app{host};
    initializePlatforms(app);  // the GBA in its 8-bit depth: all this needs
    rebuildEffectTables(app);
    for (auto _ : state) {
        int w = 0, h = 0;
        benchmark::DoNotOptimize(loadImageFile(app, path, w, h));
    }
}
BENCHMARK(BM_LoadPng4096)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
