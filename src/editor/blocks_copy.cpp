#include "editor/blocks_copy.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "editor/cell_edits.h"
#include "editor/editor_document.h"
#include "resources/texts.h"

namespace ts {

namespace {

int readCells(const std::string& text) {
    if (text.find('*') != std::string::npos) return kStarSize;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    return int(std::clamp<long>(v, -(1L << 30), 1L << 30));
}

DialogOutcome refusal(T caption, T text, bool exclamation = false) {
    DialogOutcome outcome;
    outcome.close = false;
    outcome.caption = tr(caption);
    outcome.text = tr(text);
    outcome.exclamation = exclamation;
    return outcome;
}

// The planes a block operation acts on: the active plane's group, or the active plane alone.
std::vector<int> targetPlanes(const EditorDocument& doc, bool onlyActive) {
    if (onlyActive) return {doc.active};
    return activeGroup(doc);
}

// Copy into the store (source and size given).
DialogOutcome copyIntoStore(EditorDocument& doc, int sx, int sy, int w, int h, bool onlyActive) {
    if (w >= kStoreSide || h >= kStoreSide) return refusal(T::CaptionDontExaggerate, T::BlocksCopyTooBig);
    if (!allocateStore(doc.store)) return refusal(T::CaptionOops, T::BlocksCopyNoMemory);
    const PlaneRecord& active = doc.planes[size_t(doc.active)];
    SelectionStore& store = doc.store;
    emptyStore(store);
    // A source wholly off the plane copies nothing (and its far position never enters the rect).
    if (w <= 0 || h <= 0) {
        store.ownerPlane = doc.active;
        emptyStore(store);
        return {};
    }
    store.rect = StoreRect{sx * active.blockWidth, sy * active.blockHeight, (sx + w - 1) * active.blockWidth,
                           (sy + h - 1) * active.blockHeight};
    int layer = 0;
    for (int slot : targetPlanes(doc, onlyActive)) {
        if (layer >= kStoreCopyLayers) break;
        const PlaneRecord& plane = doc.planes[size_t(slot)];
        w = std::min(w, plane.width - sx);
        h = std::min(h, plane.height - sy);
        if (plane.kind == PlaneMap && w > 0 && h > 0) {
            copyToStore(doc, slot, CellRect{sx, sy, sx + w - 1, sy + h - 1}, layer);
            store.layerFilled[size_t(layer)] = true;
        }
        ++layer;
    }
    store.width = std::max(w, 0);
    store.height = std::max(h, 0);
    store.layerCount = store.empty() ? 0 : layer;
    store.ownerPlane = doc.active;
    if (store.empty()) emptyStore(store);
    return {};
}

}  // namespace

DialogOutcome runBlocksCopy(App& app, const BlocksCopyFields& f) {
    EditorDocument& doc = editorDocument(app);
    if (doc.count <= 0 || doc.active < 0 || doc.active >= doc.count) return {};
    const bool hasSource = !f.sourceX.empty() && !f.sourceY.empty();
    const bool hasSize = !f.width.empty() && !f.height.empty();
    bool hasDestination = !f.destinationX.empty() && !f.destinationY.empty();
    int sx = readCells(f.sourceX), sy = readCells(f.sourceY);
    int w = readCells(f.width), h = readCells(f.height);
    int dx = readCells(f.destinationX), dy = readCells(f.destinationY);
    const PlaneRecord& active = doc.planes[size_t(doc.active)];

    if (hasSource && hasSize) {
        w = std::min(w, active.width - sx);
        h = std::min(h, active.height - sy);
        if (!hasDestination) {
            // A source left of or above the plane copies the part that lies on it.
            if (sx < 0) w += sx, sx = 0;
            if (sy < 0) h += sy, sy = 0;
            return copyIntoStore(doc, sx, sy, w, h, f.onlyActive);
        }
        // Move through one temporary block of the whole size, allocated before anything changes.
        std::vector<uint32_t> block;
        try {
            block.resize(size_t(std::max(w, 0)) * size_t(std::max(h, 0)));
        } catch (const std::bad_alloc&) {
            return refusal(T::CaptionOops, T::BlocksCopyNoMemory);
        }
        EditReport report;
        for (int slot : targetPlanes(doc, f.onlyActive))
            if (!moveCells(doc, slot, sx, sy, w, h, dx, dy, block, report))
                return refusal(T::CaptionOops, T::BlocksCopyNoMemory);
        finishEdit(app, report);
        return {};
    }
    if (hasSource && !hasSize) {
        dx = sx;
        dy = sy;
        hasDestination = true;
    }
    if (!hasDestination) return refusal(T::CaptionError, T::BlocksCopyInsufficient, true);

    // Fill: the given size or the store's; the store repeats over the rectangle.
    const SelectionStore& store = doc.store;
    if (!hasSize) {
        w = store.width;
        h = store.height;
    }
    EditReport report;
    const LinkList owner = (store.ownerPlane >= 0 && store.ownerPlane < MaxPlanes)
                               ? doc.links[size_t(store.ownerPlane)] : LinkList();
    const std::span<const uint8_t> ownerGroup(owner.members.data(), size_t(owner.size()));
    for (int slot : targetPlanes(doc, f.onlyActive)) {
        if (w <= 0 || h <= 0) break;
        const CellRect rect{dx, dy, int(std::min<int64_t>(int64_t(dx) + w - 1, 1 << 30)),
                            int(std::min<int64_t>(int64_t(dy) + h - 1, 1 << 30))};
        if (!store.empty()) fillFromStore(doc, slot, rect, dx, dy, storeLayerOf(store, ownerGroup, slot), report);
        else fillCells(doc, slot, rect, doc.currentPattern, report);
    }
    finishEdit(app, report);
    return {};
}

}  // namespace ts
