#include "editor/object_tools.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/map_view_renderer.h"
#include "formats/object_list.h"
#include "host/message_box.h"
#include "resources/texts.h"

namespace ts {

namespace {

bool activeList(const EditorDocument& doc) {
    return doc.count > 0 && doc.active >= 0 && doc.active < doc.count && doc.planes[size_t(doc.active)].kind == PlaneList;
}

int objectCount(const ObjectList& list) {
    if (list.entrySize <= 0) return 0;
    return int(std::min<int64_t>(list.count, int64_t(list.entries.size()) / list.entrySize));
}

int64_t snap(int64_t v, int step) {
    if (step <= 1) return v;
    return int64_t(std::floor(double(v) / step + 0.5)) * step;
}

int64_t roundDown(int64_t v, int step) {
    if (step <= 1) return v;
    return v >= 0 ? v / step * step : -((-v + step - 1) / step) * step;
}

// The objects a command acts on: the selection, or the current object.
std::vector<int> chosenObjects(const EditorSession& s, int count) {
    std::vector<int> out;
    for (int i : s.selectedObjects) if (i >= 0 && i < count) out.push_back(i);
    if (out.empty() && s.currentObject >= 0 && s.currentObject < count) out.push_back(s.currentObject);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// Appends a copy of a record (the fields the two sizes share) at x, y. False when the list is full
// (the message was shown).
bool appendRecord(App& app, ObjectList& list, const uint8_t* record, int recordSize, int32_t x, int32_t y) {
    int32_t type = 0;
    if (recordSize >= 12) std::memcpy(&type, record + 8, 4);
    if (!addListEntry(app, list, x, y, type)) return false;
    const int i = list.count - 1;
    uint8_t* dest = list.entries.data() + size_t(i) * size_t(list.entrySize);
    if (recordSize > 12 && list.entrySize > 12)
        std::memcpy(dest + 12, record + 12, size_t(std::min(recordSize, list.entrySize) - 12));
    setEntryPosition(list, i, x, y);
    return true;
}

bool overlaps(int64_t x, int64_t y, int bw, int bh, int64_t l, int64_t t, int64_t r, int64_t b) {
    return x < r && x + bw > l && y < b && y + bh > t;
}

}  // namespace

void objectPlanePoint(const EditorDocument& doc, int slot, int px, int py, int64_t& x, int64_t& y) {
    const PlaneRecord& p = doc.planes[size_t(slot)];
    x = roundDown(int64_t(double(doc.scrollX) * effectiveRateX(doc, slot)), p.gridX) + px;
    y = roundDown(int64_t(double(doc.scrollY) * effectiveRateY(doc, slot)), p.gridY) + py;
}

int objectAt(const PlaneRecord& plane, int64_t x, int64_t y) {
    const ObjectList& list = plane.objects;
    for (int i = objectCount(list) - 1; i >= 0; --i) {
        const int64_t ox = entryX(list, i), oy = entryY(list, i);
        if (x >= ox && x < ox + plane.blockWidth && y >= oy && y < oy + plane.blockHeight) return i;
    }
    return -1;
}

bool pressObject(App& app, EditorSession& s, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    if (!activeList(doc)) return false;
    PlaneRecord& plane = doc.planes[size_t(doc.active)];
    int64_t x, y;
    objectPlanePoint(doc, doc.active, px, py, x, y);
    const int hit = objectAt(plane, x, y);
    if (hit < 0) return false;
    const bool selected = std::find(s.selectedObjects.begin(), s.selectedObjects.end(), hit) != s.selectedObjects.end();
    if (mods.ctrl) {
        if (s.selectedObjects.empty() && s.currentObject >= 0 && s.currentObject != hit)
            s.selectedObjects.push_back(s.currentObject);
        if (!selected) s.selectedObjects.push_back(hit);
    } else if (!selected) {
        s.selectedObjects.clear();
    }
    s.currentObject = hit;
    s.movedObjects = chosenObjects(s, objectCount(plane.objects));
    s.moveOrigins.clear();
    for (int i : s.movedObjects) {
        s.moveOrigins.push_back(entryX(plane.objects, i));
        s.moveOrigins.push_back(entryY(plane.objects, i));
    }
    return true;
}

EditReport moveObjects(App& app, EditorSession& s, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!activeList(doc)) return report;
    PlaneRecord& plane = doc.planes[size_t(doc.active)];
    ObjectList& list = plane.objects;
    const int count = objectCount(list);
    const int64_t dx = px - s.dragStartX, dy = py - s.dragStartY;
    const int64_t maxX = plane.width > 0 ? int64_t(plane.width) * plane.blockWidth - plane.blockWidth : INT32_MAX;
    const int64_t maxY = plane.height > 0 ? int64_t(plane.height) * plane.blockHeight - plane.blockHeight : INT32_MAX;
    for (size_t k = 0; k < s.movedObjects.size() && 2 * k + 1 < s.moveOrigins.size(); ++k) {
        const int i = s.movedObjects[k];
        if (i < 0 || i >= count) continue;
        int64_t x = s.moveOrigins[2 * k] + dx, y = s.moveOrigins[2 * k + 1] + dy;
        if (!mods.shift) {
            x = snap(x, plane.gridX);
            y = snap(y, plane.gridY);
        }
        x = std::clamp<int64_t>(x, 0, std::max<int64_t>(maxX, 0));
        y = std::clamp<int64_t>(y, 0, std::max<int64_t>(maxY, 0));
        if (x != entryX(list, i) || y != entryY(list, i)) {
            setEntryPosition(list, i, int32_t(x), int32_t(y));
            report.changed = true;
        }
    }
    s.moveLastX = px;
    s.moveLastY = py;
    return report;
}

EditReport finishObjectMove(App& app, EditorSession& s) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!activeList(doc)) return report;
    const ObjectList& list = doc.planes[size_t(doc.active)].objects;
    for (size_t k = 0; k < s.movedObjects.size() && 2 * k + 1 < s.moveOrigins.size(); ++k) {
        const int i = s.movedObjects[k];
        if (i < objectCount(list) && (entryX(list, i) != s.moveOrigins[2 * k] || entryY(list, i) != s.moveOrigins[2 * k + 1]))
            report.changed = true;
    }
    s.movedObjects.clear();
    s.moveOrigins.clear();
    finishEdit(app, report);
    return report;
}

