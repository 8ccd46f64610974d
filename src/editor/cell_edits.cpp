#include "editor/cell_edits.h"

#include <algorithm>
#include <new>

#include "editor/map_view_renderer.h"
#include "editor/selection_operations.h"

namespace ts {

CellRect cellRectBetween(int x0, int y0, int x1, int y1) {
    return CellRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

CellRect clipToPlane(const CellRect& rect, const PlaneRecord& plane) {
    CellRect r;
    r.left = std::max(rect.left, 0);
    r.top = std::max(rect.top, 0);
    r.right = std::min(rect.right, plane.width - 1);
    r.bottom = std::min(rect.bottom, plane.height - 1);
    return r;
}

void EditReport::add(int slot, const CellRect& rect) {
    if (slot < 0 || slot >= MaxPlanes || rect.empty()) return;
    CellRect& t = touched[size_t(slot)];
    if (t.empty()) t = rect;
    else t = CellRect{std::min(t.left, rect.left), std::min(t.top, rect.top), std::max(t.right, rect.right),
                      std::max(t.bottom, rect.bottom)};
    changed = true;
}

void EditReport::merge(const EditReport& other) {
    for (int slot = 0; slot < MaxPlanes; ++slot) add(slot, other.touched[size_t(slot)]);
    changed = changed || other.changed;
}

PixelRect viewRectOfCells(const EditorDocument& doc, int slot, const CellRect& rect) {
    if (slot < 0 || slot >= doc.count || rect.empty() || doc.active < 0 || doc.active >= doc.count) return {};
    const PlaneRecord& p = doc.planes[size_t(slot)];
    const int64_t firstCol = int64_t(double(doc.scrollX) * effectiveRateX(doc, slot) / std::max(p.blockWidth, 1));
    const int64_t firstRow = int64_t(double(doc.scrollY) * effectiveRateY(doc, slot) / std::max(p.blockHeight, 1));
    PixelRect out;
    out.x = int((rect.left - firstCol) * p.blockWidth);
    out.y = int((rect.top - firstRow) * p.blockHeight);
    out.width = rect.width() * p.blockWidth;
    out.height = rect.height() * p.blockHeight;
    return out;
}

namespace {
bool mapPlane(const EditorDocument& doc, int slot) {
    return slot >= 0 && slot < doc.count && doc.planes[size_t(slot)].kind == PlaneMap &&
           doc.planes[size_t(slot)].cells.size() >= size_t(doc.planes[size_t(slot)].width) *
                                                        size_t(std::max(doc.planes[size_t(slot)].height, 0));
}
}  // namespace

void fillCells(EditorDocument& doc, int slot, const CellRect& rect, uint32_t value, EditReport& report) {
    if (!mapPlane(doc, slot)) return;
    PlaneRecord& p = doc.planes[size_t(slot)];
    const CellRect r = clipToPlane(rect, p);
    if (r.empty()) return;
    for (int y = r.top; y <= r.bottom; ++y) {
        uint32_t* row = p.cells.data() + size_t(y) * size_t(p.width);
        std::fill(row + r.left, row + r.right + 1, value);
    }
    report.add(slot, r);
}

void fillFromStore(EditorDocument& doc, int slot, const CellRect& rect, int originX, int originY, int layer,
                   EditReport& report) {
    const SelectionStore& store = doc.store;
    if (!mapPlane(doc, slot) || store.empty() || !store.allocated() || layer < 0 || layer >= kStoreLayers) return;
    PlaneRecord& p = doc.planes[size_t(slot)];
    const CellRect r = clipToPlane(rect, p);
    if (r.empty()) return;
    const int sw = std::min(store.width, kStoreSide), sh = std::min(store.height, kStoreSide);
    const uint32_t invisible = doc.options.invisibleBlock;
    const bool zeroMask = doc.options.zeroMask != 0;
    for (int y = r.top; y <= r.bottom; ++y) {
        const int sy = int(((int64_t(y) - originY) % sh + sh) % sh);
        const uint32_t* src = store.row(layer, sy);
        uint32_t* row = p.cells.data() + size_t(y) * size_t(p.width);
        int sx = int(((int64_t(r.left) - originX) % sw + sw) % sw);
        for (int x = r.left; x <= r.right; ++x) {
            const uint32_t v = src[sx];
            if (!skippedCell(v, invisible, zeroMask)) row[x] = v;
            if (++sx == sw) sx = 0;
        }
    }
    report.add(slot, r);
}

CellRect copyToStore(EditorDocument& doc, int slot, const CellRect& rect, int layer) {
    SelectionStore& store = doc.store;
    if (!mapPlane(doc, slot) || !store.allocated() || layer < 0 || layer >= kStoreCopyLayers) return {};
    const PlaneRecord& p = doc.planes[size_t(slot)];
    CellRect r = clipToPlane(rect, p);
    if (r.empty()) return {};
    r.right = std::min(r.right, r.left + kStoreSide - 1);
    r.bottom = std::min(r.bottom, r.top + kStoreSide - 1);
    for (int y = r.top; y <= r.bottom; ++y) {
        const uint32_t* row = p.cells.data() + size_t(y) * size_t(p.width);
        std::copy(row + r.left, row + r.right + 1, store.row(layer, y - r.top));
    }
    return r;
}

bool moveCells(EditorDocument& doc, int slot, int sx, int sy, int w, int h, int dx, int dy,
               std::vector<uint32_t>& block, EditReport& report) {
    if (!mapPlane(doc, slot) || w <= 0 || h <= 0) return true;
    PlaneRecord& p = doc.planes[size_t(slot)];
    // Clip the size to the plane from the source and from the destination.
    if (sx < 0 || sy < 0 || dx < 0 || dy < 0) return true;
    w = int(std::min<int64_t>({w, int64_t(p.width) - sx, int64_t(p.width) - dx}));
    h = int(std::min<int64_t>({h, int64_t(p.height) - sy, int64_t(p.height) - dy}));
    if (w <= 0 || h <= 0) return true;
    try {
        if (block.size() < size_t(w) * size_t(h)) block.resize(size_t(w) * size_t(h));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < h; ++y) {
        uint32_t* row = p.cells.data() + size_t(sy + y) * size_t(p.width) + size_t(sx);
        std::copy(row, row + w, block.data() + size_t(y) * size_t(w));
        std::fill(row, row + w, 0u);
    }
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = block.data() + size_t(y) * size_t(w);
        std::copy(src, src + w, p.cells.data() + size_t(dy + y) * size_t(p.width) + size_t(dx));
    }
    report.add(slot, CellRect{sx, sy, sx + w - 1, sy + h - 1});
    report.add(slot, CellRect{dx, dy, dx + w - 1, dy + h - 1});
    return true;
}

void finishEdit(App& app, const EditReport& report) {
    if (report.changed) pushGroupSnapshot(app);
}

}  // namespace ts
