#pragma once
// Where the editor's tool windows go: a place from the settings script is taken only when the
// window's rectangle there lies on one of the screens, so a script written on another desk never
// puts a window out of reach.
#include <QWidget>

#include "editor/editor_document.h"

namespace ts {

// True when the rectangle overlaps a screen's available area by at least 100 x 50 pixels.
bool placeOnScreen(const QRect& rect);

// Moves the window to place.left/top (and sizes it to place.width/height when `size` is set and
// both are positive) when that rectangle lies on a screen; else leaves it where it is.
void placeWindow(QWidget* window, const WindowPlace& place, bool size);

// Keeps a shown window's frame position and client size in `place` (a hidden window changes nothing).
void rememberPlace(const QWidget& window, WindowPlace& place);

}  // namespace ts