EditReport objectRectangle(App& app, EditorSession& s, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!activeList(doc)) return report;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    const ObjectList& list = plane.objects;
    int64_t x0, y0, x1, y1;
    objectPlanePoint(doc, doc.active, s.dragStartX, s.dragStartY, x0, y0);
    objectPlanePoint(doc, doc.active, px, py, x1, y1);
    int64_t l = std::min(x0, x1), t = std::min(y0, y1), r = std::max(x0, x1) + 1, b = std::max(y0, y1) + 1;
    if (!mods.shift) {
        l = roundDown(l, plane.gridX);
        t = roundDown(t, plane.gridY);
        r = -roundDown(-r, plane.gridX);
        b = -roundDown(-b, plane.gridY);
    }
    const int count = objectCount(list);
    if (mods.ctrl) {
        for (int i = 0; i < count; ++i) {
            if (!overlaps(entryX(list, i), entryY(list, i), plane.blockWidth, plane.blockHeight, l, t, r, b)) continue;
            auto it = std::find(s.selectedObjects.begin(), s.selectedObjects.end(), i);
            if (it != s.selectedObjects.end()) s.selectedObjects.erase(it);
            else s.selectedObjects.push_back(i);
        }
        return report;
    }
    if (!allocateStore(doc.store)) return report;
    SelectionStore& store = doc.store;
    emptyStore(store);
    StoredObjects& out = store.objects[0];
    out.recordSize = list.entrySize;
    const int limit = maxListEntries(app);
    for (int i = 0; i < count && out.count < limit; ++i) {
        if (!overlaps(entryX(list, i), entryY(list, i), plane.blockWidth, plane.blockHeight, l, t, r, b)) continue;
        const uint8_t* record = list.entries.data() + size_t(i) * size_t(list.entrySize);
        out.records.insert(out.records.end(), record, record + list.entrySize);
        const int32_t rx = int32_t(entryX(list, i) - l), ry = int32_t(entryY(list, i) - t);
        std::memcpy(out.records.data() + size_t(out.count) * size_t(list.entrySize), &rx, 4);
        std::memcpy(out.records.data() + size_t(out.count) * size_t(list.entrySize) + 4, &ry, 4);
        ++out.count;
    }
    const int bw = std::max(plane.blockWidth, 1), bh = std::max(plane.blockHeight, 1);
    store.width = int(std::min<int64_t>((r - l + bw - 1) / bw, kStoreSide));
    store.height = int(std::min<int64_t>((b - t + bh - 1) / bh, kStoreSide));
    store.layerCount = 1;
    store.ownerPlane = doc.active;
    store.rect = StoreRect{int(l), int(t), int(r - bw), int(b - bh)};
    return report;
}

