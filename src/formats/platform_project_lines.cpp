// The project file's lines for parameter models and platforms.
#include "formats/model.h"
#include "formats/platform.h"
#include "formats/project_lines.h"
#include "host/message_box.h"
#include "formats/model_table.h"
#include "script/settings.h"
#include "formats/platform_state.h"
#include "script/values.h"

namespace ts {

namespace {
constexpr size_t kQuotedNameMax = 512;
}

std::string projectModelLines(const App& app) {
    std::string out;
    for (const Model& model : modelTable(app).models) {
        out += formatText("  DefineModel \"%s\"\t\t{\n", model.name.c_str());
        for (const ModelParam& param : model.params) {
            out += formatText("  \t%i, %i, %s, %s\n", param.kind, param.size,
                              quoteString(param.name, '"', kQuotedNameMax).c_str(),
                              quoteString(param.defaultText, '"', kQuotedNameMax).c_str());
        }
        out += "  }\n";
    }
    // Like the format: a remembered model that was never selected is written back as it was read.
    const std::string& remembered = systemSettings(app).modelToSelect;
    const std::string& name =
        !modelTable(app).selectedSinceStartUp && !remembered.empty() ? remembered : currentModel(app).name;
    out += formatText("  Model = \"%s\"\n\n", name.c_str());
    return out;
}

std::string projectPlatformLines(const App& app) {
    std::string out = formatText("  Platform = \"%s\"\n", currentPlatform(app).name);
    for (const PlatformRecord& record : platformState(app).records)
        if (record.writeSettings) record.writeSettings(app, 0, out);
    return out;
}

}  // namespace ts
