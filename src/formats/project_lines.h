#pragma once
// Lines that the formats and platforms subsystems contribute to the project file's infos section.
#include <string>

namespace ts {
struct App;
// "  Format = \"%s\"\n\n" when a format is selected.
std::string projectFormatLines(const App& app);
// Every model as a DefineModel block, then "  Model = \"%s\"\n\n".
std::string projectModelLines(const App& app);
// "  Platform = \"%s\"\n", then every platform's own settings lines.
std::string projectPlatformLines(const App& app);
}  // namespace ts
