#include "editor/editor_session.h"

#include <algorithm>
#include <cmath>

#include "editor/map_view_renderer.h"
#include "editor/object_tools.h"
#include "editor/selection_operations.h"
#include "host/message_box.h"
#include "resources/texts.h"

namespace ts {

namespace {

bool hasActive(const EditorDocument& doc) { return doc.count > 0 && doc.active >= 0 && doc.active < doc.count; }

int64_t floorDiv(int64_t a, int64_t b) { return b <= 0 ? 0 : (a >= 0 ? a / b : -((-a + b - 1) / b)); }

// The owner's link list as the store's layers see it.
std::span<const uint8_t> ownerGroup(const EditorDocument& doc) {
    const int owner = doc.store.ownerPlane;
    if (owner < 0 || owner >= MaxPlanes) return {};
    const LinkList& list = doc.links[size_t(owner)];
    return std::span<const uint8_t>(list.members.data(), size_t(list.size()));
}

// The layer a plane paints with among several: its position in the owner's group when that
// layer was filled from a map, else -1.
int filledLayerOf(const EditorDocument& doc, int slot) {
    const std::span<const uint8_t> group = ownerGroup(doc);
    for (size_t k = 0; k < group.size(); ++k)
        if (group[k] == slot)
            return (int(k) < doc.store.layerCount && k < size_t(kStoreCopyLayers) && doc.store.layerFilled[k])
                       ? int(k) : -1;
    return -1;
}

void showPattern(EditorDocument& doc, EditorSession& session) {
    session.status = formatText(tr(T::StatusPattern), int(doc.currentPattern), doc.currentPattern);
    doc.statusText = session.status;
    session.bitsValue = int(doc.currentPattern);
}

bool insideView(const EditorSession& s, int px, int py) {
    if (s.viewWidth <= 0 || s.viewHeight <= 0) return true;
    return px >= 0 && py >= 0 && px < s.viewWidth && py < s.viewHeight;
}

// Paints the store's layers over a rectangle: several layers go each to its plane of the group
// (only the active plane when onlyActive), one layer to the active plane.
// The object layer a list plane paints with: its position in the owner's group when that layer
// holds objects, else -1.
int objectLayerOf(const EditorDocument& doc, int slot) {
    const std::span<const uint8_t> group = ownerGroup(doc);
    for (size_t k = 0; k < group.size() && k < size_t(kStoreCopyLayers); ++k)
        if (group[k] == slot) return doc.store.objects[k].count > 0 ? int(k) : -1;
    return -1;
}

void paintStore(App& app, EditorDocument& doc, const CellRect& rect, bool onlyActive, EditReport& report) {
    const SelectionStore& store = doc.store;
    if (store.layerCount <= 1) {
        fillFromStore(doc, doc.active, rect, rect.left, rect.top, 0, report);
        return;
    }
    if (onlyActive) {
        fillFromStore(doc, doc.active, rect, rect.left, rect.top, storeLayerOf(store, ownerGroup(doc), doc.active),
                      report);
        return;
    }
    for (int slot : activeGroup(doc)) {
        if (doc.planes[size_t(slot)].kind == PlaneList) {
            const int layer = objectLayerOf(doc, slot);
            if (layer >= 0) paintObjectLayer(app, slot, rect, layer, report);
            continue;
        }
        const int layer = filledLayerOf(doc, slot);
        if (layer >= 0) fillFromStore(doc, slot, rect, rect.left, rect.top, layer, report);
    }
}

}  // namespace

CellPoint cellAtPixel(const EditorDocument& doc, int slot, int surfaceX, int surfaceY) {
    if (slot < 0 || slot >= doc.count || !hasActive(doc)) return {};
    const PlaneRecord& p = doc.planes[size_t(slot)];
    const int bw = std::max(p.blockWidth, 1), bh = std::max(p.blockHeight, 1);
    const int64_t col = int64_t(double(doc.scrollX) * effectiveRateX(doc, slot) / bw) + floorDiv(surfaceX, bw);
    const int64_t row = int64_t(double(doc.scrollY) * effectiveRateY(doc, slot) / bh) + floorDiv(surfaceY, bh);
    return CellPoint{int(std::clamp<int64_t>(col, -(1 << 30), 1 << 30)),
                     int(std::clamp<int64_t>(row, -(1 << 30), 1 << 30))};
}

void scrollTo(EditorDocument& doc, int64_t x, int64_t y) {
    int stepX = 1, stepY = 1;
    if (hasActive(doc)) {
        stepX = std::max(doc.planes[size_t(doc.active)].scrollStepX, 1);
        stepY = std::max(doc.planes[size_t(doc.active)].scrollStepY, 1);
    }
    x = std::clamp<int64_t>(x, 0, 1 << 30);
    y = std::clamp<int64_t>(y, 0, 1 << 30);
    doc.scrollX = int32_t(x / stepX * stepX);
    doc.scrollY = int32_t(y / stepY * stepY);
}

void scrollByStep(EditorDocument& doc, int dx, int dy) {
    if (!hasActive(doc)) return;
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    scrollTo(doc, int64_t(doc.scrollX) + int64_t(std::clamp(dx, -1, 1)) * std::max(p.scrollStepX, 1),
             int64_t(doc.scrollY) + int64_t(std::clamp(dy, -1, 1)) * std::max(p.scrollStepY, 1));
}

bool dragScroll(App& app, EditorSession& session, uint64_t nowMs, bool shift) {
    EditorDocument& doc = editorDocument(app);
    if ((session.drag != DragKind::Paint && session.drag != DragKind::Select) || !hasActive(doc)) return false;
    if (session.viewWidth <= 0 || session.viewHeight <= 0) return false;
    const uint64_t interval = shift ? 10 : 50;
    if (nowMs < session.lastDragScrollMs + interval) return false;
    const int dx = session.hoverX < 0 ? -1 : (session.hoverX >= session.viewWidth ? 1 : 0);
    const int dy = session.hoverY < 0 ? -1 : (session.hoverY >= session.viewHeight ? 1 : 0);
    if (dx == 0 && dy == 0) return false;
    const int32_t oldX = doc.scrollX, oldY = doc.scrollY;
    scrollByStep(doc, dx, dy);
    session.lastDragScrollMs = nowMs;
    session.dragCell = cellAtPixel(doc, doc.active, session.hoverX, session.hoverY);
    return doc.scrollX != oldX || doc.scrollY != oldY;
}

EditReport paintRect(App& app, EditorSession& session, CellPoint a, CellPoint b, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!hasActive(doc)) return report;
    const CellRect rect = cellRectBetween(a.x, a.y, b.x, b.y);
    if (doc.planes[size_t(doc.active)].kind == PlaneList) {
        paintObjects(app, session, rect, report);
    } else if (doc.store.empty()) {
        fillCells(doc, doc.active, rect, doc.currentPattern, report);
    } else {
        paintStore(app, doc, rect, mods.ctrl, report);
    }
    finishEdit(app, report);
    return report;
}

