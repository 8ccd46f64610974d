#include <QCloseEvent>
#include <QImage>
#include <QScrollBar>

#include "editor/ui/editor_dialogs.h"

namespace ts {

class SpecimenCanvas : public QWidget {
public:
    using QWidget::QWidget;
};

SpecimenWindow::SpecimenWindow(App& app, EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool), app_(app), session_(session) {
    setObjectName("specimen-window");
    canvas_ = new SpecimenCanvas(this);
}
SpecimenWindow::~SpecimenWindow() = default;
void SpecimenWindow::rebuild() {}
void SpecimenWindow::tick(uint64_t) {}
QWidget* SpecimenWindow::canvas() const { return canvas_; }
QImage SpecimenWindow::frame() const { return QImage(); }
void SpecimenWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit closedByUser();
}
void SpecimenWindow::moveEvent(QMoveEvent*) {}
void SpecimenWindow::resizeEvent(QResizeEvent*) {}
void SpecimenWindow::scrolled() {}
void SpecimenWindow::storeGeometry() {}

}  // namespace ts
