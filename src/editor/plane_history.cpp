#include "editor/plane_history.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ts {

namespace {

int64_t copyBytes(const HistoryCopy& copy) {
    return int64_t(copy.cellCount) * int64_t(sizeof(uint32_t)) + int64_t(copy.objects.size());
}

// A copy of the plane as it is now. A map's chunks that equal those of `previous` (the copy the
// plane was last snapshotted into) are shared with it. Throws std::bad_alloc.
std::unique_ptr<HistoryCopy> takeCopy(const PlaneRecord& plane, const HistoryCopy* previous) {
    auto copy = std::make_unique<HistoryCopy>();
    if (plane.kind == PlaneList) {
        size_t n = size_t(plane.objects.count) * size_t(plane.objects.entrySize);
        n = std::min(n, plane.objects.entries.size());
        copy->objects.assign(plane.objects.entries.begin(), plane.objects.entries.begin() + std::ptrdiff_t(n));
        copy->objectCount = plane.objects.count;
        return copy;
    }
    const size_t n = plane.cells.size();
    const size_t chunks = (n + kHistoryChunkCells - 1) / kHistoryChunkCells;
    const bool compare = previous && previous->cellCount == n && previous->chunks.size() == chunks;
    copy->cellCount = n;
    copy->chunks.resize(chunks);
    for (size_t i = 0; i < chunks; ++i) {
        const uint32_t* cells = plane.cells.data() + i * kHistoryChunkCells;
        const size_t count = std::min(kHistoryChunkCells, n - i * kHistoryChunkCells);
        const HistoryChunk& before = compare ? previous->chunks[i] : HistoryChunk();
        if (before && before->size() == count && std::memcmp(before->data(), cells, count * sizeof(uint32_t)) == 0)
            copy->chunks[i] = before;
        else
            copy->chunks[i] = std::make_shared<const std::vector<uint32_t>>(cells, cells + count);
    }
    return copy;
}

void restoreCopy(PlaneRecord& plane, const HistoryCopy& copy) {
    if (plane.kind == PlaneList) {
        plane.objects.entries = copy.objects;
        plane.objects.count = copy.objectCount;
        return;
    }
    if (copy.cellCount != plane.cells.size()) return;
    size_t at = 0;
    for (const HistoryChunk& chunk : copy.chunks) {
        if (!chunk || chunk->size() > plane.cells.size() - at) return;
        std::memcpy(plane.cells.data() + at, chunk->data(), chunk->size() * sizeof(uint32_t));
        at += chunk->size();
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
        h.index -= 1;
        h.top = std::max(0, int32_t(h.copies.size()) - 1);
        h.forcedModified = true;
    }
    // 2. Copies after the current one are dropped (no redo after a new edit).
    size_t keep = size_t(h.index + 1);
    while (h.copies.size() > keep) {
        std::unique_ptr<HistoryCopy> last = std::move(h.copies.back());
        h.copies.pop_back();
        if (last) {
            int64_t freed = copyBytes(*last);
            h.bytes -= freed;
            budget.used -= freed;
        }
    }
    // 3. The new copy, sharing what did not change since the current one.
    try {
        const HistoryCopy* current = h.copies.empty() ? nullptr : h.copies.back().get();
        std::unique_ptr<HistoryCopy> block = takeCopy(plane, current);
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
