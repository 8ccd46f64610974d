#pragma once
// Quantization: turns the pixels of the working area into palette indices.
//
// Shared conventions of every method:
// - Index image: width * height 32-bit values, row by row from the top. Image pixel (x, y) is
//   read from the current pixel source through its window (image_file.h); positions without a
//   pixel are fill pixels.
// - Working palette: entries 0xAARRGGBB (bytes blue, green, red, alpha), components in the
//   depth's precision. The methods grow the vector to at least 256 entries.
// - When the current depth's colour 0 is transparent, opaque pixels get their entry + 1 (the
//   caller then inserts the zero colour at entry 0); gdipCalcPalette gives the entry itself.
// - Failures are shown to the user by the method itself; callers do not report again.
#include <cstdint>
#include <functional>
#include <vector>

namespace ts {

struct App;

struct IndexImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> values;  // row by row from the top
    bool resize(int w, int h);     // false when the size is unreasonable
};

using WorkingPalette = std::vector<uint32_t>;

// Positions set up by the pipeline: new-colour start n, search start s, limit L, and the index
// of fill and transparent pixels.
struct QuantizePositions {
    int newStart = 0;
    int searchStart = 0;
    int limit = 256;
    uint32_t fillIndex = 0;
};

// Nearest-colour rule: distance dB^2 + dG^2 + dR^2 + (1 when the alpha bytes differ); among
// entries from..to-1 the smallest distance wins, the higher index on ties. Returns -1 when the
// range is empty; `distance` receives the winning distance.
int nearestEntry(const uint32_t* palette, int from, int to, uint32_t colour, uint32_t* distance);
inline uint32_t colourDistance(uint32_t a, uint32_t b) {
    int db = int(a & 0xFF) - int(b & 0xFF);
    int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
    int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
    return uint32_t(db * db + dg * dg + dr * dr) + ((a ^ b) >> 24 ? 1u : 0u);
}

// Standard method with threshold t: appends colours at n.. in order of first appearance; a pixel
// maps onto the nearest entry s..count-1 within distance t. Returns the entry count (the
// effective limit when convert.usemaxcolors is set), or -1 when more than the limit is needed.
int quantizeStandard(App& app, IndexImage& image, WorkingPalette& palette, int threshold,
                     const QuantizePositions& pos);

// Reference version of the standard method (compares each pixel against every entry); same
// results as quantizeStandard, kept for tests and the benchmark's comparison.
int quantizeStandardNaive(App& app, IndexImage& image, WorkingPalette& palette, int threshold,
                          const QuantizePositions& pos);

enum class PrecisionSearch {
    Binary,        // tileset pipeline: binary search between -1 and convert.maxprecision
    LinearDescent  // bitmap pipeline: maxprecision, maxprecision - 1, ... 0
};

// The binary precision search of the tileset pipeline: the smallest threshold in 0..maxPrecision
// at which `fits` holds, found by halving between -1 and maxPrecision (maxPrecision is taken to fit).
int binaryPrecisionSearch(int maxPrecision, const std::function<bool(int threshold)>& fits);

// Standard method with its precision search: t = 0 first; when that needs too many colours, asks
// (when system.messages is set; Cancel gives 0 silently) and searches the threshold. Returns the
// entry count, or 0 after the "Unable to convert..." message / a cancel.
int quantizeStandardSearch(App& app, IndexImage& image, WorkingPalette& palette,
                           const QuantizePositions& pos, PrecisionSearch search);

// Halftone method: fixed 256-colour halftone palette (entry 245 white, 255 = red 0, green 0,
// blue 1) written from entry 0 through the effect tables, ordered dither of the decode surface.
// Returns 255, or 0 after a message when the limit leaves no room for 255 colours.
int quantizeHalftone(App& app, IndexImage& image, WorkingPalette& palette,
                     const QuantizePositions& pos);

// Optimal (octree) method: A = (L - 1) - n new colours; the decode surface's opaque pixels are
// replaced by their effect colours. Returns n + leaves, or 0 after its message.
int quantizeOptimal(App& app, IndexImage& image, WorkingPalette& palette,
                    const QuantizePositions& pos);

// Accurate method: a variance-minimising box split over the histogram of the effect colours, then
// Lloyd iterations until the error stops falling (quantize_accurate.h). At most L - n new colours
// (L - 1 - n when colour 0 is transparent) at n..; pixels map onto the nearest entry s..count-1.
// Returns the entry count (the effective limit with convert.usemaxcolors), or 0 after its message.
int quantizeAccurate(App& app, IndexImage& image, WorkingPalette& palette, const QuantizePositions& pos);

// Error diffusion: remaps every opaque pixel of the working area onto the entries from..to-1 with
// Floyd-Steinberg weights in serpentine order (rows from the top, even rows left to right, odd
// rows right to left). Errors are measured in the depth's precision and never reach or leave a
// transparent or fill pixel, whose value stays as it was.
void diffuseErrors(App& app, IndexImage& image, const WorkingPalette& palette, int from, int to);

// Source colour table path (`gdipCalcPalette`). The fit test: true when the source image has a
// colour table with used entries and U - k <= L - n (k: leading entries already equal).
bool sourceTableFits(const App& app, const WorkingPalette& palette, const QuantizePositions& pos);
// Appends the table's new entries at n and maps the pixels. Returns the count (L with
// usemaxcolors). Call only when sourceTableFits.
int quantizeFromSourceTable(App& app, IndexImage& image, WorkingPalette& palette,
                            const QuantizePositions& pos);

// Direct colours: every pixel gets its effect colour (0xAARRGGBB in the depth's precision), fill
// pixels 0.
void directColours(App& app, IndexImage& image);

// The method chosen by convert.quantization (0 standard with `search`, 1 halftone, 2 optimal,
// 3 accurate), followed by error diffusion when convert.dither is 1. Returns the entry count, or
// 0 after the failure was shown.
int quantizeWithCurrentMethod(App& app, IndexImage& image, WorkingPalette& palette,
                              const QuantizePositions& pos, PrecisionSearch search);

}  // namespace ts
