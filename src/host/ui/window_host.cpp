#include "host/ui/window_host.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include "convert/ui/conversion_blocks.h"
#include "convert/ui/conversion_progress.h"
#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"

namespace ts {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Error: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(Answer answer) {
    switch (answer) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return QMessageBox::Ok;
        case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer of a box closed without a button (Escape, the close box).
Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return Answer::No;
        default: return Answer::Cancel;
    }
}

}  // namespace

Answer WindowHost::messageBox(const MessageBoxRequest& request) {
    noteBox(request);
    // The splash stays on top of every window for its few seconds: a box shown meanwhile (an
    // onstart hook's) would sit behind it, so the splash gives way.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowType() == Qt::SplashScreen && window->isVisible()) window->close();
    QMessageBox box(qtIcon(request.icon), toQt(request.caption), toQt(request.text), qtButtons(request.buttons),
                    request.owned ? owner_ : nullptr);
    box.setObjectName("message-box");
    box.setAccessibleName(toQt(request.caption));
    box.setDefaultButton(qtButton(request.defaultAnswer));
    labelStandardButtons(box);
    switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Cancel: return Answer::Cancel;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        default: return escapeAnswer(request.buttons);
    }
}

bool WindowHost::startProgram(const std::string& commandLine) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty()) return false;
    QStringList arguments;
    for (size_t i = 1; i < words.size(); ++i) arguments << toQt(words[i]);
    return QProcess::startDetached(toQt(words[0]), arguments);
}

bool WindowHost::openFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(path)));
}

bool WindowHost::moveToTrash(const std::string& path) { return QFile::moveToTrash(toQt(path)); }

void WindowHost::setMainWindowVisible(bool visible) {
    if (owner_) owner_->setVisible(visible);
}

void WindowHost::progress(const std::string& what, double fraction) { showConversionProgress(owner_, what, fraction); }

void WindowHost::progressPalettes(const std::vector<std::vector<uint32_t>>& rows) {
    showConversionPalettes(owner_, rows);
}

void WindowHost::progressBlock(const ProgressBlock& block) { showConversionBlock(owner_, block); }

void WindowHost::setBusy(bool busy) {
    const int before = busyDepth_;
    busyDepth_ = busy ? busyDepth_ + 1 : (busyDepth_ > 0 ? busyDepth_ - 1 : 0);
    if (!busyHandler_) return;
    if (before == 0 && busyDepth_ == 1) busyHandler_(true);
    if (before == 1 && busyDepth_ == 0) busyHandler_(false);
}

bool WindowHost::copyImageToClipboard(int width, int height, const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return false;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | pixels[size_t(y) * size_t(width) + size_t(x)];
    }
    QApplication::clipboard()->setImage(image);
    return true;
}

bool WindowHost::copyTextToClipboard(const std::string& text) {
    QApplication::clipboard()->setText(toQt(text));
    return true;
}

}  // namespace ts
