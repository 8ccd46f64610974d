#pragma once
// Drawing of an element's data as the main window's preview shows it: a bitmap pixel for pixel, a
// palette as 16 x 16 squares, a tileset as rows of tiles, a map cell by cell with its tileset. Data
// is loaded through the current platform. Pixels that stay undrawn or have a transparent colour
// take the background colour.
#include <cstdint>

#include "editor/surface.h"

namespace ts {

struct App;
struct ElementRecord;

constexpr int kPreviewPaletteColumns = 16;  // colours per row of the palette preview
constexpr int kPreviewTilesetWidth = 256;   // pixels per row of the tileset preview
constexpr int kPreviewSwatch = 16;          // side of one palette colour

// Each gives false when the element cannot be loaded (the loader has said why) or the picture
// is larger than a surface may be. `background` is a pixel word 0x00RRGGBB.
bool renderBitmapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out);
bool renderPaletteElement(App& app, const ElementRecord& element, uint32_t background, Surface& out);
bool renderTilesetElement(App& app, const ElementRecord& element, uint32_t background, Surface& out);
// The map view's drawing of every cell, one tile-sized block each: tile number, mirror bits and
// palette bank are decoded when the plane's emulation flag is set (system.emulgba, or the
// Maps[k].EmulGBA line of the map's settings script for the plane that opens it).
bool renderMapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out);

}  // namespace ts
