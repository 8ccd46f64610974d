#include "startup/startup.h"

#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "formats/format_commands.h"
#include "formats/platform_commands.h"
#include "host/file_system.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "project/project_file.h"
#include "script/interpreter.h"
#include "startup/command_line.h"

namespace ts {

StartMode prepareStartup(App& app, const std::string& commandLine, const std::string& programDirectory,
                         std::string& rest) {
    projectPaths(app).programDirectory = programDirectory;
    initializeApp(app);

    CommandLineParts parts = splitProjectAndRest(commandLine);
    projectPaths(app).projectPath = absolutePath(parts.projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));

    ReadProject(app, projectPaths(app).projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));

    rest = parts.rest;
    if (rest.empty()) return StartMode::Interactive;
    return rest[0] == '-' ? StartMode::BatchConversion : StartMode::BatchScript;
}

int runBatch(App& app, StartMode mode, const std::string& rest) {
    deferImagePluginSearch();
    // The window selects the format and the model that the project names when it opens; a batch
    // run must write the same files, so it selects them before it starts.
    selectRememberedFormat(app);
    if (!systemSettings(app).modelToSelect.empty()) ChoisitModele(app, systemSettings(app).modelToSelect);
    if (mode == StartMode::BatchConversion) {
        for (const auto& piece : splitConversionPieces(rest)) runConversion(app, piece.c_str());
    } else if (mode == StartMode::BatchScript) {
        runScriptText(app, rest);
    }
    WriteProject(app, projectPaths(app).projectPath);
    return hostServices(app).failureSeen() ? 1 : 0;
}

}  // namespace ts
