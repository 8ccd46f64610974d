#pragma once
// Script commands and selection of formats: definefmt / defformat, setformat / selformat,
// selection by name and by file extension, and the formats start-up step.
#include <string>

namespace ts {

struct App;
class TextFile;

// Start-up: the format table holds only the built-in "Standard" format, which is current; the
// template variables are created with their start-up copy; the no-error flag is off.
void initFormats(App& app);

// definefmt / defformat: `"name"` or `name {` on the command line; reads the block that follows
// from scriptState(app).currentFile (does nothing when there is none) and leaves the file after it.
void cmdDefineFormat(App& app, char* args);
// setformat / selformat: a quoted name, selected now.
void cmdSetFormat(App& app, char* args);

// Reads the lines of a format block from `file` up to its closing brace and defines or updates
// the format `name` (a new format starts as a copy of the current one).
void defineFormatBlock(App& app, TextFile& file, const std::string& name);

// Selects the first format of that exact name; unknown names show "Format not found: %s"
// (caption "Internal error: ChoisitFormat") and keep the current format.
bool ChoisitFormat(App& app, const std::string& name);

// With system.autoformatselection on, selects the one format that has a section whose extension
// matches the file's; none or several matches keep the current format.
void AutoSelectFormat(App& app, const std::string& fileName);

// The effect of the `format` variable: selects the format whose name it remembered
// (system.formatToSelect), when there is one. Called when the main window starts.
void selectRememberedFormat(App& app);
// Batch runs: selects the remembered format and model only when they are defined at start. One
// that is not (defined by a script that a later statement includes, say) stays remembered and is
// written back to the project as it was; "Standard" and "Default" serve until a script selects one.
void selectRememberedFormatAndModelIfDefined(App& app);

// The extension that AutoSelectFormat compares ("gfx/ship.til.c" gives "til.c").
std::string formatExtensionOf(const std::string& fileName);

}  // namespace ts
