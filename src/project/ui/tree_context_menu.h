#pragma once
// The context menus of the project tree: of an element, of a folder and of a branch.
class QMenu;
class QPoint;
class QTreeWidgetItem;
class QWidget;

namespace ts {

class MainWindow;

// The menu of a node, its actions wired to the window's commands (the caller owns it).
QMenu* buildTreeContextMenu(MainWindow& window, QTreeWidgetItem* item, QWidget* parent);
// Builds and shows it at a screen position.
void showTreeContextMenu(MainWindow& window, QTreeWidgetItem* item, const QPoint& globalPos);

}  // namespace ts
