#pragma once
// The undo history of one plane: full copies of its cells (or objects), the memory they take,
// the oldest copy dropped when the budget or the copy cap is reached.
#include <cstdint>

#include "editor/plane_record.h"

namespace ts {

// Bytes held by all histories and the most they may hold before old copies are dropped.
struct HistoryBudget {
    int64_t& used;
    int64_t limit;
};

// Takes a copy of the plane as it is now (maps: the cells; lists: the objects). When the budget
// or the copy cap is reached and the history holds at least three copies, the oldest is dropped
// first and the plane counts as modified from then on. False when memory is short: the plane and
// its history then stay as they were (apart from a dropped copy).
bool pushPlaneSnapshot(PlaneRecord& plane, HistoryBudget budget);

// Steps back (undo) or forward (redo) one copy and puts it into the plane. False at either end.
bool undoPlane(PlaneRecord& plane);
bool redoPlane(PlaneRecord& plane);

// Frees every copy and gives the bytes back to the counter; the history is then empty.
void freePlaneHistory(PlaneRecord& plane, int64_t& used);

bool planeModified(const PlaneRecord& plane);
bool canUndoPlane(const PlaneRecord& plane);
bool canRedoPlane(const PlaneRecord& plane);

}  // namespace ts
