#pragma once
// The interpreter's state: one set for the whole program, shared by nested runs.
#include <string>
#include <vector>

#include "script/identifier.h"

namespace ts {

class TextFile;
class FormControlHost;

struct ScriptState {
    int stopRequest = 0;           // 0 running, 1 end/return, 2 quit
    bool labelPending = false;
    std::string pendingLabel;      // lower case
    int returnValue = 1;
    TextFile* currentFile = nullptr;  // the file the current statement comes from
    int currentIndex = 0;          // zero-based index of the statement ("[n]" minus 1)
    bool treeRefreshGate = true;
    bool bitsChanged = false;
    int runDepth = 0;              // nesting of runs (guards against runaway recursion)
    std::vector<ScriptIdentifier> registered;  // rows registered at run time (platform objects)
    FormControlHost* forms = nullptr;          // the main window's creation forms, when shown
};

struct App;
// The ScriptState of the running program (held by the process state).
ScriptState& scriptState(App& app);
const ScriptState& scriptState(const App& app);

}  // namespace ts
