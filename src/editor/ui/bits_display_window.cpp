#include <QCheckBox>
#include <QCloseEvent>
#include <QVBoxLayout>

#include "editor/ui/editor_dialogs.h"

namespace ts {

BitsDisplayWindow::BitsDisplayWindow(App& app, EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool), app_(app), session_(session) {
    setObjectName("bits-display-window");
    layout_ = new QVBoxLayout(this);
}
void BitsDisplayWindow::rebuild() {}
void BitsDisplayWindow::showValue(uint32_t) {}
void BitsDisplayWindow::showCurrent() {}
void BitsDisplayWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit closedByUser();
}
void BitsDisplayWindow::moveEvent(QMoveEvent*) {}
void BitsDisplayWindow::resizeEvent(QResizeEvent*) {}
void BitsDisplayWindow::toggled(int, bool) {}
void BitsDisplayWindow::storeGeometry() {}

}  // namespace ts
