#pragma once
// The specimen map window's view: the first specimen plane drawn at its block size from a scroll
// position in whole cells, the rectangle the user drags to pick blocks (and the mark it leaves),
// and the scrolling while a drag is outside the window. No window types here.
#include <cstdint>

#include "editor/editor_document.h"
#include "editor/surface.h"
#include "formats/platform_types.h"

namespace ts {

struct App;

constexpr int kSpecimenLineCells = 2;        // scroll bar line step, in cells
constexpr int kSpecimenPageCells = 16;       // scroll bar page step, in cells
constexpr int kSpecimenDragCells = 2;        // auto-scroll step while a drag is outside
constexpr int kSpecimenDragCellsShift = 8;   // the same with Shift held
constexpr int kSpecimenDragIntervalMs = 100; // between two auto-scroll steps
constexpr int kSpecimenDragAlpha = 128;      // fill of the rectangle being dragged
constexpr int kSpecimenMarkAlpha = 96;       // fill of the rectangle picked last
constexpr uint32_t kSpecimenWhite = 0xFFFFFF;  // window colour order
constexpr uint32_t kSpecimenRed = 0x0000FF;    // window colour order (red in the low byte)
constexpr uint32_t kSpecimenBlack = 0x000000;

enum class SpecimenMark { None, Dragging, Picked };

struct SpecimenView {
    int firstCol = 0;  // cell at the view's top-left corner
    int firstRow = 0;
    int viewWidth = 0;   // pixels
    int viewHeight = 0;
    SpecimenMark mark = SpecimenMark::None;
    int startCol = 0, startRow = 0;  // the rectangle's corners in cells of the plane
    int endCol = 0, endRow = 0;
    int mouseX = 0, mouseY = 0;      // last mouse position during a drag (view pixels)
    uint64_t lastScrollMs = 0;
};

// The plane the window draws: the first specimen plane when it is an open map, else null.
const PlaneRecord* specimenPlane(const EditorDocument& doc);

// Columns and rows the view shows (partly shown ones count), and the largest first column / row.
int specimenVisibleCols(const EditorDocument& doc, const SpecimenView& view);
int specimenVisibleRows(const EditorDocument& doc, const SpecimenView& view);
int specimenMaxCol(const EditorDocument& doc, const SpecimenView& view);
int specimenMaxRow(const EditorDocument& doc, const SpecimenView& view);

// Moves the view (clamped to the plane); a picked mark goes when the position changes.
// True when it moved.
bool specimenScrollTo(const EditorDocument& doc, SpecimenView& view, int col, int row);

// The frame: background, the plane's cells in view, then the rectangle. `target` has the view's size.
void drawSpecimen(Surface& target, const EditorDocument& doc, const SpecimenView& view,
                  const PlatformRecord* platform = nullptr);

// True when the rectangle reaches beyond the plane (it is then filled red and picks nothing).
bool specimenRectOutside(const EditorDocument& doc, const SpecimenView& view);

// Mouse: a press starts the rectangle at the cell under the mouse, a movement moves its end
// (clipped to the cells the window shows), a release picks the blocks (pickSpecimen). The
// release gives true when the store was filled.
void specimenPress(const EditorDocument& doc, SpecimenView& view, int px, int py);
void specimenMove(const EditorDocument& doc, SpecimenView& view, int px, int py);
bool specimenRelease(App& app, SpecimenView& view, int px, int py);

// While a drag is outside the view: every 100 ms the view moves 2 cells (8 with Shift) towards
// the mouse and the rectangle's end follows. True when it scrolled.
bool specimenDragScroll(const EditorDocument& doc, SpecimenView& view, uint64_t nowMs, bool shift);

}  // namespace ts
