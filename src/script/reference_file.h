#pragma once
// The reference index file beside the project file ("projet.tsp" -> "projet.ref"): for each data
// file a section "@path@" holding the record that the current format's `ref_info` template
// produced when the file was saved. Every operation reads the file whole and, when it changes
// something, writes it whole again (to a temporary file renamed over the old one).
#include <cstddef>
#include <string>
#include <string_view>

namespace ts {

struct App;
struct ElementRecord;

// The header line every reference file starts with.
extern const char* const kReferenceHeader;  // "# Tilesmithery property reference index file version 1.0\n"

// The reference file's path for projectPaths(app).projectPath (the text from the last "." of the file name
// replaced by ".ref"; ".ref" appended when the file name has no ".").
std::string referenceFilePath(const App& app);

// Reads the whole file into `text` when it exists and its header is valid. An invalid file is
// renamed with ".bak" appended and reported; it then counts as missing. False when missing.
bool readReferenceFile(App& app, std::string& text);

// Offset of the first line (at a line start) that begins with "@" + name + "@"; -1 when none.
long findSectionLine(std::string_view name, const char* text, size_t length);
// Offset of the first section line ("@...@" directly before the line end) at or after `offset`;
// -1 when none.
long nextSectionLine(const char* text, long offset, size_t length);

// Reads the element's section (named by its data file) through `templ` (the current format's
// ref_info for the element's kind), filling the template variables. Nothing happens when the
// template is empty, the file is missing or has no such section.
void readSection(App& app, const std::string& templ, const ElementRecord& element);
// Replaces or appends the element's section with the expanded template (carriage returns
// dropped). Nothing happens when the template is empty.
void writeSection(App& app, const std::string& templ, const ElementRecord& element);

// Mode 0 deletes the section of oldName, 1 renames it to newName, 2 adds a copy of it under
// newName. Modes 1 and 2 need a new name ("Serious error" box when it is missing).
void reworkSection(App& app, int mode, const std::string& oldName, const std::string* newName = nullptr);

// Deletes every section whose named file does not exist (the reference half of "Clean project").
void cleanReferenceFile(App& app);

}  // namespace ts
