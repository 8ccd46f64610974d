#pragma once
// Settings of the top-level variables and of the `system` object.
#include <array>
#include <cstdint>
#include <string>

namespace ts {

constexpr int kDefaultFolderCount = 12;
constexpr size_t kStringVariableMax = 511;

struct SystemSettings {
    int32_t messages = 1;
    std::string directory;                 // the project file's Directory line
    std::string scriptName = "script.spt";
    std::string userHelp = "lisezmoi.htm";
    std::array<std::string, kDefaultFolderCount> defFolders;  // slot t - 1 holds the folder of element type code t
    int32_t maxObjects = 1024;
    int32_t saveMapsParams = 1;
    int32_t saveMapsParamsAuto = 0;
    uint32_t maxMemory = 33554432;
    int32_t autoFormatSelection = 1;
    int32_t emulGba = 0;
    std::string formatToSelect;  // remembered by `format`, selected when the window starts
    std::string modelToSelect;   // remembered by `model`
};

struct App;
// The SystemSettings of the running program (held by the process state).
SystemSettings& systemSettings(App& app);
const SystemSettings& systemSettings(const App& app);

}  // namespace ts
