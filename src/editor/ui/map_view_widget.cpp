#include "editor/ui/map_view_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/object_tools.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/editor_window.h"
#include "host/ui/qt_text.h"

namespace ts {

namespace {

constexpr int kWheelNotch = 120;  // angle delta of one wheel notch

Modifiers modifiersOf(Qt::KeyboardModifiers m) {
    return Modifiers{(m & Qt::ControlModifier) != 0, (m & Qt::ShiftModifier) != 0};
}

}  // namespace

MapViewWidget::MapViewWidget(EditorWindow& window) : QWidget(&window), window_(window) {
    setObjectName("editor-view");
    setAccessibleName(qtr(T::EditorViewName));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapViewWidget::setFrame(const QImage& frame, bool smooth) {
    frame_ = frame;
    smooth_ = smooth;
    update();
}

void MapViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (frame_.size() == size()) {
        painter.drawImage(0, 0, frame_);
        return;
    }
    // The surface is the view area divided by the zoom: stretched back over the whole view.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
    painter.drawImage(rect(), frame_);
}

void MapViewWidget::mousePressEvent(QMouseEvent* event) {
    App& app = window_.app();
    EditorSession& s = window_.session();
    const QPoint at = trackPointer(event);
    const int px = at.x(), py = at.y();
    const Modifiers mods = modifiersOf(event->modifiers());
    switch (event->button()) {
        case Qt::LeftButton: pressLeft(app, s, px, py, mods); break;
        case Qt::RightButton: pressRight(app, s, px, py, mods); break;
        case Qt::MiddleButton: pressMiddle(app, s, px, py); break;
        default: break;
    }
    event->accept();
}

void MapViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    App& app = window_.app();
    EditorSession& s = window_.session();
    const QPoint at = trackPointer(event);
    const int px = at.x(), py = at.y();
    const Modifiers mods = modifiersOf(event->modifiers());
    // A release less than the drag threshold away from the press is a click where it was pressed,
    // even when the hand slipped over a cell border.
    int rx = px, ry = py;
    if (!s.dragged && (s.drag == DragKind::Paint || s.drag == DragKind::Select)) {
        rx = s.dragStartX;
        ry = s.dragStartY;
    }
    switch (event->button()) {
        case Qt::LeftButton:
            if (s.drag == DragKind::Paint || s.drag == DragKind::MoveObjects) releaseLeft(app, s, rx, ry, mods);
            break;
        case Qt::RightButton:
            if (s.drag == DragKind::Select || s.drag == DragKind::ObjectRect) {
                releaseRight(app, s, rx, ry, mods);
                window_.documentChanged();  // the bits display shows what was picked or copied
            }
            break;
        case Qt::MiddleButton: releaseMiddle(app, s); break;
        default: break;
    }
    event->accept();
}

QPoint MapViewWidget::trackPointer(QMouseEvent* event) {
    const QPoint at(window_.toSurfaceX(event->position().toPoint().x()),
                    window_.toSurfaceY(event->position().toPoint().y()));
    window_.lastModifiers = event->modifiers();
    mouseMove(window_.app(), window_.session(), at.x(), at.y(), modifiersOf(event->modifiers()), window_.now());
    return at;
}

void MapViewWidget::mouseMoveEvent(QMouseEvent* event) { trackPointer(event); }

void MapViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    App& app = window_.app();
    EditorSession& s = window_.session();
    EditorDocument& doc = editorDocument(app);
    const int px = window_.toSurfaceX(event->position().toPoint().x());
    const int py = window_.toSurfaceY(event->position().toPoint().y());
    if (event->button() == Qt::LeftButton && planeOpen(doc, doc.active) &&
        doc.planes[size_t(doc.active)].kind == PlaneList) {
        int64_t x = 0, y = 0;
        objectPlanePoint(doc, doc.active, px, py, x, y);
        const int index = objectAt(doc.planes[size_t(doc.active)], x, y);
        if (index >= 0) {
            s.drag = DragKind::None;
            s.currentObject = index;
            window_.editObjectAction(index);
            event->accept();
            return;
        }
    }
    // Elsewhere a double click is a second click.
    mousePressEvent(event);
}

void MapViewWidget::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const bool away = wheelRemainder_ > 0;
    int notches = std::abs(wheelRemainder_) / kWheelNotch;
    wheelRemainder_ %= kWheelNotch;
    window_.lastModifiers = event->modifiers();
    for (int i = 0; i < notches; ++i) wheel(window_.app(), window_.session(), away, modifiersOf(event->modifiers()));
    if (notches > 0) window_.documentChanged();
    event->accept();
}

void MapViewWidget::leaveEvent(QEvent*) { mouseLeave(window_.session()); }

void MapViewWidget::keyPressEvent(QKeyEvent* event) {
    if (!window_.handleKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

}  // namespace ts
