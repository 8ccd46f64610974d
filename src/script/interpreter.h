#pragma once
// The script interpreter: statements from files and texts, labels, objects, arrays and hooks.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/identifier.h"

namespace ts {

struct App;
class TextFile;

// Runs statements from an open file (closed at the end) from its current position. With a label,
// statements are skipped until that label line is found.
void runScript(App& app, std::unique_ptr<TextFile> file, std::string_view label = {});
// Runs a text of ";"-separated statements (the command line's batch script).
void runScriptText(App& app, std::string_view text, std::string_view label = {});
// Sets the return value to 1; false for an empty name or a file that cannot be opened, otherwise
// runs the file from the label and gives true.
bool runScriptFile(App& app, const std::string& name, std::string_view label = {});

// Appends a row unless one with the same name, target and kind is registered already.
void registerIdentifier(App& app, const ScriptIdentifier& row);

// Reports a script error (caption "Erreur d'exécution du script", error icon).
void scriptError(App& app, const std::string& text);

// The underscore labels of a script file, as the Procedures menu lists them. `status` is 0 when
// labels were read, 1 when no script name is set, 2 when the file cannot be opened (the menu
// then shows "(No script specified)", "(No script)" or "(None)" when the list is empty).
struct ProcedureList {
    int status = 0;
    std::vector<std::string> labels;
};
ProcedureList buildProceduresMenu(App& app, const std::string& scriptName);

}  // namespace ts
