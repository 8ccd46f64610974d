#pragma once
// The picture of the element preview: the preview surface drawn at its size (the panel scrolls
// it), and the texts under the mouse reported to the panel.
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace ts {

struct ElementPreview;

class PreviewCanvas : public QWidget {
public:
    PreviewCanvas(const ElementPreview& preview, QWidget* parent);
    // Copies the surface into the picture again (after it changed).
    void refresh();
    const QImage& image() const { return image_; }
    // Told the mouse texts of the position under the cursor (empty when it leaves).
    std::function<void(const std::vector<std::string>&)> mouseTexts;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const ElementPreview& preview_;
    QImage image_;
};

// The preview surface as a Qt image (RGB32).
QImage surfaceImage(const ElementPreview& preview);

}  // namespace ts
