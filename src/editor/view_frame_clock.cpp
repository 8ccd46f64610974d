// When the view needs a new frame: a digest of everything a frame shows, and the clock that ages
// the timed messages between frames.
#include <algorithm>
#include <cstring>

#include "editor/map_view_renderer.h"

namespace ts {

namespace {

struct Digest {
    uint64_t h = 1469598103934665603ull;
    void add(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        // Eight bytes at a time, then the tail: fast enough for the cells of one view.
        size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 1099511628211ull;
            h ^= h >> 29;
        }
        for (; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    template <typename T>
    void value(const T& v) { add(&v, sizeof v); }
};

void addOptions(Digest& d, const EditorOptions& o) {
    d.value(o.zoom); d.value(o.gridShown); d.value(o.gridColor); d.value(o.alphaGrid);
    d.value(o.alphaForeground); d.value(o.alphaGfx); d.value(o.alphaHex); d.value(o.transparency);
    d.value(o.hexMode); d.value(o.fillZeros); d.value(o.hexActiveMap); d.value(o.preciseZoom);
}

void addPlane(Digest& d, const EditorDocument& doc, int slot, int viewWidth, int viewHeight) {
    const PlaneRecord& p = doc.planes[size_t(slot)];
    d.value(p.kind); d.value(p.width); d.value(p.height); d.value(p.blockWidth); d.value(p.blockHeight);
    d.value(p.gridX); d.value(p.gridY); d.value(p.scrollRateX); d.value(p.scrollRateY); d.value(p.visible);
    d.value(p.emulGba); d.value(p.tileOffset); d.value(p.displayMask); d.value(p.ruleCount); d.value(p.tileCount);
    d.add(p.rules.data(), sizeof(ValueRule) * size_t(std::clamp(p.ruleCount, 0, kMaxPlaneRules)));
    d.add(p.palette.data(), sizeof(uint32_t) * p.palette.size());
    const void* tiles = p.tiles.data();
    d.value(tiles);
    d.value(p.history.index);
    if (p.kind == PlaneList) {
        d.value(p.objects.count);
        d.add(p.objects.entries.data(), p.objects.entries.size());
        return;
    }
    // The cells in view (the same walk as the drawing).
    if (p.blockWidth <= 0 || p.blockHeight <= 0 || p.cells.size() < size_t(p.width) * size_t(p.height)) return;
    const int64_t firstCol = int64_t(double(doc.scrollX) * effectiveRateX(doc, slot) / p.blockWidth);
    const int64_t firstRow = int64_t(double(doc.scrollY) * effectiveRateY(doc, slot) / p.blockHeight);
    const int64_t cols = std::min<int64_t>(viewWidth / p.blockWidth + 1, p.width - firstCol);
    const int64_t rows = std::min<int64_t>(viewHeight / p.blockHeight + 1, p.height - firstRow);
    if (firstCol < 0 || firstRow < 0 || cols <= 0) return;
    for (int64_t r = 0; r < rows; ++r)
        d.add(p.cells.data() + size_t(firstRow + r) * size_t(p.width) + size_t(firstCol), size_t(cols) * 4);
}

}  // namespace

uint64_t frameSignature(const EditorDocument& doc, int viewWidth, int viewHeight, uint64_t overlayState) {
    Digest d;
    d.value(viewWidth); d.value(viewHeight); d.value(overlayState);
    d.value(doc.count); d.value(doc.active); d.value(doc.scrollX); d.value(doc.scrollY); d.value(doc.background);
    addOptions(d, doc.options);
    const int count = std::clamp(doc.count, 0, MaxPlanes);
    if (doc.active >= 0 && doc.active < count)
        for (int slot = 0; slot < count; ++slot) addPlane(d, doc, slot, viewWidth, viewHeight);
    d.value(doc.messages.size());
    for (const TimedMessage& m : doc.messages) d.add(m.text.data(), m.text.size());
    return d.h;
}

void ViewClock::compose(Surface& target, EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                        const ObjectHighlight& highlight, uint64_t nowMs, uint64_t overlayState,
                        const PlatformRecord* platform) {
    if (drawn_ && nowMs > lastMs_) ageMessages(doc, int32_t(std::min<uint64_t>(nowMs - lastMs_, 1u << 30)));
    lastMs_ = nowMs;
    composeView(target, doc, multiPalettes, overlay, highlight, platform, tiles_);
    lastSignature_ = frameSignature(doc, target.width, target.height, overlayState);
    lastWidth_ = target.width;
    lastHeight_ = target.height;
    drawn_ = true;
}

bool ViewClock::frameDiffers(const EditorDocument& doc, uint64_t nowMs, bool animating, uint64_t overlayState,
                             int viewWidth, int viewHeight) const {
    if (!drawn_ || animating) return true;
    // A message that has run out by now leaves the next frame.
    const uint64_t elapsed = nowMs > lastMs_ ? nowMs - lastMs_ : 0;
    for (const TimedMessage& m : doc.messages)
        if (int64_t(m.remainingMs) - int64_t(elapsed) <= 0) return true;
    if (viewWidth < 0) viewWidth = lastWidth_;
    if (viewHeight < 0) viewHeight = lastHeight_;
    return frameSignature(doc, viewWidth, viewHeight, overlayState) != lastSignature_;
}

}  // namespace ts
