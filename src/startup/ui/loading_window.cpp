#include "startup/ui/loading_window.h"

#include <QLabel>
#include <QVBoxLayout>

#include "host/ui/qt_text.h"

namespace ts {

LoadingWindow::LoadingWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName("loading-window");
    setAccessibleName(qtr(T::LoadingText));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(qtr(T::LoadingText), this);
    label->setObjectName("loading-text");
    label->setAccessibleName(qtr(T::LoadingText));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    layout->setContentsMargins(24, 16, 24, 16);
}

}  // namespace ts
