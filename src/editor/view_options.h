#pragma once
// The display and tool options of an open editor that its settings script sets (objects `maps`,
// `modehexa`, `editor` and `bits`). They take these defaults at every opening of the editor; the
// map's settings script then restores its own.
#include <cstdint>

namespace ts {

constexpr uint32_t kDefaultGridColour = 0x404040;  // window colour order, red in the low byte
constexpr int32_t kDefaultAlphaGrid = 96;
constexpr int32_t kDefaultAlphaForeground = 160;
constexpr int32_t kDefaultAlphaGfx = 128;
constexpr int32_t kDefaultAlphaHex = 96;
constexpr uint32_t kDefaultInvisibleBlock = 0xFFFF;
constexpr double kMinZoom = 1.0;  // zoom range of the wheel
constexpr double kMaxZoom = 4.0;

struct ViewOptions {
    // maps / fonds
    int32_t alphaForeground = kDefaultAlphaForeground;  // active plane over the others (transparency)
    int32_t transparency = 0;                          // "Transparents BG"
    int32_t alphaHex = kDefaultAlphaHex;               // opacity in hex mode
    int32_t alphaGfx = kDefaultAlphaGfx;               // other planes (transparency)
    // modehexa
    int32_t hexMode = 0;        // ModeHexa.Enabled
    int32_t hexFillZeros = 0;   // "Append zeros"
    int32_t hexActiveMap = 1;   // "Gfx map as background"
    // editor / editeur
    int32_t popupInfos = 1;
    int32_t popupTime = 61;     // units of 10 ms
    uint32_t invisibleBlock = kDefaultInvisibleBlock;
    int32_t preciseZoom = 0;    // "Bilinear zoom"
    int32_t grid = 0;           // show the grid
    uint32_t gridColour = kDefaultGridColour;
    int32_t alphaGrid = kDefaultAlphaGrid;
    int32_t zeroMask = 0;       // store cells holding 0 are holes; operations skip 0
    double zoom = 1.0;
    // bits
    int32_t bitsZeroMask = 1;   // bit toggling leaves store cells holding 0 unchanged
    // The view's background: the editor window's own top-left pixel (pixel word 0x00RRGGBB).
    uint32_t background = 0xF0F0F0;
};

}  // namespace ts