namespace {

// The rectangle of cells a list plane may receive objects in: the map's cells when the plane has
// a size, else a bounded area from 0.
CellRect listArea(const PlaneRecord& plane, const CellRect& rect) {
    CellRect r = rect;
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, plane.width > 0 ? plane.width - 1 : 4095);
    r.bottom = std::min(r.bottom, plane.height > 0 ? plane.height - 1 : 4095);
    return r;
}

}  // namespace

void paintObjectLayer(App& app, int slot, const CellRect& area, int layer, EditReport& report) {
    EditorDocument& doc = editorDocument(app);
    const SelectionStore& store = doc.store;
    if (slot < 0 || slot >= doc.count || layer < 0 || layer >= kStoreCopyLayers || store.empty()) return;
    PlaneRecord& plane = doc.planes[size_t(slot)];
    if (plane.kind != PlaneList) return;
    const CellRect rect = listArea(plane, area);
    const StoredObjects& objects = store.objects[size_t(layer)];
    if (rect.empty() || objects.count <= 0 || objects.recordSize < 12) return;
    const int64_t bw = plane.blockWidth, bh = plane.blockHeight;
    for (int64_t ty = rect.top; ty <= rect.bottom; ty += store.height) {
        for (int64_t tx = rect.left; tx <= rect.right; tx += store.width) {
            for (int k = 0; k < objects.count; ++k) {
                const uint8_t* record = objects.records.data() + size_t(k) * size_t(objects.recordSize);
                int32_t rx, ry;
                std::memcpy(&rx, record, 4);
                std::memcpy(&ry, record + 4, 4);
                const int64_t x = tx * bw + rx, y = ty * bh + ry;
                if (x >= (int64_t(rect.right) + 1) * bw || y >= (int64_t(rect.bottom) + 1) * bh) continue;
                if (!appendRecord(app, plane.objects, record, objects.recordSize, int32_t(x), int32_t(y))) return;
                report.add(slot, rect);
            }
        }
    }
}

void copyObjectsToLayer(App& app, int slot, const CellRect& rect, int layer) {
    EditorDocument& doc = editorDocument(app);
    if (slot < 0 || slot >= doc.count || layer < 0 || layer >= kStoreCopyLayers || rect.empty()) return;
    const PlaneRecord& plane = doc.planes[size_t(slot)];
    if (plane.kind != PlaneList) return;
    const ObjectList& list = plane.objects;
    StoredObjects& out = doc.store.objects[size_t(layer)];
    out.count = 0;
    out.records.clear();
    out.recordSize = list.entrySize;
    const int64_t bw = plane.blockWidth, bh = plane.blockHeight;
    const int64_t l = rect.left * bw, t = rect.top * bh, r = (int64_t(rect.right) + 1) * bw, b = (int64_t(rect.bottom) + 1) * bh;
    const int limit = maxListEntries(app);
    for (int i = 0; i < objectCount(list) && out.count < limit; ++i) {
        if (!overlaps(entryX(list, i), entryY(list, i), plane.blockWidth, plane.blockHeight, l, t, r, b)) continue;
        const uint8_t* record = list.entries.data() + size_t(i) * size_t(list.entrySize);
        out.records.insert(out.records.end(), record, record + list.entrySize);
        const int32_t rx = int32_t(entryX(list, i) - l), ry = int32_t(entryY(list, i) - t);
        std::memcpy(out.records.data() + size_t(out.count) * size_t(list.entrySize), &rx, 4);
        std::memcpy(out.records.data() + size_t(out.count) * size_t(list.entrySize) + 4, &ry, 4);
        ++out.count;
    }
}

