#pragma once
// The load and save operations that fill the platform records' slots (palette, tileset, map,
// bitmap). The map operations serve both platforms; the Game Boy's palette, tileset and bitmap
// operations differ as its driver requires. Results: 1 (or a count) on success, 0 on failure
// (already reported in a box whose caption is the data file's path).
#include <cstdint>
#include <string>
#include <vector>

#include "formats/platform_types.h"

namespace ts {

struct App;
struct ElementRecord;

// Palettes: up to 256 colours; colours are packBgra values with 5-bit components.
int gbaSavePalette(App& app, int flags, const ElementRecord& element, const uint32_t* colors, int count);
int gbaLoadPalette(App& app, int flags, int* depthOut, PaletteBuffer& palette, const ElementRecord& element);
int gameBoySavePalette(App& app, int flags, const ElementRecord& element, const uint32_t* colors, int count);
int gameBoyLoadPalette(App& app, int flags, int* depthOut, PaletteBuffer& palette, const ElementRecord& element);

// Tilesets: `tiles` tiles of tileWidth x tileHeight pixels, stored as consecutive 8x8 blocks.
// A load gives the number of 8x8 blocks read (the tile count for 8x8 tiles), 0 on failure and
// -1 when the file declares more than 8193 blocks; tilex and tiley then hold the file's values.
int gbaSaveTileset(App& app, int flags, int depth, const ElementRecord& element, const ElementRecord* linkedPalette,
                   const uint32_t* pixels, int tiles, int tileWidth, int tileHeight);
int gbaLoadTileset(App& app, int flags, int& depth, PaletteBuffer* palette, std::vector<uint32_t>& pixels,
                   const ElementRecord& element, bool raw);
int gameBoySaveTileset(App& app, int flags, int depth, const ElementRecord& element,
                       const ElementRecord* linkedPalette, const uint32_t* pixels, int tiles, int tileWidth,
                       int tileHeight);
int gameBoyLoadTileset(App& app, int flags, int& depth, PaletteBuffer* palette, std::vector<uint32_t>& pixels,
                       const ElementRecord& element, bool raw);

// Maps (both platforms): cells in their console encoding, written by the current map type.
int saveMapData(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset, int width,
                int height, const uint32_t* cells);
int loadMapData(App& app, int flags, std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette, MapData& map,
                const ElementRecord& element);

// Bitmaps: width x height pixels, row by row.
int gbaSaveBitmap(App& app, int flags, int depth, const ElementRecord& element, const ElementRecord* linkedPalette,
                  const uint32_t* pixels, int width, int height);
int gbaLoadBitmap(App& app, int flags, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
                  const ElementRecord& element, bool raw);
int gameBoySaveBitmap(App& app, int flags, int depth, const ElementRecord& element,
                      const ElementRecord* linkedPalette, const uint32_t* pixels, int width, int height);
int gameBoyLoadBitmap(App& app, int flags, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
                      const ElementRecord& element, bool raw);

// The palette whose data file is `link`, looked up among the project's palettes and loaded with
// the current platform's loadPalette. 1 or 0 (reported).
int loadLinkedPalette(App& app, const std::string& link, PaletteBuffer& palette, const std::string& caption);
// The tileset whose data file is `link`, looked up among the project's tilesets and loaded with
// the current platform's loadTileset. Gives its block count, or 0 (reported).
int loadLinkedTileset(App& app, const std::string& link, std::vector<uint32_t>& pixels, PaletteBuffer* palette,
                      const std::string& caption);

}  // namespace ts
