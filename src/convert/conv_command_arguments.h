#pragma once
// Argument reading of the conversion command: the identifier table, prefixes, values, output
// name derivation and extension probing.
#include <cstdint>
#include <string>

namespace ts {

struct App;

// Output kinds selected by tset, bmp, b8 and b16.
enum ConvOutputKind : int { ConvNone = 0, ConvTileset = 1, ConvBitmap = 2, ConvBitmap8 = 3, ConvBitmap16 = 4 };

// Everything one `conv` reads; the start values are those of every new command.
struct ConvArguments {
    int outputKind = ConvNone;
    std::string source, mainOutput, mapFile, paletteFile;
    std::string tilesetName, bitmapName, paletteName, mapName;
    int colorCount = 255;
    std::string existingPalette, existingTileset;  // upal, util
    std::string cmode, mapmode, mdim, tdim;
    int paletteReuse = 1;
    int tilesetReuse = 1;
    int mapType = 1;  // Text
    int makeMap = 1;
    int tileMatching = 1;
    int depth = 0;    // index into the current platform's depth table
    int flipMerge = 0;          // starts as convert.flipmerge
    bool flipRequested = false; // +flip or !flip was given
    int packing = 0;  // +lz77 / +rle: a Packing; starts as convert.compression
};

constexpr size_t kConvNameMax = 100;   // characters of an identifier
constexpr size_t kConvValueMax = 500;  // characters of a value
constexpr size_t kConvTextMax = 511;   // characters a text target keeps

// Start values for the current platform (its default depth).
ConvArguments startConvArguments(const App& app);

// Reads the argument text into `args`. Unknown identifiers are reported ("Debuging") and
// skipped.
void readConvArguments(App& app, const char* text, ConvArguments& args);

// Name derived from a data file: the text after the last separator, cut to 30 characters, then cut
// at its first ".".
std::string deriveElementName(const std::string& file);

// "W" or "WxH": width = leading number, height = number after the first x (missingHeight when
// there is no x). Numbers saturate at the int range.
void parseDimensions(const std::string& text, int missingHeight, int64_t& width, int64_t& height);

}  // namespace ts
