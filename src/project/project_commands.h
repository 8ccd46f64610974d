#pragma once
// Script commands of the project subsystem.

#include <string>

namespace ts {

struct App;

// clean-project / nettoie-projet: removes the elements whose data files are missing, then the
// reference file's sections of missing files. Takes no argument.
void cmdCleanProject(App& app, char* args);

// exportimage / exporteimage "name", "file"[, type]: draws the element as the preview does and
// saves it as an image chosen by the file's extension (PNG, BMP, JPEG, TIFF, GIF). The type (map,
// tileset, palette, bitmap, in either language) picks among elements sharing the name; without it
// a map comes first, then a bitmap, a tileset, a palette.
void cmdExportImage(App& app, char* args);

// The same for the element at `index`; false when it was not drawn or not written (reported).
bool exportElementImage(App& app, int index, const std::string& file);

}  // namespace ts
