#include "project/window_session.h"

#include <unistd.h>

#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "project/project_paths.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "resources/texts.h"
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

bool inReadOnlyFolder(const std::string& path) {
    const std::string folder = nativePath(directoryOf(path));
    return ::access(folder.c_str(), F_OK) == 0 && ::access(folder.c_str(), W_OK) != 0;
}

bool takeWindowLock(App& app, FileLock& lock, const std::string& path) {
    std::string reason;
    {
        BusyScope busy(hostServices(app));
        if (lock.acquire(path, windowLockWaitMs(), {}, &reason)) return true;
    }
    const std::string text = lock.heldByAnother() ? formatText(tr(T::ProjectOpenElsewhere), path.c_str())
                                                  : lockFailureText(lock, path, reason);
    showBox(hostServices(app), tr(T::CaptionError), text, Icon::Error);
    return false;
}

bool switchProjectLock(App& app, const std::string& path) {
    ProjectPaths& paths = projectPaths(app);
    if (path.empty()) {
        paths.lock.reset();
        paths.lockedPath.clear();
        return true;
    }
    if (paths.lock && paths.lock->held() && paths.lockedPath == path) return true;
    if (inReadOnlyFolder(path)) {
        paths.lock.reset();
        paths.lockedPath = path;
        return true;
    }
    auto lock = std::make_unique<FileLock>();
    if (!takeWindowLock(app, *lock, path)) return false;
    paths.lock = std::move(lock);
    paths.lockedPath = path;
    return true;
}

bool saveProjectAs(App& app, bool askAlways, const std::function<std::string()>& askName) {
    std::string path = askAlways ? std::string() : projectPaths(app).projectPath;
    const std::string before = projectPaths(app).lockedPath;
    // A new name is locked before anything is written under it; a name whose lock is held by
    // another run counts as no name given.
    auto askLocked = [&]() -> std::string {
        std::string name = askName ? askName() : std::string();
        if (!name.empty() && !switchProjectLock(app, absolutePath(withProjectExtension(name)))) return {};
        return name;
    };
    std::string written;
    WriteProjectResult result = WriteProject(app, path, askLocked, &written);
    if (result != WriteProjectResult::Written) {
        if (projectPaths(app).lockedPath != before) switchProjectLock(app, before);
        return false;
    }
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
    switchProjectLock(app, {});
    clearElements(app);
    projectPaths(app).projectPath.clear();
    projectPaths(app).dataSection.clear();
    projectPaths(app).dataSectionRead = false;
}

bool openProject(App& app, const std::string& path) {
    if (!switchProjectLock(app, absolutePath(path))) return false;
    clearElements(app);
    projectPaths(app).projectPath = absolutePath(path);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));
    bool read = ReadProject(app, projectPaths(app).projectPath);
    setCurrentDirectory(directoryOf(projectPaths(app).projectPath));
    return read;
}

}  // namespace ts
