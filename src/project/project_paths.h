#pragma once
// Where the program and the open project live, and the project file's data section as read.
#include <memory>
#include <string>

#include "host/file_lock.h"

namespace ts {

struct ProjectPaths {
    std::string programDirectory;  // the executable's folder
    std::string projectPath;       // absolute path of the project file
    std::string dataSection;       // the project file's data section, as read
    bool dataSectionRead = false;
    // Absolute path of a project file whose reading left elements out: writing it back would
    // lose them, so that file is kept as it is. Empty otherwise.
    std::string incompleteProject;
    // The window's hold on the open project (empty while the project has no file): other
    // windows and batch runs on the same project wait for it or are refused.
    std::unique_ptr<FileLock> lock;
    std::string lockedPath;
};

struct App;
// The ProjectPaths of the running program (held by the process state).
ProjectPaths& projectPaths(App& app);
const ProjectPaths& projectPaths(const App& app);

}  // namespace ts
