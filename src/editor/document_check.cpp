// The document's invariants, for tests and the fuzzer.
#include "editor/editor_document.h"
#include "editor/plane_history.h"
#include "host/message_box.h"

namespace ts {

std::string checkDocument(const EditorDocument& doc) {
    if (doc.count < 0 || doc.count > MaxPlanes) return formatText("plane count %i", doc.count);
    if (doc.count > 0 && (doc.active < 0 || doc.active >= doc.count)) return formatText("active plane %i", doc.active);
    int64_t sum = 0;
    for (int s = 0; s < MaxPlanes; ++s) {
        const PlaneRecord& p = doc.planes[size_t(s)];
        const UndoHistory& h = p.history;
        sum += h.bytes;
        if (s >= doc.count) {
            if (h.bytes != 0 || !h.copies.empty()) return formatText("closed slot %i holds a history", s);
            continue;
        }
        if (p.kind == PlaneMap && p.cells.size() != size_t(p.width) * size_t(p.height))
            return formatText("plane %i: %zu cells for %i x %i", s, p.cells.size(), p.width, p.height);
        if (p.kind == PlaneList &&
            p.objects.entries.size() < size_t(p.objects.count) * size_t(p.objects.entrySize))
            return formatText("plane %i: %i objects in %zu bytes", s, p.objects.count, p.objects.entries.size());
        if (h.index < -1 || (h.index >= 0 && h.index > h.top)) return formatText("plane %i: index %i top %i", s, h.index, h.top);
        size_t expected = h.index < 0 ? 0 : size_t(h.top) + 1;
        if (h.copies.size() != expected) return formatText("plane %i: %zu copies, top %i", s, h.copies.size(), h.top);
        int64_t bytes = 0;
        for (const auto& c : h.copies) {
            if (!c) return formatText("plane %i: empty copy", s);
            bytes += int64_t(c->cellCount) * 4 + int64_t(c->objects.size());
            if (p.kind == PlaneMap && c->cellCount != p.cells.size())
                return formatText("plane %i: copy of %zu cells", s, c->cellCount);
            size_t held = 0;
            for (const HistoryChunk& chunk : c->chunks) held += chunk ? chunk->size() : 0;
            if (held != c->cellCount) return formatText("plane %i: copy of %zu cells holds %zu", s, c->cellCount, held);
        }
        if (bytes != h.bytes) return formatText("plane %i: %lld bytes counted, %lld held", s, (long long)h.bytes, (long long)bytes);
        if (p.ruleCount < 0 || p.ruleCount > kMaxPlaneRules) return formatText("plane %i: %i rules", s, p.ruleCount);
        if (h.index >= kMaxHistoryCopies + 1) return formatText("plane %i: %i copies", s, h.index);
    }
    if (sum != doc.memoryUsed) return formatText("memory counter %lld, histories %lld", (long long)doc.memoryUsed, (long long)sum);
    for (int s = 0; s < MaxPlanes; ++s)
        for (int i = 0; i < doc.links[size_t(s)].size(); ++i)
            if (doc.links[size_t(s)][i] >= MaxPlanes) return formatText("link list %i names %i", s, doc.links[size_t(s)][i]);
    for (int s : doc.specimenPlanes)
        if (s < 0 || s >= doc.count) return formatText("specimen plane %i", s);
    if (doc.messages.size() > size_t(kMaxMessages)) return "too many messages";
    return {};
}

}  // namespace ts