void paintObjects(App& app, EditorSession& s, const CellRect& rect, EditReport& report) {
    EditorDocument& doc = editorDocument(app);
    if (!activeList(doc) || rect.empty()) return;
    if (!doc.store.empty()) {
        paintObjectLayer(app, doc.active, rect, 0, report);
        return;
    }
    PlaneRecord& plane = doc.planes[size_t(doc.active)];
    const CellRect area = listArea(plane, rect);
    if (doc.currentPattern == 0 || area.empty()) return;
    for (int64_t y = area.top; y <= area.bottom; ++y)
        for (int64_t x = area.left; x <= area.right; ++x) {
            if (!addListEntry(app, plane.objects, int32_t(x * plane.blockWidth), int32_t(y * plane.blockHeight),
                              int32_t(doc.currentPattern)))
                return;
            report.add(doc.active, area);
        }
}

bool copyObjects(App& app, EditorSession& s) {
    EditorDocument& doc = editorDocument(app);
    if (!activeList(doc)) return false;
    const ObjectList& list = doc.planes[size_t(doc.active)].objects;
    const std::vector<int> chosen = chosenObjects(s, objectCount(list));
    if (chosen.empty()) return false;
    s.objectClipboard.clear();
    for (int i : chosen) {
        const uint8_t* record = list.entries.data() + size_t(i) * size_t(list.entrySize);
        s.objectClipboard.insert(s.objectClipboard.end(), record, record + list.entrySize);
    }
    s.clipboardEntrySize = list.entrySize;
    s.clipboardCount = int(chosen.size());
    return true;
}

EditReport deleteObjects(App& app, EditorSession& s) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!activeList(doc)) return report;
    ObjectList& list = doc.planes[size_t(doc.active)].objects;
    const std::vector<int> chosen = chosenObjects(s, objectCount(list));
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
        const size_t at = size_t(*it) * size_t(list.entrySize);
        list.entries.erase(list.entries.begin() + ptrdiff_t(at), list.entries.begin() + ptrdiff_t(at + size_t(list.entrySize)));
        --list.count;
        report.changed = true;
    }
    s.selectedObjects.clear();
    s.currentObject = -1;
    finishEdit(app, report);
    return report;
}

EditReport cutObjects(App& app, EditorSession& s) {
    if (!copyObjects(app, s)) return {};
    return deleteObjects(app, s);
}

EditReport pasteObjects(App& app, EditorSession& s, CellPoint cell) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!activeList(doc) || s.clipboardCount <= 0 || s.clipboardEntrySize < 12) return report;
    PlaneRecord& plane = doc.planes[size_t(doc.active)];
    ObjectList& list = plane.objects;
    int32_t minX = INT32_MAX, minY = INT32_MAX;
    for (int k = 0; k < s.clipboardCount; ++k) {
        int32_t x, y;
        std::memcpy(&x, s.objectClipboard.data() + size_t(k) * size_t(s.clipboardEntrySize), 4);
        std::memcpy(&y, s.objectClipboard.data() + size_t(k) * size_t(s.clipboardEntrySize) + 4, 4);
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    const int64_t baseX = int64_t(cell.x) * plane.blockWidth, baseY = int64_t(cell.y) * plane.blockHeight;
    for (int k = 0; k < s.clipboardCount; ++k) {
        const uint8_t* record = s.objectClipboard.data() + size_t(k) * size_t(s.clipboardEntrySize);
        int32_t x, y;
        std::memcpy(&x, record, 4);
        std::memcpy(&y, record + 4, 4);
        if (!appendRecord(app, list, record, s.clipboardEntrySize, int32_t(baseX + (int64_t(x) - minX)),
                          int32_t(baseY + (int64_t(y) - minY))))
            break;
        report.changed = true;
    }
    finishEdit(app, report);
    return report;
}

}  // namespace ts
