#pragma once
// The editing tools of the map editor as plain events: the window hands in cells (or view
// pixels), buttons and modifier flags; the session changes the document through the cell edits
// (every change ends with a group snapshot) and tells what to redraw. No window types here.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/cell_edits.h"
#include "editor/editor_document.h"

namespace ts {

struct App;

constexpr int kDragThreshold = 4;        // pixels the mouse moves before a press becomes a drag
constexpr double kZoomStep = 0.5;        // zoom change of one wheel notch with Ctrl
constexpr int kMaxGridStep = 64;         // numeric + doubles the grid up to this
constexpr int kMinPanelOpacity = 75;     // pattern panel at rest
constexpr int kStoredPanelOpacity = 25;  // pattern panel at rest while the store holds a block
constexpr int kPanelOpacityStep = 5;     // per 10 ms

struct Modifiers {
    bool ctrl = false;
    bool shift = false;
};

struct CellPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CellPoint&) const = default;
};

enum class DragKind { None, Paint, Select, Pan, MoveObjects, ObjectRect };

// The tools' state of one open editor.
struct EditorSession {
    DragKind drag = DragKind::None;
    CellPoint dragStartCell;
    int dragStartX = 0;          // surface pixels of the press
    int dragStartY = 0;
    int dragStartScrollX = 0;    // pan: scroll position at the press
    int dragStartScrollY = 0;
    bool dragged = false;        // moved kDragThreshold pixels or more since the press
    CellPoint dragCell;          // cell under the mouse during the drag

    bool hovering = false;       // the mouse is over the view
    CellPoint hoverCell;
    int hoverX = 0;              // surface pixels
    int hoverY = 0;
    uint64_t hoverSinceMs = 0;   // when the mouse came to rest on hoverCell

    // Pattern panel.
    int panelScrollRows = 0;
    int panelOpacity = 255;
    bool panelHover = false;
    int panelHoverBlock = -1;

    // Object-list planes.
    int currentObject = -1;
    std::vector<int> selectedObjects;
    std::vector<uint8_t> objectClipboard;  // whole entries
    int clipboardEntrySize = 0;
    int clipboardCount = 0;
    int moveLastX = 0;           // surface pixels of the last movement
    int moveLastY = 0;
    std::vector<int32_t> moveOrigins;  // x, y of each moved object at the press
    std::vector<int> movedObjects;     // the objects a move shifts

    uint64_t lastDragScrollMs = 0;  // when a drag outside the view last scrolled it
    int viewWidth = 0;           // surface pixels of the view (0: releases count as inside)
    int viewHeight = 0;

    std::string status;          // the status line
    std::string scriptText;      // what was typed last in "Execute (script)"
    int bitsValue = 0;           // the value the bits display shows (picked or copied)
};

// ---- cells and scrolling ----

// The cell of the plane in `slot` under a surface pixel of the view (view pixel / zoom).
CellPoint cellAtPixel(const EditorDocument& doc, int slot, int surfaceX, int surfaceY);
// Sets the scroll position from scroll bars: rounded down to the active plane's scroll step,
// kept at 0 or above.
void scrollTo(EditorDocument& doc, int64_t x, int64_t y);

// Arrow keys: the view moves by one scroll step in x and/or y (dx, dy in -1, 0, 1).
void scrollByStep(EditorDocument& doc, int dx, int dy);
// While a paint or select drag is outside the view, the view scrolls towards the mouse by one step
// every 50 ms (10 ms with Shift). Call it on every tick; true when it scrolled.
bool dragScroll(App& app, EditorSession& session, uint64_t nowMs, bool shift);

// ---- maps ----

// Paints the rectangle between two cells of the active plane (left release): the current pattern
// when the store is empty, else the store's block repeated from the rectangle's top-left cell,
// one layer per plane of the group (only the active plane with Ctrl). Ends with a group snapshot.
EditReport paintRect(App& app, EditorSession& session, CellPoint a, CellPoint b, Modifiers mods);

// Copies the rectangle between two cells into the store (right release), from every plane of the
// group (at most 5) or only the active one with Ctrl. A 1 x 1 block without links (or with Ctrl)
// becomes the current pattern and empties the store. False when the block is too big (the
// message was shown).
bool selectRect(App& app, EditorSession& session, CellPoint a, CellPoint b, Modifiers mods);

// Paints the store back at the rectangle it was copied from ("Paste", Ctrl+V on a map), when it
// holds more than one cell.
EditReport pasteStore(App& app, EditorSession& session);

// The value that draws the k-th block (k through the plane's rules backwards).
uint32_t valueOfTile(const PlaneRecord& plane, uint32_t k);
// Left release on the pattern panel at block k: k below the tile count becomes the current
// pattern (turned back through the rules) and empties the store. False when k is out of range.
bool pickFromPanel(App& app, EditorSession& session, int k);
// Block index under a panel pixel (row and column of panelWidth / block width blocks per row).
int panelBlockAt(const EditorDocument& doc, const EditorSession& session, int panelWidth, int px, int py);

// One wheel notch (`away`: away from the user). With Ctrl the zoom changes by 0.5 within 1.0 to
// 4.0; without, a stored block is dropped, or the current pattern steps by one within the map's
// value mask (stopping at the ends, wrapping in hex mode).
void wheel(App& app, EditorSession& session, bool away, Modifiers mods);

// Ctrl+H: hex mode on or off; the active plane's block becomes 16 x 16 or its default grid again.
void setHexMode(EditorDocument& doc, bool on);

// Numeric + / -: grid step x 2 (up to 64) or / 2 (down to 1), both axes, of the active plane.
void stepGrid(EditorDocument& doc, bool larger);

// ---- mouse events (surface pixels of the view) ----

// Left/right/middle press and release and movement; `nowMs` feeds the popup timer.
void pressLeft(App& app, EditorSession& session, int px, int py, Modifiers mods);
EditReport releaseLeft(App& app, EditorSession& session, int px, int py, Modifiers mods);
void pressRight(App& app, EditorSession& session, int px, int py, Modifiers mods);
EditReport releaseRight(App& app, EditorSession& session, int px, int py, Modifiers mods);
void pressMiddle(App& app, EditorSession& session, int px, int py);
void releaseMiddle(App& app, EditorSession& session);
EditReport mouseMove(App& app, EditorSession& session, int px, int py, Modifiers mods, uint64_t nowMs);
void mouseLeave(EditorSession& session);

// ---- information popup ----

// The popup's two lines for the present state (no drag, paint drag with a store, other drags).
std::vector<std::string> popupLines(const EditorDocument& doc, const EditorSession& session);
// True when the popup shows now (editor.popupinfos and the mouse at rest long enough).
bool popupVisible(const EditorDocument& doc, const EditorSession& session, uint64_t nowMs);

// ---- pattern panel animation ----

// Moves the panel opacity towards its target by one step per 10 ms elapsed; true while it moves.
bool animatePanel(const EditorDocument& doc, EditorSession& session, int elapsedMs);

// True while the tools' part of the view changes by itself: the panel's opacity moving, the
// pulsing highlight of list objects, a popup waiting for its time, a drag scrolling the view.
bool toolsAnimating(const EditorDocument& doc, const EditorSession& session, uint64_t nowMs);

// A digest of the tools' state that the view shows (for ViewClock).
uint64_t overlayState(const EditorDocument& doc, const EditorSession& session, uint64_t nowMs);

}  // namespace ts
