// The document's history commands: snapshots, undo and redo of one plane or of the active
// plane's link group, keeping the title, the buttons and the memory text in step.
#include "editor/editor_document.h"
#include "editor/plane_history.h"

namespace ts {

void pushSnapshot(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return;
    pushPlaneSnapshot(doc.planes[size_t(slot)], HistoryBudget{doc.memoryUsed, doc.memoryLimit});
    if (slot == doc.active) {
        updateUndoButtons(doc);
        updateTitle(doc);
    }
    updateMemoryText(doc);
}

void undo(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return;
    undoPlane(doc.planes[size_t(slot)]);
    if (slot == doc.active) {
        updateUndoButtons(doc);
        updateTitle(doc);
    }
}

void redo(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return;
    redoPlane(doc.planes[size_t(slot)]);
    if (slot == doc.active) {
        updateUndoButtons(doc);
        updateTitle(doc);
    }
}

void resetHistory(App& app, int slot) { restartHistory(app, slot, false); }

bool restartHistory(App& app, int slot, bool keepModified) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return false;
    PlaneRecord& p = doc.planes[size_t(slot)];
    bool wasModified = planeModified(p);
    // The old copies go only once the new first copy exists.
    UndoHistory old = std::move(p.history);
    p.history = UndoHistory{};
    doc.memoryUsed -= old.bytes;
    if (!pushPlaneSnapshot(p, HistoryBudget{doc.memoryUsed, doc.memoryLimit})) {
        p.history = std::move(old);
        doc.memoryUsed += p.history.bytes;
        return false;
    }
    p.history.savedIndex = keepModified && !wasModified ? p.history.index : 0;
    p.history.forcedModified = keepModified ? wasModified : true;
    updateTitle(doc);
    updateUndoButtons(doc);
    updateMemoryText(doc);
    return true;
}

void pushGroupSnapshot(App& app) {
    for (int s : activeGroup(editorDocument(app))) pushSnapshot(app, s);
}
void undoGroup(App& app) {
    for (int s : activeGroup(editorDocument(app))) undo(app, s);
}
void redoGroup(App& app) {
    for (int s : activeGroup(editorDocument(app))) redo(app, s);
}
void resetGroupHistory(App& app, int slot) {
    for (int s : groupOf(editorDocument(app), slot)) resetHistory(app, s);
}

}  // namespace ts
