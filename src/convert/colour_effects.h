#pragma once
// Colour effects: gamma, addition, fading and shade reduction folded into three 256-entry
// tables that also reduce 8-bit components to the current depth's precision.
#include <cstdint>

#include "convert/convert_settings.h"

namespace ts {

struct App;

// Colour facts of the current depth that the conversion engine needs.
struct DepthColourTraits {
    bool valid = false;              // false when there is no current depth
    int redBits = 5, greenBits = 5, blueBits = 5;
    bool transparentColour = true;   // the depth honours a transparent (mask) colour at load
    bool colourZeroTransparent = true;
    bool hasPalette = true;          // palette kind != 0
    bool indexed = true;
    int coloursPerSubPalette = 16;
    int paletteCapacity = 256;
};

// The current platform's current depth as the conversion engine sees it.
DepthColourTraits currentDepthTraits(const App& app);

// Builds the tables for the given settings and component bit counts (1..8 bits).
void buildEffectTables(EffectTables& tables, const ConvertSettings& settings, int redBits,
                       int greenBits, int blueBits);

// `RebuildEffectTables`: recomputes convertSettings(app).effects from the settings and the current depth;
// left as they are when there is no current depth.
void rebuildEffectTables(App& app);

// Effect colour of a pixel word 0xAARRGGBB: red, green and blue looked up in their tables, alpha
// unchanged.
inline uint32_t effectColour(const EffectTables& t, uint32_t pixel) {
    return (pixel & 0xFF000000u) | (uint32_t(t.red[(pixel >> 16) & 0xFF]) << 16) |
           (uint32_t(t.green[(pixel >> 8) & 0xFF]) << 8) | t.blue[pixel & 0xFF];
}
uint32_t effectColour(const App& app, uint32_t pixel);

}  // namespace ts
