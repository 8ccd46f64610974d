#include "project/ui/project_tree.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>

#include "host/ui/qt_text.h"
#include "project/element_table.h"
#include "project/tree_layout.h"

namespace ts {
namespace {

constexpr int kBranchRole = Qt::UserRole + 1;  // on branch nodes: the branch number plus one
const T kBranchLabels[kBranchCount] = {T::BranchTilesets, T::BranchMaps, T::BranchLists, T::BranchPalettes,
                                       T::BranchBitmaps};
const char* const kBranchObjectNames[kBranchCount] = {"branch-tilesets", "branch-maps", "branch-lists",
                                                      "branch-palettes", "branch-bitmaps"};

}  // namespace

QString recordLabel(const std::string& name) {
    size_t cut = name.find_last_of('\\');
    return toQt(cut == std::string::npos ? name : name.substr(cut + 1));
}

ProjectTree::ProjectTree(App& app, QWidget* parent) : QTreeWidget(parent), app_(app) {
    setObjectName("project-tree");
    setAccessibleName(qtr(T::TreeAccessibleName));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem*, QTreeWidgetItem*) {
        if (selectionChangedHandler) selectionChangedHandler();
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        int record = recordOfItem(item);
        if (record >= 0 && activatedHandler) activatedHandler(record);
    });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QTreeWidgetItem* item = itemAt(pos);
        if (item && contextMenuHandler) {
            setCurrentItem(item);
            contextMenuHandler(item, viewport()->mapToGlobal(pos));
        }
    });
    ElementObserver& observer = elementTable(app_).observer;
    observer.added = [this](App&, int index) { recordAdded(index); };
    observer.removing = [this](App&, int index) { recordRemoving(index); };
    rebuild();
}

ProjectTree::~ProjectTree() {
    ElementObserver& observer = elementTable(app_).observer;
    observer.added = nullptr;
    observer.removing = nullptr;
}

QTreeWidgetItem* ProjectTree::makeItem(int index, QTreeWidgetItem* parent) {
    const ElementRecord& record = elementTable(app_).records[size_t(index)];
    auto* item = new QTreeWidgetItem(QStringList(recordLabel(record.name)));
    item->setIcon(0, record.isFolder() ? folderIcon_ : elementIcon_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (parent) parent->addChild(item);
    return item;
}

void ProjectTree::rebuild() {
    const int keepRecord = currentRecord();
    const int keepBranch = currentBranch();
    const bool blocked = blockSignals(true);
    setUpdatesEnabled(false);
    clear();
    if (folderIcon_.isNull()) {
        folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon);
        elementIcon_ = style()->standardIcon(QStyle::SP_FileIcon);
        branchIcon_ = style()->standardIcon(QStyle::SP_DirClosedIcon);
    }
    // The nodes are built away from the view and handed to it in one insertion: inserting them
    // one by one into a shown tree costs a relayout each.
    QList<QTreeWidgetItem*> top;
    for (int b = 0; b < kBranchCount; ++b) {
        auto* item = new QTreeWidgetItem(QStringList(qtr(kBranchLabels[b])));
        item->setData(0, kBranchRole, b + 1);
        item->setIcon(0, branchIcon_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled);
        branches_[size_t(b)] = item;
        top << item;
    }
    const TreeLayout layout = layoutTree(app_);
    items_.assign(layout.parent.size(), nullptr);
    for (int index : layout.order) {
        int parent = layout.parent[size_t(index)];
        QTreeWidgetItem* parentItem = nullptr;
        if (isBranchParent(parent)) parentItem = branches_[size_t(branchOfParent(parent))];
        else if (parent >= 0) parentItem = items_[size_t(parent)];
        QTreeWidgetItem* item = makeItem(index, parentItem);
        if (!parentItem) top << item;
        items_[size_t(index)] = item;
    }
    addTopLevelItems(top);
    if (keepRecord >= 0 && keepRecord < int(items_.size()) && items_[size_t(keepRecord)])
        setCurrentItem(items_[size_t(keepRecord)]);
    else if (keepBranch >= 0)
        setCurrentItem(branches_[size_t(keepBranch)]);
    setUpdatesEnabled(true);
    blockSignals(blocked);
}

QTreeWidgetItem* ProjectTree::itemOfRecord(int index) const {
    return index >= 0 && index < int(items_.size()) ? items_[size_t(index)] : nullptr;
}

int ProjectTree::recordOfItem(const QTreeWidgetItem* item) const {
    if (!item || item->data(0, kBranchRole).toInt() > 0) return -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == item) return int(i);
    return -1;
}

int ProjectTree::branchOfItem(const QTreeWidgetItem* item) const {
    return item ? item->data(0, kBranchRole).toInt() - 1 : -1;
}

