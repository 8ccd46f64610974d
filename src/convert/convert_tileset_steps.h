#pragma once
// Steps shared by the tileset and bitmap pipelines.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/quantize.h"

namespace ts {

struct App;
struct MapEntryLayout;
struct ConversionRequest;

// Largest working area a conversion accepts (the index image is one 32-bit value per pixel).
constexpr int64_t kMaxWorkPixels = int64_t(1) << 26;

// Allocates the index image; refuses (with a message) a working area above kMaxWorkPixels, and
// returns false silently when memory is short.
bool allocateIndexImage(App& app, IndexImage& image, int64_t width, int64_t height);

// Loads the existing palette raw into the working palette; the number of colours, or -1 when the
// load failed (reported by the loader). 0 colours when there is none.
int loadExistingPalette(App& app, int elementIndex, WorkingPalette& palette);

// Drops entry 0 of the palette: entries 1..count-1 move down one place.
void dropFirstEntry(WorkingPalette& palette, int count);

// Moves the palette up one entry and writes the zero colour (5-bit components, alpha 0) at 0.
void insertZeroColour(App& app, WorkingPalette& palette, int& count);

// True when map entries of this layout carry both mirror bits.
bool layoutHasMirrors(const MapEntryLayout& layout);

// Width in bits of the tile-number field of a map entry: the low bits of the layout's tile mask,
// at most the entry's own width (8 bits for Rotation, 16 for Text, 32 for Extended).
int tileFieldBits(const MapEntryLayout& layout, int mapType);

// After a map is written whole: warns (caption "Warning") when the highest tile number it refers
// to does not fit the tile field, naming the first number that does not fit and the field's width.
void warnTileFieldOverflow(App& app, const MapEntryLayout& layout, int mapType, uint32_t highestTile);

// The save operations of the current platform with the names the request gives to the files.
int saveMapWithName(App& app, const ConversionRequest& request, int width, int height, const uint32_t* cells);
int saveTilesetWithName(App& app, const ConversionRequest& request, int depth, const uint32_t* pixels, int tiles,
                        int tileWidth, int tileHeight);
int saveBitmapWithName(App& app, const ConversionRequest& request, int depth, const uint32_t* pixels, int width,
                       int height);
int savePaletteWithName(App& app, const ConversionRequest& request, const uint32_t* colours, int count);

}  // namespace ts
