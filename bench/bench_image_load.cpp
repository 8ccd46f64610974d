// Loading a 4096 x 4096 photograph-like PNG into the decode surface (decode, used entries, mask).
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>
#include <string>

#include "convert/image_file.h"
#include "host/host_services.h"
#include "convert/colour_effects.h"
#include "formats/platform.h"
#include "app/app_state.h"

using namespace ts;

namespace {

constexpr int kSide = 4096;

std::string makePng() {
    const std::string path = "/tmp/ts_bench_image_load_4096.png";
    QImage image(kSide, kSide, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const double fx = x / double(kSide), fy = y / double(kSide);
            const uint32_t r = uint32_t(90 + 120 * fx + 30 * std::sin(fy * 11)) + ((seed >> 24) & 7);
            const uint32_t g = uint32_t(60 + 150 * fy + 20 * std::cos(fx * 9)) + ((seed >> 16) & 7);
            const uint32_t b = uint32_t(200 - 150 * fx * fy) + ((seed >> 8) & 7);
            row[x] = 0xFF000000u | (r & 255) << 16 | (g & 255) << 8 | (b & 255);
        }
    }
    image.save(QString::fromStdString(path), "PNG");
    return path;
}

void BM_LoadPng4096(benchmark::State& state) {
    static const std::string path = makePng();
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
