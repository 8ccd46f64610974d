// Quantization quality on photographs and painted pictures: for every picture, an 8-bit bitmap
// conversion with 255 colours (plus the zero colour) by the standard, optimal and accurate
// methods (accurate also with error diffusion), the picture rebuilt from the written bitmap and
// palette files and compared with the source in 15-bit precision (PSNR, peak 31). The
// reference is a plain median-cut split (the box of largest squared error cut at the median of its
// longest side), the method a widely used converter applies, computed here in memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "editor/surface.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "script/interpreter.h"

namespace {

using namespace ts;

struct Picture {
    const char* name;
    const char* file;  // in bench/pictures; null: painted here
    int x, y, width, height;  // crop (width 0: whole picture)
};

// Photographs from Debian's python3-skimage (public domain or CC0, see bench/pictures/README.md),
// two crops of the sizes of GBA screens and title backgrounds, and a picture painted here.
constexpr Picture kPictures[] = {
    {"astronaut512", "astronaut.jpg", 0, 0, 0, 0},
    {"chelsea451x300", "chelsea.jpg", 0, 0, 0, 0},
    {"coffee600x400", "coffee.jpg", 0, 0, 0, 0},
    {"rocket640x427", "rocket.jpg", 0, 0, 0, 0},
    {"hubble512", "hubble.jpg", 0, 0, 0, 0},
    {"retina1024", "retina.jpg", 0, 0, 0, 0},
    {"coffee240x160", "coffee.jpg", 180, 120, 240, 160},
    {"astronaut256", "astronaut.jpg", 128, 40, 256, 256},
    {"painted1024", nullptr, 0, 0, 1024, 1024},
};

uint32_t noise(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352d;
    x ^= x >> 15;
    x *= 0x846ca68b;
    x ^= x >> 16;
    return x;
}

// A painted landscape: sky gradient, sun, layered hills with brush grain, a lake reflecting the sky.
void paint(Surface& s, int w, int h) {
    createSurface(s, w, h);
    auto clamp = [](double v) { return v < 0 ? 0u : v > 255 ? 255u : uint32_t(v); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double fx = x / double(w), fy = y / double(h);
            const uint32_t n = noise(uint32_t(y * w + x));
            const double grain = int(n & 31) - 16;
            double r = 250 - 120 * fy, g = 170 - 40 * fy + 60 * fx, b = 120 + 130 * fy;
            const double sun = std::exp(-((fx - 0.7) * (fx - 0.7) + (fy - 0.25) * (fy - 0.25)) * 60);
            r += 80 * sun, g += 60 * sun, b -= 40 * sun;
            for (int layer = 0; layer < 4; ++layer) {
                const double ridge = 0.45 + 0.1 * layer + 0.05 * std::sin(fx * (5 + layer * 3) + layer) +
                                     0.02 * std::sin(fx * 31 + layer * 2);
                if (fy > ridge) {
                    const double depth = (fy - ridge) * 4;
                    r = 40 + 30 * layer + 50 * depth + grain * 0.8;
                    g = 70 + 35 * layer - 20 * depth + 40 * std::sin(fx * 20 + fy * 9) + grain;
                    b = 50 + 10 * layer + grain * 0.6;
                }
            }
            if (fy > 0.85) {  // the lake: the sky upside down, darker, rippled
                const double ry = 1.7 - fy + 0.01 * std::sin(fx * 90 + fy * 40);
                r = (250 - 120 * ry) * 0.6, g = (170 - 40 * ry + 60 * fx) * 0.6, b = (120 + 130 * ry) * 0.7;
            }
            s.at(x, y) = 0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
        }
}

bool loadPicture(const Picture& p, Surface& out) {
    if (!p.file) {
        paint(out, p.width, p.height);
        return true;
    }
    DecodedImage image;
    if (decodeImageFile(std::string(TS_SOURCE_DIR) + "/bench/pictures/" + p.file, image) != DecodeResult::Ok)
        return false;
    if (p.width == 0) {
        out = std::move(image.surface);
        return true;
    }
    createSurface(out, p.width, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) out.at(x, y) = image.surface.at(p.x + x, p.y + y);
    return true;
}

// 15-bit PSNR between the source (components >> 3) and a rebuilt picture of 5-bit components.
double psnr(const Surface& source, const std::vector<uint32_t>& rebuilt) {
    double squared = 0;
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const uint32_t a = source.at(x, y), b = rebuilt[size_t(y) * size_t(source.width) + size_t(x)];
            for (int shift : {0, 8, 16}) {
                const double d = double(int((a >> shift) & 255) >> 3) - double(int((b >> shift) & 255));
                squared += d * d;
            }
        }
    const double mse = squared / (3.0 * source.width * source.height);
    return mse == 0 ? 99.0 : 10 * std::log10(31.0 * 31.0 / mse);
}

// ---- the reference: plain median cut over the 15-bit histogram ----

struct Cell {
    uint8_t c[3];
    uint32_t count;
};

