// "Bits display": one check box per shown bit of the active plane, bit 31 at the top. A box
// toggles its bit in the store's active layer, or in the current pattern when the store is empty.
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/editor_settings_script.h"
#include "editor/plane_property_rules.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/window_places.h"
#include "host/message_box.h"

namespace ts {

BitsDisplayWindow::BitsDisplayWindow(App& app, EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool), app_(app), session_(session) {
    named(this, "bits-display", qtr(T::BitsDisplayTitle));
    setWindowTitle(qtr(T::BitsDisplayTitle));
    layout_ = new QVBoxLayout(this);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    makeBitTables(editorDocument(app));
    rebuild();
    const WindowPlace& place = editorDocument(app).bitsPlace;
    if (place.left != 0 || place.top != 0) {
        layout_->activate();  // the fixed size first, so the window is kept on the screen whole
        placeWindow(*this, place, false);
    }
}

void BitsDisplayWindow::rebuild() {
    EditorDocument& doc = editorDocument(app_);
    makeBitTables(doc);
    for (QCheckBox*& box : boxes_) {
        delete box;
        box = nullptr;
    }
    if (!planeOpen(doc, doc.active)) return;
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    for (int bit = kEntryBits - 1; bit >= 0; --bit) {
        if (!((p.bitFlags >> bit) & 1)) continue;
        QString text = toQt(p.bitTexts[size_t(bit)]);
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QString("bit-%1").arg(bit));
        box->setAccessibleName(toQt(formatText(ts::tr(T::BitsDisplayBox), bit, p.bitTexts[size_t(bit)].c_str())));
        connect(box, &QCheckBox::toggled, this, [this, bit](bool on) { toggled(bit, on); });
        layout_->addWidget(box);
        boxes_[bit] = box;
    }
    showCurrent();
    adjustSize();
}

void BitsDisplayWindow::showValue(uint32_t value) {
    updating_ = true;
    for (int bit = 0; bit < kEntryBits; ++bit)
        if (boxes_[bit]) boxes_[bit]->setChecked((value >> bit) & 1);
    updating_ = false;
}

void BitsDisplayWindow::showCurrent() { showValue(storeOrPatternValue(app_)); }

void BitsDisplayWindow::toggled(int bit, bool on) {
    if (updating_) return;
    toggleBit(app_, bit, on);
    EditorDocument& doc = editorDocument(app_);
    if (doc.store.empty()) session_.status = doc.statusText;
    // The editor shows this value again when it redraws the boxes.
    noteShownValue(app_, session_);
    emit changed();
}

void BitsDisplayWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    editorDocument(app_).bitsShown = false;
    emit closedByUser();
}

void BitsDisplayWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    storeGeometry();
}

void BitsDisplayWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    storeGeometry();
}

void BitsDisplayWindow::storeGeometry() { rememberPlace(*this, editorDocument(app_).bitsPlace); }

}  // namespace ts
