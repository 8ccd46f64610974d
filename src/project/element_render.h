#pragma once
// An element drawn whole as the main window's preview draws it, for images written out: a bitmap
// pixel for pixel, a palette as 16 x 16 squares in rows of 16, a tileset in rows 256 pixels wide,
// a map as the map editor shows it with its settings script applied. Pixels that stay undrawn or
// have a transparent colour take the background colour.
#include <cstdint>

#include "editor/surface.h"

namespace ts {

struct App;
struct ElementRecord;

// False when the element cannot be loaded (the loader has said why), has no picture (lists,
// folders) or is larger than a surface may be. `background` is a pixel word 0x00RRGGBB.
bool renderElement(App& app, int index, uint32_t background, Surface& out);
bool renderMapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out);

}  // namespace ts