std::vector<uint32_t> medianCut(const Surface& source, int colours) {
    std::vector<uint32_t> counts(32768, 0);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const uint32_t p = source.at(x, y);
            ++counts[((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31)];
        }
    std::vector<Cell> cells;
    for (uint32_t k = 0; k < 32768; ++k)
        if (counts[k]) cells.push_back({{uint8_t(k >> 10), uint8_t((k >> 5) & 31), uint8_t(k & 31)}, counts[k]});
    struct Box {
        size_t begin, end;
    };
    auto error = [&](const Box& b) {
        double w = 0, s[3] = {0, 0, 0}, q = 0;
        for (size_t i = b.begin; i < b.end; ++i)
            for (int k = 0; k < 3; ++k) {
                s[k] += double(cells[i].c[k]) * cells[i].count;
                q += double(cells[i].c[k]) * cells[i].c[k] * cells[i].count;
                if (k == 0) w += cells[i].count;
            }
        return q - (s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / w;
    };
    std::vector<Box> boxes{{0, cells.size()}};
    while (int(boxes.size()) < colours) {
        int pick = -1;
        double worst = 0;
        for (int b = 0; b < int(boxes.size()); ++b) {
            if (boxes[size_t(b)].end - boxes[size_t(b)].begin < 2) continue;
            const double e = error(boxes[size_t(b)]);
            if (pick < 0 || e > worst) pick = b, worst = e;
        }
        if (pick < 0) break;
        Box& box = boxes[size_t(pick)];
        int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int k = 0; k < 3; ++k) lo[k] = std::min<int>(lo[k], cells[i].c[k]), hi[k] = std::max<int>(hi[k], cells[i].c[k]);
            total += cells[i].count;
        }
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if (hi[k] - lo[k] > hi[axis] - lo[axis]) axis = k;
        std::sort(cells.begin() + ptrdiff_t(box.begin), cells.begin() + ptrdiff_t(box.end),
                  [&](const Cell& a, const Cell& b) { return a.c[axis] < b.c[axis]; });
        uint64_t seen = 0;
        size_t cut = box.begin;
        while (cut < box.end - 1 && (seen + cells[cut].count) * 2 <= total) seen += cells[cut++].count;
        if (cut == box.begin) cut = box.begin + 1;
        const Box right{cut, box.end};
        box.end = cut;
        boxes.push_back(right);
    }
    std::vector<uint32_t> palette;
    for (const Box& b : boxes) {
        double w = 0, s[3] = {0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i) {
            w += cells[i].count;
            for (int k = 0; k < 3; ++k) s[k] += double(cells[i].c[k]) * cells[i].count;
        }
        palette.push_back(uint32_t(std::lround(s[0] / w)) << 16 | uint32_t(std::lround(s[1] / w)) << 8 |
                          uint32_t(std::lround(s[2] / w)));
    }
    return palette;
}

std::vector<uint32_t> mapOnto(const Surface& source, const std::vector<uint32_t>& palette) {
    std::vector<int> memo(32768, -1);
    std::vector<uint32_t> out(size_t(source.width) * size_t(source.height));
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const uint32_t p = source.at(x, y);
            const int r = int((p >> 19) & 31), g = int((p >> 11) & 31), b = int((p >> 3) & 31);
            int& best = memo[size_t(r << 10 | g << 5 | b)];
            if (best < 0) {
                int bestDistance = 1 << 30;
                for (int i = 0; i < int(palette.size()); ++i) {
                    const uint32_t e = palette[size_t(i)];
                    const int dr = int((e >> 16) & 255) - r, dg = int((e >> 8) & 255) - g, db = int(e & 255) - b;
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestDistance) bestDistance = d, best = i;
                }
            }
            out[size_t(y) * size_t(source.width) + size_t(x)] = palette[size_t(best)];
        }
    return out;
}

// ---- the program's methods, through the conversion command and the written files ----

