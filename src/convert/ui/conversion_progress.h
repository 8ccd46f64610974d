#pragma once
// The progress of a long conversion step (the multi-palette assignment, the quantizer's search)
// in the main window's status strip: the step's text and a bar, shown while the step runs and
// painted at once so the window shows it during the work.
#include <QWidget>
#include <string>

class QLabel;
class QProgressBar;

namespace ts {

class ConversionProgress : public QWidget {
public:
    explicit ConversionProgress(QWidget* parent);
    // fraction 0..1; 1 ends the display.
    void report(const QString& text, double fraction);
    QProgressBar* bar() const { return bar_; }

private:
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

// Shows the progress in the status strip of `window` (a main window); nothing without one.
void showConversionProgress(QWidget* window, const std::string& what, double fraction);

}  // namespace ts
