// Selecting a 1024 x 1024-pixel map element in the main window until its preview is drawn, and
// the preview's drawing alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <string>

#include "app/app_state.h"
#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "editor/surface.h"
#include "host/file_system.h"
#include "project/element_preview.h"
#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "startup/startup.h"
#include "test_support.h"

namespace {

// A 1024 x 1024 picture of 64 different 8 x 8 tiles in 16 colours, converted to a tileset, a
// palette and a 128 x 128 map.
struct BigMapProject {
    ts::test::TempDir dir;
    ts::RecordingHost host;
    ts::App app{host};
    int map = -1;
    BigMapProject() {
        std::string rest;
        ts::prepareStartup(app, "\"" + dir.file("p.tsp") + "\"", dir.path(), rest);
        ts::Surface s;
        ts::createSurface(s, 1024, 1024);
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1024; ++x) {
                const int tile = ((x / 8) * 7 + (y / 8) * 3) % 64;
                s.at(x, y) = ((tile >> ((x + y) % 6)) & 1) ? uint32_t(tile % 16) * 0x0F0D0B : 0xFFFFFF;
            }
        ts::saveImageFile(s, {}, dir.file("big.png"));
        ts::runConversion(app, "tset src=big col=16");
        map = ts::TrouveElement(app, ts::TYPE_CARTE, "big");
    }
};

void BM_PreviewDrawMap1024(benchmark::State& state) {
    BigMapProject project;
    if (project.map < 0) {
        state.SkipWithError("conversion failed");
        return;
    }
    ts::ElementPreview preview;
    for (auto _ : state) {
        ts::buildPreview(project.app, project.map, ts::PreviewSettings{}, 0xEFEFEF, preview);
        benchmark::DoNotOptimize(preview.surface.pixels.data());
    }
    state.counters["width"] = preview.surface.width;
}
BENCHMARK(BM_PreviewDrawMap1024)->Unit(benchmark::kMillisecond);

void BM_SelectMap1024UntilDrawn(benchmark::State& state) {
    BigMapProject project;
    if (project.map < 0) {
        state.SkipWithError("conversion failed");
        return;
    }
    ts::MainWindow window(project.app);
    window.askSaveName = [] { return std::string(); };
    window.resize(900, 600);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        window.tree()->selectBranch(3);  // the Palettes text: the next selection draws anew
        QApplication::processEvents();
        state.ResumeTiming();
        window.tree()->selectRecord(project.map);
        window.panelContent()->repaint();
    }
}
BENCHMARK(BM_SelectMap1024UntilDrawn)->Unit(benchmark::kMillisecond);

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
