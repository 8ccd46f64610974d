#pragma once
// The template variables (`file`, `name`, `size`, `memory`, ...) that writers set before they
// expand a template and that the reader fills from a data file, and the eight user buffers.
//
// Typical save:   resetTemplateVariables(app); setTemplateText(app, "file", ...);
//                 setTemplateInteger(app, "size", n); ... then writeTemplate(...).
// Typical load:   resetTemplateVariables(app); setTemplateText(app, "link", "") for every text
//                 that should receive a value; matchTemplate(...); then getTemplateText/Integer.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/format_state.h"

namespace ts {

struct App;

// Fills the table with its sixteen rows (file, sizex, sizey, size, memory, name, link, tilex,
// tiley, depth, type, null, bits, gfxmask, tilebase, model), the three rows of packed data
// (packing, unpacked, packed), and takes the start-up copy.
// Called once by the formats start-up step.
void initTemplateVariables(App& app);

// Restores every row from the start-up copy (externally held integers keep their live value)
// and copies the current format's user texts into the user buffers. Every save and every load
// starts with this.
void resetTemplateVariables(App& app);
// Only the second half of the above: user buffers = current format's user texts.
void loadUserBuffers(App& app);

// The row of that exact name, or none.
TemplateVariable* findTemplateVariable(App& app, std::string_view name);

// Sets a text row (and marks it set, so the writer writes it and the reader assigns to it).
// Setting "" on a text row is how a loader gives a row a destination. False for an unknown
// name or a row that is not a text.
bool setTemplateText(App& app, std::string_view name, std::string_view text);
// Sets an integer row (an externally held row writes through to its live integer).
bool setTemplateInteger(App& app, std::string_view name, int32_t value);

// The text of a text row ("" when unknown or not set).
std::string getTemplateText(App& app, std::string_view name);
// True when the text row exists and has been set.
bool isTemplateTextSet(App& app, std::string_view name);
// The value of an integer row (0 when unknown or not an integer).
int32_t getTemplateInteger(App& app, std::string_view name);

// Points an externally held integer row (sizex, sizey, tilex, tiley, gfxmask, tilebase) at a
// live integer of another subsystem, in the table and in its start-up copy. False for a row
// that is not externally held.
bool bindTemplateInteger(App& app, std::string_view name, int32_t* target);

// User buffer n (1..8); none for another n.
std::string* userBuffer(App& app, int n);

// "user[n]" with n = 1..8 gives n; any other "user[...]" gives 0; a name that is not of the form
// "user[" gives -1.
int userIndexOf(std::string_view name);

}  // namespace ts
