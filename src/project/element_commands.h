#pragma once
// The project tree's commands on elements and folders, without the window: renaming (with the
// data file of a duplicate), duplicating, deleting, moving by drag and drop, default folders,
// adding folders and files dropped from the file manager.
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

struct App;
struct ElementRecord;

// A name as the user typed it, made fit for the table: line breaks and other control characters
// become blanks, blanks at both ends go, at most 30 characters.
std::string cleanElementName(const std::string& text);

// The end of an in-place edit of a record's name. An empty text changes nothing. An element is
// taken out and added again under the new name (which may so become numbered; it moves to the
// end of the table); an element whose data file is missing is renamed where it stands. When the
// edit was started by "Duplicate" (`duplicatedFrom` >= 0), the duplicate first gets a copy of
// the duplicated element's data file named after it, and that file's reference section. A
// folder's new name is written into every record in it and every default folder naming it; a
// name that another folder has is refused. Returns the record's index afterwards, or -1 when
// nothing changed.
int renameRecord(App& app, int index, const std::string& text, int duplicatedFrom = -1);

// The data file a duplicate named `newName` gets: the directory of `file`, the new name and the
// extension of `file` (the text after the first dot of its file name).
std::string duplicateFilePath(const std::string& file, const std::string& newName);

// "Duplicate": a copy of the record under a free name, added to the table (same data file until
// it is renamed). Returns its index, or -1.
int duplicateRecord(App& app, int index);

// True when the map editor has a plane opened from the element's data file. The editor sits
// beside the window and writes its planes back when it saves: such an element can be neither
// deleted nor given another data file until the editor lets it go.
bool openInEditor(App& app, const ElementRecord& record);

// "Delete" on an element: refused while it is open in the editor; asks (Yes/No/Cancel, No
// preselected) when its data file can be opened; Yes sends the file to the trash first. On a
// folder: asks when it holds records (Yes/No, No preselected), then deletes it. True when the
// record was removed.
bool deleteRecord(App& app, int index);

// Where a dragged record was dropped.
enum class DropTarget { Branch, Folder, Element };
// Moves a dragged record: onto a branch or an element in no folder, the record leaves its folder
// (a record in none is not moved; the note says so the first time, `noteShown` remembers it);
// onto a folder or an element in a folder, it goes into that folder (a folder into itself or
// its own subfolder is refused). True when the record changed.
bool dropRecord(App& app, int dragged, DropTarget target, int targetRecord, bool& noteShown);

// Default folders of the folder context menu and of the branch context menu.
void toggleDefaultFolder(App& app, uint32_t type, const std::string& folder);
void restoreDefaultFolder(App& app, uint32_t type);
void restoreAllFolders(App& app);
bool anyDefaultFolder(const App& app);

// "Add a folder": a new folder record named `name` (cut to 30 characters) placed into `place`
// ("root", a branch's root name or a folder's name). An empty name or one that a folder has
// already is refused with a message. Returns the new record's index, or -1.
int addFolderRecord(App& app, const std::string& name, const std::string& place);

// The element type that a file's extension gives among the defined formats' extensions
// (bitmap, palette, tileset, map, list), or 0 when none matches.
uint32_t elementTypeOfFile(const App& app, const std::string& path);
// A file dropped from the file manager, added as an element by its extension. Folders, missing
// files and unknown extensions are skipped. Returns the new record's index, or -1.
int addDroppedFile(App& app, const std::string& path);

}  // namespace ts
