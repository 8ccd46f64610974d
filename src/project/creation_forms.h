#pragma once
// The "Create a new table to use as a giant map" and "Create a new object list" forms without
// their widgets: fields, defaults and the "Ok!" procedures that write an empty data file through
// the current platform and add the element to the project.
#include <string>

namespace ts {

struct App;

// "Blocks size" list positions: 8x8, 16x16, 32x32, then "Perso..." (the current block size).
constexpr int kBlockSizeCustom = 3;
constexpr int kBlockSizePixels[3] = {8, 16, 32};
// Cells of a new giant map at most (what the map reader accepts back).
constexpr long long kGiantMapCellLimit = 16LL << 20;

struct GiantMapFormState {
    std::string file;               // "File to create"
    std::string width = "1";        // "Table size (l,h [blocks])"
    std::string height = "1";
    int tilesetChoice = 0;          // position in the list of tilesets
    int paletteChoice = 0;          // position in the list of palettes
    int blockSize = 1;              // "16x16"
    int mapType = 1;                // "Text (16 bits)"
};

struct ObjectListFormState {
    std::string file;
    int tilesetChoice = 0;
    int modelChoice = 0;            // position in the model table
    int blockSize = 1;
};

// Whether the forms can be shown (the project holds a tileset); otherwise the status text says why.
bool creationFormsAvailable(const App& app);

ObjectListFormState defaultObjectListForm(const App& app);

// "Ok!" procedures: true when the element was written and added. An existing file is replaced
// only after the user agreed (Yes / No, No preselected).
bool runGiantMapForm(App& app, const GiantMapFormState& state);
bool runObjectListForm(App& app, const ObjectListFormState& state);

}  // namespace ts
