#pragma once
// Planes built by hand for the editor's tests: tiles whose pixels tell which tile and which
// pixel they are, a palette of distinct colours, the GBA text-map layout.
#include <memory>

#include "editor/editor_document.h"

namespace ts::test {

// GBA text map entries: tile number in bits 0-9, mirrors in 10 and 11, palette bank in 12-15.
inline MapEntryLayout gbaTextLayout() { return MapEntryLayout{0x3FF, 0xF000, 12, 0x400, 10, 0x800, 11}; }

// Palette entry i is the pixel word 0xFF000000 | i * 0x010203 (opaque, distinct).
inline uint32_t paletteColour(int i) { return uint32_t(i) * 0x010203u & 0xFFFFFFu; }

// A map plane of w x h cells of 8 x 8 tiles; tile t's pixel (x, y) holds index (t + x + 2y) & 15,
// or 1 + ((t * 7 + x * 3 + y) % 15) when `noZero` (so that no pixel is transparent).
inline void makeMapPlane(PlaneRecord& p, int w, int h, int tiles, bool noZero = true) {
    p.kind = PlaneMap;
    p.width = w;
    p.height = h;
    p.cells.assign(size_t(w) * size_t(h), 0u);
    p.tileCount = tiles;
    p.tiles.resize(size_t(tiles) * kTileWords);
    for (int t = 0; t < tiles; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                p.tiles[size_t(t) * 64 + size_t(y * 8 + x)] =
                    noZero ? uint32_t(1 + (t * 7 + x * 3 + y) % 15) : uint32_t((t + x + 2 * y) & 15);
    for (int i = 0; i < kPaletteEntries; ++i) p.palette[size_t(i)] = 0xFF000000u | paletteColour(i);
    p.layout = gbaTextLayout();
    p.paletteBanks = true;
    p.colorsPerBank = 16;
    p.valueMask = 0xFFFF;
    p.blockWidth = p.blockHeight = 8;
    p.gridX = p.gridY = p.defaultGridX = p.defaultGridY = 8;
    p.scrollStepX = p.scrollStepY = 8;
    p.element.name = "plane";
}

// A document for planes built by hand: a generous undo budget and every slot linked to itself
// alone, as opening the editor leaves them.
inline void prepareHandMadeDocument(EditorDocument& d) {
    d.memoryLimit = int64_t(1) << 30;
    for (int slot = 0; slot < MaxPlanes; ++slot) d.links[size_t(slot)] = LinkList(slot);
}

// Index of pixel (x, y) of tile t as makeMapPlane fills it.
inline uint32_t tilePixel(const PlaneRecord& p, int t, int x, int y) { return p.tiles[size_t(t) * 64 + size_t(y * 8 + x)]; }

}  // namespace ts::test
