#include "editor/specimen_view.h"

#include <algorithm>

#include "editor/map_view_renderer.h"
#include "editor/plane_property_rules.h"
#include "editor/surface_primitives.h"

namespace ts {

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The cell under a view pixel, clipped to the cells the view shows.
void cellUnder(const EditorDocument& doc, const SpecimenView& view, int px, int py, int& col, int& row) {
    const PlaneRecord* p = specimenPlane(doc);
    if (!p) return;
    int c = floorDiv(px, p->blockWidth), r = floorDiv(py, p->blockHeight);
    c = std::clamp(c, 0, std::max(specimenVisibleCols(doc, view) - 1, 0));
    r = std::clamp(r, 0, std::max(specimenVisibleRows(doc, view) - 1, 0));
    col = view.firstCol + c;
    row = view.firstRow + r;
}

}  // namespace

const PlaneRecord* specimenPlane(const EditorDocument& doc) {
    if (doc.specimenPlanes.empty()) return nullptr;
    int slot = doc.specimenPlanes.front();
    if (!planeOpen(doc, slot)) return nullptr;
    const PlaneRecord& p = doc.planes[size_t(slot)];
    if (p.kind != PlaneMap || p.blockWidth <= 0 || p.blockHeight <= 0) return nullptr;
    if (p.cells.size() < size_t(p.width) * size_t(p.height)) return nullptr;
    return &p;
}

int specimenVisibleCols(const EditorDocument& doc, const SpecimenView& view) {
    const PlaneRecord* p = specimenPlane(doc);
    return p ? (std::max(view.viewWidth, 0) + p->blockWidth - 1) / p->blockWidth : 0;
}

int specimenVisibleRows(const EditorDocument& doc, const SpecimenView& view) {
    const PlaneRecord* p = specimenPlane(doc);
    return p ? (std::max(view.viewHeight, 0) + p->blockHeight - 1) / p->blockHeight : 0;
}

int specimenMaxCol(const EditorDocument& doc, const SpecimenView& view) {
    const PlaneRecord* p = specimenPlane(doc);
    return p ? std::max(p->width - std::max(view.viewWidth, 0) / p->blockWidth, 0) : 0;
}

int specimenMaxRow(const EditorDocument& doc, const SpecimenView& view) {
    const PlaneRecord* p = specimenPlane(doc);
    return p ? std::max(p->height - std::max(view.viewHeight, 0) / p->blockHeight, 0) : 0;
}

bool specimenScrollTo(const EditorDocument& doc, SpecimenView& view, int col, int row) {
    col = std::clamp(col, 0, specimenMaxCol(doc, view));
    row = std::clamp(row, 0, specimenMaxRow(doc, view));
    if (col == view.firstCol && row == view.firstRow) return false;
    view.firstCol = col;
    view.firstRow = row;
    if (view.mark == SpecimenMark::Picked) view.mark = SpecimenMark::None;
    return true;
}

bool specimenRectOutside(const EditorDocument& doc, const SpecimenView& view) {
    const PlaneRecord* p = specimenPlane(doc);
    if (!p) return true;
    int right = std::max(view.startCol, view.endCol), bottom = std::max(view.startRow, view.endRow);
    int left = std::min(view.startCol, view.endCol), top = std::min(view.startRow, view.endRow);
    return left < 0 || top < 0 || right >= p->width || bottom >= p->height;
}

