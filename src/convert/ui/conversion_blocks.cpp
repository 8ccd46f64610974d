#include "convert/ui/conversion_blocks.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "convert/ui/conversion_progress.h"
#include "host/ui/qt_text.h"

namespace ts {

ConversionBlocks::ConversionBlocks(QWidget* parent) : QWidget(parent) {
    setObjectName("conversion-blocks");
    setAccessibleName(qtr(T::ConvertProgressBlocksName));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void ConversionBlocks::start(const ProgressBlock& block, const QRect& area) {
    count_ = block.count;
    width_ = block.width;
    height_ = block.height;
    // Beside the swatches when they show, else in the corner.
    int left = area.left() + kMargin;
    if (auto* palettes = parentWidget()->findChild<ConversionPalettes*>("conversion-palettes", Qt::FindDirectChildrenOnly);
        palettes && palettes->isVisible())
        left = std::max(left, palettes->geometry().right() + 1 + kMargin);
    const int roomHeight = std::max(height_, area.height() - 2 * kMargin);
    const int roomWidth = std::max(width_, area.right() + 1 - kMargin - left);
    perColumn_ = std::max(1, roomHeight / height_);
    const int columns = (count_ + perColumn_ - 1) / perColumn_;
    const int fullWidth = columns * (width_ + kColumnGap) - kColumnGap;
    image_ = QImage(std::min(fullWidth, roomWidth), std::min(count_, perColumn_) * height_, QImage::Format_RGB32);
    image_.fill(palette().color(QPalette::Mid));
    setFixedSize(image_.size());
    move(left, area.top() + kMargin);
    raise();
    show();
    throttle_.restart();
}

QPoint ConversionBlocks::blockPlace(int index) const {
    if (index < 0 || index >= count_) return {-1, -1};
    const QPoint place((index / perColumn_) * (width_ + kColumnGap), (index % perColumn_) * height_);
    if (place.x() + width_ > image_.width()) return {-1, -1};
    return place;
}

void ConversionBlocks::showBlock(const ProgressBlock& block, const QRect& area) {
    if (block.count <= 0 || block.width <= 0 || block.height <= 0 ||
        block.pixels.size() != size_t(block.width) * size_t(block.height)) {
        count_ = 0;
        image_ = QImage();
        hide();
        return;
    }
    if (block.count != count_ || block.width != width_ || block.height != height_) start(block, area);
    const QPoint place = blockPlace(block.index);
    if (place.x() < 0) return;
    for (int y = 0; y < height_; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(place.y() + y)) + place.x();
        for (int x = 0; x < width_; ++x) line[x] = 0xFF000000u | block.pixels[size_t(y) * size_t(width_) + size_t(x)];
    }
    throttle_.paint(this, block.index == count_ - 1);
}

void ConversionBlocks::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void showConversionBlock(QWidget* window, const ProgressBlock& block) {
    QRect area;
    QWidget* host = progressOverlayHost(window, area);
    if (!host) return;
    auto* blocks = host->findChild<ConversionBlocks*>("conversion-blocks", Qt::FindDirectChildrenOnly);
    if (!blocks) {
        if (block.count <= 0) return;
        blocks = new ConversionBlocks(host);
    }
    blocks->showBlock(block, area);
}

}  // namespace ts
