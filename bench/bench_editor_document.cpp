// The map editor's document on a whole game level: opening a 1024 x 1024 Standard C map (load,
// first snapshot, first 1920 x 1080 frame), one snapshot after a short and a long history, undo
// and redo.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_init.h"
#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/map_view_renderer.h"
#include "editor/surface.h"
#include "formats/platform.h"
#include "host/host_services.h"

namespace {

constexpr int kSide = 1024;
constexpr int64_t kCopyBytes = int64_t(kSide) * kSide * 4;

struct Fixture {
    ts::RecordingHost host;
    ts::App app{host};
    std::string dir;
    ts::ElementRecord palette, tileset, map;

    Fixture() {
        char pattern[] = "/tmp/bench-editor-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        ts::initializeApp(app);
        app.system.scriptName.clear();
        app.system.saveMapsParams = 0;
        palette = make(ts::TYPE_PALETTE, "level.pal.c");
        tileset = make(ts::TYPE_MOSAIQUE, "level.til.c");
        map = make(ts::TYPE_CARTE, "level.map.c");
        app.elements.records = {palette, tileset, map};
        std::vector<uint32_t> colours(256);
        for (int i = 0; i < 256; ++i) colours[size_t(i)] = ts::packBgra(i & 31, (i * 3) & 31, (i * 7) & 31, 255);
        std::vector<uint32_t> tiles(size_t(512) * 64);
        for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint32_t(i * 2654435761u >> 28);
        std::vector<uint32_t> cells(size_t(kSide) * kSide);
        // 4-bit tiles with palette banks and mirror bits, as a GBA text map holds them.
        for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t((i * 40503u) % 512) | uint32_t(i % 3) << 10 | uint32_t(i % 16) << 12;
        ts::PlatformRecord& gba = ts::currentPlatform(app);
        gba.savePalette(app, 0, palette, colours.data(), 256);
        gba.saveTileset(app, 0, 0, tileset, &palette, tiles.data(), 512, 8, 8);
        ts::setCurrentMapType(app, ts::MapText);
        gba.saveMap(app, 0, map, &tileset, kSide, kSide, cells.data());
        ts::createSurface(view, 1920, 1080);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    ts::ElementRecord make(uint32_t type, const std::string& name) {
        ts::ElementRecord e;
        e.typeAndFlags = type;
        e.file = dir + "/" + name;
        e.name = name.substr(0, name.find('.'));
        return e;
    }
    // Opens the level with a history budget of `copies` copies.
    bool open(int copies) {
        host.memoryAvailable = uint64_t(kCopyBytes) * uint64_t(copies) * 4;
        return ts::openEditor(app, map);
    }
    ts::Surface view;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenLevel1024(benchmark::State& state) {
    Fixture& f = fixture();
    ts::EditorDocument& doc = ts::editorDocument(f.app);
    for (auto _ : state) {
        if (!f.open(64)) state.SkipWithError("open failed");
        ts::composeView(f.view, doc, true, {}, ts::ObjectHighlight{});
        benchmark::DoNotOptimize(f.view.pixels.data());
        state.PauseTiming();
        ts::closeEditor(f.app);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLevel1024)->Unit(benchmark::kMillisecond);

// One snapshot after `edits` earlier ones. The budget holds 48 copies (192 MB as counted): past
// it every snapshot drops the oldest copy, which is the state of a long session.
void BM_Snapshot1024(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.open(48)) state.SkipWithError("open failed");
    ts::EditorDocument& doc = ts::editorDocument(f.app);
    for (int64_t i = 0; i < state.range(0); ++i) {
        doc.planes[0].cells[size_t(i)] ^= 1;
        ts::pushGroupSnapshot(f.app);
    }
    uint32_t n = 0;
    for (auto _ : state) {
        doc.planes[0].cells[n++ & 1023] ^= 1;
        ts::pushGroupSnapshot(f.app);
    }
    state.counters["copies"] = double(doc.planes[0].history.index + 1);
    ts::resetPlanes(f.app);
}
// 40 timed snapshots: after 5 edits the history still grows; after 500 it sits at its budget.
// Either way a snapshot compares the plane with the last copy and stores the chunks that changed.
BENCHMARK(BM_Snapshot1024)->Arg(5)->Arg(500)->Iterations(40)->Unit(benchmark::kMillisecond);

void BM_UndoRedo1024(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.open(16)) state.SkipWithError("open failed");
    ts::EditorDocument& doc = ts::editorDocument(f.app);
    for (int i = 0; i < 8; ++i) {
        doc.planes[0].cells[size_t(i)] ^= 1;
        ts::pushGroupSnapshot(f.app);
    }
    bool back = true;
    for (auto _ : state) {
        if (back) ts::undoGroup(f.app);
        else ts::redoGroup(f.app);
        back = !back;
    }
    ts::resetPlanes(f.app);
}
BENCHMARK(BM_UndoRedo1024)->Unit(benchmark::kMillisecond);

}  // namespace
