#pragma once
// The "Execute (script)" dialog's run: the typed text goes through a private temporary file, so
// labels, `goto`, `definefmt` and `definemodel` work as in any script file.
#include <string>

namespace ts {

struct App;

// Most characters the dialog takes.
constexpr size_t kScriptInviteMax = 10000;

// Writes the text (without its carriage returns, cut to kScriptInviteMax, followed by
// "\nFin\n\n\n\n") to a temporary file created for this run only (exclusively, readable by its
// owner alone), runs it as a script file and removes it. False, with an error box, when no
// temporary file could be made.
bool runScriptInvite(App& app, const std::string& text);

}  // namespace ts
