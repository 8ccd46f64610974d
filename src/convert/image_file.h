#pragma once
// Image input and output of the conversion engine.
//
// Loading decodes BMP, PNG, JPEG, GIF and TIFF files into the decode surface
// (convertSettings(app).decodeSurface), one 0xAARRGGBB word per pixel, keeps the file's own colour table
// (ARGB words in file order) in convertSettings(app).sourceColourTable with its used-entry count in
// convertSettings(app).usedEntries, and applies the mask colour rule. Images whose 32-bit surface would
// exceed kMaxSurfacePixels (256 MB) are refused with a message; files that cannot be decoded
// (of no known format, or of a known one but ending early or damaged) fail silently, and the
// conversion command reports them.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/convert_settings.h"
#include "editor/surface.h"

namespace ts {

struct App;

// A decoded image: pixels 0xAARRGGBB and the file's colour table (empty for true-colour files).
struct DecodedImage {
    Surface surface;
    std::vector<uint32_t> colourTable;
    int64_t declaredWidth = 0;   // the size the file announces (also set when it is refused)
    int64_t declaredHeight = 0;
};

// Undecodable: no known format; Damaged: a known format whose data ends early or is corrupt.
enum class DecodeResult { Ok, Undecodable, Empty, TooLarge, Damaged };

// Decodes an image held in memory (format found from its content). Never crashes on bad data.
DecodeResult decodeImage(const uint8_t* data, size_t size, DecodedImage& out);
// Decodes a file (read whole, at most 512 MB).
DecodeResult decodeImageFile(const std::string& path, DecodedImage& out);

// Used-entry count: for every pixel of the window, the first table entry whose red, green and
// blue equal the pixel's is marked; the count is the highest marked index + 1 (0 if none).
int countUsedEntries(const Surface& surface, const SourceWindow& window,
                     const std::vector<uint32_t>& table);

// Mask colour rule. With honourTransparency: pixels whose red, green and blue equal the mask
// become 0, all others get alpha 255. Without it the pixels keep their alpha.
void applyMaskColour(Surface& surface, uint8_t red, uint8_t green, uint8_t blue,
                     bool honourTransparency);

// `gdipLoadImage`: decodes the file into the decode surface, replaces the source colour table and
// used-entry count, selects the decode surface as the pixel source and applies the mask colour
// when the current depth honours a transparent colour. False when the file cannot be decoded or
// is empty (silently), or is too large (after a message).
bool loadImageFile(App& app, const std::string& path, int& width, int& height);

// Load source image: loadImageFile, then the conversion surface copy. With `forConversion`, the
// halftone method and a depth with a palette the copy is skipped (the halftone method reads the
// decode surface) and the decode surface stays the pixel source. Otherwise the conversion
// surface, a copy of the whole decode surface (shared until one of them changes), becomes the
// pixel source.
bool loadSourceImage(App& app, const std::string& path, int& width, int& height,
                     bool forConversion);

// Gives the conversion surface its own copy of the pixels it still shares with the decode surface.
// Whatever changes the decode surface in place calls it first. False when memory runs out.
bool separateConversionSurface(App& app);

// Pixel source selection; the window becomes the whole surface.
void selectPixelSource(App& app, PixelSourceKind kind);
const Surface* currentPixelSource(const App& app);
// Image pixel (x, y) through the source window; false when the position has no pixel.
bool sourcePixel(const App& app, int x, int y, uint32_t& pixel);
// Row y of the image as sourcePixel sees it, for loops over a whole row: for x in
// [begin, end) sourcePixel(x, y) gives pixels[x + offset]; every other x has no pixel (begin ==
// end when the row has none).
struct SourceRow {
    const uint32_t* pixels = nullptr;
    int64_t offset = 0;
    int begin = 0;
    int end = 0;
};
SourceRow sourceRow(const App& app, int y, int width);

// Extension of a path: the text after the last "." that follows the last "/" or "\"; empty
// when there is none.
std::string pathExtension(const std::string& path);

// The name a surface is saved under: the path itself when its extension is one of "png", "jpg",
// "jpeg", "bmp", "gif", "tiff" (case-sensitive), else the path with ".bmp" appended.
std::string imageSaveName(const std::string& path);

// `gdipSaveImage`: writes the surface (pixels 0x00RRGGBB; with a non-empty colour table of at
// most 256 entries and every pixel found in it, as an indexed image) by the extension rules of
// imageSaveName. Returns false when nothing could be written (not reported to the user).
bool saveImageFile(const Surface& surface, const std::vector<uint32_t>& colourTable,
                   const std::string& path);

}  // namespace ts
