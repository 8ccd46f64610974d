#pragma once
// A map element drawn as the map editor shows it: the map opened as the editor opens it (tiles,
// palette banks, transparent colours in the given background) in a document of its own, and one
// frame of the editor's view, scrolled to the top-left corner, as large as the map. The editor's
// own document is left as it was, open or not.
#include <cstdint>

#include "editor/editor_document.h"
#include "editor/surface.h"

namespace ts {

struct App;
struct ElementRecord;

// A map opened for one frame: its own document and the palette choice of its settings.
struct MapFrame {
    EditorDocument doc;
    bool multiPalettes = true;  // "One palette for each BG"
};

// Opens `element` into `frame` (which is made fresh) as the editor would. With `withSettings` the
// map's settings script runs as on opening, so that its planes, rules, visibility, emulation flag
// and display options apply; the script's changes to settings outside the document are undone.
// False when the map cannot be loaded (the loader has said why).
bool openMapFrame(App& app, const ElementRecord& element, uint32_t background, bool withSettings,
                  MapFrame& frame);

// Pixel size of the whole active plane.
int64_t mapFrameWidth(const MapFrame& frame);
int64_t mapFrameHeight(const MapFrame& frame);

// Draws the editor's frame into `target` (already sized: the whole map or its top-left
// part): the planes in the editor's order, without the grid, hex digits, tools or messages.
void drawMapFrame(App& app, const MapFrame& frame, Surface& target);

}  // namespace ts