bool selectRect(App& app, EditorSession& session, CellPoint a, CellPoint b, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    if (!hasActive(doc)) return false;
    const CellRect rect = cellRectBetween(a.x, a.y, b.x, b.y);
    if (rect.width() >= kStoreSide || rect.height() >= kStoreSide) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::SelectionTooBig));
        return false;
    }
    if (!allocateStore(doc.store)) return false;
    SelectionStore& store = doc.store;
    emptyStore(store);
    const std::vector<int> group = activeGroup(doc);
    const std::vector<int> slots = mods.ctrl ? std::vector<int>{doc.active} : group;
    int w = rect.width(), h = rect.height(), layer = 0;
    CellRect first;
    for (int slot : slots) {
        if (layer >= kStoreCopyLayers) break;
        if (doc.planes[size_t(slot)].kind == PlaneList) {
            copyObjectsToLayer(app, slot, rect, layer);
            ++layer;
            continue;
        }
        const CellRect copied = copyToStore(doc, slot, rect, layer);
        if (!copied.empty()) {
            w = std::min(w, copied.width());
            h = std::min(h, copied.height());
            store.layerFilled[size_t(layer)] = true;
            if (first.empty()) first = copied;
        }
        ++layer;
    }
    const PlaneRecord& active = doc.planes[size_t(doc.active)];
    if (first.empty()) {
        emptyStore(store);
        return true;
    }
    store.width = w;
    store.height = h;
    store.layerCount = layer;
    store.ownerPlane = doc.active;
    store.rect = StoreRect{first.left * active.blockWidth, first.top * active.blockHeight,
                           (first.left + w - 1) * active.blockWidth, (first.top + h - 1) * active.blockHeight};
    const int activeLayer = mods.ctrl ? 0 : storeLayerOf(store, ownerGroup(doc), doc.active);
    session.bitsValue = int(store.row(activeLayer, 0)[0]);
    if (w == 1 && h == 1 && (group.size() <= 1 || mods.ctrl)) {
        doc.currentPattern = store.row(activeLayer, 0)[0];
        emptyStore(store);
        showPattern(doc, session);
    }
    return true;
}

