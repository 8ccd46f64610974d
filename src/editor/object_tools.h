#pragma once
// The tools on object-list planes: the current object and the selection, snapped moves inside
// the map, the rectangle that copies objects into the store or toggles their selection, and the
// object clipboard (copy, cut, delete, paste at the mouse within system.maxobjects).
#include "editor/editor_session.h"

namespace ts {

// The plane pixel under a surface pixel of the view (list planes scroll by whole grid steps).
void objectPlanePoint(const EditorDocument& doc, int slot, int px, int py, int64_t& x, int64_t& y);
// The last object in list order whose block holds the plane point, or -1.
int objectAt(const PlaneRecord& plane, int64_t x, int64_t y);

// Left press: an object under the mouse becomes the current one (Ctrl: joins the selection) and a
// move starts. False when the press is on empty space.
bool pressObject(App& app, EditorSession& session, int px, int py, Modifiers mods);
// Shifts the moved objects by the movement since the press (snapped to the grid unless Shift),
// keeping them inside the map.
EditReport moveObjects(App& app, EditorSession& session, int px, int py, Modifiers mods);
// End of a move: a group snapshot when something moved.
EditReport finishObjectMove(App& app, EditorSession& session);
// Right drag released: copies the objects overlapping the rectangle into the store's object
// layer, or with Ctrl toggles their selection.
EditReport objectRectangle(App& app, EditorSession& session, int px, int py, Modifiers mods);
// Painting on a list: copies of the stored objects repeated over the rectangle, or one object of
// the current pattern per cell.
void paintObjects(App& app, EditorSession& session, const CellRect& rect, EditReport& report);

// The store's object layer `layer` repeated over a rectangle of cells of the list plane in `slot`
// (clipped to its map); stops when the list is full (the message was shown).
void paintObjectLayer(App& app, int slot, const CellRect& rect, int layer, EditReport& report);
// Copies the objects of the list plane in `slot` whose block overlaps a rectangle of cells into
// the store's object layer `layer`, positions relative to the rectangle (system.maxobjects at most).
void copyObjectsToLayer(App& app, int slot, const CellRect& rect, int layer);

// The clipboard: the selected objects, or the current one.
bool copyObjects(App& app, EditorSession& session);
EditReport deleteObjects(App& app, EditorSession& session);
EditReport cutObjects(App& app, EditorSession& session);
// Adds the clipboard's objects with their smallest x and y at the cell's corner.
EditReport pasteObjects(App& app, EditorSession& session, CellPoint cell);

}  // namespace ts
