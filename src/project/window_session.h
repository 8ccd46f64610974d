#pragma once
// The project script's hooks around the window's life, and saving when it closes.
#include <functional>
#include <string>

namespace ts {

struct App;

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

// "New": empties the element table and forgets the project's name.
void newProject(App& app);
// "Open": reads another project file in place of the current project (its folder becomes the
// current directory). False when it could not be read (the project is then empty under that name).
bool openProject(App& app, const std::string& path);

}  // namespace ts
