#include "startup/startup.h"

#include <cstdio>
#include <unistd.h>

#include "convert/conv_command.h"
#include "convert/image_file.h"
#include "formats/format_commands.h"
#include "formats/platform_commands.h"
#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "host/text_encoding.h"
#include "resources/texts.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "project/project_file.h"
#include "project/window_session.h"
#include "script/interpreter.h"
#include "startup/command_line.h"

namespace ts {

StartMode prepareStartup(App& app, const std::string& commandLine, const std::string& programDirectory,
                         std::string& rest, FileLock* projectLock) {
    projectPaths(app).programDirectory = programDirectory;
    initializeApp(app);

    CommandLineParts parts = splitProjectAndRest(commandLine);
    projectPaths(app).projectPath = absolutePath(parts.projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));

    // Batch runs started together on one project (make -j) take turns: each holds the project
    // from reading it to writing it back. A window holds it while the project is open, except in
    // a read-only folder (inReadOnlyFolder), or in one that does not exist yet, where the window
    // starts on an empty project.
    const bool window = parts.rest.empty();
    const bool windowWithoutLock =
        window && ::access(nativePath(directoryOf(projectPaths(app).projectPath)).c_str(), W_OK) != 0;
    if (projectLock && !windowWithoutLock) {
        const std::string& path = projectPaths(app).projectPath;
        if (window) {
            // Another window keeps the project as long as it is open: no point waiting for it.
            if (!takeWindowLock(app, *projectLock, path)) return StartMode::Refused;
        } else {
            std::string reason;
            auto waiting = [&] {
                std::fprintf(stderr, "%s\n", toUtf8(formatText(tr(T::FileLockWaiting), path.c_str())).c_str());
            };
            if (!projectLock->acquire(path, lockTimeoutMs(), waiting, &reason)) {
                showBox(hostServices(app), tr(T::CaptionError), lockFailureText(*projectLock, path, reason),
                        Icon::Error);
                return StartMode::Refused;
            }
        }
    }

    ReadProject(app, projectPaths(app).projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));

    rest = parts.rest;
    if (rest.empty()) return StartMode::Interactive;
    return rest[0] == '-' ? StartMode::BatchConversion : StartMode::BatchScript;
}

int runBatch(App& app, StartMode mode, const std::string& rest) {
    // The window selects the format and the model that the project names when it opens; a batch
    // run must write the same files, so it selects them before it starts.
    selectRememberedFormatAndModelIfDefined(app);
    if (mode == StartMode::BatchConversion) {
        for (const auto& piece : splitConversionPieces(rest)) runConversion(app, piece.c_str());
    } else if (mode == StartMode::BatchScript) {
        runScriptText(app, rest);
    }
    WriteProject(app, projectPaths(app).projectPath);
    return hostServices(app).failureSeen() ? 1 : 0;
}

}  // namespace ts
