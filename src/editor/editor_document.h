#pragma once
// The map editor's document: the table of up to 20 planes, their link groups and histories, the
// display options the settings script sets, the selection store and the timed messages. It holds
// no window; the window reads it and calls the functions below.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "editor/plane_record.h"
#include "editor/selection_store.h"

namespace ts {

struct App;

constexpr int kMaxMessages = 10;           // timed messages shown at once
constexpr size_t kMessageTextMax = 1023;   // characters of one message
constexpr int32_t kMessageLifeMs = 3000;   // how long a message stays
constexpr int kMaxSpecimenPlanes = 20;
constexpr uint32_t kDefaultGridColor = 0x404040;  // window colour order, red in the low byte
constexpr uint32_t kDefaultBackground = 0xF0F0F0; // view background until the window gives its own

struct TimedMessage {
    std::string text;
    int32_t remainingMs = kMessageLifeMs;
};

// Where a window stands on the screen (left, top, width, height) and whether it is maximized.
struct WindowPlace {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool maximized = false;
};

// The display options of the editor (script objects editor, maps, modehexa, bits).
struct EditorOptions {
    double zoom = 1.0;
    int32_t gridShown = 0;
    uint32_t gridColor = kDefaultGridColor;
    int32_t alphaGrid = 96;
    int32_t alphaForeground = 160;
    int32_t alphaGfx = 128;
    int32_t alphaHex = 96;
    int32_t transparency = 0;
    int32_t hexMode = 0;
    int32_t fillZeros = 0;
    int32_t hexActiveMap = 1;  // "Gfx map as background"
    int32_t preciseZoom = 0;
    int32_t popupInfos = 1;
    int32_t popupTime = 61;    // units of 10 ms
    uint32_t invisibleBlock = 0xFFFF;
    int32_t zeroMask = 0;
    int32_t bitsZeroMask = 1;
    int32_t panelWidth = 128;
};

struct EditorDocument {
    bool open = false;                        // the editor is showing
    std::string settingsFile;                 // settings script of the map the editor was opened on
    std::array<PlaneRecord, MaxPlanes> planes;  // slots 0..count-1 hold planes
    int count = 0;
    int active = 0;
    std::array<LinkList, MaxPlanes> links;    // link list of every slot

    int64_t memoryUsed = 0;    // bytes held by all histories
    int64_t memoryLimit = 0;   // a quarter of the available memory when the editor opened

    EditorOptions options;
    uint32_t background = kDefaultBackground;  // view background colour (0x00RRGGBB)

    // Tool state shared by the tools and the dialogs.
    uint32_t currentPattern = 0;
    int32_t scrollX = 0;   // view's top-left corner in the active plane, pixels
    int32_t scrollY = 0;
    std::string statusText;  // the status line ("Pattern: %i (%04x)")

    SelectionStore store;

    std::deque<TimedMessage> messages;  // oldest first, at most kMaxMessages

    // Bits display and specimen window.
    bool bitTablesMade = false;  // labels and flags exist (bits display or a Bits command used)
    bool bitsShown = false;
    WindowPlace bitsPlace;
    bool specimenExists = false;  // the window made it
    bool specimenShown = false;
    WindowPlace specimenPlace;
    std::vector<int> specimenPlanes;  // slots, in the order added

    WindowPlace editorPlace{0, 0, 800, 600, false};
    // Screen rectangles the window system offers (the window fills them in); a window is only
    // placed where its rectangle touches one of them.
    std::vector<WindowPlace> screens{WindowPlace{0, 0, 1920, 1080, false}};

    // Set by the editor's own actions, read by the window: the title and memory text changed.
    std::string title;
    std::string memoryText = "Mem: 0 ko";
    bool undoEnabled = false;
    bool redoEnabled = false;
};

// The editor document of the running program (owned by the process state, made on first use).
EditorDocument& editorDocument(App& app);

// ---- opening and closing the editor ----

// Opens the editor on one map or list element (measure memory, defaults, first plane, settings
// script, "onopen" hook). False when the editor does not open (unusable tile size, no plane,
// a script returned 0); the document is then closed again.
bool openEditor(App& app, const ElementRecord& element);

// Asks about every modified plane, saves what the user wants and writes the settings script.
// False when the user cancelled: nothing is closed then.
bool closeEditor(App& app);

// Empties the plane table (maps.reset): every plane and history is freed.
void resetPlanes(App& app);

// ---- planes ----

enum OpenResult : int { OpenDone = 0, OpenFailed = 1, OpenAlready = 2 };

// Opens a map element (a list element goes to openListPlane) into `slot` (-1: a new slot at the
// end). A full table shows "The background limit is reached!" and gives OpenFailed.
int openPlane(App& app, const ElementRecord& element, int slot = -1);
int openListPlane(App& app, const ElementRecord& element, int slot = -1);

// Saves one plane through the platform, runs the "onsave" hook, marks it saved. 1 or 0.
int savePlane(App& app, int slot);
// Saves every plane of the active plane's link group. 1 when all were saved.
int saveGroup(App& app);
// Ctrl+S and the save command: the group, then the settings script.
int saveCommand(App& app);

void activatePlane(App& app, int slot);

// True when slot is an open plane.
bool planeOpen(const EditorDocument& doc, int slot);
// The active plane's link list, limited to open planes (the active plane alone when empty).
std::vector<int> activeGroup(const EditorDocument& doc);
// The link group of any slot, limited to open planes.
std::vector<int> groupOf(const EditorDocument& doc, int slot);

// ---- history (plane_history.cpp does the work; these keep the title and buttons in step) ----

void pushSnapshot(App& app, int slot);
void undo(App& app, int slot);
void redo(App& app, int slot);
void resetHistory(App& app, int slot);
// Group forms: every plane of the active plane's link group, in list order.
void pushGroupSnapshot(App& app);
void undoGroup(App& app);
void redoGroup(App& app);
void resetGroupHistory(App& app, int slot);  // the group of `slot`
// Starts the history of a plane again from its cells as they are. When memory is short the old
// history stays and false is returned. With keepModified the plane keeps its modified state,
// otherwise it counts as modified.
bool restartHistory(App& app, int slot, bool keepModified);
// Scroll steps: the smallest block size over each plane's link group.
void updateScrollSteps(EditorDocument& doc);

// ---- texts ----

bool planeModified(const PlaneRecord& plane);
void updateTitle(EditorDocument& doc);
void updateUndoButtons(EditorDocument& doc);
void updateMemoryText(EditorDocument& doc);
// "Mem: ..." for a number of bytes.
std::string memoryTextOf(int64_t bytes);

// ---- timed messages ----

void postMessage(EditorDocument& doc, const std::string& text);
// Every message loses `elapsedMs`; those at 0 or below go.
void ageMessages(EditorDocument& doc, int32_t elapsedMs);

// ---- consistency (tests and the fuzzer) ----

// Empty when the document is consistent, else what is wrong.
std::string checkDocument(const EditorDocument& doc);

}  // namespace ts