EditReport pasteStore(App& app, EditorSession& session) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    if (!hasActive(doc) || doc.store.empty() || int64_t(doc.store.width) * doc.store.height <= 1) return report;
    const PlaneRecord& active = doc.planes[size_t(doc.active)];
    if (active.kind != PlaneMap) return report;
    const int left = int(floorDiv(doc.store.rect.left, std::max(active.blockWidth, 1)));
    const int top = int(floorDiv(doc.store.rect.top, std::max(active.blockHeight, 1)));
    const CellRect rect{left, top, left + doc.store.width - 1, top + doc.store.height - 1};
    paintStore(app, doc, rect, false, report);
    finishEdit(app, report);
    return report;
}

uint32_t valueOfTile(const PlaneRecord& plane, uint32_t k) {
    const int rules = std::clamp(plane.ruleCount, 0, kMaxPlaneRules);
    for (int i = 0; i < rules; ++i) {
        const ValueRule& r = plane.rules[i];
        const uint32_t target = r.target();
        if (r.exact) {
            if (k == target) return r.low;
        } else if (k >= target && k - target <= r.high - r.low) {
            return k + uint32_t(r.offset);
        }
    }
    return k;
}

bool pickFromPanel(App& app, EditorSession& session, int k) {
    EditorDocument& doc = editorDocument(app);
    if (!hasActive(doc) || doc.options.hexMode) return false;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    if (k < 0 || k >= plane.tileCount) return false;
    doc.currentPattern = valueOfTile(plane, uint32_t(k));
    emptyStore(doc.store);
    showPattern(doc, session);
    return true;
}

int panelBlockAt(const EditorDocument& doc, const EditorSession& session, int panelWidth, int px, int py) {
    if (!hasActive(doc) || px < 0 || py < 0) return -1;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    const int bw = std::max(plane.blockWidth, 1), bh = std::max(plane.blockHeight, 1);
    const int perRow = std::max(panelWidth / bw, 1);
    const int column = px / bw;
    if (column >= perRow) return -1;
    const int64_t k = (int64_t(py / bh) + session.panelScrollRows) * perRow + column;
    return k > (1 << 30) ? -1 : int(k);
}

void wheel(App& app, EditorSession& session, bool away, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    if (mods.ctrl) {
        doc.options.zoom = std::clamp(doc.options.zoom + (away ? kZoomStep : -kZoomStep), 1.0, 4.0);
        return;
    }
    if (!doc.store.empty()) {
        emptyStore(doc.store);
        return;
    }
    const uint32_t mask = hasActive(doc) ? doc.planes[size_t(doc.active)].valueMask : 0xFFFFFFFFu;
    uint32_t p = doc.currentPattern & mask;
    if (doc.options.hexMode) {
        p = (away ? p - 1 : p + 1) & mask;
    } else if (away) {
        if (p > 0) --p;
    } else if (p < mask) {
        ++p;
    }
    doc.currentPattern = p;
    showPattern(doc, session);
}

void setHexMode(EditorDocument& doc, bool on) {
    doc.options.hexMode = on ? 1 : 0;
    if (!hasActive(doc)) return;
    PlaneRecord& p = doc.planes[size_t(doc.active)];
    if (on) {
        p.blockWidth = p.blockHeight = int32_t(kHexBlockSize);
    } else {
        p.blockWidth = p.defaultGridX;
        p.blockHeight = p.defaultGridY;
    }
}

void stepGrid(EditorDocument& doc, bool larger) {
    if (!hasActive(doc)) return;
    PlaneRecord& p = doc.planes[size_t(doc.active)];
    if (larger) {
        p.gridX = std::min(std::max(p.gridX, 1) * 2, kMaxGridStep);
        p.gridY = std::min(std::max(p.gridY, 1) * 2, kMaxGridStep);
    } else {
        p.gridX = std::max(p.gridX / 2, 1);
        p.gridY = std::max(p.gridY / 2, 1);
    }
}

