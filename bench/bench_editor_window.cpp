// The map editor window on a 1024 x 1024 map (offscreen platform): the frame on screen after a
// 100 x 100 rectangle is painted with the mouse and released, and an idle tick. With
// --idle-seconds=N the program instead leaves the editor open for N seconds in the event loop
// and prints the CPU time the process used (scripts/editor-idle-cpu.sh).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QStyleFactory>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/map_view_widget.h"
#include "project/creation_forms.h"
#include "project/element_table.h"
#include "script/interpreter.h"
#include "startup/startup.h"
#include "test_support.h"

namespace {

constexpr int kMapSide = 1024;   // cells of the benchmark's map in each direction
constexpr int kPaintSide = 100;  // cells of the painted rectangle in each direction

// A recording host whose clock runs (the editor's fades and messages follow real time).
class ClockHost : public ts::RecordingHost {
public:
    uint64_t milliseconds() const override { return ts::HostServices::milliseconds(); }
};

// The demo project's level converted, and a 1024 x 1024 map made over its tileset.
struct EditorBench {
    ts::test::TempDir dir;
    ClockHost host;
    ts::App app{host};
    ts::EditorWindow* window = nullptr;

    EditorBench() {
        std::filesystem::copy(std::string(TS_SOURCE_DIR) + "/examples/demo", dir.path(),
                              std::filesystem::copy_options::recursive);
        std::string rest;
        ts::prepareStartup(app, "\"" + dir.file("demo.tsp") + "\"", dir.path(), rest);
        ts::runScriptText(app, "conv tset src=level +16c col=64");
        host.memoryAvailable = uint64_t(1) << 31;
        ts::GiantMapFormState form;
        form.file = "giant.map.c";
        form.width = std::to_string(kMapSide);
        form.height = std::to_string(kMapSide);
        form.blockSize = 0;
        if (!ts::runGiantMapForm(app, form)) std::fprintf(stderr, "giant map: %s\n", host.lastText().c_str());
        const int index = ts::elementTable(app).count() - 1;
        window = ts::openEditorWindow(app, ts::elementTable(app).records[size_t(index)]);
        if (!window) {
            std::fprintf(stderr, "the editor did not open: %s\n", host.lastText().c_str());
            std::exit(1);
        }
        window->resize(1000, 900);
        QApplication::processEvents();
        ts::editorDocument(app).messages.clear();
        window->tick();
    }
    ~EditorBench() {
        host.answers.assign(ts::MaxPlanes, ts::Answer::No);
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QPoint cellPoint(int x, int y) const { return QPoint(x * 8 + 4, y * 8 + 4); }
};

void BM_FrameAfterPaintRelease(benchmark::State& state) {
    EditorBench b;
    ts::EditorDocument& doc = ts::editorDocument(b.app);
    QWidget* view = b.window->view();
    const QPoint from = b.cellPoint(0, 0), to = b.cellPoint(kPaintSide - 1, kPaintSide - 1);
    uint32_t pattern = 1;
    for (auto _ : state) {
        state.PauseTiming();
        doc.currentPattern = pattern++ % 8;
        QTest::mouseMove(view, from);
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(view, to);
        b.window->tick();
        state.ResumeTiming();
        // Release, the paint with its snapshot, the next tick's frame and its copy on the screen.
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
        b.window->tick();
        view->repaint();
    }
    state.counters["frames"] = b.window->framesDrawn();
}
BENCHMARK(BM_FrameAfterPaintRelease)->Unit(benchmark::kMillisecond);

void BM_IdleTick(benchmark::State& state) {
    EditorBench b;
    for (int i = 0; i < 3; ++i) b.window->tick();
    const int frames = b.window->framesDrawn();
    for (auto _ : state) b.window->tick();
    state.counters["frames"] = b.window->framesDrawn() - frames;
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kMicrosecond);

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The program's event loop for a while, as it runs between the user's actions.
void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The editor open on the 1024 x 1024 map, nothing touched, for `seconds` of the event loop.
int measureIdle(int seconds) {
    EditorBench b;
    const int framesBefore = b.window->framesDrawn();
    // Let the first messages and the panel's fade settle before measuring.
    runEventLoop(3500);
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runEventLoop(seconds * 1000);
    const double cpu = cpuSeconds() - cpu0, elapsed = double(wall.elapsed()) / 1000.0;
    std::printf("editor idle on a %dx%d map: %.3f s CPU over %.1f s = %.2f %% of one core (%d frames drawn in all)\n",
                kMapSide, kMapSide, cpu, elapsed, 100.0 * cpu / elapsed, b.window->framesDrawn() - framesBefore);
    return 100.0 * cpu / elapsed < 1.0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--idle-seconds=", 15) == 0) return measureIdle(std::max(1, std::atoi(argv[i] + 15)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
