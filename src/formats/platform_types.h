#pragma once
// The description of a target console: colour depths, colour and map-entry encodings and the
// operation slots that load and save the five kinds of data. Exactly one record is current.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

struct App;
struct ElementRecord;
struct ObjectList;
struct PlatformRecord;

// Bytes per colour, then the bits of red, green, blue and alpha.
struct ColorFormat {
    int bytesPerColor;
    int redBits;
    int greenBits;
    int blueBits;
    int alphaBits;
};

inline constexpr ColorFormat kColorFormat15{2, 5, 5, 5, 0};
inline constexpr ColorFormat kColorFormat32{4, 8, 8, 8, 8};

// Expands a component of `bits` bits to 8 bits (255 / (2^bits - 1), integer arithmetic).
inline int expandComponent(int value, int bits) {
    if (bits <= 0 || bits >= 8) return value;
    return value * (255 / ((1 << bits) - 1));
}

// One colour depth of a platform.
struct DepthInfo {
    const char* displayName;     // "4 bits (16 col.)"
    const char* shortName;       // "4"
    int bitCode;                 // %depth% of tileset and bitmap files
    int paletteKind;             // 0 direct colour, 1 one palette, 2 sub-palettes chosen per map entry
    int honoursTransparentColor; // the conversion turns the colour key into alpha 0
    int indexed;
    int singlePaletteSize;
    int colorsPerSubPalette;
    int colorsPerTile;
    int color0Transparent;       // after a palette load, entry 0 becomes all-zero
    int (*conversionHook)(App& app);  // optional; absent on both platforms
    const ColorFormat* colorFormat;
};

// How a map entry carries tile number, palette and mirror bits. A missing field has mask 0, shift 32.
struct MapEntryLayout {
    uint32_t tileMask;
    uint32_t paletteMask;
    uint32_t paletteShift;
    uint32_t hMirrorMask;
    uint32_t hMirrorShift;
    uint32_t vMirrorMask;
    uint32_t vMirrorShift;

    uint32_t tile(uint32_t entry) const { return entry & tileMask; }
    uint32_t palette(uint32_t entry) const { return paletteShift >= 32 ? 0 : (entry & paletteMask) >> paletteShift; }
    uint32_t hMirror(uint32_t entry) const { return hMirrorShift >= 32 ? 0 : (entry & hMirrorMask) >> hMirrorShift; }
    uint32_t vMirror(uint32_t entry) const { return vMirrorShift >= 32 ? 0 : (entry & vMirrorMask) >> vMirrorShift; }
};

enum MapType : int { MapRotation = 0, MapText = 1, MapExtended = 2 };
constexpr int kMapTypeCount = 3;

// A palette: 256 entries, each the bytes blue, green, red, alpha (the value
// alpha << 24 | red << 16 | green << 8 | blue). With the 15-bit colour format the colour bytes
// hold 5-bit components; alpha is 255 (opaque) or 0 (transparent).
constexpr int kPaletteEntries = 256;
using PaletteBuffer = std::array<uint32_t, kPaletteEntries>;

inline uint32_t packBgra(int blue, int green, int red, int alpha) {
    return uint32_t(alpha & 255) << 24 | uint32_t(red & 255) << 16 | uint32_t(green & 255) << 8 | uint32_t(blue & 255);
}
inline int bgraBlue(uint32_t v) { return int(v & 255); }
inline int bgraGreen(uint32_t v) { return int((v >> 8) & 255); }
inline int bgraRed(uint32_t v) { return int((v >> 16) & 255); }
inline int bgraAlpha(uint32_t v) { return int(v >> 24); }

// A map: one 32-bit cell per position, row by row, already in the console's encoding.
struct MapData {
    int mapType = MapText;  // set by a load from the file's header
    int packing = 0;        // how the file held the cells (a Packing: 0 none, 1 LZ77, 2 run-length)
    int width = 0;
    int height = 0;
    std::vector<uint32_t> cells;
};

// A bitmap: one 32-bit pixel per position, row by row (colour index, or a colour by depth).
struct BitmapData {
    int packing = 0;  // how the file held the pixels (a Packing: 0 none, 1 LZ77, 2 run-length)
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The operation slots. A slot may be empty; callers test for that.
using PlatformEventFn = void (*)(App& app, int event, PlatformRecord& self);  // 0 init, 1 selected, 2 deselected
// With bit 0x8000 in pageCode: 1 when the platform has a panel for (pageCode & 0x7000); else creates it.
using OptionsPanelFn = int (*)(App& app, int pageCode, void* parent);
// Appends the platform's settings lines (CR LF is added by the text file that writes them).
using WriteSettingsFn = void (*)(const App& app, int code, std::string& out);
using OnConvertFn = int (*)(App& app, int phase);  // 0 before conv reads its arguments, 1 after, 2 forms
// Number of colours read (0 on failure); *depthOut receives the depth index when not null.
using LoadPaletteFn = int (*)(App& app, int flags, int* depthOut, PaletteBuffer& palette,
                              const ElementRecord& element);
// Number of tiles (0 on failure, -1 at the tile limit). `depth` is in/out. `pixels` is replaced by
// the tiles read (64 values per 8x8 block). `palette` receives the linked palette when given.
using LoadTilesetFn = int (*)(App& app, int flags, int& depth, PaletteBuffer* palette,
                              std::vector<uint32_t>& pixels, const ElementRecord& element, bool raw);
// 1 or 0. The linked tileset is loaded into tilesetPixels/palette when given.
using LoadMapFn = int (*)(App& app, int flags, std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette,
                          MapData& map, const ElementRecord& element);
using LoadListFn = int (*)(App& app, int flags, ObjectList& list, const ElementRecord& element,
                           std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette);
using LoadBitmapFn = int (*)(App& app, int flags, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
                             const ElementRecord& element, bool raw);
using SavePaletteFn = int (*)(App& app, int flags, const ElementRecord& element, const uint32_t* colors,
                              int count);
using SaveTilesetFn = int (*)(App& app, int flags, int depth, const ElementRecord& element,
                              const ElementRecord* linkedPalette, const uint32_t* pixels, int tiles,
                              int tileWidth, int tileHeight);
using SaveMapFn = int (*)(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset,
                          int width, int height, const uint32_t* cells);
using SaveListFn = int (*)(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset,
                           const ObjectList& list, int tileWidth, int tileHeight);
using SaveBitmapFn = int (*)(App& app, int flags, int depth, const ElementRecord& element,
                             const ElementRecord* linkedPalette, const uint32_t* pixels, int width, int height);

struct PlatformRecord {
    const char* name;
    int capabilityFlag;
    int depthCount;
    int defaultDepth;
    const DepthInfo* depths;
    int paletteCapacity;
    std::array<MapEntryLayout, kMapTypeCount> layouts;  // indexed by MapType

    PlatformEventFn onEvent;
    OptionsPanelFn createOptionsPanel;
    WriteSettingsFn writeSettings;
    void* reserved;  // always empty
    OnConvertFn onConvert;
    LoadPaletteFn loadPalette;
    LoadTilesetFn loadTileset;
    LoadMapFn loadMap;
    LoadListFn loadList;
    LoadBitmapFn loadBitmap;
    SavePaletteFn savePalette;
    SaveTilesetFn saveTileset;
    SaveMapFn saveMap;
    SaveListFn saveList;
    SaveBitmapFn saveBitmap;
};

constexpr int kPlatformCount = 2;
constexpr int kPlatformGba = 0;
constexpr int kPlatformGameBoy = 1;

}  // namespace ts
