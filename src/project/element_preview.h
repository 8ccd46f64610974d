#pragma once
// The preview of the selected element without its widgets: the element's data file loaded through
// the current platform and drawn into one surface (bitmap, palette, tileset or map), with the label
// the panel shows beside it, the texts under the mouse, and the rules of "Copy preview" and
// "Export (image)".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/surface.h"
#include "formats/platform_types.h"

namespace ts {

struct App;

enum class PreviewMode { None, Bitmap, Palette, Tileset, Map };

constexpr int kPaletteSwatch = 16;                            // side of one colour square
constexpr std::array<int, 3> kPaletteColumnChoices = {4, 16, 256};
constexpr std::array<int, 5> kTilesetWidthChoices = {256, 512, 1024, 2048, 4096};
constexpr int kPreviewWindow = 256;                           // side of the shown part, before scaling

// What the panel remembers between selections ("Options").
struct PreviewSettings {
    int paletteColumns = 16;
    int tilesetWidth = 256;
};

struct ElementPreview {
    PreviewMode mode = PreviewMode::None;
    Surface surface;               // pixels 0x00RRGGBB
    uint32_t background = 0;       // the panel's background colour, 0x00RRGGBB
    std::string label;             // "Size: %ix%i", "%i colors", "%i tiles", "Size: %ix%i blocks"
    // Mouse texts need these.
    int count = 0;                 // colours or tiles
    int columns = 1;               // colours or tiles per row
    int cellWidth = 1, cellHeight = 1;  // swatch, tile or block size in pixels
    PaletteBuffer palette{};       // the colours as loaded (palette previews)
    // Memory: bytes the whole element needs; when more than the limit, only a part was drawn.
    uint64_t bytesNeeded = 0;
    int64_t fullWidth = 0, fullHeight = 0;  // pixel size of the whole element
    bool partial = false;
    // Maps: the settings script beside the data file, and whether it exists ("Config.").
    std::string settingsScript;
    bool settingsScriptExists = false;
};

// How much is drawn: the preview keeps within system.maxmemory, draws a map as the editor opens
// it without its settings script and shows a palette's transparent colours as they are; an
// exported image is whole, applies the script and writes transparent colours in the background.
struct PreviewRender {
    bool whole = false;
    bool mapSettings = false;
    bool transparentPalette = false;
};

// Loads and draws the element at `index`. False leaves the preview empty (mode None); a loader
// that failed has shown its message. Object lists and folders give mode None and true.
bool buildPreview(App& app, int index, const PreviewSettings& settings, uint32_t background, ElementPreview& out,
                  const PreviewRender& how = {});

// The text beside the preview for a position on the surface (empty when there is nothing to say).
std::vector<std::string> previewMouseTexts(const ElementPreview& preview, int x, int y);

// Megabytes the whole preview needs, rounded up (for the copy and export warning).
int previewMegabytesNeeded(const ElementPreview& preview);

// Sets every pixel of colour `from` to `to`; gives the number of pixels changed.
int64_t replacePixels(Surface& surface, uint32_t from, uint32_t to);

}  // namespace ts
