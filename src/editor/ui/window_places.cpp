#include "editor/ui/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace ts {

QScreen* screenUnder(const QRect& rect) {
    QScreen* best = nullptr;
    int64_t bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const int64_t area = int64_t(common.width()) * common.height();
        if (!common.isEmpty() && area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    return best;
}

void placeWindow(QWidget& window, const WindowPlace& place, bool size) {
    const bool sized = size && place.width > 0 && place.height > 0;
    const QSize minimum = window.minimumSize();
    QSize wanted = sized ? QSize(std::max(place.width, minimum.width()), std::max(place.height, minimum.height()))
                         : window.size();
    QScreen* screen = screenUnder(QRect(QPoint(place.left, place.top), wanted));
    QScreen* sizing = screen ? screen : window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (sized) {
        // Never larger than the screen, never smaller than the window allows.
        if (sizing) wanted = wanted.boundedTo(sizing->availableGeometry().size()).expandedTo(minimum);
        window.resize(wanted);
    }
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const int width = window.width(), height = window.height();
    const int left = std::clamp(place.left, area.left(), std::max(area.left(), area.left() + area.width() - width));
    const int top = std::clamp(place.top, area.top(), std::max(area.top(), area.top() + area.height() - height));
    window.move(left, top);
}

WindowPlace placeOf(const QWidget& window) {
    if (window.isMaximized()) {
        const QRect normal = window.normalGeometry();
        return WindowPlace{normal.x(), normal.y(), normal.width(), normal.height(), true};
    }
    const QPoint corner = window.pos();
    return WindowPlace{corner.x(), corner.y(), window.width(), window.height(), false};
}

void rememberPlace(const QWidget& window, WindowPlace& place) {
    if (window.isVisible()) place = placeOf(window);
}

}  // namespace ts
