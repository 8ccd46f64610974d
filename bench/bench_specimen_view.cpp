// The specimen window's frame: a 1024 x 1024 specimen map drawn into a 640 x 480 view with the
// drag rectangle over it, and one auto-scroll step followed by its frame.
#include <benchmark/benchmark.h>

#include "app/app_init.h"
#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/plane_property_rules.h"
#include "editor/specimen_view.h"
#include "editor/surface.h"
#include "editor/editor_test_support.h"
#include "host/host_services.h"

namespace {

constexpr int kSide = 1024;

struct Fixture {
    ts::RecordingHost host;
    ts::App app{host};
    ts::SpecimenView view;
    ts::Surface surface;

    Fixture() {
        ts::initializeApp(app);
        ts::EditorDocument& doc = ts::editorDocument(app);
        for (int s = 0; s < ts::MaxPlanes; ++s) doc.links[size_t(s)] = ts::LinkList(s);
        ts::test::makeMapPlane(doc.planes[0], kSide, kSide, 256);
        for (size_t i = 0; i < doc.planes[0].cells.size(); ++i) doc.planes[0].cells[i] = uint32_t(i * 7 % 256);
        doc.count = 1;
        ts::addSpecimenPlane(app, 0);
        view.viewWidth = 640;
        view.viewHeight = 480;
        ts::createSurface(surface, 640, 480);
        ts::specimenPress(doc, view, 40, 40);
        ts::specimenMove(doc, view, 300, 200);
    }
};

void BM_SpecimenFrame(benchmark::State& state) {
    Fixture f;
    const ts::EditorDocument& doc = ts::editorDocument(f.app);
    for (auto _ : state) {
        ts::drawSpecimen(f.surface, doc, f.view);
        benchmark::DoNotOptimize(f.surface.pixels.data());
    }
}
BENCHMARK(BM_SpecimenFrame)->Unit(benchmark::kMillisecond);

void BM_SpecimenScrollAndFrame(benchmark::State& state) {
    Fixture f;
    const ts::EditorDocument& doc = ts::editorDocument(f.app);
    f.view.mouseX = 700;  // outside, to the right
    uint64_t now = 1000;
    for (auto _ : state) {
        now += ts::kSpecimenDragIntervalMs;
        if (f.view.firstCol >= ts::specimenMaxCol(doc, f.view)) f.view.firstCol = 0;
        ts::specimenDragScroll(doc, f.view, now, false);
        ts::drawSpecimen(f.surface, doc, f.view);
        benchmark::DoNotOptimize(f.surface.pixels.data());
    }
}
BENCHMARK(BM_SpecimenScrollAndFrame)->Unit(benchmark::kMillisecond);

}  // namespace
