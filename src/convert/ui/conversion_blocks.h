#pragma once
// The tile column of a multi-palette conversion, drawn beside the sub-palettes while they are
// built: every block at its place in the column with the colours it is mapped to, when it is
// assigned and again at the final mapping. A column taller than the window wraps into several
// side by side, top to bottom then left to right.
#include <QImage>
#include <QWidget>

#include "convert/ui/conversion_progress.h"
#include "host/host_services.h"

namespace ts {

class ConversionBlocks : public QWidget {
public:
    static constexpr int kMargin = 8;     // from the window's edges and from the swatches
    static constexpr int kColumnGap = 2;  // between the parts of a wrapped column

    explicit ConversionBlocks(QWidget* parent);
    // Draws one block; a block of another column (other count or size) starts that column, laid
    // out in `area` (the main window's panels, in the parent's coordinates).
    void showBlock(const ProgressBlock& block, const QRect& area);
    // Where block `index` is drawn, in the widget; (-1, -1) when it falls outside the window.
    QPoint blockPlace(int index) const;
    int blocksPerColumn() const { return perColumn_; }
    const QImage& picture() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void start(const ProgressBlock& block, const QRect& area);

    QImage image_;
    int count_ = 0, width_ = 0, height_ = 0, perColumn_ = 1;
    RepaintThrottle throttle_;
};

// Shows a block over the main window of `window`; a block with no pixels ends the display.
void showConversionBlock(QWidget* window, const ProgressBlock& block);

}  // namespace ts
