#include "project/window_session.h"

#include "host/file_system.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "project/project_paths.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "script/settings.h"

namespace ts {

bool runStartHook(App& app) {
    if (!runScriptFile(app, systemSettings(app).scriptName, "onstart")) return false;
    const ScriptState& state = scriptState(app);
    return state.stopRequest == 2 || state.returnValue == 0;
}

bool runQuitHook(App& app) {
    if (!runScriptFile(app, systemSettings(app).scriptName, "onquit")) return true;
    return scriptState(app).returnValue != 0;
}

void runProcedure(App& app, const std::string& label) { runScriptFile(app, systemSettings(app).scriptName, label); }

bool saveProjectAs(App& app, bool askAlways, const std::function<std::string()>& askName) {
    std::string path = askAlways ? std::string() : projectPaths(app).projectPath;
    std::string written;
    WriteProjectResult result = WriteProject(app, path, askName, &written);
    if (result != WriteProjectResult::Written) return false;
    if (!written.empty()) {
        projectPaths(app).projectPath = absolutePath(written);
        setCurrentDirectory(directoryOf(projectPaths(app).projectPath));
    }
    return true;
}

bool closeProject(App& app, bool save, const std::function<std::string()>& askName) {
    if (!runQuitHook(app)) return false;
    if (!save) return true;
    return saveProjectAs(app, false, askName);
}

void newProject(App& app) {
    clearElements(app);
    projectPaths(app).projectPath.clear();
    projectPaths(app).dataSection.clear();
    projectPaths(app).dataSectionRead = false;
}

bool openProject(App& app, const std::string& path) {
    clearElements(app);
    projectPaths(app).projectPath = absolutePath(path);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));
    bool read = ReadProject(app, projectPaths(app).projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));
    return read;
}

}  // namespace ts
