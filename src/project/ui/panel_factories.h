#pragma once
// What the right-hand panel shows: the creation form of a branch, the text of the Palettes
// branch, or the preview of an element. The main window asks these functions for the widget.
#include <functional>

class QWidget;

namespace ts {

struct App;

struct PanelFactories {
    // Forms of the branches: Tilesets "Create a tilemap", Bitmaps "Create a simple image", Maps
    // "Create a new table to use as a giant map", Lists "Create a new object list". Null: none.
    std::function<QWidget*(App&, QWidget* parent)> tilemapForm, simpleImageForm, giantMapForm, objectListForm;
    // The preview of the element at a table index.
    std::function<QWidget*(App&, int index, QWidget* parent)> preview;
    // Copy preview / Export (image) on the panel's current content; false when it has nothing to give.
    std::function<bool(App&, QWidget* content)> copyPreview, exportPreview;
    // Dialogs of the menu bar: "Options..." (the options sheet), "Platform..." and "File formats...".
    std::function<void(App&, QWidget* parent)> optionsSheet, platformsDialog, formatsDialog;
    // Called once the main window is built (the script's form controls attach to it).
    std::function<void(App&, QWidget* window)> attachWindow;
};

// The forms and the preview of this program.
PanelFactories defaultPanelFactories();

}  // namespace ts
