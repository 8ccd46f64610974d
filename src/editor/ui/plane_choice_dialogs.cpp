// "Links", "Select a background map..." and "Tile size setting": the small dialogs that choose
// planes or a block size for the active plane.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "convert/convert_settings.h"
#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/plane_property_rules.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "project/script_invite.h"
#include "project/ui/execute_script_dialog.h"

namespace ts {

namespace {

class LinksDialog : public QDialog {
public:
    LinksDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
        named(this, "links-dialog", qtr(T::LinksTitle));
        setWindowTitle(qtr(T::LinksTitle));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label(this, "links-note", qtr(T::LinksNote), true));
        text_ = lineEdit(this, "links-text", qtr(T::LinksNumbers), toQt(linksText(app)));
        text_->setMaxLength(200);
        layout->addWidget(text_);
        planes_ = named(new QComboBox(this), "links-planes", qtr(T::LinksPrompt));
        planes_->addItem(qtr(T::LinksPrompt));
        const EditorDocument& doc = editorDocument(app);
        for (int s = 0; s < doc.count; ++s)
            planes_->addItem(toQt(formatText(ts::tr(T::LinksEntry), s + 1, doc.planes[size_t(s)].element.name.c_str())));
        connect(planes_, &QComboBox::activated, this, [this](int index) {
            if (index <= 0) return;
            QString t = text_->text().trimmed();
            text_->setText(t.isEmpty() ? QString::number(index) : t + ", " + QString::number(index));
            planes_->setCurrentIndex(0);
        });
        layout->addWidget(planes_);
        layout->addWidget(okCancel(this, "links"));
        setMinimumWidth(440);
    }

    void accept() override {
        std::string text = fromQt(text_->text());
        if (!planeNumberList(text)) {
            refuse(app_, formatText(ts::tr(T::LinksRefused), fromQt(text_->text().left(60)).c_str()));
            text_->setFocus();
            return;
        }
        applyLinks(app_, text);
        QDialog::accept();
    }

private:
    App& app_;
    QLineEdit* text_;
    QComboBox* planes_;
};

// The project elements a plane can be opened from: maps and lists, in table order.
std::vector<int> planeElements(App& app) {
    std::vector<int> out;
    const auto& records = elementTable(app).records;
    for (size_t i = 0; i < records.size(); ++i) {
        const ElementRecord& r = records[i];
        if (!r.isFolder() && (r.type() == TYPE_CARTE || r.type() == TYPE_LISTE)) out.push_back(int(i));
    }
    return out;
}

class TileSizeDialog : public QDialog {
public:
    TileSizeDialog(App& app, const PlaneRecord& plane, QWidget* parent) : QDialog(parent), app_(app) {
        named(this, "tile-size-dialog", qtr(T::TileSizeTitle));
        setWindowTitle(qtr(T::TileSizeTitle));
        auto* g = new QGridLayout(this);
        g->addWidget(label(this, "tile-size-width-label", qtr(T::TileSizeWidth)), 0, 0);
        width_ = lineEdit(this, "tile-size-width", qtr(T::TileSizeWidth), QString::number(plane.blockWidth));
        g->addWidget(width_, 0, 1);
        g->addWidget(label(this, "tile-size-height-label", qtr(T::TileSizeHeight)), 1, 0);
        height_ = lineEdit(this, "tile-size-height", qtr(T::TileSizeHeight), QString::number(plane.blockHeight));
        g->addWidget(height_, 1, 1);
        g->addWidget(okCancel(this, "tile-size"), 2, 0, 1, 2);
        setMinimumWidth(280);
    }

    void accept() override {
        int64_t w = 0, h = 0;
        bool ew = false, eh = false;
        if (!integerField(app_, width_, w, ew) || !integerField(app_, height_, h, eh)) return;
        auto side = [](int64_t v) { return v == 8 || v == 16 || v == 32 || v == 64; };
        if (!side(w) || !side(h)) {
            refuse(app_, ts::tr(T::TileSizeRefused));
            (side(w) ? height_ : width_)->setFocus();
            return;
        }
        if (!changeBlockSize(app_, int(w), int(h))) return;
        QDialog::accept();
    }

private:
    App& app_;
    QLineEdit *width_, *height_;
};

}  // namespace

bool showLinks(QWidget* parent, App& app, EditorSession&) {
    if (!planeOpen(editorDocument(app), editorDocument(app).active)) return false;
    LinksDialog dialog(app, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool showAddPlane(QWidget* parent, App& app, EditorSession&) {
    std::vector<int> elements = planeElements(app);
    if (elements.empty()) {
        showBox(hostServices(app), ts::tr(T::CaptionError), ts::tr(T::AddPlaneNone), Icon::Information);
        return false;
    }
    QDialog dialog(parent);
    named(&dialog, "add-plane-dialog", qtr(T::AddPlaneTitle));
    dialog.setWindowTitle(qtr(T::AddPlaneTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label(&dialog, "add-plane-label", qtr(T::AddPlaneLabel)));
    auto* choice = named(new QComboBox(&dialog), "add-plane-elements", qtr(T::AddPlaneLabel));
    for (int i : elements) choice->addItem(toQt(elementTable(app).records[size_t(i)].name));
    layout->addWidget(choice);
    layout->addWidget(okCancel(&dialog, "add-plane"));
    dialog.setMinimumWidth(320);
    if (dialog.exec() != QDialog::Accepted || choice->currentIndex() < 0) return false;
    // A copy: opening the plane may run scripts that change the table.
    ElementRecord element = elementTable(app).records[size_t(elements[size_t(choice->currentIndex())])];
    int result = element.type() == TYPE_LISTE ? openListPlane(app, element) : openPlane(app, element);
    return result == OpenDone;
}

bool showTileSize(QWidget* parent, App& app, EditorSession&) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, doc.active) || doc.planes[size_t(doc.active)].kind != PlaneMap) return false;
    TileSizeDialog dialog(app, doc.planes[size_t(doc.active)], parent);
    return dialog.exec() == QDialog::Accepted;
}

bool showExecuteScript(QWidget* parent, App& app, EditorSession& session) {
    if (!askScriptInvite(parent, session.scriptText)) return false;
    hostServices(app).setBusy(true);
    runScriptInvite(app, session.scriptText);
    hostServices(app).setBusy(false);
    return true;
}

}  // namespace ts
