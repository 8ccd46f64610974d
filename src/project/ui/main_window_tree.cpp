// The main window's side of the project tree: selection routing, double click, rename, delete,
// drag and drop, and files dropped from the file manager.
#include "editor/editor_document.h"
#include "editor/ui/editor_window.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/ui/qt_text.h"
#include "project/element_commands.h"
#include "project/element_table.h"
#include "project/tree_layout.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "project/ui/tree_context_menu.h"

namespace ts {

void MainWindow::wireTree() {
    tree_->selectionChangedHandler = [this] { showPanelForSelection(); };
    tree_->activatedHandler = [this](int record) { openElement(record); };
    tree_->contextMenuHandler = [this](QTreeWidgetItem* item, const QPoint& pos) {
        showTreeContextMenu(*this, item, pos);
    };
    tree_->renamedHandler = [this](int record, const std::string& text, int duplicatedFrom) {
        int index = renameRecord(app_, record, text, duplicatedFrom);
        refreshTree();
        if (index >= 0) tree_->selectRecord(index);
    };
    tree_->deleteHandler = [this](int record) { deleteElement(record); };
    tree_->movedHandler = [this](int dragged, QTreeWidgetItem* target) {
        int record = tree_->recordOfItem(target);
        DropTarget kind = DropTarget::Branch;
        if (record >= 0)
            kind = elementTable(app_).records[size_t(record)].isFolder() ? DropTarget::Folder : DropTarget::Element;
        if (dropRecord(app_, dragged, kind, record, defaultFolderNoteShown)) {
            refreshTree();
            tree_->selectRecord(dragged);
        }
    };
    tree_->filesDroppedHandler = [this](const QStringList& files) { addDroppedFiles(files); };
}

void MainWindow::openElement(int index) {
    const auto& records = elementTable(app_).records;
    if (index < 0 || index >= int(records.size()) || records[size_t(index)].isFolder()) return;
    const ElementRecord& record = records[size_t(index)];
    if (record.type() == TYPE_CARTE) {
        openMapEditor(index);
        return;
    }
    // The data file in the desktop's program for it (a text editor for C sources).
    if (!hostServices(app_).openFile(absolutePath(record.file))) {
        MessageBoxRequest request;
        request.caption = ts::tr(T::CaptionError);
        char text[1400];
        std::snprintf(text, sizeof text, ts::tr(T::ErrorOpenFailed), record.file.c_str());
        request.text = text;
        request.icon = Icon::Error;
        hostServices(app_).messageBox(request);
    }
}

void MainWindow::openMapEditor(int index) {
    const auto& records = elementTable(app_).records;
    if (index < 0 || index >= int(records.size()) || records[size_t(index)].isFolder()) return;
    // A copy: the editor's scripts may change the element table while it opens.
    const ElementRecord record = records[size_t(index)];
    openEditorWindow(app_, record, this);
}

bool MainWindow::mapEditorOpen() const { return editorDocument(app_).open; }

void MainWindow::deleteElement(int index) {
    if (deleteRecord(app_, index)) refreshTree();
}

void MainWindow::duplicateElement(int index) {
    int copy = duplicateRecord(app_, index);
    if (copy < 0) return;
    refreshTree();
    tree_->startRename(copy, index);
}

void MainWindow::addDroppedFiles(const QStringList& files) {
    int last = -1;
    for (const QString& file : files) {
        int index = addDroppedFile(app_, fromQt(file));
        if (index >= 0) last = index;
    }
    if (last < 0) return;
    refreshTree();
    tree_->selectRecord(last);
}

}  // namespace ts
