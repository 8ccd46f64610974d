// The texts the editor shows about its document: the title, the memory text, the state of the
// undo buttons and the timed messages.
#include <algorithm>

#include "editor/editor_document.h"
#include "editor/plane_history.h"
#include "host/message_box.h"
#include "resources/texts.h"

namespace ts {

void updateTitle(EditorDocument& doc) {
    if (!planeOpen(doc, doc.active)) {
        doc.title.clear();
        return;
    }
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    doc.title = formatText(tr(planeModified(p) ? T::EditorTitleModified : T::EditorTitle), p.element.name.c_str());
}

void updateUndoButtons(EditorDocument& doc) {
    if (!planeOpen(doc, doc.active)) {
        doc.undoEnabled = doc.redoEnabled = false;
        return;
    }
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    doc.undoEnabled = canUndoPlane(p);
    doc.redoEnabled = canRedoPlane(p);
}

void updateMemoryText(EditorDocument& doc) { doc.memoryText = memoryTextOf(doc.memoryUsed); }

std::string memoryTextOf(int64_t b) {
    if (b <= 0) return tr(T::MemNone);
    const double kb = double(b) / 1024.0, mb = double(b) / 1048576.0;
    if (b < 10240) return formatText(tr(T::MemKb2), kb);
    if (b < 102400) return formatText(tr(T::MemKb1), kb);
    if (b < 1024000) return formatText(tr(T::MemKbInt), int(b / 1024));
    if (b < 10485760) return formatText(tr(T::MemMb2), mb);
    if (b < 104857600) return formatText(tr(T::MemMb1), mb);
    if (b < 1048576000) return formatText(tr(T::MemMbInt), int(b / 1048576));
    return formatText(tr(T::MemGb2), double(b) / 1073741824.0);
}

// ---- messages ----

void postMessage(EditorDocument& doc, const std::string& text) {
    while (doc.messages.size() >= size_t(kMaxMessages)) doc.messages.pop_front();
    doc.messages.push_back(TimedMessage{text.substr(0, kMessageTextMax), kMessageLifeMs});
}

void ageMessages(EditorDocument& doc, int32_t elapsedMs) {
    for (TimedMessage& m : doc.messages) m.remainingMs -= elapsedMs;
    doc.messages.erase(std::remove_if(doc.messages.begin(), doc.messages.end(),
                                      [](const TimedMessage& m) { return m.remainingMs <= 0; }),
                       doc.messages.end());
}

}  // namespace ts
