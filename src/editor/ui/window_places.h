#pragma once
// Where the editor window and its tool windows go: a place from the settings script is taken only
// when it lies on one of the screens, and then the whole window is kept on that screen, so a
// script written on another desk never puts a window out of reach.
#include <QWidget>

#include "editor/editor_document.h"

class QScreen;

namespace ts {

// The screen whose available area the rectangle overlaps most; null when it overlaps none.
QScreen* screenUnder(const QRect& rect);

// Puts a window at a stored place. With `size` and a positive width and height, the window takes
// that size, kept between its minimum size and the size of the screen. The position is taken only
// when the window's rectangle there overlaps a screen, and is then moved as little as needed for
// the whole window to lie on that screen; a place on no screen leaves the window where it is.
void placeWindow(QWidget& window, const WindowPlace& place, bool size);

// The place of a window as the settings script stores it: position and client size, the normal
// ones while it is maximized.
WindowPlace placeOf(const QWidget& window);

// Keeps a shown window's frame position and client size in `place` (a hidden window changes nothing).
void rememberPlace(const QWidget& window, WindowPlace& place);

}  // namespace ts
