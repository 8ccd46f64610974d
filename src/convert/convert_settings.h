#pragma once
// The `convert` object's settings (colour effects, quantization and tiling parameters) and the
// conversion engine's image state: the effect tables, the decode and conversion surfaces, the
// current pixel source with its window, and the source image's colour table.
#include <cstdint>
#include <vector>

#include "editor/surface.h"

namespace ts {

// Entry v of a table is the output component, in the current depth's precision, for the 8-bit
// source component v (rebuilt by rebuildEffectTables, convert/colour_effects.h).
struct EffectTables {
    uint8_t red[256] = {};
    uint8_t green[256] = {};
    uint8_t blue[256] = {};
};

// Source window: origin (x0, y0) and exclusive bounds (x1, y1) in surface coordinates. Image pixel
// (x, y) is read at (x0 + x, y0 + y); a position outside 0 <= .. < x1 / y1 has no pixel.
struct SourceWindow {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

enum class PixelSourceKind { None, Decode, Conversion };

struct ConvertSettings {
    uint8_t maskRed = 255, maskGreen = 0, maskBlue = 254;
    uint8_t zeroRed = 0, zeroGreen = 0, zeroBlue = 0;  // 5-bit components
    int32_t useMaxColors = 0;
    double gamma[3] = {1.0, 1.0, 1.0};  // stored as 1 / the value given (red, green, blue)
    double add[3] = {0.0, 0.0, 0.0};
    double alpha[3] = {0.0, 0.0, 0.0};
    int32_t shades = 255;  // number of shades minus one
    int32_t shadesBefore = 0;
    int32_t quantization = 0;  // 0 standard, 1 halftone, 2 optimal, 3 accurate
    int32_t dither = 0;        // error diffusion after quantization: 0 none, 1 Floyd-Steinberg
    int32_t truncate = 0;
    int32_t maxPrecision = 512;
    int32_t colorization = 0;
    int32_t firstTileEmpty = 0;
    int32_t fastPalReduction = 1;
    int32_t palReducPost = 1;
    int32_t exactPacking = 1;  // multi-palette: look for sub-palettes that keep every colour first
    int32_t flipMerge = 0;     // tiles equal to a stored tile mirrored are stored once
    int32_t tileX = 8;
    int32_t tileY = 8;
    int32_t compression = 0;  // packing of the tilesets, maps and bitmaps written: 0 none, 1 LZ77, 2 RLE

    // ---- engine state (not script settings) ----
    EffectTables effects;
    bool effectsBuilt = false;
    Surface decodeSurface;  // the file as decoded, mask colour applied
    // The copy that a conversion reads. It is made when one of the two must change: while
    // conversionSharesDecode is set, the decode surface's pixels, untouched since the load, stand
    // for it (currentPixelSource gives them; separateConversionSurface makes the copy).
    Surface conversionSurface;
    bool conversionSharesDecode = false;
    PixelSourceKind pixelSource = PixelSourceKind::None;
    SourceWindow window;
    // Colour table of the last loaded indexed image (ARGB words, file order); empty for
    // true-colour files. usedEntries: leading entries up to the last one a pixel uses.
    std::vector<uint32_t> sourceColourTable;
    int usedEntries = 0;
};

struct App;
// The ConvertSettings of the running program (held by the process state).
ConvertSettings& convertSettings(App& app);
const ConvertSettings& convertSettings(const App& app);

}  // namespace ts
