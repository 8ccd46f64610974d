#pragma once
// The project file (".tsp"): the `infos` section of settings, the `files` section of element
// records and the user's free `data` section, written as CR LF text.
#include <functional>
#include <memory>
#include <string>

namespace ts {

struct App;
class TextFile;

// The first line of every project file (the same French text in both editions).
extern const char* const kProjectMagicLine;  // "#Fichier de projet Tilesmithery\n"

// Lines longer than this are read in pieces by the project readers.
constexpr size_t kProjectLineLimit = 2048;  // at most 2047 bytes per read
// Project files larger than this are not read (a text project with a full table and data section
// stays far below it, a legacy one below 600 kB).
constexpr long long kProjectFileMax = 16LL << 20;

enum class WriteProjectResult { Written, Cancelled, Failed };

// Asks the user for a project file name (the project save dialog); "" when the user cancels.
using AskProjectName = std::function<std::string()>;

// The whole text of the project file as written (LF line ends; the file gets CR LF).
std::string projectFileText(const App& app);

// Writes the project. An empty path asks `askName` for one (none given: Cancelled); a name whose
// file part has no "." gets ".tsp". The file is replaced atomically; a failure is reported with
// an error box and leaves the previous file as it was. `writtenPath`, when given, receives the
// name that was used (the caller keeps it as the project path).
WriteProjectResult WriteProject(App& app, const std::string& path, const AskProjectName& askName = {},
                                std::string* writtenPath = nullptr);

// ".tsp" appended when the file part of the name has no ".".
std::string withProjectExtension(const std::string& name);

// Loads a project: the files section into the element table, then runs the infos and data
// sections; a file that does not begin with the magic line goes through the legacy reader (with
// a ".bak" copy). A file larger than kProjectFileMax is renamed to ".bak" and not read. A file
// that cannot be opened, or an empty one, changes nothing. False when nothing was loaded.
bool ReadProject(App& app, const std::string& path);

// Opens the file as text and finds the line ".section <name>" (or <second>), lower case; returns
// the file positioned after it, or none.
std::unique_ptr<TextFile> FindSection(const std::string& path, const char* name, const char* second = nullptr);
// The same on an open file, from its current position; true when found.
bool findSectionIn(TextFile& file, const char* name, const char* second = nullptr);

// Reads the files section from the file's current position into the element table (emptied
// first), as the records stand. Stops at "End", "Fin" or ".section" lines and at the end of the
// file. Returns the number of records that did not fit into the table.
int readProjectElements(App& app, TextFile& file);

}  // namespace ts
