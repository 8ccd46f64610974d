#include "editor/tool_overlay.h"

#include <algorithm>

#include "editor/map_view_renderer.h"
#include "editor/surface_primitives.h"
#include "editor/view_text.h"

namespace ts {

namespace {

bool hasActive(const EditorDocument& doc) { return doc.count > 0 && doc.active >= 0 && doc.active < doc.count; }

// The pattern value written at a cell of a paint rectangle whose top-left cell is (left, top):
// the store's block repeated, or the current pattern. False for a hole of the store.
bool patternAt(const EditorDocument& doc, int layer, int dx, int dy, uint32_t& value) {
    const SelectionStore& store = doc.store;
    if (store.empty() || !store.allocated()) {
        value = doc.currentPattern;
        return true;
    }
    value = store.row(layer, dy % store.height)[dx % store.width];
    return value != doc.options.invisibleBlock && !(doc.options.zeroMask && value == 0);
}

void drawValue(Surface& target, const EditorDocument& doc, const PlaneRecord& plane, const FramePalette& palette,
               int x, int y, uint32_t value, bool direct) {
    if (doc.options.hexMode) {
        drawHexValue(target, x, y, plane.blockWidth, plane.blockHeight, value + uint32_t(plane.tileOffset),
                     plane.valueMask == 0xFF, doc.options.fillZeros != 0);
        return;
    }
    const int64_t entry = tileOfValue(plane, value);
    if (entry >= 0) drawCell(target, x, y, plane, palette, uint32_t(entry), 0, direct);
}

void drawPopup(Surface& target, const EditorDocument& doc, const EditorSession& s) {
    const std::vector<std::string> lines = popupLines(doc, s);
    int width = 0;
    for (const std::string& l : lines) width = std::max(width, textWidth(l));
    width += 6;
    const int height = int(lines.size()) * kTextLineHeight + 4;
    int x = s.hoverX + kPopupOffset, y = s.hoverY + kPopupOffset;
    if (x + width > target.width) x = s.hoverX - kPopupOffset - width;
    if (y + height > target.height) y = s.hoverY - kPopupOffset - height;
    blendRect(target, x, y, width, height, 0x000000, 128);
    blendFrame(target, x, y, width, height, 0x0000FF, 128);
    for (size_t i = 0; i < lines.size(); ++i) drawText(target, x + 3, y + 2 + int(i) * kTextLineHeight, lines[i], 0xFFFFFF);
}

// Colour of the panel's highlight, cycling with kHighlightPeriodMs (window colour order).
uint32_t highlightColour(uint64_t nowMs) {
    const uint32_t phase = uint32_t(nowMs % kHighlightPeriodMs) * 3 * 256 / kHighlightPeriodMs;  // 0..767
    const uint32_t part = phase % 256, which = phase / 256;
    const uint32_t up = part, down = 255 - part;
    if (which == 0) return down | (up << 8);          // red to green
    if (which == 1) return (down << 8) | (up << 16);  // green to blue
    return (down << 16) | up;                          // blue to red
}

}  // namespace

void drawToolOverlay(Surface& target, const EditorDocument& doc, const EditorSession& s, uint64_t nowMs,
                     const PlatformRecord* platform) {
    if (!hasActive(doc)) return;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    const bool direct = tilesHoldColours(plane, platform);
    const int bw = std::max(plane.blockWidth, 1), bh = std::max(plane.blockHeight, 1);
    FramePalette palette;
    makeFramePalette(plane, palette);
    const int64_t firstCol = int64_t(double(doc.scrollX) / bw), firstRow = int64_t(double(doc.scrollY) / bh);
    auto cellX = [&](int64_t col) { return int((col - firstCol) * bw); };
    auto cellY = [&](int64_t row) { return int((row - firstRow) * bh); };

    if (plane.kind == PlaneMap) {
        // The store's rectangle, framed.
        if (!doc.store.empty() && doc.store.ownerPlane >= 0) {
            const StoreRect& r = doc.store.rect;
            blendFrame(target, r.left - int(firstCol * bw), r.top - int(firstRow * bh), r.right - r.left + bw,
                       r.bottom - r.top + bh, kStoreFrameColour, kStoreFrameAlpha);
        }
        int layer = 0;
        if (doc.store.ownerPlane >= 0 && doc.store.ownerPlane < MaxPlanes) {
            const LinkList& owner = doc.links[size_t(doc.store.ownerPlane)];
            layer = storeLayerOf(doc.store, std::span<const uint8_t>(owner.members.data(), size_t(owner.size())),
                                 doc.active);
        }
        if (s.drag == DragKind::Select) {
            const CellRect r = cellRectBetween(s.dragStartCell.x, s.dragStartCell.y, s.dragCell.x, s.dragCell.y);
            blendRect(target, cellX(r.left), cellY(r.top), r.width() * bw, r.height() * bh, kSelectBoxColour,
                      kSelectBoxAlpha);
        } else if (s.drag == DragKind::Paint) {
            const CellRect r = clipToPlane(
                cellRectBetween(s.dragStartCell.x, s.dragStartCell.y, s.dragCell.x, s.dragCell.y), plane);
            const int64_t viewCols = target.width / bw + 1, viewRows = target.height / bh + 1;
            for (int64_t y = std::max<int64_t>(r.top, firstRow); y <= std::min<int64_t>(r.bottom, firstRow + viewRows); ++y)
                for (int64_t x = std::max<int64_t>(r.left, firstCol); x <= std::min<int64_t>(r.right, firstCol + viewCols); ++x) {
                    uint32_t value;
                    if (patternAt(doc, layer, int(x - r.left), int(y - r.top), value))
                        drawValue(target, doc, plane, palette, cellX(x), cellY(y), value, direct);
                }
        } else if (s.hovering && s.drag == DragKind::None) {
            const CellPoint c = s.hoverCell;
            if (c.x >= 0 && c.y >= 0 && c.x < plane.width && c.y < plane.height)
                drawValue(target, doc, plane, palette, cellX(c.x), cellY(c.y), doc.currentPattern, direct);
        }
    } else if (plane.kind == PlaneList && s.drag == DragKind::ObjectRect) {
        const int x0 = std::min(s.dragStartX, s.hoverX), y0 = std::min(s.dragStartY, s.hoverY);
        blendRect(target, x0, y0, std::abs(s.hoverX - s.dragStartX) + 1, std::abs(s.hoverY - s.dragStartY) + 1,
                  kSelectBoxColour, kSelectBoxAlpha);
    }
    if (popupVisible(doc, s, nowMs)) drawPopup(target, doc, s);
}

void drawPatternPanel(Surface& panel, const EditorDocument& doc, const EditorSession& s, uint64_t nowMs,
                      const PlatformRecord* platform) {
    if (panel.empty()) return;
    fillRect(panel, 0, 0, panel.width, panel.height, doc.background & 0xFFFFFFu);
    if (!hasActive(doc)) return;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    const bool direct = tilesHoldColours(plane, platform);
    const int bw = std::max(plane.blockWidth, 1), bh = std::max(plane.blockHeight, 1);
    const int perRow = std::max(panel.width / bw, 1);
    FramePalette palette;
    makeFramePalette(plane, palette);
    const int rows = panel.height / bh + 1;
    const int64_t currentTile = tileOfValue(plane, doc.currentPattern);
    const uint32_t currentBlock = currentTile >= 0 ? (plane.emulGba ? plane.layout.tile(uint32_t(currentTile))
                                                                    : uint32_t(currentTile)) : UINT32_MAX;
    const int highlight = (s.panelOpacity - kMinPanelOpacity) / 2;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < perRow; ++col) {
            const int64_t k = (int64_t(row) + s.panelScrollRows) * perRow + col;
            const int64_t tile = k + plane.tileOffset;
            if (tile < 0 || tile >= plane.tileCount) continue;
            const bool current = uint32_t(tile) == currentBlock;
            const int a = (current && doc.store.empty()) ? 0 : std::clamp(s.panelOpacity, 1, 255);
            // The panel shows blocks, never the map's flag bits.
            const int x = col * bw, y = row * bh;
            drawCell(panel, x, y, plane, palette, uint32_t(tile) & (plane.emulGba ? plane.layout.tileMask : ~0u), a,
                     direct);
            if (s.panelOpacity > kMinPanelOpacity && (current || (s.panelHover && k == s.panelHoverBlock)))
                blendRect(panel, x, y, bw, bh, highlightColour(nowMs), highlight);
        }
}

}  // namespace ts
