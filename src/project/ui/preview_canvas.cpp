#include "project/ui/preview_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstring>

#include "host/ui/qt_text.h"
#include "project/element_preview.h"

namespace ts {

QImage surfaceImage(const ElementPreview& preview) {
    const Surface& s = preview.surface;
    if (s.empty()) return QImage();
    QImage image(s.width, s.height, QImage::Format_RGB32);
    for (int y = 0; y < s.height; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* src = s.row(y);
        for (int x = 0; x < s.width; ++x) dst[x] = 0xFF000000u | (src[x] & 0xFFFFFFu);
    }
    return image;
}

PreviewCanvas::PreviewCanvas(const ElementPreview& preview, QWidget* parent) : QWidget(parent), preview_(preview) {
    setObjectName("preview-canvas");
    setAccessibleName(qtr(T::PreviewAccessibleName));
    setMouseTracking(true);
    refresh();
}

void PreviewCanvas::refresh() {
    image_ = surfaceImage(preview_);
    setFixedSize(image_.isNull() ? QSize(1, 1) : image_.size());
    update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (mouseTexts) {
        const QPoint p = event->position().toPoint();
        mouseTexts(previewMouseTexts(preview_, p.x(), p.y()));
    }
}

void PreviewCanvas::leaveEvent(QEvent*) {
    if (mouseTexts) mouseTexts({});
}

}  // namespace ts
