#pragma once
// The splash window: the picture beside the program, 480 x 272 pixels, centred on the screen,
// for 3000 ms. Without the picture there is no splash.
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>

namespace ts {

constexpr int kSplashWidth = 480;       // the GBA screen (240 x 160) doubled in width
constexpr int kSplashHeight = 272;
constexpr int kSplashMilliseconds = 3000;
// The picture's file name in the program's folder.
constexpr const char* kSplashFileName = "dovizeru.png";

class SplashWindow : public QWidget {
public:
    explicit SplashWindow(const QPixmap& picture, QWidget* owner = nullptr);
    const QPixmap& picture() const { return picture_; }

    // Shows the splash of the program's folder; none when its picture cannot be read. The window
    // closes and deletes itself after kSplashMilliseconds, or goes with its owner (still a window
    // of its own) when the owner is deleted first.
    static SplashWindow* showFrom(const std::string& programDirectory, QWidget* owner = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    QPixmap picture_;
};

}  // namespace ts
