#pragma once
// Global settings of the map editor that live outside an open editor.
#include <cstdint>

namespace ts {

struct EditorSettings {
    int32_t timing = 10;          // redraw interval in milliseconds
    int32_t mapsMultiPalettes = 1;
};

struct App;
// The EditorSettings of the running program (held by the process state).
EditorSettings& editorSettings(App& app);
const EditorSettings& editorSettings(const App& app);

}  // namespace ts
