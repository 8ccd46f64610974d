// Interactive start: "onstart", "onquit", the Procedures menu, closing, the splash and the status.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <gtest/gtest.h>

#include "host/ui/window_host.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "script/settings.h"
#include "startup/ui/interactive_start.h"
#include "startup/ui/loading_window.h"
#include "startup/ui/splash_window.h"
#include "../../project/ui/window_test_support.h"

namespace ts {
namespace {

struct InteractiveStartTest : ::testing::Test, test::WindowProject {
    InteractiveOptions quiet() {
        InteractiveOptions o;
        o.splash = false;
        return o;
    }
};

TEST_F(InteractiveStartTest, OnstartWithQuitClosesAtOnceAndSavesTheProject) {
    dir.write("script.spt", "onstart:\nquit\nonquit:\nconvert.tilex 16\n");
    QWidget loading;
    loading.show();
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, &loading, quiet());
    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(loading.isVisible());
    EXPECT_EQ(app.convert.tileX, 16);  // "onquit" ran on the closing
    EXPECT_TRUE(fileExists(dir.file("projet.tsp")));
}

TEST_F(InteractiveStartTest, OnquitReturningZeroKeepsTheWindowOpen) {
    dir.write("script.spt", "onquit:\nreturn 0\n");
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(fileExists(dir.file("projet.tsp")));
    window->runCommand(CmdQuitWithoutSaving);
    EXPECT_TRUE(window->isVisible());
    dir.write("script.spt", "onquit:\n");
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(fileExists(dir.file("projet.tsp")));
}

TEST_F(InteractiveStartTest, QuitWithoutSavingWritesNothing) {
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    window->runCommand(CmdQuitWithoutSaving);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(fileExists(dir.file("projet.tsp")));
}

TEST_F(InteractiveStartTest, ClosingAnUnnamedProjectAsksForANameAndStaysOpenWithoutOne) {
    projectPaths(app).projectPath.clear();
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    int asked = 0;
    window->askSaveName = [&] {
        ++asked;
        return std::string();
    };
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked, 1);
    window->askSaveName = [&] { return dir.file("mine"); };
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(fileExists(dir.file("mine.tsp")));
}

TEST_F(InteractiveStartTest, ProceduresMenuListsTheUnderscoreLabelsAndRunsThem) {
    dir.write("script.spt", "_build:\nconvert.tilex 16\nreturn\n_clean up:\nconvert.tiley 24\n");
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    QList<QAction*> items = window->proceduresMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text().toStdString(), "build");
    EXPECT_EQ(items[1]->text().toStdString(), "clean up");
    EXPECT_EQ(items[1]->property("commandId").toInt(), 16385);
    items[1]->trigger();
    EXPECT_EQ(app.convert.tileY, 24);
    EXPECT_NE(app.convert.tileX, 16);
    EXPECT_TRUE(window->runCommand(16384));
    EXPECT_EQ(app.convert.tileX, 16);
    window->runCommand(CmdQuitWithoutSaving);
}

TEST_F(InteractiveStartTest, AProcedureWithAnAmpersandShowsAndRunsUnderItsOwnName) {
    dir.write("script.spt", "_save & build:\nconvert.tilex 16\n");
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    QList<QAction*> items = window->proceduresMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->iconText().toStdString(), "save & build");
    EXPECT_TRUE(window->runCommand(16384));
    EXPECT_EQ(app.convert.tileX, 16);
    window->runCommand(CmdQuitWithoutSaving);
}

TEST_F(InteractiveStartTest, ProceduresMenuWithoutScript) {
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, quiet());
    ASSERT_NE(window, nullptr);
    QList<QAction*> items = window->proceduresMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text().toStdString(), "(No script)");
    EXPECT_FALSE(items[0]->isEnabled());
    // A script without underscore labels, then no script name at all.
    dir.write("script.spt", "onstart:\nreturn 1\n");
    window->rebuildProceduresMenu();
    items = window->proceduresMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text().toStdString(), "(None)");
    EXPECT_FALSE(items[0]->isEnabled());
    systemSettings(app).scriptName.clear();
    window->rebuildProceduresMenu();
    items = window->proceduresMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text().toStdString(), "(No script specified)");
    EXPECT_EQ(items[0]->property("commandId").toInt(), 16383);
    EXPECT_FALSE(items[0]->isEnabled());
    window->runCommand(CmdQuitWithoutSaving);
}

TEST_F(InteractiveStartTest, LongOperationsShowPleaseWaitInTheStatusStrip) {
    WindowHost windowHost;
    MainWindow window(app);
    windowHost.setBusyHandler([&](bool busy) { window.setBusy(busy); });
    window.setStatusText("Ready");
    {
        BusyScope outer(windowHost);
        EXPECT_EQ(window.statusText(), "Please wait...");
        {
            BusyScope inner(windowHost);
            window.setStatusText("Later");
            EXPECT_EQ(window.statusText(), "Please wait...");
        }
        EXPECT_EQ(window.statusText(), "Please wait...");
    }
    EXPECT_EQ(window.statusText(), "Later");
    window.askSaveName = [] { return std::string(); };
}

TEST_F(InteractiveStartTest, SplashIsCentredAndSizedFromThePictureBesideTheProgram) {
    EXPECT_EQ(SplashWindow::showFrom(dir.path()), nullptr);  // no picture, no splash
    SplashWindow* splash = SplashWindow::showFrom(TS_BINARY_DIR);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(480, 272));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash->pos(), QPoint(screen.x() + (screen.width() - 480) / 2, screen.y() + (screen.height() - 272) / 2));
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(splash->picture().isNull());
    test::saveScreenshot(*splash, "splash");
    // Closed (by its timer or a click), it deletes itself.
    QPointer<SplashWindow> closed(splash);
    splash->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
}

// A project closed within the splash's time takes the splash with it, so no window outlives the
// application.
TEST_F(InteractiveStartTest, SplashGoesWithTheWindowThatClosesBeforeItsTimeIsUp) {
    QPointer<SplashWindow> splash;
    {
        QWidget owner;
        splash = SplashWindow::showFrom(TS_BINARY_DIR, &owner);
        ASSERT_FALSE(splash.isNull());
        EXPECT_TRUE(splash->isWindow());
        EXPECT_TRUE(splash->isVisible());
    }
    EXPECT_TRUE(splash.isNull());

    projectPaths(app).programDirectory = TS_BINARY_DIR;
    InteractiveOptions withSplash;
    withSplash.splash = true;
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, nullptr, withSplash);
    ASSERT_NE(window, nullptr);
    splash = window->findChild<SplashWindow*>("splash-window");
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isWindow());
    window->runCommand(CmdQuitWithoutSaving);
    window.reset();
    EXPECT_TRUE(splash.isNull());
}

TEST_F(InteractiveStartTest, EmptyProjectOpensWithTheWelcomeText) {
    LoadingWindow loading;
    loading.show();
    EXPECT_TRUE(loading.windowFlags() & Qt::WindowStaysOnTopHint);
    test::saveScreenshot(loading, "loading-window");
    std::unique_ptr<MainWindow> window = openMainWindow(app, nullptr, &loading, quiet());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(loading.isVisible());
    EXPECT_EQ(window->statusText(), "Welcome! Please select an element...");
    EXPECT_EQ(window->tree()->topLevelItemCount(), 5);
    test::saveScreenshot(*window, "main-window-empty");
    window->runCommand(CmdQuitWithoutSaving);
}

}  // namespace
}  // namespace ts