void pressLeft(App& app, EditorSession& session, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    if (!hasActive(doc) || session.drag != DragKind::None) return;
    session.dragStartX = session.moveLastX = px;
    session.dragStartY = session.moveLastY = py;
    session.dragged = false;
    session.dragStartCell = session.dragCell = cellAtPixel(doc, doc.active, px, py);
    if (doc.planes[size_t(doc.active)].kind == PlaneList && pressObject(app, session, px, py, mods)) {
        session.drag = DragKind::MoveObjects;
        return;
    }
    session.drag = DragKind::Paint;
}

EditReport releaseLeft(App& app, EditorSession& session, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    const DragKind drag = session.drag;
    session.drag = DragKind::None;
    EditReport report;
    if (!hasActive(doc)) return report;
    if (drag == DragKind::MoveObjects) return finishObjectMove(app, session);
    if (drag != DragKind::Paint || !insideView(session, px, py)) return report;
    return paintRect(app, session, session.dragStartCell, cellAtPixel(doc, doc.active, px, py), mods);
}

void pressRight(App& app, EditorSession& session, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    if (!hasActive(doc) || session.drag != DragKind::None) return;
    session.dragStartX = px;
    session.dragStartY = py;
    session.dragged = false;
    session.dragStartCell = session.dragCell = cellAtPixel(doc, doc.active, px, py);
    session.drag = doc.planes[size_t(doc.active)].kind == PlaneList ? DragKind::ObjectRect : DragKind::Select;
}

EditReport releaseRight(App& app, EditorSession& session, int px, int py, Modifiers mods) {
    EditorDocument& doc = editorDocument(app);
    const DragKind drag = session.drag;
    session.drag = DragKind::None;
    if (!hasActive(doc) || !insideView(session, px, py)) return {};
    if (drag == DragKind::ObjectRect) return objectRectangle(app, session, px, py, mods);
    if (drag == DragKind::Select) selectRect(app, session, session.dragStartCell, cellAtPixel(doc, doc.active, px, py), mods);
    return {};
}

void pressMiddle(App& app, EditorSession& session, int px, int py) {
    EditorDocument& doc = editorDocument(app);
    if (session.drag != DragKind::None) return;
    session.drag = DragKind::Pan;
    session.dragStartX = px;
    session.dragStartY = py;
    session.dragStartScrollX = doc.scrollX;
    session.dragStartScrollY = doc.scrollY;
}

void releaseMiddle(App& app, EditorSession& session) {
    if (session.drag == DragKind::Pan) session.drag = DragKind::None;
}

EditReport mouseMove(App& app, EditorSession& session, int px, int py, Modifiers mods, uint64_t nowMs) {
    EditorDocument& doc = editorDocument(app);
    EditReport report;
    session.hovering = insideView(session, px, py);
    session.hoverX = px;
    session.hoverY = py;
    if (!hasActive(doc)) return report;
    const CellPoint cell = cellAtPixel(doc, doc.active, px, py);
    if (!(cell == session.hoverCell)) {
        session.hoverCell = cell;
        session.hoverSinceMs = nowMs;
    }
    if (session.drag == DragKind::None) return report;
    if (std::abs(px - session.dragStartX) >= kDragThreshold || std::abs(py - session.dragStartY) >= kDragThreshold)
        session.dragged = true;
    session.dragCell = cell;
    if (session.drag == DragKind::Pan) {
        const PlaneRecord& p = doc.planes[size_t(doc.active)];
        const int stepX = std::max({p.scrollStepX, p.gridX, 1}), stepY = std::max({p.scrollStepY, p.gridY, 1});
        const int64_t x = int64_t(session.dragStartScrollX) - (px - session.dragStartX);
        const int64_t y = int64_t(session.dragStartScrollY) - (py - session.dragStartY);
        doc.scrollX = int32_t(std::clamp<int64_t>(x, 0, 1 << 30) / stepX * stepX);
        doc.scrollY = int32_t(std::clamp<int64_t>(y, 0, 1 << 30) / stepY * stepY);
    } else if (session.drag == DragKind::MoveObjects) {
        report = moveObjects(app, session, px, py, mods);
    }
    return report;
}

