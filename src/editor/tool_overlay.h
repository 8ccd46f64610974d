#pragma once
// What the tools draw over the view (the cell under the mouse with the pattern it would write,
// the select and paint rectangles, the store's frame, the information popup) and the pattern
// panel beside the view.
#include <cstdint>

#include "editor/editor_session.h"
#include "editor/surface.h"
#include "formats/platform_types.h"

namespace ts {

constexpr uint32_t kSelectBoxColour = 0xFF8040;    // window colour order
constexpr int kSelectBoxAlpha = 96;
constexpr uint32_t kStoreFrameColour = 0xFFFFFF;   // window colour order
constexpr int kStoreFrameAlpha = 160;
constexpr int kPopupOffset = 16;                   // pixels right of and below the mouse
constexpr int kHighlightPeriodMs = 1024;           // colour cycle of the panel's highlight

// Draws the tools' overlay of the active plane into the view surface. The platform (when given)
// tells whether the plane's tiles hold colours.
void drawToolOverlay(Surface& target, const EditorDocument& doc, const EditorSession& session, uint64_t nowMs,
                     const PlatformRecord* platform = nullptr);

// The pattern panel: the active plane's blocks in rows of (panel width / block width), from the
// "Reference tile number" on, with the panel's opacity and the highlight of the current pattern
// and of the block under the mouse.
void drawPatternPanel(Surface& panel, const EditorDocument& doc, const EditorSession& session, uint64_t nowMs,
                      const PlatformRecord* platform = nullptr);

}  // namespace ts
