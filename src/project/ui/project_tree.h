#pragma once
// The project tree: five branches, the folders and the elements of the element table. The tree
// keeps its own map from records to nodes, kept in step through the table's observer.
#include <QTreeWidget>
#include <array>
#include <functional>
#include <vector>

namespace ts {

struct App;

class ProjectTree : public QTreeWidget {
public:
    explicit ProjectTree(App& app, QWidget* parent = nullptr);
    ~ProjectTree() override;

    // Deletes every node and builds the tree again from the table.
    void rebuild();

    // The node of a record (null while it is not shown), of a branch (0..4 in tree order).
    QTreeWidgetItem* itemOfRecord(int index) const;
    QTreeWidgetItem* branchItem(int branch) const { return branches_[size_t(branch)]; }
    // The record a node shows (-1 for a branch), the branch a branch node is (-1 otherwise).
    int recordOfItem(const QTreeWidgetItem* item) const;
    int branchOfItem(const QTreeWidgetItem* item) const;
    // The record or branch of the current node.
    int currentRecord() const { return recordOfItem(currentItem()); }
    int currentBranch() const { return branchOfItem(currentItem()); }

    // Selects the node of a record / a branch.
    void selectRecord(int index);
    void selectBranch(int branch);
    // Starts the in-place edit of a record's name; `duplicatedFrom` is the record that "Duplicate"
    // copied (-1 for a plain rename).
    void startRename(int index, int duplicatedFrom = -1);
    bool isRenaming() const { return state() == QAbstractItemView::EditingState; }

    // Handlers set by the main window.
    std::function<void()> selectionChangedHandler;
    std::function<void(int record)> activatedHandler;  // double click on an element
    std::function<void(QTreeWidgetItem* item, const QPoint& globalPos)> contextMenuHandler;
    std::function<void(int record, const std::string& text, int duplicatedFrom)> renamedHandler;
    std::function<void(int record)> deleteHandler;  // the Delete key on an element or a folder
    std::function<void(int dragged, QTreeWidgetItem* target)> movedHandler;
    std::function<void(const QStringList& localFiles)> filesDroppedHandler;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* makeItem(int index, QTreeWidgetItem* parent);
    void recordAdded(int index);
    void recordRemoving(int index);

    App& app_;
    std::array<QTreeWidgetItem*, 5> branches_{};
    std::vector<QTreeWidgetItem*> items_;
    QIcon folderIcon_, elementIcon_, branchIcon_;  // per record index, null while not shown
    int dragged_ = -1;
    int renaming_ = -1;
    int duplicatedFrom_ = -1;
    bool renameCommitted_ = false;
};

// The label of a record's node: its name cut after the last backslash.
QString recordLabel(const std::string& name);

}  // namespace ts
