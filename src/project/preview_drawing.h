#pragma once
// Drawing of tiles into a preview surface, as the console shows them (maps are drawn by the map
// editor's view code, see map_frame.h).
#include <cstdint>
#include <vector>

#include "editor/surface.h"
#include "formats/platform_types.h"

namespace ts {

// How the words of a tileset become colours.
struct TileColours {
    // Indexed depths: palette index to 0x00RRGGBB (256 entries). Empty: the words are colours
    // already converted by `direct`.
    std::vector<uint32_t> palette;
    bool paletteBanks = false;       // map entries choose a bank of bankSize colours
    int bankSize = 256;
    const ColorFormat* format = &kColorFormat15;  // direct colours
    bool honoursTransparent = false;  // direct colours with top byte 0 show the background
    uint32_t background = 0;
};

// The 0x00RRGGBB colour of a colour word of the given format (components expanded to 8 bits).
uint32_t displayColour(uint32_t word, const ColorFormat& format);

// The display palette of a loaded palette: transparent entries (top byte 0) become the background
// when `replaceTransparent`.
std::vector<uint32_t> displayPalette(const PaletteBuffer& palette, const ColorFormat& format,
                                     bool replaceTransparent, uint32_t background);

// Draws one 8 x 8 block at (x, y), clipped to the surface, with the given palette bank and mirrors.
void drawBlock8(Surface& surface, int x, int y, const uint32_t* block, const TileColours& colours, int bank,
                bool hMirror, bool vMirror);

// Tiles of tileWidth x tileHeight pixels (each made of consecutive 8 x 8 blocks in row order), left
// to right in rows of `perRow` tiles.
void drawTileRows(Surface& surface, const std::vector<uint32_t>& blocks, int tiles, int tileWidth, int tileHeight,
                  int perRow, const TileColours& colours);

}  // namespace ts
