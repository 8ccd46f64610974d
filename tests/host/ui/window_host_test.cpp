// The window's host services: message boxes with their captions, icons, buttons and default
// buttons, owned by the main window; the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <cstdio>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>

#include "host/ui/window_host.h"
#include "resources/texts.h"

namespace ts {
namespace {

void whenBox(std::function<void(QMessageBox*)> step) {
    QTimer::singleShot(0, [step] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        step(box);
    });
}

TEST(WindowHostTest, QuestionShowsCaptionIconButtonsAndPreselectsTheDefault) {
    WindowHost host;
    QWidget owner;
    host.setOwner(&owner);
    MessageBoxRequest request;
    request.caption = "Question";
    request.text = "Erase this element definately, the associated file (caf\xE9.map.c) also?";
    request.icon = Icon::Question;
    request.buttons = Buttons::YesNoCancel;
    request.defaultAnswer = Answer::No;
    whenBox([&owner](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle().toStdString(), "Question");
        EXPECT_TRUE(box->text().contains(QString::fromUtf8("caf\u00e9.map.c")));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        EXPECT_EQ(box->parentWidget(), &owner);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(host.messageBox(request), Answer::Yes);

    // Escape answers Cancel (or No when there is no Cancel).
    whenBox([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(host.messageBox(request), Answer::Cancel);
    request.buttons = Buttons::YesNo;
    whenBox([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(host.messageBox(request), Answer::No);
}

TEST(WindowHostTest, ErrorBoxesCountAsFailuresAndUnownedBoxesHaveNoParent) {
    WindowHost host;
    QWidget owner;
    host.setOwner(&owner);
    MessageBoxRequest request;
    request.caption = "Error";
    request.text = "Broken";
    request.icon = Icon::Error;
    request.owned = false;
    whenBox([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->parentWidget(), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(host.messageBox(request), Answer::Ok);
    EXPECT_TRUE(host.failureSeen());
}

// A box shown while the splash is up (an onstart hook's) is not left behind the splash.
TEST(WindowHostTest, TheSplashGivesWayToABox) {
    WindowHost host;
    QWidget owner;
    host.setOwner(&owner);
    QWidget splash(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    splash.show();
    ASSERT_TRUE(splash.isVisible());
    MessageBoxRequest request;
    request.caption = "Information";
    request.text = "Hello";
    whenBox([&splash](QMessageBox* box) {
        EXPECT_FALSE(splash.isVisible());
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(host.messageBox(request), Answer::Ok);
}

TEST(WindowHostTest, ClipboardTakesPicturesAndTexts) {
    WindowHost host;
    std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FE};
    ASSERT_TRUE(host.copyImageToClipboard(2, 2, pixels));
    QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0xFF00FEu);
    EXPECT_FALSE(host.copyImageToClipboard(3, 3, pixels));  // too few pixels
    ASSERT_TRUE(host.copyTextToClipboard("d\xE9j\xE0"));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("d\u00e9j\u00e0"));
}

TEST(WindowHostTest, BusyHandlerSeesOnlyTheOutermostOperation) {
    WindowHost host;
    std::vector<bool> calls;
    host.setBusyHandler([&](bool busy) { calls.push_back(busy); });
    {
        BusyScope a(host);
        BusyScope b(host);
    }
    host.setBusy(false);  // an unmatched end changes nothing
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

// The About box and the project cleaning question as the user sees them.
TEST(WindowHostTest, AboutAndCleaningBoxesAsShown) {
    WindowHost host;
    QWidget owner;
    host.setOwner(&owner);
    auto shoot = [&](T caption, const std::string& text, Icon icon, Buttons buttons, const char* name) {
        MessageBoxRequest request;
        request.caption = tr(caption);
        request.text = text;
        request.icon = icon;
        request.buttons = buttons;
        whenBox([name](QMessageBox* box) {
            QDir().mkpath(QString(TS_BINARY_DIR) + "/screenshots");
            box->grab().save(QString(TS_BINARY_DIR) + "/screenshots/" + name + ".png");
            box->reject();
        });
        host.messageBox(request);
    };
    char about[1000];
    std::snprintf(about, sizeof about, tr(T::AboutText), TS_VERSION);
    shoot(T::AboutCaption, about, Icon::Information, Buttons::Ok, "dialog-about");
    shoot(T::CleanProjectCaption, tr(T::CleanProjectQuestion), Icon::Question, Buttons::OkCancel, "dialog-clean-project");
}

}  // namespace
}  // namespace ts