void ProjectTree::selectRecord(int index) {
    if (QTreeWidgetItem* item = itemOfRecord(index)) setCurrentItem(item);
}

void ProjectTree::selectBranch(int branch) {
    if (branch >= 0 && branch < kBranchCount) setCurrentItem(branches_[size_t(branch)]);
}

void ProjectTree::recordAdded(int index) {
    // A record appended while the tree is shown gets its node at once when its parent has one;
    // otherwise the next rebuild places it.
    if (index != int(items_.size())) {
        rebuild();
        return;
    }
    items_.push_back(nullptr);
    const ElementRecord& record = elementTable(app_).records[size_t(index)];
    QTreeWidgetItem* parentItem = nullptr;
    if (!record.inFolder()) {
        if (!record.isFolder()) {
            int branch = branchOfType(record.type());
            if (branch < 0) return;
            parentItem = branches_[size_t(branch)];
        }
    } else {
        // The layout of the whole table decides where a record in a folder goes.
        TreeLayout layout = layoutTree(app_);
        int parent = layout.parent[size_t(index)];
        if (parent == kNotShown) return;
        if (isBranchParent(parent)) parentItem = branches_[size_t(branchOfParent(parent))];
        else if (parent >= 0) {
            parentItem = items_[size_t(parent)];
            if (!parentItem) return;
        }
    }
    QTreeWidgetItem* item = makeItem(index, parentItem);
    if (!parentItem) addTopLevelItem(item);
    items_[size_t(index)] = item;
}

void ProjectTree::recordRemoving(int index) {
    if (index < 0 || index >= int(items_.size())) return;
    if (index == renaming_) renaming_ = -1;
    QTreeWidgetItem* item = items_[size_t(index)];
    items_.erase(items_.begin() + index);
    if (item) {
        // Nodes of records inside it go with it; the map forgets them.
        for (auto& other : items_) {
            for (QTreeWidgetItem* up = other ? other->parent() : nullptr; up; up = up->parent())
                if (up == item) {
                    other = nullptr;
                    break;
                }
        }
        const bool blocked = blockSignals(true);
        delete item;
        blockSignals(blocked);
    }
}

void ProjectTree::startRename(int index, int duplicatedFrom) {
    QTreeWidgetItem* item = itemOfRecord(index);
    if (!item) return;
    renaming_ = index;
    duplicatedFrom_ = duplicatedFrom;
    renameCommitted_ = false;
    setCurrentItem(item);
    scrollToItem(item);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    editItem(item, 0);
}

void ProjectTree::commitData(QWidget* editor) {
    // The model keeps the old label: the record is renamed by the handler and the tree rebuilt.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || renaming_ < 0 || renameCommitted_) return;
    renameCommitted_ = true;
    const int record = renaming_, from = duplicatedFrom_;
    const std::string text = fromQt(line->text());
    // The rename rebuilds the tree: it runs once the editor is closed.
    QMetaObject::invokeMethod(
        this, [this, record, text, from] {
            if (renamedHandler) renamedHandler(record, text, from);
        },
        Qt::QueuedConnection);
}

void ProjectTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    // A cancelled edit changes nothing (a duplicate keeps the duplicated element's data file).
    if (QTreeWidgetItem* item = itemOfRecord(renaming_)) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    renaming_ = -1;
    duplicatedFrom_ = -1;
}

void ProjectTree::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
            int record = currentRecord();
            if (record >= 0) startRename(record);
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            int record = currentRecord();
            if (record >= 0 && deleteHandler) deleteHandler(record);
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void ProjectTree::startDrag(Qt::DropActions supportedActions) {
    dragged_ = currentRecord();
    if (dragged_ < 0) return;  // branches stay where they are
    QTreeWidget::startDrag(supportedActions);
    dragged_ = -1;
}

void ProjectTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->source() == this) event->acceptProposedAction();
    else event->ignore();
}

void ProjectTree::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    if (event->source() == this && itemAt(event->position().toPoint())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        return;
    }
    event->ignore();
}

void ProjectTree::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        QStringList files;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) files << url.toLocalFile();
        event->acceptProposedAction();
        if (filesDroppedHandler) filesDroppedHandler(files);
        return;
    }
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    // The tree moves nothing itself: the record changes and the tree is rebuilt.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() != this || !target || dragged_ < 0 || !movedHandler) return;
    // The move rebuilds the tree: it runs once the drag has ended.
    const int dragged = dragged_;
    const int targetRecord = recordOfItem(target), targetBranch = branchOfItem(target);
    QMetaObject::invokeMethod(
        this, [this, dragged, targetRecord, targetBranch] {
            QTreeWidgetItem* item = targetBranch >= 0 ? branchItem(targetBranch) : itemOfRecord(targetRecord);
            if (item && movedHandler) movedHandler(dragged, item);
        },
        Qt::QueuedConnection);
}

}  // namespace ts
