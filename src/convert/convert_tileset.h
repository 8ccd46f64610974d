#pragma once
// The conversion pipelines: the source image to a tileset, a palette and a map, or to a bitmap and
// a palette, written through the current platform's save operations.
#include <string>

#include "project/element_record.h"

namespace ts {

struct App;

// What one conversion produces and how. The elements' base file is the source image, their file
// the data file to write and their name the element's name.
struct ConversionRequest {
    ElementRecord tileset;  // the bitmap in the bitmap pipeline
    ElementRecord palette;
    ElementRecord map;
    // %name% of each file written; empty: the element's name.
    std::string tilesetName, paletteName, mapName;

    int imageWidth = 0, imageHeight = 0;  // size of the loaded source image
    int workWidth = 0, workHeight = 0;    // 0: the image's
    int tileWidth = 8, tileHeight = 8;
    int existingPalette = -1;  // element index of a palette whose colours come first, or -1
    bool paletteReuse = true;
    int existingTileset = -1;  // element index of a tileset whose tiles come first, or -1
    bool tilesetReuse = true;
    bool tileMatching = true;
    bool makeMap = true;
    bool flipMerge = false;         // mirrored tiles stored once (map layouts with mirror bits only)
    bool preferDuplicates = true;   // exact packing: a tile takes the sub-palette that matches a stored tile
    int saveFlags = 0;  // flags of the tileset, map and bitmap saves (their packing)
};

// Runs the tileset pipeline on the current pixel source with the current platform, depth and map
// type; writes the map (when makeMap), the tileset and the palette (when the depth has one).
// 1 on success, 0 on failure (after its message, if any); nothing is written on failure.
int ConvertTileset(App& app, const ConversionRequest& request, int colorCount);

// The bitmap pipeline: writes the bitmap (request.tileset) and, when the depth has a palette, the
// palette. 1 or 0.
int ConvertBitmap(App& app, const ConversionRequest& request, int colorCount);

}  // namespace ts
