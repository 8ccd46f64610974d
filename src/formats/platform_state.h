#pragma once
// The platform table, the current platform and the values the load and save operations share.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/platform_types.h"

namespace ts {

// Options of the GBA driver (script object `gba`).
struct GbaOptions {
    int32_t paletteMask = 1;
    int32_t mirrorMask = 1;
    int32_t align = 0;
    int32_t revColorOrder = 0;
};

// Options of the Game Boy driver (script object `gbc`).
struct GbcOptions {
    int32_t dmgMode = 0;
    // Four colours, lightest first, as packBgra values with 8-bit components.
    std::array<uint32_t, 4> dmgPalette{};
};

struct PlatformState {
    // The two records (GBA first), copied from the drivers' tables at start-up. The GBA options
    // change the GBA record's Text layout in place.
    std::array<PlatformRecord, kPlatformCount> records{};
    int current = 0;            // index into records
    int currentDepth = 1;       // index into the current record's depth table
    int currentMapType = MapText;

    // The map size, tile size, gfxmask and tilebase that the operations share are the template
    // variables' live integers (sizex, sizey, tilex, tiley, gfxmask, tilebase; formats/format_state.h).

    // Name the conversion command gives to the files it writes; when not empty it replaces the
    // element's name as %name% (the conversion sets and clears it).
    std::string conversionName;
    // Tile count of the tileset loaded last (a map without a link keeps using it).
    int lastTileCount = 0;
    // Depth index of the tileset loaded last (the map editor reads the linked tileset's pixels
    // with it).
    int lastTileDepth = 0;
    // How the tileset loaded last was packed (a Packing: 0 none, 1 LZ77, 2 run-length); saving it
    // again with the same packing keeps its file's form.
    int lastTilePacking = 0;
    // Data file of the tileset loaded last through a link (the map editor saves its maps with it).
    std::string lastTilesetFile;

    // The palette of the data being converted or edited (the conversion fills it before it saves).
    // The Game Boy's monochrome tileset writer sorts its first four colours into shade order.
    PaletteBuffer workingPalette{};

    GbaOptions gba;
    GbcOptions gbc;

    // Called after the current platform changed (the main window refreshes its depth and
    // map-type controls).
    std::vector<std::function<void(App&)>> platformChangedListeners;
};

struct App;
// The PlatformState of the running program (held by the process state).
PlatformState& platformState(App& app);
const PlatformState& platformState(const App& app);

}  // namespace ts
