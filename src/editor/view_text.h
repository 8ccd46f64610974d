#pragma once
// The small fixed-width font of the view's overlays (timed messages, information popup).
#include <cstdint>
#include <string_view>

#include "editor/surface.h"

namespace ts {

constexpr int kGlyphWidth = 7;       // advance of one character, pixels
constexpr int kGlyphHeight = 12;     // rows of one glyph
constexpr int kTextLineHeight = 14;  // one overlay line

int textWidth(std::string_view text);
// Opaque text in one pixel word (0x00RRGGBB), clipped to the target; (x, y) is the top-left corner.
void drawText(Surface& target, int x, int y, std::string_view text, uint32_t pixel);

}  // namespace ts