void mouseLeave(EditorSession& session) { session.hovering = false; }

std::vector<std::string> popupLines(const EditorDocument& doc, const EditorSession& session) {
    const CellRect rect = cellRectBetween(session.dragStartCell.x, session.dragStartCell.y, session.dragCell.x,
                                          session.dragCell.y);
    if (session.drag == DragKind::Paint && !doc.store.empty())
        return {formatText(tr(T::PopupSize), rect.width(), rect.height()),
                formatText(tr(T::PopupPatternSize), doc.store.width, doc.store.height)};
    if (session.drag == DragKind::Paint || session.drag == DragKind::Select)
        return {formatText(tr(T::PopupStart), session.dragStartCell.x, session.dragStartCell.y),
                formatText(tr(T::PopupSize), rect.width(), rect.height())};
    uint32_t value = 0;
    if (hasActive(doc)) {
        const PlaneRecord& p = doc.planes[size_t(doc.active)];
        const CellPoint c = session.hoverCell;
        if (p.kind == PlaneMap && c.x >= 0 && c.y >= 0 && c.x < p.width && c.y < p.height &&
            p.cells.size() >= size_t(p.width) * size_t(p.height))
            value = p.cells[size_t(c.y) * size_t(p.width) + size_t(c.x)];
    }
    return {formatText(tr(T::PopupPosition), session.hoverCell.x, session.hoverCell.y),
            formatText(tr(T::PopupValue), int(value), value)};
}

bool popupVisible(const EditorDocument& doc, const EditorSession& session, uint64_t nowMs) {
    if (!doc.options.popupInfos || !session.hovering || session.drag == DragKind::Pan) return false;
    return nowMs >= session.hoverSinceMs + uint64_t(std::max(doc.options.popupTime, 0)) * 10u;
}

bool animatePanel(const EditorDocument& doc, EditorSession& session, int elapsedMs) {
    const int target = session.panelHover ? 255 : (doc.store.empty() ? kMinPanelOpacity : kStoredPanelOpacity);
    if (session.panelOpacity == target) return false;
    const int step = std::max(elapsedMs / 10, 1) * kPanelOpacityStep;
    if (session.panelOpacity < target) session.panelOpacity = std::min(session.panelOpacity + step, target);
    else session.panelOpacity = std::max(session.panelOpacity - step, target);
    return true;
}

bool toolsAnimating(const EditorDocument& doc, const EditorSession& s, uint64_t nowMs) {
    const int target = s.panelHover ? 255 : (doc.store.empty() ? kMinPanelOpacity : kStoredPanelOpacity);
    if (s.panelOpacity != target) return true;
    if (s.panelOpacity > kMinPanelOpacity) return true;  // the highlight's colours cycle
    if (hasActive(doc) && doc.planes[size_t(doc.active)].kind == PlaneList &&
        (s.currentObject >= 0 || !s.selectedObjects.empty()))
        return true;
    if (doc.options.popupInfos && s.hovering && s.drag != DragKind::Pan && !popupVisible(doc, s, nowMs)) return true;
    if ((s.drag == DragKind::Paint || s.drag == DragKind::Select) && s.viewWidth > 0 &&
        (s.hoverX < 0 || s.hoverY < 0 || s.hoverX >= s.viewWidth || s.hoverY >= s.viewHeight))
        return true;
    return false;
}

uint64_t overlayState(const EditorDocument& doc, const EditorSession& s, uint64_t nowMs) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](int64_t v) { h = (h ^ uint64_t(v)) * 1099511628211ull; };
    mix(int(s.drag)); mix(s.dragStartCell.x); mix(s.dragStartCell.y); mix(s.dragCell.x); mix(s.dragCell.y);
    mix(s.hovering); mix(s.hoverCell.x); mix(s.hoverCell.y); mix(popupVisible(doc, s, nowMs));
    mix(s.panelOpacity); mix(s.panelScrollRows); mix(s.panelHoverBlock); mix(doc.currentPattern);
    mix(doc.store.width); mix(doc.store.height); mix(doc.store.layerCount); mix(doc.store.rect.left);
    mix(doc.store.rect.top); mix(s.currentObject);
    for (int i : s.selectedObjects) mix(i);
    return h;
}

}  // namespace ts
