#include "formats/project_lines.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "script/settings.h"

namespace ts {
std::string projectFormatLines(const App& app) {
    // A format that the project file named but that was never selected (a batch run does not
    // open the main window, which selects it) is written back as it was read.
    const std::string& name = !formatState(app).selectedSinceStartUp && !systemSettings(app).formatToSelect.empty()
                                  ? systemSettings(app).formatToSelect
                                  : formatState(app).currentName;
    if (name.empty()) return {};
    return formatText("  Format = \"%s\"\n\n", name.c_str());
}
}  // namespace ts
