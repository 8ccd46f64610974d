#include "startup/ui/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "host/ui/qt_text.h"

namespace ts {

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint), picture_(picture) {
    setObjectName("splash-window");
    setAccessibleName("Tilesmithery");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kSplashWidth, kSplashHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - kSplashWidth) / 2, area.y() + (area.height() - kSplashHeight) / 2);
    }
    QTimer::singleShot(kSplashMilliseconds, this, &QWidget::close);
}

SplashWindow* SplashWindow::showFrom(const std::string& programDirectory, QWidget* owner) {
    QPixmap picture;
    if (!picture.load(toQt(programDirectory + "/" + kSplashFileName))) return nullptr;
    auto* splash = new SplashWindow(picture, owner);
    splash->show();
    return splash;
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
}

void SplashWindow::mousePressEvent(QMouseEvent*) { close(); }

}  // namespace ts
