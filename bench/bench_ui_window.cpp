// The window with a project of 1000 elements: interactive start until the main window is shown
// with its tree built, and a rebuild of the tree (20 nested folders). And what the window's
// progress display adds to a multi-palette conversion.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <string>

#include "../tests/convert/conv_test_helpers.h"
#include "app/app_state.h"
#include "convert/conv_command.h"
#include "host/file_system.h"
#include "host/ui/window_host.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "startup/startup.h"
#include "startup/ui/interactive_start.h"
#include "test_support.h"

namespace {

// 1000 records: 20 folders nested one in the other, the elements of every type spread over them
// and the branches.
void fillProject(ts::App& app) {
    static const uint32_t types[] = {ts::TYPE_MOSAIQUE, ts::TYPE_CARTE, ts::TYPE_PALETTE, ts::TYPE_LISTE, ts::TYPE_BITMAP};
    for (int i = 0; i < 20; ++i) {
        ts::ElementRecord folder;
        folder.name = "Folder " + std::to_string(i);
        folder.typeAndFlags = ts::kFolderFlag;
        if (i > 0) {
            folder.typeAndFlags |= ts::kInFolderFlag;
            folder.folder = "Folder " + std::to_string(i - 1);
        }
        ts::appendElementRecord(app, folder);
    }
    for (int i = 20; i < ts::kElementCapacity; ++i) {
        ts::ElementRecord r;
        r.name = "Element " + std::to_string(i);
        r.file = "data/element" + std::to_string(i) + ".c";
        r.typeAndFlags = types[i % 5];
        if (i % 3 != 0) {
            r.typeAndFlags |= ts::kInFolderFlag;
            r.folder = "Folder " + std::to_string(i % 20);
        }
        ts::appendElementRecord(app, r);
    }
}

void BM_InteractiveStart1000(benchmark::State& state) {
    ts::test::TempDir dir;
    {
        ts::RecordingHost host;
        ts::App app(host);
        std::string rest;
        ts::prepareStartup(app, "\"" + dir.file("p.tsp") + "\"", dir.path(), rest);
        fillProject(app);
        ts::WriteProject(app, dir.file("p.tsp"));
    }
    ts::InteractiveOptions options;
    options.splash = false;
    for (auto _ : state) {
        ts::WindowHost host;
        ts::App app(host);
        std::string rest;
        ts::prepareStartup(app, "\"" + dir.file("p.tsp") + "\"", dir.path(), rest);
        std::unique_ptr<ts::MainWindow> window = ts::openMainWindow(app, &host, nullptr, options);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->tree()->topLevelItemCount());
        state.PauseTiming();
        window->askSaveName = [] { return std::string(); };
        window->runCommand(ts::CmdQuitWithoutSaving);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InteractiveStart1000)->Unit(benchmark::kMillisecond);

void BM_TreeRebuild1000(benchmark::State& state) {
    ts::RecordingHost host;
    ts::App app(host);
    std::string rest;
    ts::test::TempDir dir;
    ts::prepareStartup(app, "\"" + dir.file("p.tsp") + "\"", dir.path(), rest);
    fillProject(app);
    ts::MainWindow window(app);
    window.show();
    for (auto _ : state) {
        window.tree()->rebuild();
        benchmark::DoNotOptimize(window.tree()->topLevelItemCount());
    }
    window.askSaveName = [] { return std::string(); };
}
BENCHMARK(BM_TreeRebuild1000)->Unit(benchmark::kMillisecond);

// A 256 x 256 picture of 1024 different tiles over four colour sets, converted to four
// sub-palettes by the assignment (not the exact packing): without a window (0), and in the main
// window with its progress display (1).
void BM_MultiPaletteConversion(benchmark::State& state) {
    ts::test::TempDir dir;
    ts::test::writePicture(dir.file("tiles.png"), 256, 256, [](int x, int y) {
        const uint32_t mixed = uint32_t((x / 8) * 131 + (y / 8) * 71 + (x % 8) * 13 + (y % 8) * 29) * 2654435761u;
        const int set = (x / 8 + y / 8) % 4, c = int((mixed >> 16) % 15);
        return uint32_t(((set * 8 + c % 4) * 8) << 16 | ((c / 4) * 64) << 8 | (31 - set * 7) * 8);
    });
    ts::RecordingHost recording;
    ts::WindowHost windowHost;
    const bool inWindow = state.range(0) != 0;
    ts::App app(inWindow ? static_cast<ts::HostServices&>(windowHost) : recording);
    std::string rest;
    ts::prepareStartup(app, "\"" + dir.file("p.tsp") + "\"", dir.path(), rest);
    app.convert.exactPacking = 0;
    std::unique_ptr<ts::MainWindow> window;
    if (inWindow) {
        window = std::make_unique<ts::MainWindow>(app);
        window->resize(900, 560);
        window->show();
        windowHost.setOwner(window.get());
        QApplication::processEvents();
    }
    for (auto _ : state) {
        ts::runConversion(app, "tset src=tiles +16c col=64");
        QApplication::processEvents();
    }
    if (window) {
        window->askSaveName = [] { return std::string(); };
        windowHost.setOwner(nullptr);
    }
}
BENCHMARK(BM_MultiPaletteConversion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
