// Fuzz target: the number fields of the editor's dialogs, and the specimen window's view with a
// plane, a view size, scroll positions and mouse positions from the input (picks must stay
// inside the plane and the store, frames inside the surface).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/dialog_numbers.h"
#include "editor/editor_document.h"
#include "editor/plane_property_rules.h"
#include "editor/specimen_view.h"
#include "fuzz_input.h"
#include "fuzz_program.h"

using fuzz::Input;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ts::App* app = &fuzz::startedProgram();
    Input in{data, size};

    int64_t i = 0;
    double d = 0;
    ts::readIntegerField(in.text(40), i);
    ts::readDecimalField(in.text(40), d);
    ts::planeNumberList(in.text(40));

    ts::EditorDocument& doc = ts::editorDocument(*app);
    ts::resetPlanes(*app);
    doc.specimenPlanes.clear();
    doc.memoryLimit = 1 << 24;
    for (int k = 0; k < ts::MaxPlanes; ++k) doc.links[size_t(k)] = ts::LinkList(k);
    const int planes = 1 + in.small(3);
    const int sides[4] = {8, 16, 32, 64};
    for (int s = 0; s < planes; ++s) {
        ts::PlaneRecord& p = doc.planes[size_t(s)];
        p = ts::PlaneRecord{};
        p.kind = in.small(4) ? ts::PlaneMap : ts::PlaneList;
        p.width = 1 + in.small(60);
        p.height = 1 + in.small(60);
        p.cells.assign(size_t(p.width) * size_t(p.height), 0);
        for (uint32_t& c : p.cells) c = in.word() & 0x3F;
        p.blockWidth = sides[in.small(4)];
        p.blockHeight = sides[in.small(4)];
        p.tileCount = in.small(80);
        p.tiles.assign(size_t(p.tileCount) * ts::kTileWords, 1);
        doc.count++;
        ts::addSpecimenPlane(*app, s);
    }

    ts::SpecimenView view;
    view.viewWidth = in.small(400);
    view.viewHeight = in.small(300);
    ts::specimenScrollTo(doc, view, in.signedSmall(100), in.signedSmall(100));
    ts::specimenPress(doc, view, in.signedSmall(600), in.signedSmall(600));
    ts::specimenMove(doc, view, in.signedSmall(600), in.signedSmall(600));
    ts::specimenDragScroll(doc, view, uint64_t(in.small(1000)), in.small(2) == 1);
    ts::specimenDragScroll(doc, view, uint64_t(1000 + in.small(1000)), in.small(2) == 1);
    ts::specimenRelease(*app, view, in.signedSmall(600), in.signedSmall(600));
    ts::Surface surface;
    if (view.viewWidth > 0 && view.viewHeight > 0 && ts::createSurface(surface, view.viewWidth, view.viewHeight))
        ts::drawSpecimen(surface, doc, view);
    if (!doc.store.empty() && (doc.store.width > ts::kStoreSide || doc.store.height > ts::kStoreSide)) __builtin_trap();
    return 0;
}
