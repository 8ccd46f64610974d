#include "project/preview_drawing.h"

#include <algorithm>

namespace ts {

uint32_t displayColour(uint32_t word, const ColorFormat& format) {
    const int r = expandComponent(bgraRed(word), format.redBits);
    const int g = expandComponent(bgraGreen(word), format.greenBits);
    const int b = expandComponent(bgraBlue(word), format.blueBits);
    return uint32_t(std::min(r, 255)) << 16 | uint32_t(std::min(g, 255)) << 8 | uint32_t(std::min(b, 255));
}

std::vector<uint32_t> displayPalette(const PaletteBuffer& palette, const ColorFormat& format,
                                     bool replaceTransparent, uint32_t background) {
    std::vector<uint32_t> out(palette.size());
    for (size_t i = 0; i < palette.size(); ++i)
        out[i] = replaceTransparent && palette[i] < 0x1000000u ? background : displayColour(palette[i], format);
    return out;
}

void drawBlock8(Surface& surface, int x, int y, const uint32_t* block, const TileColours& colours, int bank,
                bool hMirror, bool vMirror) {
    if (x >= surface.width || y >= surface.height || x + 8 <= 0 || y + 8 <= 0) return;
    const bool indexed = !colours.palette.empty();
    const int mask = colours.paletteBanks ? colours.bankSize - 1 : int(colours.palette.size()) - 1;
    const int base = colours.paletteBanks ? bank * colours.bankSize : 0;
    for (int row = 0; row < 8; ++row) {
        const int py = y + row;
        if (py < 0 || py >= surface.height) continue;
        const uint32_t* src = block + (vMirror ? 7 - row : row) * 8;
        uint32_t* dst = surface.row(py);
        for (int col = 0; col < 8; ++col) {
            const int px = x + col;
            if (px < 0 || px >= surface.width) continue;
            const uint32_t word = src[hMirror ? 7 - col : col];
            uint32_t colour;
            if (indexed) {
                const size_t entry = size_t(base + (int(word) & mask));
                colour = entry < colours.palette.size() ? colours.palette[entry] : colours.background;
            } else if (colours.honoursTransparent && word < 0x1000000u) {
                colour = colours.background;
            } else {
                colour = displayColour(word, *colours.format);
            }
            dst[px] = colour;
        }
    }
}

namespace {

// Draws tile `tile` (tileWidth x tileHeight, made of 8 x 8 blocks in row order) at (x, y).
void drawTile(Surface& surface, int x, int y, const std::vector<uint32_t>& blocks, int tile, int tileWidth,
              int tileHeight, const TileColours& colours, int bank, bool hMirror, bool vMirror) {
    const int across = tileWidth / 8, down = tileHeight / 8;
    const size_t first = size_t(tile) * size_t(across * down);
    for (int by = 0; by < down; ++by) {
        for (int bx = 0; bx < across; ++bx) {
            const size_t b = first + size_t(by * across + bx);
            if ((b + 1) * 64 > blocks.size()) return;
            const int dx = hMirror ? tileWidth - 8 - bx * 8 : bx * 8;
            const int dy = vMirror ? tileHeight - 8 - by * 8 : by * 8;
            drawBlock8(surface, x + dx, y + dy, blocks.data() + b * 64, colours, bank, hMirror, vMirror);
        }
    }
}

}  // namespace

void drawTileRows(Surface& surface, const std::vector<uint32_t>& blocks, int tiles, int tileWidth, int tileHeight,
                  int perRow, const TileColours& colours) {
    if (tileWidth < 8 || tileHeight < 8 || perRow < 1) return;
    for (int t = 0; t < tiles; ++t) {
        const int y = (t / perRow) * tileHeight;
        if (y >= surface.height) break;
        drawTile(surface, (t % perRow) * tileWidth, y, blocks, t, tileWidth, tileHeight, colours, 0, false, false);
    }
}

}  // namespace ts
