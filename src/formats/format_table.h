#pragma once
// The format table: the built-in "Standard" C format, look-up and selection.
#include <string>

#include "formats/format_state.h"

namespace ts {

struct App;

// The built-in C format "Standard" with all its texts.
FormatRecord standardFormat();

// Index of the first format of that exact name, or -1.
int findFormat(const App& app, const std::string& name);

// Copies record `index` into the current format and makes it the selected one.
void applyFormat(App& app, int index);

// The section of the current format (index kSectionBitmap..kSectionList).
const FormatSection& currentSection(const App& app, int section);

}  // namespace ts
