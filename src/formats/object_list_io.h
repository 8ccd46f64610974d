#pragma once
// Saving and loading object lists through the current format's list section (both platforms).
#include <cstdint>
#include <vector>

#include "formats/platform_types.h"

namespace ts {

struct App;
struct ElementRecord;
struct ObjectList;

// Writes the list sorted by x, then y (of equal positions the entry stored last comes first).
// 1 or 0 (reported).
int saveObjectList(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset,
                   const ObjectList& list, int tileWidth, int tileHeight);

// Reads a list: its model (which becomes the current model), its linked tileset (into
// tilesetPixels / palette when given) and its entries. A list that does not match its model
// strictly offers a tolerant re-reading. 1, or 0 with the list unchanged.
int loadObjectList(App& app, int flags, ObjectList& list, const ElementRecord& element,
                   std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette);

}  // namespace ts
