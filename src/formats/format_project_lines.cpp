#include "formats/project_lines.h"
#include "host/message_box.h"
#include "project/app_state.h"

namespace ts {
std::string projectFormatLines(const App& app) {
    if (app.formats.currentName.empty()) return {};
    return formatText("  Format = \"%s\"\n\n", app.formats.currentName.c_str());
}
}  // namespace ts
