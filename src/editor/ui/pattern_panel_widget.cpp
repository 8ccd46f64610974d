#include "editor/ui/pattern_panel_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/ui/editor_window.h"
#include "host/ui/qt_text.h"

namespace ts {

PatternPanelWidget::PatternPanelWidget(EditorWindow& window) : QWidget(&window), window_(window) {
    setObjectName("editor-panel");
    setAccessibleName(qtr(T::EditorPanelName));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PatternPanelWidget::setFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void PatternPanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    // The panel is drawn at the view's zoom: stretched like the view, pixels repeated.
    painter.drawImage(rect(), frame_);
}

int PatternPanelWidget::blockAt(const QPoint& pos) const {
    if (frame_.isNull() || width() <= 0 || height() <= 0) return -1;
    const int px = int(int64_t(pos.x()) * frame_.width() / width());
    const int py = int(int64_t(pos.y()) * frame_.height() / height());
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= width() || pos.y() >= height()) return -1;
    return panelBlockAt(editorDocument(window_.app()), window_.session(), frame_.width(), px, py);
}

void PatternPanelWidget::mouseMoveEvent(QMouseEvent* event) {
    EditorSession& s = window_.session();
    s.panelHover = true;
    s.panelHoverBlock = blockAt(event->position().toPoint());
}

void PatternPanelWidget::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PatternPanelWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int k = blockAt(event->position().toPoint());
    // Outside hex mode only; a block beyond the tile count picks nothing.
    if (k >= 0 && pickFromPanel(window_.app(), window_.session(), k)) window_.documentChanged();
}

void PatternPanelWidget::leaveEvent(QEvent*) {
    EditorSession& s = window_.session();
    s.panelHover = false;
    s.panelHoverBlock = -1;
}

void PatternPanelWidget::wheelEvent(QWheelEvent* event) {
    // The wheel over the panel scrolls it by rows.
    QScrollBar* bar = window_.panelBar();
    if (bar && event->angleDelta().y() != 0) bar->setValue(bar->value() + (event->angleDelta().y() > 0 ? -1 : 1));
    event->accept();
}

}  // namespace ts
