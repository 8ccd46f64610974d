#pragma once
// The progress of a long conversion step (the multi-palette assignment, the quantizer's search)
// in the main window's status strip: the step's text and a bar, shown while the step runs and
// painted at once so the window shows it during the work.
#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;

namespace ts {

// The conversion runs on the window's thread, so the progress widgets paint at once instead of
// waiting for the event loop; at most every kIntervalMs, so that showing the work costs it little
// (a widget always paints what it holds now, so a skipped paint loses nothing).
class RepaintThrottle {
public:
    static constexpr int kIntervalMs = 40;
    // Repaints `widget` when the interval has passed since the last paint, or at once with `now`.
    void paint(QWidget* widget, bool now = false);
    void restart() { last_.invalidate(); }

private:
    QElapsedTimer last_;
};

class ConversionProgress : public QWidget {
public:
    explicit ConversionProgress(QWidget* parent);
    // fraction 0..1; 1 ends the display.
    void report(const QString& text, double fraction);
    QProgressBar* bar() const { return bar_; }

private:
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    RepaintThrottle throttle_;
};

// The sub-palettes a multi-palette conversion is building, drawn over the top-left corner of the
// main window's panels: one row of 16 x 16 swatches per sub-palette, one swatch per entry.
class ConversionPalettes : public QWidget {
public:
    static constexpr int kSwatch = 16;  // side of one swatch
    static constexpr int kMargin = 8;   // from the corner of the panels
    explicit ConversionPalettes(QWidget* parent);
    void setRows(const std::vector<std::vector<uint32_t>>& rows);
    const std::vector<std::vector<uint32_t>>& rows() const { return rows_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::vector<uint32_t>> rows_;
    RepaintThrottle throttle_;
};

// The widget the progress pictures are drawn over (the main window of `window`, drawn over
// without a layout: its panels sit in a splitter, which would take them in as panes), and the
// area of its panels in it; null without a main window.
QWidget* progressOverlayHost(QWidget* window, QRect& area);
// Shows the progress in the status strip of `window` (a main window); nothing without one.
void showConversionProgress(QWidget* window, const std::string& what, double fraction);
// Shows the palettes over the main window of `window`; no rows ends the display.
void showConversionPalettes(QWidget* window, const std::vector<std::vector<uint32_t>>& rows);

}  // namespace ts