void drawSpecimen(Surface& target, const EditorDocument& doc, const SpecimenView& view, const PlatformRecord* platform) {
    if (target.empty()) return;
    fillRect(target, 0, 0, target.width, target.height, doc.background);
    const PlaneRecord* p = specimenPlane(doc);
    if (!p) return;
    const int bw = p->blockWidth, bh = p->blockHeight;
    FramePalette palette;
    makeFramePalette(*p, palette);
    const bool direct = platform && tilesHoldColours(*p, platform);
    const int cols = std::min(target.width / bw + 1, p->width - view.firstCol);
    const int rows = std::min(target.height / bh + 1, p->height - view.firstRow);
    for (int r = 0; r < rows; ++r) {
        const uint32_t* cells = p->cells.data() + size_t(view.firstRow + r) * size_t(p->width) + size_t(view.firstCol);
        for (int c = 0; c < cols; ++c) {
            const int64_t entry = tileOfValue(*p, cells[c]);
            if (entry >= 0) drawCell(target, c * bw, r * bh, *p, palette, uint32_t(entry), 0, direct);
        }
    }
    if (view.mark == SpecimenMark::None) return;
    const int left = std::min(view.startCol, view.endCol) - view.firstCol;
    const int top = std::min(view.startRow, view.endRow) - view.firstRow;
    const int w = (std::abs(view.endCol - view.startCol) + 1) * bw;
    const int h = (std::abs(view.endRow - view.startRow) + 1) * bh;
    if (view.mark == SpecimenMark::Picked) {
        blendRect(target, left * bw, top * bh, w, h, kSpecimenWhite, kSpecimenMarkAlpha);
    } else {
        uint32_t fill = specimenRectOutside(doc, view) ? kSpecimenRed : kSpecimenWhite;
        blendRect(target, left * bw, top * bh, w, h, fill, kSpecimenDragAlpha);
    }
    blendFrame(target, left * bw, top * bh, w, h, kSpecimenBlack, 256);
}

void specimenPress(const EditorDocument& doc, SpecimenView& view, int px, int py) {
    if (!specimenPlane(doc)) return;
    cellUnder(doc, view, px, py, view.startCol, view.startRow);
    view.endCol = view.startCol;
    view.endRow = view.startRow;
    view.mouseX = px;
    view.mouseY = py;
    view.mark = SpecimenMark::Dragging;
}

void specimenMove(const EditorDocument& doc, SpecimenView& view, int px, int py) {
    if (view.mark != SpecimenMark::Dragging) return;
    view.mouseX = px;
    view.mouseY = py;
    cellUnder(doc, view, px, py, view.endCol, view.endRow);
}

bool specimenRelease(App& app, SpecimenView& view, int px, int py) {
    const EditorDocument& doc = editorDocument(app);
    if (view.mark != SpecimenMark::Dragging) return false;
    specimenMove(doc, view, px, py);
    if (specimenRectOutside(doc, view) ||
        !pickSpecimen(app, view.startCol, view.startRow, view.endCol, view.endRow)) {
        view.mark = SpecimenMark::None;
        return false;
    }
    view.mark = SpecimenMark::Picked;
    return true;
}

bool specimenDragScroll(const EditorDocument& doc, SpecimenView& view, uint64_t nowMs, bool shift) {
    if (view.mark != SpecimenMark::Dragging) return false;
    int dx = view.mouseX < 0 ? -1 : view.mouseX >= view.viewWidth ? 1 : 0;
    int dy = view.mouseY < 0 ? -1 : view.mouseY >= view.viewHeight ? 1 : 0;
    if (dx == 0 && dy == 0) return false;
    if (view.lastScrollMs != 0 && nowMs < view.lastScrollMs + kSpecimenDragIntervalMs) return false;
    view.lastScrollMs = nowMs;
    const int step = shift ? kSpecimenDragCellsShift : kSpecimenDragCells;
    const int col = view.firstCol + dx * step, row = view.firstRow + dy * step;
    bool moved = false;
    // The drag's own mark stays while the view moves under it.
    int c = std::clamp(col, 0, specimenMaxCol(doc, view)), r = std::clamp(row, 0, specimenMaxRow(doc, view));
    if (c != view.firstCol || r != view.firstRow) {
        view.firstCol = c;
        view.firstRow = r;
        moved = true;
    }
    cellUnder(doc, view, view.mouseX, view.mouseY, view.endCol, view.endRow);
    return moved;
}

}  // namespace ts
