#include "convert/ui/conversion_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "host/ui/qt_text.h"

namespace ts {

void RepaintThrottle::paint(QWidget* widget, bool now) {
    if (!now && last_.isValid() && last_.elapsed() < kIntervalMs) return;
    widget->repaint();
    last_.start();
}

ConversionProgress::ConversionProgress(QWidget* parent) : QWidget(parent) {
    setObjectName("conversion-progress");
    setAccessibleName(qtr(T::ConvertProgressName));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    text_ = new QLabel(this);
    text_->setObjectName("conversion-progress-text");
    bar_ = new QProgressBar(this);
    bar_->setObjectName("conversion-progress-bar");
    bar_->setAccessibleName(qtr(T::ConvertProgressName));
    bar_->setRange(0, 1000);
    bar_->setFixedWidth(160);
    row->addWidget(text_);
    row->addWidget(bar_);
    hide();
}

void ConversionProgress::report(const QString& text, double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (fraction >= 1.0) {
        hide();
        return;
    }
    text_->setText(text);
    const int value = int(fraction * 1000);
    if (isVisible() && bar_->value() == value) return;
    const bool first = isHidden();
    bar_->setValue(value);
    show();
    throttle_.paint(this, first);
}

void showConversionProgress(QWidget* window, const std::string& what, double fraction) {
    auto* main = qobject_cast<QMainWindow*>(window ? window->window() : nullptr);
    if (!main) return;
    auto* progress = main->statusBar()->findChild<ConversionProgress*>("conversion-progress");
    if (!progress) {
        if (fraction >= 1.0) return;
        progress = new ConversionProgress(main->statusBar());
        main->statusBar()->addPermanentWidget(progress);
    }
    progress->report(toQt(what), fraction);
}

ConversionPalettes::ConversionPalettes(QWidget* parent) : QWidget(parent) {
    setObjectName("conversion-palettes");
    setAccessibleName(qtr(T::ConvertProgressPalettesName));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ConversionPalettes::setRows(const std::vector<std::vector<uint32_t>>& rows) {
    if (rows.empty()) {
        rows_.clear();
        hide();
        return;
    }
    if (rows == rows_ && isVisible()) return;
    const bool first = isHidden() || rows.size() != rows_.size();
    rows_ = rows;
    size_t widest = 0;
    for (const auto& row : rows_) widest = std::max(widest, row.size());
    // A one-pixel frame around the swatches.
    setFixedSize(int(widest) * kSwatch + 2, int(rows_.size()) * kSwatch + 2);
    raise();
    show();
    throttle_.paint(this, first);
}

void ConversionPalettes::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    for (size_t r = 0; r < rows_.size(); ++r)
        for (size_t i = 0; i < rows_[r].size(); ++i)
            painter.fillRect(1 + int(i) * kSwatch, 1 + int(r) * kSwatch, kSwatch, kSwatch,
                             QColor::fromRgb(rows_[r][i] & 0xFFFFFFu));
}

QWidget* progressOverlayHost(QWidget* window, QRect& area) {
    auto* main = qobject_cast<QMainWindow*>(window ? window->window() : nullptr);
    if (!main || !main->centralWidget()) return nullptr;
    area = main->centralWidget()->geometry();
    return main;
}

void showConversionPalettes(QWidget* window, const std::vector<std::vector<uint32_t>>& rows) {
    QRect area;
    QWidget* host = progressOverlayHost(window, area);
    if (!host) return;
    auto* palettes = host->findChild<ConversionPalettes*>("conversion-palettes", Qt::FindDirectChildrenOnly);
    if (!palettes) {
        if (rows.empty()) return;
        palettes = new ConversionPalettes(host);
    }
    palettes->move(area.topLeft() + QPoint(ConversionPalettes::kMargin, ConversionPalettes::kMargin));
    palettes->setRows(rows);
}

}  // namespace ts
