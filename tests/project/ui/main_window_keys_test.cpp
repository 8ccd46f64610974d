// The main window's keys pressed as a user presses them, with the focus in the tree.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "window_test_support.h"

namespace ts {
namespace {

struct MainWindowKeysTest : ::testing::Test, test::WindowProject {
    int copies = 0, exports = 0;
    std::unique_ptr<MainWindow> window;
    void open() {
        PanelFactories panels = defaultPanelFactories();
        panels.copyPreview = [this](App&, QWidget*) { ++copies; return true; };
        panels.exportPreview = [this](App&, QWidget*) { ++exports; return true; };
        window = std::make_unique<MainWindow>(app, panels);
        window->askSaveName = [] { return std::string(); };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->tree()->setFocus();
    }
};

TEST_F(MainWindowKeysTest, KeysReachTheirCommandsFromTheTree) {
    element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    open();
    window->tree()->selectRecord(0);
    QTest::keyClick(window->tree(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    // A text field with the focus copies its own text.
    window->tree()->selectBranch(0);
    auto* source = window->panelContent()->findChild<QLineEdit*>("text-source");
    ASSERT_NE(source, nullptr);
    source->setText("picture.png");
    source->selectAll();
    source->setFocus();
    QTest::keyClick(source, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "picture.png");
    window->tree()->setFocus();
    QTest::keyClick(window->tree(), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(exports, 1);
    QTest::keyClick(window->tree(), Qt::Key_F3);
    EXPECT_EQ(host.lastText().rfind("You are trying to access the personnal help file", 0), 0u);
    bool invited = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        invited = dialog->objectName() == "execute-script-dialog";
        dialog->reject();
    });
    QTest::keyClick(window->tree(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(invited);
}

}  // namespace
}  // namespace ts
