// Stored window places: taken only on a screen, and then the whole window is kept on it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "editor/ui/window_places.h"

namespace ts {
namespace {

QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

TEST(WindowPlaces, APlaceOnNoScreenKeepsThePositionButTakesTheSize) {
    QWidget w;
    w.move(10, 20);
    placeWindow(w, WindowPlace{60000, 60000, 300, 200, false}, true);
    EXPECT_EQ(w.pos(), QPoint(10, 20));
    EXPECT_EQ(w.size(), QSize(300, 200));
    placeWindow(w, WindowPlace{-60000, 20, 0, 0, false}, false);
    EXPECT_EQ(w.pos(), QPoint(10, 20));
}

TEST(WindowPlaces, APlaceHalfOffTheScreenIsPulledOnItWhole) {
    const QRect area = screenArea();
    QWidget w;
    placeWindow(w, WindowPlace{area.right() - 50, area.bottom() - 40, 300, 200, false}, true);
    EXPECT_EQ(w.size(), QSize(300, 200));
    EXPECT_EQ(w.pos(), QPoint(area.left() + area.width() - 300, area.top() + area.height() - 200));
    placeWindow(w, WindowPlace{area.left() - 100, area.top() + 30, 300, 200, false}, true);
    EXPECT_EQ(w.pos(), QPoint(area.left(), area.top() + 30));
    // Inside the screen, the place is taken as it stands.
    placeWindow(w, WindowPlace{area.left() + 40, area.top() + 30, 0, 0, false}, false);
    EXPECT_EQ(w.pos(), QPoint(area.left() + 40, area.top() + 30));
    EXPECT_EQ(w.size(), QSize(300, 200));
}

TEST(WindowPlaces, TheSizeStaysBetweenTheMinimumAndTheScreen) {
    const QRect area = screenArea();
    QWidget w;
    w.setMinimumSize(256, 256);
    placeWindow(w, WindowPlace{area.left(), area.top(), area.width() * 3, area.height() * 2, false}, true);
    EXPECT_EQ(w.size(), area.size());
    EXPECT_EQ(w.pos(), area.topLeft());
    placeWindow(w, WindowPlace{area.left() + 5, area.top() + 5, 10, 10, false}, true);
    EXPECT_EQ(w.size(), QSize(256, 256));
    // Negative sizes are no size: the window keeps the one it has.
    placeWindow(w, WindowPlace{area.left() + 5, area.top() + 5, -50, 70, false}, true);
    EXPECT_EQ(w.size(), QSize(256, 256));
}

TEST(WindowPlaces, PlaceOfGivesWhatPlaceWindowTakes) {
    const QRect area = screenArea();
    QWidget w;
    placeWindow(w, WindowPlace{area.left() + 12, area.top() + 34, 220, 140, false}, true);
    const WindowPlace p = placeOf(w);
    EXPECT_EQ(QRect(p.left, p.top, p.width, p.height), QRect(area.left() + 12, area.top() + 34, 220, 140));
    EXPECT_FALSE(p.maximized);
    // A hidden window leaves a remembered place as it was.
    WindowPlace kept{1, 2, 3, 4, false};
    rememberPlace(w, kept);
    EXPECT_EQ(kept.left, 1);
    EXPECT_EQ(kept.width, 3);
}

}  // namespace
}  // namespace ts
