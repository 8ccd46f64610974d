// "Operations on selection" and "Blocks copy": both hand their texts to the editor's rules and
// stay open, with the message, until the rules accept them.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editor/blocks_copy.h"
#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/selection_operations.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "host/message_box.h"

namespace ts {

namespace {

constexpr int64_t kLargestCoordinate = int64_t(1) << 30;  // cells a coordinate field may name

class OperationsDialog : public QDialog {
public:
    OperationsDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
        named(this, "operations-dialog", qtr(T::OperationsTitle));
        setWindowTitle(qtr(T::OperationsTitle));
        auto* g = new QGridLayout(this);
        g->addWidget(label(this, "operations-operation-label", qtr(T::OperationsOperation)), 0, 0);
        operation_ = lineEdit(this, "operations-operation", qtr(T::OperationsOperation));
        operation_->setMaxLength(int(kOperationTextMax));
        g->addWidget(operation_, 0, 1);
        g->addWidget(label(this, "operations-condition-label", qtr(T::OperationsCondition)), 1, 0);
        condition_ = lineEdit(this, "operations-condition", qtr(T::OperationsCondition));
        condition_->setMaxLength(int(kOperationTextMax));
        g->addWidget(condition_, 1, 1);
        onlyActive_ = checkBox(this, "operations-only-active", T::OperationsOnlyActive, false);
        g->addWidget(onlyActive_, 2, 0, 1, 2);
        g->addWidget(okCancel(this, "operations"), 3, 0, 1, 2);
        setMinimumWidth(420);
    }

    bool applied = false;

    void accept() override {
        EditorDocument& doc = editorDocument(app_);
        SelectionStore& store = doc.store;
        if (!store.allocated() || store.empty()) return QDialog::accept();
        int owner = std::clamp(store.ownerPlane, 0, MaxPlanes - 1);
        int layer = storeLayerOf(store, doc.links[size_t(owner)].members, doc.active);
        DialogOutcome outcome =
            runSelectionOperations(store, fromQt(operation_->text()), fromQt(condition_->text()),
                                   onlyActive_->isChecked(), layer, doc.options.invisibleBlock, doc.options.zeroMask != 0);
        if (!outcome.close) {
            showOutcome(app_, outcome);
            return;
        }
        applied = !operation_->text().trimmed().isEmpty();
        QDialog::accept();
    }

private:
    App& app_;
    QLineEdit *operation_, *condition_;
    QCheckBox* onlyActive_;
};

class BlocksCopyDialog : public QDialog {
public:
    BlocksCopyDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
        named(this, "blocks-copy-dialog", qtr(T::BlocksCopyTitle));
        setWindowTitle(qtr(T::BlocksCopyTitle));
        auto* g = new QGridLayout(this);
        const T labels[] = {T::BlocksCopySource, T::BlocksCopySize, T::BlocksCopyDestination};
        const char* labelNames[] = {"blocks-source-label", "blocks-size-label", "blocks-destination-label"};
        const char* names[] = {"blocks-source-x", "blocks-source-y", "blocks-width", "blocks-height",
                               "blocks-destination-x", "blocks-destination-y"};
        for (int row = 0; row < 3; ++row) {
            g->addWidget(label(this, labelNames[row], qtr(labels[row])), row, 0);
            for (int k = 0; k < 2; ++k) {
                QString accessible = qtr(labels[row]) + (k ? " y" : " x");
                fields_[row * 2 + k] = lineEdit(this, names[row * 2 + k], accessible);
                fields_[row * 2 + k]->setMaxLength(12);
                g->addWidget(fields_[row * 2 + k], row, 1 + k);
            }
        }
        onlyActive_ = checkBox(this, "blocks-only-active", T::OperationsOnlyActive, false);
        g->addWidget(onlyActive_, 3, 0, 1, 3);
        g->addWidget(label(this, "blocks-note", qtr(T::BlocksCopyNote), true), 4, 0, 1, 3);
        g->addWidget(okCancel(this, "blocks"), 5, 0, 1, 3);
    }

    bool applied = false;

    void accept() override {
        // Coordinates are whole cells; a size may be "*". Anything else is refused here, before
        // the rules read it.
        std::string texts[6];
        for (int i = 0; i < 6; ++i) {
            texts[i] = fromQt(fields_[i]->text().trimmed());
            int64_t v = 0;
            bool sizeField = i == 2 || i == 3;
            if (sizeField && texts[i] == "*") continue;
            FieldRead r = readIntegerField(texts[i], v);
            bool decimal = texts[i].find_first_of("xXbB") == std::string::npos;
            if (r == FieldRead::Refused || !decimal) {
                refuse(app_, formatText(ts::tr(T::PlaneNumberRefused), fromQt(fields_[i]->text().left(60)).c_str()));
                fields_[i]->setFocus();
                fields_[i]->selectAll();
                return;
            }
            if (r == FieldRead::Number && (v < 0 || v > kLargestCoordinate)) return refuseRange(app_, fields_[i]);
        }
        BlocksCopyFields f{texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], onlyActive_->isChecked()};
        DialogOutcome outcome = runBlocksCopy(app_, f);
        if (!outcome.close) {
            showOutcome(app_, outcome);
            return;
        }
        applied = true;
        QDialog::accept();
    }

private:
    App& app_;
    QLineEdit* fields_[6] = {};
    QCheckBox* onlyActive_;
};

}  // namespace

bool showSelectionOperations(QWidget* parent, App& app, EditorSession& session) {
    const SelectionStore& store = editorDocument(app).store;
    if (!store.allocated() || store.empty()) return false;
    OperationsDialog dialog(app, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.applied) return false;
    noteShownValue(app, session);
    return true;
}

bool showBlocksCopy(QWidget* parent, App& app, EditorSession& session) {
    if (editorDocument(app).count <= 0) return false;
    BlocksCopyDialog dialog(app, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.applied) return false;
    noteShownValue(app, session);  // a block copied into the store shows its first value
    return true;
}

}  // namespace ts
