// Map view and selection benchmarks: one frame of a 1920 x 1080 view over four 1024 x 1024 GBA
// text maps (4-bit tiles with palette banks, mirrored blocks, transparency on), the same frame's
// "does it differ" digest, and "Operations on selection" over a full 1024 x 1024 store.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/editor_document.h"
#include "editor/map_view_renderer.h"
#include "editor/selection_operations.h"

namespace {

using namespace ts;

constexpr int kSide = 1024;

void makePlane(PlaneRecord& p, int seed) {
    p.kind = PlaneMap;
    p.width = p.height = kSide;
    p.cells.resize(size_t(kSide) * kSide);
    uint32_t r = 12345u + uint32_t(seed);
    for (uint32_t& c : p.cells) {
        r = r * 1103515245u + 12345u;
        // Tile 0..255, both mirrors at random, palette bank 0..15.
        c = ((r >> 8) & 0x3FFu) % 256 | ((r >> 20) & 0xC00u) | (((r >> 24) & 15u) << 12);
    }
    p.tileCount = 256;
    p.tiles.resize(size_t(p.tileCount) * kTileWords);
    for (size_t i = 0; i < p.tiles.size(); ++i) p.tiles[i] = uint32_t((i * 7 + i / 64) % 16);
    for (int i = 0; i < kPaletteEntries; ++i) p.palette[size_t(i)] = 0xFF000000u | uint32_t(i * 0x010305);
    p.layout = MapEntryLayout{0x3FF, 0xF000, 12, 0x400, 10, 0x800, 11};
    p.paletteBanks = true;
    p.colorsPerBank = 16;
    p.index0Transparent = true;
    p.emulGba = 1;
    p.blockWidth = p.blockHeight = 8;
    p.gridX = p.gridY = 8;
}

std::unique_ptr<EditorDocument> fourPlanes() {
    auto doc = std::make_unique<EditorDocument>();
    for (int i = 0; i < 4; ++i) makePlane(doc->planes[size_t(i)], i);
    doc->count = 4;
    doc->active = 0;
    doc->options.transparency = 1;
    doc->scrollX = 800;
    doc->scrollY = 640;
    return doc;
}

void BM_ComposeView1080p(benchmark::State& state) {
    auto doc = fourPlanes();
    Surface view;
    createSurface(view, 1920, 1080);
    ViewTileCache tiles;  // kept from frame to frame, as the window's clock keeps it
    for (auto _ : state) {
        composeView(view, *doc, true, nullptr, {}, nullptr, tiles);
        benchmark::DoNotOptimize(view.pixels.data());
    }
}
BENCHMARK(BM_ComposeView1080p)->Unit(benchmark::kMillisecond);

void BM_FrameSignature1080p(benchmark::State& state) {
    auto doc = fourPlanes();
    for (auto _ : state) benchmark::DoNotOptimize(frameSignature(*doc, 1920, 1080, 0));
}
BENCHMARK(BM_FrameSignature1080p)->Unit(benchmark::kMicrosecond);

void BM_SelectionOperationsFullStore(benchmark::State& state) {
    SelectionStore store;
    allocateStore(store);
    store.width = store.height = kSide;
    store.layerCount = 1;
    store.layerFilled[0] = true;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) store.row(0, y)[x] = uint32_t((x * 31 + y) & 0x3FF);
    for (auto _ : state) {
        DialogOutcome out = runSelectionOperations(store, "+1&0x3ff|0x400", ">=0x10 and <0x300", false, 0, 0xFFFF, false);
        benchmark::DoNotOptimize(out.close);
    }
}
BENCHMARK(BM_SelectionOperationsFullStore)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_ComposeView1080pOpaque(benchmark::State& state) {
    auto doc = fourPlanes();
    doc->options.transparency = 0;
    Surface view;
    createSurface(view, 1920, 1080);
    ViewTileCache tiles;  // kept from frame to frame, as the window's clock keeps it
    for (auto _ : state) {
        composeView(view, *doc, true, nullptr, {}, nullptr, tiles);
        benchmark::DoNotOptimize(view.pixels.data());
    }
}
BENCHMARK(BM_ComposeView1080pOpaque)->Unit(benchmark::kMillisecond);
}  // namespace

namespace {
// The same view with one keyed plane (index 0 transparent, on top) over three opaque ones and
// "Transparents BG" off: no plane is blended.
void BM_ComposeView1080pOneKeyed(benchmark::State& state) {
    auto doc = fourPlanes();
    doc->options.transparency = 0;
    for (int i = 1; i < 4; ++i) doc->planes[size_t(i)].index0Transparent = false;
    Surface view;
    createSurface(view, 1920, 1080);
    ViewTileCache tiles;
    for (auto _ : state) {
        composeView(view, *doc, true, nullptr, {}, nullptr, tiles);
        benchmark::DoNotOptimize(view.pixels.data());
    }
}
BENCHMARK(BM_ComposeView1080pOneKeyed)->Unit(benchmark::kMillisecond);

// 8-bit tiles (256 colours, no banks): each tile is decoded once a frame.
void BM_ComposeView1080pEightBit(benchmark::State& state) {
    auto doc = fourPlanes();
    for (int i = 0; i < 4; ++i) {
        PlaneRecord& p = doc->planes[size_t(i)];
        p.paletteBanks = false;
        p.colorsPerBank = 256;
        for (size_t k = 0; k < p.tiles.size(); ++k) p.tiles[k] = uint32_t((k * 37 + k / 64) % 256);
    }
    Surface view;
    createSurface(view, 1920, 1080);
    ViewTileCache tiles;
    for (auto _ : state) {
        composeView(view, *doc, true, nullptr, {}, nullptr, tiles);
        benchmark::DoNotOptimize(view.pixels.data());
    }
}
BENCHMARK(BM_ComposeView1080pEightBit)->Unit(benchmark::kMillisecond);
}  // namespace
