#pragma once
// Start-up of the program: the state's defaults, the directories, the project file, and the
// choice between the batch modes and the interactive window.
#include <string>

namespace ts {

struct App;

class FileLock;

// Refused: the project's lock could not be taken (reported); nothing was read or written.
enum class StartMode { BatchConversion, BatchScript, Interactive, Refused };

// Steps up to the choice of the mode: defaults, project path made absolute and its folder made
// the current directory, project file read. Returns the mode and leaves the rest of the command
// line in `rest`. `projectLock` (when given) takes the project's lock first: a batch run waits up
// to lockTimeoutMs() for it, a window only briefly (see takeWindowLock).
StartMode prepareStartup(App& app, const std::string& commandLine, const std::string& programDirectory,
                         std::string& rest, FileLock* projectLock = nullptr);

// Runs a batch mode to its end, then writes the project. The exit status: 0 when no error or
// warning box and no diagnostic was shown, 1 otherwise.
int runBatch(App& app, StartMode mode, const std::string& rest);

}  // namespace ts
