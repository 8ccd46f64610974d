// The main window's menu bar: every command with its identifier and key.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "host/ui/qt_text.h"
#include "project/ui/main_window.h"

namespace ts {

QAction* MainWindow::addCommand(QMenu* menu, int command, const QString& text, const QString& objectName,
                                const QKeySequence& key) {
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    action->setProperty("commandId", command);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    if (menu) menu->addAction(action);
    else addAction(action);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    return action;
}

QAction* MainWindow::action(int command) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->property("commandId").toInt() == command) return a;
    return nullptr;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menu-bar");
    bar->setAccessibleName(qtr(T::MenuBarAccessibleName));
    auto menu = [&](T title, const char* objectName) {
        QMenu* m = bar->addMenu(qtr(title));
        m->setObjectName(objectName);
        m->setAccessibleName(qtr(title).remove('&'));
        return m;
    };
    QMenu* file = menu(T::MenuFile, "menu-file");
    addCommand(file, CmdNew, qmenu(T::MenuNew), "menu-new", QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(file, CmdOpen, qmenu(T::MenuOpen), "menu-open", QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(file, CmdSave, qmenu(T::MenuSave), "menu-save", QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(file, CmdSaveAs, qmenu(T::MenuSaveAs), "menu-save-as");
    file->addSeparator();
    addCommand(file, CmdPlatform, qmenu(T::MenuPlatform), "menu-platform");
    addCommand(file, CmdFileFormats, qmenu(T::MenuFileFormats), "menu-file-formats");
    file->addSeparator();
    addCommand(file, CmdQuitWithoutSaving, qmenu(T::MenuQuitWithoutSaving), "menu-quit-without-saving",
               QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menu(T::MenuEdit, "menu-edit");
    // Ctrl+C copies the preview from anywhere in the window; a text field that has the focus
    // takes the key first and copies its own text.
    addCommand(edit, CmdCopyPreview, qmenu(T::MenuCopyPreview), "menu-copy-preview", QKeySequence(Qt::CTRL | Qt::Key_C));
    addCommand(edit, CmdExportImage, qmenu(T::MenuExportImage), "menu-export-image",
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X));

    QMenu* view = menu(T::MenuView, "menu-view");
    addCommand(view, CmdRefreshTree, qmenu(T::MenuRefreshTree), "menu-refresh-tree", QKeySequence(Qt::Key_F5));
    addCommand(view, CmdAddFolder, qmenu(T::MenuAddFolder), "menu-add-folder");

    QMenu* tools = menu(T::MenuTools, "menu-tools");
    addCommand(tools, CmdScriptInvite, qmenu(T::MenuScriptInvite), "menu-script-invite",
               QKeySequence(Qt::CTRL | Qt::Key_I));
    addCommand(tools, CmdCleanProject, qmenu(T::MenuCleanProject), "menu-clean-project");
    addCommand(tools, CmdOptions, qmenu(T::MenuOptions), "menu-options");

    procedures_ = menu(T::MenuProcedures, "menu-procedures");
    addCommand(procedures_, CmdProceduresNone, qmenu(T::MenuProceduresNone), "menu-procedures-none")
        ->setEnabled(false);

    QMenu* help = menu(T::MenuHelp, "menu-help");
    addCommand(help, CmdDocumentation, qmenu(T::MenuDocumentation), "menu-documentation", QKeySequence(Qt::Key_F1));
    addCommand(help, CmdUserHelp, qmenu(T::MenuUserHelp), "menu-user-help", QKeySequence(Qt::Key_F3));
    addCommand(help, CmdAbout, qmenu(T::MenuAbout), "menu-about");

    // Keys without a menu item: Escape, Enter, Tab and Shift+Tab act on the panel.
    for (QAction* a : findChildren<QAction*>())
        if (!a->text().isEmpty()) a->setIconText(a->text());
}

}  // namespace ts
