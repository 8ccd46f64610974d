#include "editor/plane_history.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ts {

namespace {

int64_t copyBytes(const HistoryCopy& copy) {
    return int64_t(copy.cells.size()) * int64_t(sizeof(uint32_t)) + int64_t(copy.objects.size());
}

// Fills a copy from the plane without clearing memory first (assign reuses the capacity).
void takeCopy(const PlaneRecord& plane, HistoryCopy& copy) {
    if (plane.kind == PlaneList) {
        size_t n = size_t(plane.objects.count) * size_t(plane.objects.entrySize);
        n = std::min(n, plane.objects.entries.size());
        copy.cells.clear();
        copy.objects.assign(plane.objects.entries.begin(), plane.objects.entries.begin() + std::ptrdiff_t(n));
        copy.objectCount = plane.objects.count;
    } else {
        copy.objects.clear();
        copy.cells.assign(plane.cells.begin(), plane.cells.end());
        copy.objectCount = 0;
    }
}

void restoreCopy(PlaneRecord& plane, const HistoryCopy& copy) {
    if (plane.kind == PlaneList) {
        plane.objects.entries = copy.objects;
        plane.objects.count = copy.objectCount;
    } else if (copy.cells.size() == plane.cells.size()) {
        std::memcpy(plane.cells.data(), copy.cells.data(), copy.cells.size() * sizeof(uint32_t));
    }
}

}  // namespace

bool pushPlaneSnapshot(PlaneRecord& plane, HistoryBudget budget) {
    UndoHistory& h = plane.history;
    // 1. At the budget or the cap, the oldest copy goes.
    if (h.index >= 2 && (h.index >= kMaxHistoryCopies || budget.used >= budget.limit)) {
        std::unique_ptr<HistoryCopy> oldest = std::move(h.copies.front());
        h.copies.pop_front();
        int64_t freed = oldest ? copyBytes(*oldest) : 0;
        h.bytes -= freed;
        budget.used -= freed;
        h.spare = std::move(oldest);
        h.index -= 1;
        h.top = std::max(0, int32_t(h.copies.size()) - 1);
        h.forcedModified = true;
    }
    // 2. Copies after the current one are dropped (no redo after a new edit); one block is kept.
    size_t keep = size_t(h.index + 1);
    while (h.copies.size() > keep) {
        std::unique_ptr<HistoryCopy> last = std::move(h.copies.back());
        h.copies.pop_back();
        if (last) {
            int64_t freed = copyBytes(*last);
            h.bytes -= freed;
            budget.used -= freed;
            if (!h.spare) h.spare = std::move(last);
        }
    }
    // 3. The new copy, in the spare block when there is one.
    try {
        std::unique_ptr<HistoryCopy> block = h.spare ? std::move(h.spare) : std::make_unique<HistoryCopy>();
        takeCopy(plane, *block);
        int64_t added = copyBytes(*block);
        h.copies.push_back(std::move(block));
        h.bytes += added;
        budget.used += added;
    } catch (const std::bad_alloc&) {
        h.top = std::max(0, h.index);
        return false;
    }
    h.index += 1;
    h.top = h.index;
    return true;
}

bool undoPlane(PlaneRecord& plane) {
    UndoHistory& h = plane.history;
    if (h.index < 1 || size_t(h.index) > h.copies.size()) return false;
    h.index -= 1;
    restoreCopy(plane, *h.copies[size_t(h.index)]);
    return true;
}

bool redoPlane(PlaneRecord& plane) {
    UndoHistory& h = plane.history;
    if (h.index >= h.top || size_t(h.index + 1) >= h.copies.size()) return false;
    h.index += 1;
    restoreCopy(plane, *h.copies[size_t(h.index)]);
    return true;
}

void freePlaneHistory(PlaneRecord& plane, int64_t& used) {
    UndoHistory& h = plane.history;
    used -= h.bytes;
    h.copies.clear();
    h.copies.shrink_to_fit();
    h.spare.reset();
    h.bytes = 0;
    h.index = -1;
    h.top = 0;
}

bool planeModified(const PlaneRecord& plane) {
    return plane.history.index != plane.history.savedIndex || plane.history.forcedModified;
}

bool canUndoPlane(const PlaneRecord& plane) { return plane.history.index >= 1; }
bool canRedoPlane(const PlaneRecord& plane) { return plane.history.index < plane.history.top; }

}  // namespace ts
