#pragma once
// The project script's hooks around the window's life, and saving when it closes.
#include <functional>
#include <string>

namespace ts {

struct App;
class FileLock;

// Runs "onstart". True when the window must close at once (a `quit` or a `return 0` there).
bool runStartHook(App& app);
// Runs "onquit". True when the closing may go on (false: the script returned 0).
bool runQuitHook(App& app);
// Runs a procedure of the Procedures menu (an underscore label of the project script).
void runProcedure(App& app, const std::string& label);

// The closing of the window: "onquit", then, when `save`, the project written to its file (a
// name is asked for when it has none). True when the program may end; false when "onquit"
// returned 0, the user gave no name, or the file could not be written.
bool closeProject(App& app, bool save, const std::function<std::string()>& askName);

// Saves the project: under its path, or under a name asked for when it has none or `askAlways`.
// The path becomes the name used. False when cancelled or not written.
bool saveProjectAs(App& app, bool askAlways, const std::function<std::string()>& askName);

// "New": empties the element table, forgets the project's name and releases its lock.
void newProject(App& app);
// "Open": takes the lock of another project file and reads it in place of the current project
// (its folder becomes the current directory). False when it could not be read (the project is
// then empty under that name) or when its lock is held elsewhere (reported; nothing changed).
bool openProject(App& app, const std::string& path);

// True when the project file `path` lies in a folder that exists but takes no new file (read-only):
// a window opens such a project without its lock, as it did before windows took the lock, since
// it could not save there anyway.
bool inReadOnlyFolder(const std::string& path);

// Takes the lock of the project file `path` for a window. A batch run on the project is given a
// short while to finish (windowLockWaitMs, under "Please wait..."); a project still held after
// that is open in another window, which keeps it as long as it is open, so the window refuses at
// once and says so. True when the lock is held.
bool takeWindowLock(App& app, FileLock& lock, const std::string& path);

// Holds the lock of the project file `path` (absolute) instead of the one held now; an empty path
// releases it. A lock held elsewhere is refused as takeWindowLock says, and the old lock is kept.
// True when the lock of `path` is held.
bool switchProjectLock(App& app, const std::string& path);

}  // namespace ts
