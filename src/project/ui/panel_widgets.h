#pragma once
// The right-hand panel's contents and the dialogs of the menu bar, as the main window asks for
// them (project/ui/panel_factories.h): creation forms, element preview, copy and export of the
// preview, the options sheet, the Platforms and I/O formats dialogs.
#include <string>

class QWidget;

namespace ts {

struct App;
struct PanelFactories;

QWidget* makeTilemapForm(App& app, QWidget* parent);
QWidget* makeSimpleImageForm(App& app, QWidget* parent);
// Maps and Lists: without a tileset in the project no form is shown; the status text says why.
QWidget* makeGiantMapForm(App& app, QWidget* parent);
QWidget* makeObjectListForm(App& app, QWidget* parent);
QWidget* makeElementPreview(App& app, int index, QWidget* parent);
// "Copy preview" / "Export (image)" on the panel's content; false when it is no preview.
bool copyPanelPreview(App& app, QWidget* content);
bool exportPanelPreview(App& app, QWidget* content);

// Fills the factories with the functions above and the dialogs.
void addPanelWidgets(PanelFactories& factories);

}  // namespace ts
