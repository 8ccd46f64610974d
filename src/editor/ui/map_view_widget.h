#pragma once
// The map view of the editor window: shows the frame the core composed (pixels repeated, or
// smoothly stretched with Editor.PreciseZoom) and turns mouse and wheel events into the tools'
// plain calls in surface pixels.
#include <QImage>
#include <QWidget>

namespace ts {

class EditorWindow;

class MapViewWidget : public QWidget {
public:
    explicit MapViewWidget(EditorWindow& window);

    // The new frame (surface size) and whether it is stretched smoothly.
    void setFrame(const QImage& frame, bool smooth);
    const QImage& frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The pointer of a mouse event in surface pixels, after the tools were told it moved there
    // (with the keys held, which the window also keeps).
    QPoint trackPointer(QMouseEvent* event);

    EditorWindow& window_;
    QImage frame_;
    bool smooth_ = false;
    int wheelRemainder_ = 0;
};

}  // namespace ts
