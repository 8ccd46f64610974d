#pragma once
// The "Create a tilemap" and "Create a simple image" forms without their widgets: what the
// controls hold, their defaults, the browse rules that fill the destinations, and the "Ok!"
// procedure that converts and adds the results to the project.
#include <string>
#include <vector>

namespace ts {

struct App;

enum class ConversionFormKind { Tilemap, Image };

// "Map size" list positions and their working sizes (0: the image's own size).
constexpr int kMapSizeChoices = 5;
constexpr int kMapSizePixels[kMapSizeChoices] = {0, 128, 256, 512, 1024};
// Tile size list positions: 8x8, 16x16, 32x32, then "Perso..." (the convert.tilex/tiley setting).
constexpr int kTileSizeChoices = 4;
constexpr int kTileSizeCustom = 3;
constexpr int kTileSizePixels[kTileSizeChoices - 1] = {8, 16, 32};

// Three-state boxes "Existing palette" / "Existing tileset".
enum ExistingChoice : int { ExistingOff = 0, ExistingReuse = 1, ExistingAppend = 2 };

struct ConversionFormState {
    ConversionFormKind kind = ConversionFormKind::Tilemap;
    std::string source, destination, palette, map;
    std::string colors;              // "Colors / max." as typed
    int mapType = 1;                 // "Map type" position: Rotation, Text, Extended
    int depth = 0;                   // position in the current platform's depth list
    int existingPalette = ExistingOff;
    int paletteChoice = 0;           // position in the list of the project's palettes
    int existingTileset = ExistingOff;
    int tilesetChoice = 0;           // position in the list of the project's tilesets
    bool makeMap = true;
    int mapSize = 0;                 // "Map size" position
    bool optimize = true;            // "Optimized tileset"
    int tileSize = 0;                // tile size position
};

// The form as it first shows: defaults of the current platform and project.
ConversionFormState defaultConversionForm(const App& app, ConversionFormKind kind);

// The names that the depth list, the palette list and the tileset list show.
std::vector<std::string> depthNames(const App& app);
std::vector<std::string> elementNamesOfType(const App& app, unsigned type);

// The path as the form shows it: relative to `directory` when it lies below it, "..", a separator
// and the rest when it lies below its parent, else unchanged.
std::string relativeFormPath(const std::string& path, const std::string& directory);

// The base name of a path: the path cut at the first "." of its last component.
std::string formBaseName(const std::string& path);

// After the source was browsed: the source takes the (relative) path and the destinations are
// named from its base name and the current format's extensions.
void applyBrowsedSource(const App& app, ConversionFormState& state, const std::string& path);
// After the destination was browsed: the destination takes the path, the palette (and the map in
// the tilemap form) are named from its base name.
void applyBrowsedDestination(const App& app, ConversionFormState& state, const std::string& path);

// Whether "More..." is enabled: the current platform offers a panel for conversion forms.
bool conversionFormHasMoreOptions(const App& app);

// The "Ok!" procedure. Asks and reports through the host; true when elements were added.
bool runConversionForm(App& app, const ConversionFormState& state);

}  // namespace ts
