// Quantization speed on a 1024 x 1024 photograph-like image: the standard method with its
// precision search (fast and reference versions), the optimal method, halftone and the accurate
// method (with and without error diffusion, also on a 1024 x 1024 photograph); and the single
// pass of the standard method over the 512 x 512 picture of the conversion benchmarks.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "bench_convert_pictures.h"
#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "host/host_services.h"
#include "formats/platform.h"
#include "app/app_state.h"

using namespace ts;

namespace {

constexpr int kSide = 1024;

uint32_t hashNoise(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352d;
    x ^= x >> 15;
    x *= 0x846ca68b;
    x ^= x >> 16;
    return x;
}

// Smooth gradients, a few soft shapes and grain: thousands of distinct colours, deterministic.
void makePhoto(Surface& s) {
    createSurface(s, kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double fx = x / double(kSide), fy = y / double(kSide);
            const double disc = std::exp(-((fx - 0.6) * (fx - 0.6) + (fy - 0.4) * (fy - 0.4)) * 18.0);
            const uint32_t n = hashNoise(uint32_t(y * kSide + x));
            auto clamp = [](double v) { return v < 0 ? 0u : v > 255 ? 255u : uint32_t(v); };
            const uint32_t r = clamp(60 + 150 * fx + 80 * disc + std::sin(fy * 9) * 20 + int(n & 15) - 8);
            const uint32_t g = clamp(40 + 120 * fy + 60 * disc + std::cos(fx * 7) * 25 + int((n >> 4) & 15) - 8);
            const uint32_t b = clamp(180 - 120 * fx * fy + 40 * std::sin((fx + fy) * 5) + int((n >> 8) & 15) - 8);
            s.at(x, y) = 0xFF000000u | r << 16 | g << 8 | b;
        }
}

struct Fixture {
    RecordingHost host;
    App app{host};
    Surface photo;
    Fixture() {
        initializePlatforms(app);  // the GBA in its 8-bit depth: all this needs
        rebuildEffectTables(app);
        app.system.messages = 0;
        makePhoto(photo);
        reset();
    }
    void reset() {
        copySurface(app.convert.decodeSurface, photo);
        copySurface(app.convert.conversionSurface, photo);
        selectPixelSource(app, PixelSourceKind::Conversion);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

QuantizePositions full() { return QuantizePositions{0, 0, 256, 0}; }

// The tileset pipeline's precision search over the naive method.
int naiveBinarySearch(App& app, IndexImage& image, WorkingPalette& palette) {
    if (quantizeStandardNaive(app, image, palette, 0, full()) >= 0) return 0;
    int t = binaryPrecisionSearch(app.convert.maxPrecision, [&](int threshold) {
        return quantizeStandardNaive(app, image, palette, threshold, full()) >= 0;
    });
    return quantizeStandardNaive(app, image, palette, t, full());
}

void BM_StandardPrecisionSearch(benchmark::State& state) {
    Fixture& f = fixture();
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    int colours = 0;
    for (auto _ : state) {
        colours = quantizeStandardSearch(f.app, image, palette, full(), PrecisionSearch::Binary);
        benchmark::DoNotOptimize(colours);
    }
    state.counters["colours"] = colours;
}
BENCHMARK(BM_StandardPrecisionSearch)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StandardPrecisionSearchNaive(benchmark::State& state) {
    Fixture& f = fixture();
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    int colours = 0;
    for (auto _ : state) {
        colours = naiveBinarySearch(f.app, image, palette);
        benchmark::DoNotOptimize(colours);
    }
    state.counters["colours"] = colours;
}
BENCHMARK(BM_StandardPrecisionSearchNaive)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Optimal(benchmark::State& state) {
    Fixture& f = fixture();
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    int colours = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.reset();  // the method rewrites the decode surface with effect colours
        state.ResumeTiming();
        colours = quantizeOptimal(f.app, image, palette, full());
        benchmark::DoNotOptimize(colours);
    }
    state.counters["colours"] = colours;
}
BENCHMARK(BM_Optimal)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Halftone(benchmark::State& state) {
    Fixture& f = fixture();
    f.reset();
    selectPixelSource(f.app, PixelSourceKind::Decode);
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    for (auto _ : state) benchmark::DoNotOptimize(quantizeHalftone(f.app, image, palette, full()));
    f.reset();
}
BENCHMARK(BM_Halftone)->Unit(benchmark::kMillisecond)->Iterations(10);

void accurate(benchmark::State& state, bool photograph, int dither) {
    Fixture& f = fixture();
    if (photograph) {
        DecodedImage decoded;
        if (decodeImageFile(std::string(TS_SOURCE_DIR) + "/bench/pictures/retina.jpg", decoded) != DecodeResult::Ok ||
            decoded.surface.width != kSide || decoded.surface.height != kSide) {
            state.SkipWithError("bench/pictures/retina.jpg not found");
            return;
        }
        copySurface(f.app.convert.conversionSurface, decoded.surface);
        selectPixelSource(f.app, PixelSourceKind::Conversion);
    }
    f.app.convert.dither = dither;
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    int colours = 0;
    for (auto _ : state) {
        f.app.convert.quantization = 3;
        colours = quantizeWithCurrentMethod(f.app, image, palette, full(), PrecisionSearch::Binary);
        benchmark::DoNotOptimize(colours);
    }
    f.app.convert.quantization = 0;
    f.app.convert.dither = 0;
    state.counters["colours"] = colours;
    f.reset();
}
void BM_Accurate(benchmark::State& state) { accurate(state, false, 0); }
void BM_AccurateDither(benchmark::State& state) { accurate(state, false, 1); }
void BM_AccuratePhotograph(benchmark::State& state) { accurate(state, true, 0); }
void BM_AccuratePhotographDither(benchmark::State& state) { accurate(state, true, 1); }
// Error diffusion alone, onto the accurate method's palette of the photograph-like image.
void BM_ErrorDiffusion(benchmark::State& state) {
    Fixture& f = fixture();
    IndexImage image;
    image.resize(kSide, kSide);
    WorkingPalette palette;
    const int colours = quantizeAccurate(f.app, image, palette, full());
    for (auto _ : state) diffuseErrors(f.app, image, palette, 0, colours);
    state.counters["colours"] = colours;
}
BENCHMARK(BM_ErrorDiffusion)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Accurate)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AccurateDither)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AccuratePhotograph)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AccuratePhotographDither)->Unit(benchmark::kMillisecond)->Iterations(10);

// 241 colours in 262,144 pixels: one pass at threshold 0, as in the 8-bit conversion.
void BM_StandardOnePassTiles512(benchmark::State& state) {
    Fixture& f = fixture();
    Surface tiles;
    createSurface(tiles, 512, 512);
    const auto picture = bench::placedPicture(512, 512, 1);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) tiles.at(x, y) = 0xFF000000u | picture[size_t(y) * 512 + size_t(x)];
    copySurface(f.app.convert.conversionSurface, tiles);
    selectPixelSource(f.app, PixelSourceKind::Conversion);
    IndexImage image;
    image.resize(512, 512);
    WorkingPalette palette;
    int colours = 0;
    for (auto _ : state) benchmark::DoNotOptimize(colours = quantizeStandard(f.app, image, palette, 0, full()));
    state.counters["colours"] = colours;
    f.reset();
}
BENCHMARK(BM_StandardOnePassTiles512)->Unit(benchmark::kMillisecond);

}  // namespace
