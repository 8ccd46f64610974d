#pragma once
// The program's fixed 256-colour halftone palette and its ordered dither.
//
// Entries 0..215: the 6 x 6 x 6 colour cube (index = r * 36 + g * 6 + b, levels 0, 51, ..., 255);
// 216..254: a grey ramp (level k * 255 / 40 for k = 1..39); entry 245 is then replaced with white
// and entry 255 with red 0, green 0, blue 1, so the dither never picks 245 or 255 for a colour
// other than white and never picks 255 at all.
#include <array>
#include <cstdint>

namespace ts {

// The 256 entries as pixel words 0x00RRGGBB, replacements applied.
const std::array<uint32_t, 256>& halftonePalette();

// Palette index of pixel word 0x..RRGGBB at surface position (x, y) under an 8 x 8 ordered
// dither: greys dither between the grey levels, other colours within the colour cube.
uint8_t halftoneIndex(uint32_t pixel, int x, int y);

}  // namespace ts
