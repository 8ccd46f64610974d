#pragma once
// The settings script kept beside each map: which planes are opened with it and how the editor
// shows them. Written as script lines of the editor's objects (maps, modehexa, editor, specimen,
// bits) and run again when the map is opened.
#include <string>

namespace ts {

struct App;
struct EditorDocument;

// The script text for the open planes and options (LF line ends; the file gets CR LF).
std::string settingsScriptText(const EditorDocument& doc);

// Writes the settings script of the first plane's data file, replacing the old one only once the
// new one is complete. Nothing happens unless system.savemapsparams is set or no plane is open.
// False when the file could not be written (reported).
bool writeSettings(App& app);

// The bit labels and flags of the 20 slots exist from the first use of the bits display or of a
// Bits command on; this makes them (standard labels, bits 10-15 shown) unless they exist.
void makeBitTables(EditorDocument& doc);

// Command handlers of the editor's script objects (the script's current index selects the plane).
void cmdMapsAdd(App& app, char* args);
void cmdMapsReset(App& app, char* args);
void cmdMapsLink(App& app, char* args);
void cmdMapsScrollRate(App& app, char* args);
void cmdMapsAddCondition(App& app, char* args);
void cmdMapsGrid(App& app, char* args);
void cmdMapsEmulGba(App& app, char* args);
void cmdEditorMove(App& app, char* args);
void cmdEditorZoom(App& app, char* args);
void cmdSpecimenShow(App& app, char* args);
void cmdSpecimenAddMap(App& app, char* args);
void cmdSpecimenMove(App& app, char* args);
void cmdBitsShow(App& app, char* args);
void cmdBitsBitText(App& app, char* args);
void cmdBitsBitEnabled(App& app, char* args);
void cmdBitsMove(App& app, char* args);

// Links the listed planes (numbers from 1, as Maps.Link reads them): numbers 0, above the plane
// count and repeated ones are dropped. Each listed plane gets the list and a fresh history (its
// modified state kept); a plane whose history cannot be restarted keeps its old list. False when
// nothing was listed.
bool linkPlanes(App& app, const std::string& numbers);

}  // namespace ts
