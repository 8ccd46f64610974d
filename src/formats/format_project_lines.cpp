#include "formats/project_lines.h"
#include "host/message_box.h"
#include "project/app_state.h"

namespace ts {
std::string projectFormatLines(const App& app) {
    // A format that the project file named but that was never selected (a batch run does not
    // open the main window, which selects it) is written back as it was read.
    const std::string& name = !app.formats.selectedSinceStartUp && !app.system.formatToSelect.empty()
                                  ? app.system.formatToSelect
                                  : app.formats.currentName;
    if (name.empty()) return {};
    return formatText("  Format = \"%s\"\n\n", name.c_str());
}
}  // namespace ts
