#pragma once
// The format reader: matches a template against data read from a file, assigns what stands where
// the variables were written to the template variables, and reads values with number formats.
//
// Positions are byte offsets into data[0..length). A result greater than `length` (length + 1)
// means "does not match / end of data": callers stop reading there.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/template_object_fields.h"

namespace ts {

struct App;

// Matches a template from `position` and returns the position after what was matched, or
// length + 1 when the data does not match. Text in front of the template's first fixed text is
// skipped; a fixed text that cannot be found after a capture triggers a resynchronisation on a
// later fixed text of at least 4 characters. Messages use the "Debuging" box. With an object,
// `%obj.<field>%` directives assign fields of that list entry.
size_t matchTemplate(App& app, const char* data, size_t length, size_t position, std::string_view templ,
                     const ObjectFieldAccess* object = nullptr);

// Reads one value with a number format from `position`. Returns the new position (a partial
// match of the format's trailing text counts), or length + 1 when nothing of the format matched.
size_t readElement(App& app, const char* data, size_t length, size_t position, std::string_view numberFormat,
                   uint32_t& value);

// Assigns a captured text to a variable by name: prefix `$` (hexadecimal) or `#N` (N raw bytes),
// decimal otherwise; `obj.` fields (with an object), `user[n]`, then the template variables (an
// integer row, or a text row that was given a destination). Unknown names and `null` are ignored.
void assignTemplateVariable(App& app, std::string_view name, std::string_view captured,
                            const ObjectFieldAccess* object = nullptr);

}  // namespace ts
