#pragma once
// Clipped drawing primitives. Every primitive draws into the render target passed as its first
// argument and clips to (0, 0)-(width, height) of that target; negative x or y shorten the drawn
// part. Source blocks are w * h words, row by row from the top (w words per row).
//
// Colours: `pixel` arguments are pixel words 0x00RRGGBB; the blending primitives take `colour`
// in the window system's order 0x00BBGGRR. Opacity `a`: 0..255 blends, 256 or more means opaque.
// Blend of source s over destination d, per colour byte: (s * a + d * (255 - a)) / 256, so a blend
// at 255 still darkens slightly and differs from an opaque copy.
//
// Indexed copies look up (index & mask) in `palette`; an index beyond the palette draws black.
// An empty palette means the block holds direct colours (pixel words) instead of indices.
// Mirroring: hMirror writes each source row right to left, vMirror writes the source rows
// bottom to top; both together rotate by 180 degrees.
#include <cstdint>
#include <span>

#include "editor/surface.h"

namespace ts {

// Blend rule of one pixel word over another (fourth byte of the result is 0).
uint32_t blendPixel(uint32_t source, uint32_t destination, int a);

void fillRect(Surface& target, int x, int y, int w, int h, uint32_t pixel);
void blendRect(Surface& target, int x, int y, int w, int h, uint32_t colour, int a);
// One-pixel outline of the rectangle, blended; each outline pixel is blended once.
void blendFrame(Surface& target, int x, int y, int w, int h, uint32_t colour, int a);
// The cell's bottom row (w - 1 pixels from x) and right column (h pixels), so that adjacent grid
// cells share their lines.
void blendGridCell(Surface& target, int x, int y, int w, int h, uint32_t colour, int a);

void copyBlock(Surface& target, int x, int y, int w, int h, const uint32_t* source);
void copyBlockMirrored(Surface& target, int x, int y, int w, int h, const uint32_t* source,
                       bool hMirror, bool vMirror);

void copyIndexed(Surface& target, int x, int y, int w, int h, const uint32_t* indices,
                 std::span<const uint32_t> palette, bool hMirror, bool vMirror, uint32_t mask);
// As copyIndexed, skipping source pixels whose index (after the mask) is 0; on a direct-colour
// block, pixels whose colour word is 0.
void copyIndexedKeyed(Surface& target, int x, int y, int w, int h, const uint32_t* indices,
                      std::span<const uint32_t> palette, bool hMirror, bool vMirror, uint32_t mask);
// Blended palette copies; a >= 256 falls back to the opaque versions.
void blendIndexed(Surface& target, int x, int y, int w, int h, const uint32_t* indices,
                  std::span<const uint32_t> palette, bool hMirror, bool vMirror, uint32_t mask,
                  int a);
void blendIndexedKeyed(Surface& target, int x, int y, int w, int h, const uint32_t* indices,
                       std::span<const uint32_t> palette, bool hMirror, bool vMirror,
                       uint32_t mask, int a);

// Direct-colour versions (tile formats without a palette). The keyed one skips words equal to 0.
void blendBlock(Surface& target, int x, int y, int w, int h, const uint32_t* source,
                bool hMirror, bool vMirror, int a);
void blendBlockKeyed(Surface& target, int x, int y, int w, int h, const uint32_t* source,
                     bool hMirror, bool vMirror, int a);

}  // namespace ts
