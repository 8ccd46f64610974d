#pragma once
// The `convert.compression` setting (French `convert.compactage`): how conversions pack the
// tilesets, maps and bitmaps they write (0 none, 1 LZ77, 2 run-length; palettes stay raw).
namespace ts {

struct App;

// convert.compression = 0 | 1 | 2 | none | lz77 | rle (aucune, too). Another value is a script
// error and leaves the setting.
void cmdCompression(App& app, char* args);

}  // namespace ts
