#pragma once
// The one place where the tools and the block operations change map cells. Every write is
// clipped to its plane and reports the cells it touched, so the window knows what to redraw;
// the caller ends each user action with a group snapshot (finishEdit).
#include <cstdint>
#include <vector>

#include "editor/editor_document.h"

namespace ts {

// A rectangle of cells, both corners included.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool empty() const { return right < left || bottom < top; }
};

// The rectangle between two cells, corners in any order.
CellRect cellRectBetween(int x0, int y0, int x1, int y1);
// The part of a rectangle that lies on the plane.
CellRect clipToPlane(const CellRect& rect, const PlaneRecord& plane);

// What an edit touched: one rectangle of cells per plane slot (empty when untouched).
struct EditReport {
    std::array<CellRect, MaxPlanes> touched{};
    bool changed = false;  // some cell (or object) was written

    void add(int slot, const CellRect& rect);
    void merge(const EditReport& other);
};

// The cell rectangle as a rectangle of view pixels (left, top, width, height) at the editor's
// scroll position, or an empty rectangle when it is out of the view.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
PixelRect viewRectOfCells(const EditorDocument& doc, int slot, const CellRect& rect);

// Writes `value` into every cell of the rectangle (clipped to the plane).
void fillCells(EditorDocument& doc, int slot, const CellRect& rect, uint32_t value, EditReport& report);

// Fills the rectangle with a layer of the store repeated from the rectangle's top-left cell (cell
// (dx, dy) takes store cell (dx mod store width, dy mod store height)); the store's holes (the
// invisible block value, 0 while the zero mask is on) leave the cell as it is. `origin` is the
// cell where the repetition starts (normally the rectangle's top-left).
void fillFromStore(EditorDocument& doc, int slot, const CellRect& rect, int originX, int originY, int layer,
                   EditReport& report);

// Copies the rectangle of a map plane (clipped) into a layer of the store. Gives the clipped
// rectangle (empty when nothing lies on the plane).
CellRect copyToStore(EditorDocument& doc, int slot, const CellRect& rect, int layer);

// Moves a block of w x h cells from (sx, sy) to (dx, dy) through a temporary block, setting the
// source cells to 0 first, so that overlapping blocks move whole. The size is clipped to the plane
// from the source and from the destination. `scratch` is the temporary block (allocated by the
// caller beforehand, so that a shortage is found before anything changes); false when it is too
// small and cannot grow (nothing changed).
bool moveCells(EditorDocument& doc, int slot, int sx, int sy, int w, int h, int dx, int dy,
               std::vector<uint32_t>& scratch, EditReport& report);

// Ends a user action: a group snapshot when something changed.
void finishEdit(App& app, const EditReport& report);

}  // namespace ts
