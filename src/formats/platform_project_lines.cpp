#include "formats/project_lines.h"
#include "host/message_box.h"
#include "project/app_state.h"

namespace ts {
std::string projectModelLines(const App& app) {
    return "  DefineModel \"Default\"\t\t{\n  }\n  Model = \"Default\"\n\n";
}
std::string projectPlatformLines(const App& app) {
    return "  Platform = \"Game Boy Advance, Nintendo\"\n";
}
}  // namespace ts
