#pragma once
// The "General" page of the options sheet without its widgets: what the fields show, and the
// rules by which OK stores them into the settings.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

struct App;

// Entries of the "Max memory previews" list; the last one stands for "no limit" (value 0).
constexpr std::array<const char*, 9> kMaxMemoryEntries = {"192 kB", "8 MB",   "32 MB", "64 MB", "128 MB",
                                                           "256 MB", "512 MB", "1 GB",  "Max."};
constexpr int kEditorTimingMax = 1000;  // "Timer editor" upper bound in milliseconds

struct GeneralOptionsState {
    std::string maxObjects;        // "Max list elem. number" as typed
    bool saveMapsParams = true;
    bool saveMapsParamsAuto = false;
    int model = 0;                 // position in the model list
    std::string timer;             // "Timer editor" as typed
    std::string maxMemory;         // "Max memory previews" as typed or chosen
    bool autoFormat = true;
};

// What the page shows for the current settings.
GeneralOptionsState loadGeneralOptions(const App& app);
// The model names the "Default model (object lists)" list offers, in table order.
std::vector<std::string> modelNames(const App& app);
// The text of a preview memory size: "Max." for 0, else the size as the project file writes it.
std::string maxMemoryText(uint32_t bytes);
// "Automatic saving" is usable only while "Save map parameters" is checked; unchecking that
// box clears it too.
void setSaveMapsParams(GeneralOptionsState& state, bool checked);

// True while the map editor has planes open (the list size and the models are then refused).
bool editorHasPlanes(App& app);

// OK: applies the fields in the page's order. With the map editor open, a new list size is refused
// with its message and the other fields still apply.
void applyGeneralOptions(App& app, const GeneralOptionsState& state, bool editorOpen);

}  // namespace ts
