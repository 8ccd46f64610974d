#include "convert/ui/conversion_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "host/ui/qt_text.h"

namespace ts {

ConversionProgress::ConversionProgress(QWidget* parent) : QWidget(parent) {
    setObjectName("conversion-progress");
    setAccessibleName("Conversion progress");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    text_ = new QLabel(this);
    text_->setObjectName("conversion-progress-text");
    bar_ = new QProgressBar(this);
    bar_->setObjectName("conversion-progress-bar");
    bar_->setAccessibleName("Conversion progress");
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
    bar_->setValue(value);
    show();
    // The work runs on this thread: paint now, the event loop is not reached before the end.
    repaint();
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

}  // namespace ts
