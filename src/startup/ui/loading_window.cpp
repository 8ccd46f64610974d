#include "startup/ui/loading_window.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "host/ui/qt_text.h"

namespace ts {

LoadingWindow::LoadingWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName("loading-window");
    setAccessibleName(qtr(T::LoadingText));
    // Without a title bar the window draws its own edge, so it does not look like loose text.
    auto* frame = new QFrame(this);
    frame->setObjectName("loading-frame");
    frame->setFrameShape(QFrame::Box);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 16, 24, 16);
    auto* name = new QLabel("Tilesmithery", frame);
    name->setObjectName("loading-name");
    name->setAccessibleName("Tilesmithery");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    name->setFont(bold);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* label = new QLabel(qtr(T::LoadingText), frame);
    label->setObjectName("loading-text");
    label->setAccessibleName(qtr(T::LoadingText));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    setMinimumWidth(300);
    resize(sizeHint().expandedTo(QSize(300, 0)));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

}  // namespace ts
