#include "editor/ui/window_places.h"

#include <QGuiApplication>
#include <QScreen>

namespace ts {

namespace {
constexpr int kMinVisibleWidth = 100;  // part of a window that must lie on a screen
constexpr int kMinVisibleHeight = 50;
}  // namespace

bool placeOnScreen(const QRect& rect) {
    for (QScreen* screen : QGuiApplication::screens()) {
        QRect common = screen->availableGeometry().intersected(rect);
        if (common.width() >= std::min(kMinVisibleWidth, rect.width()) &&
            common.height() >= std::min(kMinVisibleHeight, rect.height()) && !common.isEmpty())
            return true;
    }
    return false;
}

void placeWindow(QWidget* window, const WindowPlace& place, bool size) {
    QSize wanted = size && place.width > 0 && place.height > 0 ? QSize(place.width, place.height) : window->size();
    // Never larger than the screen the window is on.
    if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    QRect rect(QPoint(place.left, place.top), wanted);
    if (!placeOnScreen(rect)) {
        if (size && place.width > 0 && place.height > 0) window->resize(wanted);
        return;
    }
    if (size) window->resize(wanted);
    window->move(rect.topLeft());
}

void rememberPlace(const QWidget& window, WindowPlace& place) {
    if (!window.isVisible()) return;
    const QRect frame = window.frameGeometry();
    place.left = frame.left();
    place.top = frame.top();
    place.width = window.width();
    place.height = window.height();
}

}  // namespace ts
