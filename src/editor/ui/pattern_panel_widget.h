#pragma once
// The pattern panel beside the map view: the active plane's blocks as the core draws them, the
// hover that raises the panel's opacity, and the left release that picks a block.
#include <QImage>
#include <QWidget>

namespace ts {

class EditorWindow;

class PatternPanelWidget : public QWidget {
public:
    explicit PatternPanelWidget(EditorWindow& window);

    void setFrame(const QImage& frame);
    const QImage& frame() const { return frame_; }
    // The block under a widget pixel, or -1.
    int blockAt(const QPoint& pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    EditorWindow& window_;
    QImage frame_;
};

}  // namespace ts