struct Scratch {
    std::string folder;
    Scratch() {
        folder = (std::filesystem::temp_directory_path() / ("tilesmithery-quality-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

// Converts the picture (written as PNG) into an 8-bit bitmap and its palette, and rebuilds it
// from the two files.
bool convertAndRebuild(const Surface& picture, const std::string& settings, std::vector<uint32_t>& rebuilt,
                       std::string& failure) {
    RecordingHost host;
    App app{host};
    setCurrentDirectory(scratch().folder);
    initializeApp(app);
    runScriptText(app, settings);
    systemSettings(app).messages = 0;
    if (!saveImageFile(picture, {}, scratch().folder + "/picture.png")) return failure = "cannot write", false;
    std::string args = "bmp src=picture.png dst=out cmode=8 col=256";
    cmdConv(app, args.data());
    for (const auto& box : host.boxes)
        if (box.icon == Icon::Error || box.icon == Icon::Warning) return failure = box.text, false;
    const ElementRecord* bitmap = nullptr;
    for (const ElementRecord& r : app.elements.records)
        if (r.type() == TYPE_BITMAP) bitmap = &r;
    if (!bitmap) return failure = "no bitmap", false;
    PaletteBuffer palette{};
    BitmapData pixels;
    int depth = -1;
    if (!currentPlatform(app).loadBitmap(app, 0, depth, &palette, pixels, *bitmap, false) ||
        pixels.width != picture.width || pixels.height != picture.height)
        return failure = "cannot read", false;
    rebuilt.resize(pixels.pixels.size());
    for (size_t i = 0; i < pixels.pixels.size(); ++i) rebuilt[i] = palette[pixels.pixels[i] & 255];
    return true;
}

// Converts the picture into a 4-bit tileset with sixteen sub-palettes and rebuilds it from the map,
// tileset and palette files.
bool convertAndRebuild4Bit(const Surface& picture, const std::string& settings, std::vector<uint32_t>& rebuilt,
                           std::string& failure) {
    RecordingHost host;
    App app{host};
    setCurrentDirectory(scratch().folder);
    initializeApp(app);
    runScriptText(app, settings);
    app.system.messages = 0;
    if (!saveImageFile(picture, {}, scratch().folder + "/picture.png")) return failure = "cannot write", false;
    std::string args = "tset src=picture.png dst=out4 +16c col=255";
    cmdConv(app, args.data());
    for (const auto& box : host.boxes)
        if (box.icon == Icon::Error || box.icon == Icon::Warning) return failure = box.text, false;
    const ElementRecord* map = nullptr;
    for (const ElementRecord& r : app.elements.records)
        if (r.type() == TYPE_CARTE) map = &r;
    if (!map) return failure = "no map", false;
    std::vector<uint32_t> tiles;
    PaletteBuffer palette{};
    MapData cells;
    if (!currentPlatform(app).loadMap(app, 0, &tiles, &palette, cells, *map)) return failure = "cannot read", false;
    rebuilt.assign(size_t(picture.width) * size_t(picture.height), 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t entry = cells.cells[size_t(y / 8) * size_t(cells.width) + size_t(x / 8)];
            const size_t at = size_t(entry & 0x3FF) * 64 + size_t(y % 8) * 8 + size_t(x % 8);
            const uint32_t index = at < tiles.size() ? tiles[at] & 15 : 0;
            rebuilt[size_t(y) * size_t(picture.width) + size_t(x)] = palette[((entry >> 12) & 15) * 16 + index];
        }
    return true;
}

struct Method {
    const char* name;
    const char* settings;  // script statements separated by ";"
};
constexpr Method kMethods[] = {
    {"standard", "convert.mode = 0"},
    {"optimal", "convert.mode = 2"},
    {"accurate", "convert.mode = 3"},
    {"accurate_dither", "convert.mode = 3;convert.dither = 1"},
};

void qualityOf(benchmark::State& state, const Picture& p) {
    Surface picture;
    if (!loadPicture(p, picture)) {
        state.SkipWithError("picture not found");
        return;
    }
    double median = 0;
    for (auto _ : state) median = psnr(picture, mapOnto(picture, medianCut(picture, 255)));
    state.counters["median_cut"] = median;
    for (const Method& m : kMethods) {
        std::vector<uint32_t> rebuilt;
        std::string failure;
        if (!convertAndRebuild(picture, m.settings, rebuilt, failure)) {
            state.SkipWithError((std::string(m.name) + ": " + failure).c_str());
            return;
        }
        state.counters[m.name] = psnr(picture, rebuilt);
    }
    state.counters["accurate_gain"] = state.counters["accurate"] - median;
}

// The sub-palette path: 16 sub-palettes of 15 colours, the multi-palette assignment as it is and
// with the accurate method's refinement (and error diffusion inside the tiles).
void qualityOf4Bit(benchmark::State& state, const Picture& p) {
    Surface picture;
    if (!loadPicture(p, picture)) {
        state.SkipWithError("picture not found");
        return;
    }
    for (auto _ : state) {
        for (const Method& m : kMethods) {
            if (std::string(m.name) == "optimal") continue;  // the assignment builds its palettes alike
            std::vector<uint32_t> rebuilt;
            std::string failure;
            if (!convertAndRebuild4Bit(picture, m.settings, rebuilt, failure)) {
                state.SkipWithError((std::string(m.name) + ": " + failure).c_str());
                return;
            }
            state.counters[m.name] = psnr(picture, rebuilt);
        }
    }
}

const bool kRegistered = [] {
    for (const Picture& p : kPictures)
        if (p.width * p.height <= 256 * 256 && p.width > 0)
            benchmark::RegisterBenchmark((std::string("BM_Psnr4Bit/") + p.name).c_str(),
                                         [&p](benchmark::State& s) { qualityOf4Bit(s, p); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    for (const Picture& p : kPictures)
        benchmark::RegisterBenchmark((std::string("BM_Psnr/") + p.name).c_str(),
                                     [&p](benchmark::State& s) { qualityOf(s, p); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    return true;
}();

}  // namespace
