#include "project/ui/tree_context_menu.h"

#include <QMenu>
#include <QTreeWidgetItem>
#include <memory>

#include "host/file_system.h"
#include "host/host_services.h"
#include "host/ui/qt_text.h"
#include "project/element_commands.h"
#include "project/element_table.h"
#include "project/tree_layout.h"
#include "project/ui/element_properties_dialog.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"

namespace ts {
namespace {

QAction* item(QMenu* menu, const QString& text, const char* objectName) {
    QAction* a = menu->addAction(text);
    a->setObjectName(objectName);
    return a;
}

void elementMenu(MainWindow& window, QMenu* menu, int index) {
    App& app = window.app();
    const ElementRecord record = elementTable(app).records[size_t(index)];
    if (fileExists(record.file)) {
        QObject::connect(item(menu, qtr(T::CtxViewCode), "ctx-view-code"), &QAction::triggered, menu, [&app, record] {
            hostServices(app).openFile(absolutePath(record.file));
        });
    } else {
        item(menu, qtr(T::CtxFileNotFound), "ctx-file-not-found")->setEnabled(false);
    }
    if (record.type() == TYPE_CARTE)
        QObject::connect(item(menu, qtr(T::CtxEdit), "ctx-edit"), &QAction::triggered, menu,
                         [&window, index] { window.openMapEditor(index); });
    if (!record.baseFile.empty() && fileExists(record.baseFile))
        QObject::connect(item(menu, qtr(T::CtxBaseFile), "ctx-base-file"), &QAction::triggered, menu,
                         [&app, record] { hostServices(app).openFile(absolutePath(record.baseFile)); });
    menu->addSeparator();
    QObject::connect(item(menu, qtr(T::CtxDuplicate), "ctx-duplicate"), &QAction::triggered, menu,
                     [&window, index] { window.duplicateElement(index); });
    QAction* rename = item(menu, qmenu(T::CtxRename), "ctx-rename");
    rename->setShortcut(QKeySequence(Qt::Key_F2));
    QObject::connect(rename, &QAction::triggered, menu, [&window, index] { window.tree()->startRename(index); });
    QAction* remove = item(menu, qmenu(T::CtxDelete), "ctx-delete");
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    QObject::connect(remove, &QAction::triggered, menu, [&window, index] { window.deleteElement(index); });
    QObject::connect(item(menu, qtr(T::CtxProperties), "ctx-properties"), &QAction::triggered, menu, [&window, index] {
        if (runElementPropertiesDialog(window.app(), index, &window)) window.refreshTree();
    });
}

void folderMenu(MainWindow& window, QMenu* menu, int index) {
    App& app = window.app();
    const std::string name = elementTable(app).records[size_t(index)].name;
    QMenu* defaults = menu->addMenu(qtr(T::CtxDefaultFolderFor));
    defaults->setObjectName("ctx-default-folder-for");
    struct Entry { T text; uint32_t type; const char* objectName; };
    const Entry entries[] = {{T::CtxFolderTilesets, TYPE_MOSAIQUE, "ctx-default-tilesets"},
                             {T::CtxFolderMaps, TYPE_CARTE, "ctx-default-maps"},
                             {T::CtxFolderPalettes, TYPE_PALETTE, "ctx-default-palettes"},
                             {T::CtxFolderBitmaps, TYPE_BITMAP, "ctx-default-bitmaps"},
                             {T::CtxFolderLists, TYPE_LISTE, "ctx-default-lists"}};
    for (const Entry& e : entries) {
        QAction* a = item(defaults, qtr(e.text), e.objectName);
        a->setCheckable(true);
        a->setChecked(defaultFolderOf(app, e.type) == name);
        const uint32_t type = e.type;
        QObject::connect(a, &QAction::triggered, menu, [&window, type, name] {
            toggleDefaultFolder(window.app(), type, name);
            window.refreshTree();
        });
    }
    QObject::connect(item(menu, qtr(T::CtxFolderRename), "ctx-rename"), &QAction::triggered, menu,
                     [&window, index] { window.tree()->startRename(index); });
    QObject::connect(item(menu, qtr(T::CtxFolderDelete), "ctx-delete"), &QAction::triggered, menu,
                     [&window, index] { window.deleteElement(index); });
}

void branchMenu(MainWindow& window, QMenu* menu, int branch) {
    App& app = window.app();
    const uint32_t type = kBranchTypes[size_t(branch)];
    const std::string& current = defaultFolderOf(app, type);
    if (!current.empty()) {
        QObject::connect(item(menu, qtr(T::CtxRestoreDefaultFolder), "ctx-restore-default-folder"), &QAction::triggered,
                         menu, [&window, type] {
                             restoreDefaultFolder(window.app(), type);
                             window.refreshTree();
                         });
    }
    if (anyDefaultFolder(app)) {
        QObject::connect(item(menu, qtr(T::CtxRestoreAllFolders), "ctx-restore-all-folders"), &QAction::triggered, menu,
                         [&window] {
                             restoreAllFolders(window.app());
                             window.refreshTree();
                         });
        menu->addSeparator();
    }
    if (!current.empty()) {
        char text[700];
        std::snprintf(text, sizeof text, ts::tr(T::CtxCurrentFolder), current.c_str());
        item(menu, toQt(text), "ctx-current-folder")->setEnabled(false);
    } else {
        item(menu, qtr(T::CtxFolderOk), "ctx-folder-ok")->setEnabled(false);
    }
}

}  // namespace

QMenu* buildTreeContextMenu(MainWindow& window, QTreeWidgetItem* node, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("tree-context-menu");
    menu->setAccessibleName(qtr(T::ContextMenuAccessibleName));
    const int record = window.tree()->recordOfItem(node);
    const int branch = window.tree()->branchOfItem(node);
    if (record >= 0) {
        if (elementTable(window.app()).records[size_t(record)].isFolder()) folderMenu(window, menu, record);
        else elementMenu(window, menu, record);
    } else if (branch >= 0) {
        branchMenu(window, menu, branch);
    }
    return menu;
}

void showTreeContextMenu(MainWindow& window, QTreeWidgetItem* node, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(buildTreeContextMenu(window, node, &window));
    if (!menu->isEmpty()) menu->exec(globalPos);
}

}  // namespace ts
