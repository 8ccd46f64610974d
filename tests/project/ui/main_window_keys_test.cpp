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
#include "project/ui/tree_context_menu.h"
#include "script/settings.h"
#include <QMenu>
#include <memory>
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

TEST_F(MainWindowKeysTest, ContextMenusAsTheUserSeesThem) {
    int map = element("Level", TYPE_CARTE, "level.map.c");
    dir.write("level.png", "picture");
    elementTable(app).records[size_t(map)].baseFile = "level.png";
    int f = folder("World");
    systemSettings(app).defFolders[TYPE_CARTE - 1] = "World";
    open();
    auto shot = [&](QTreeWidgetItem* node, const char* name) {
        std::unique_ptr<QMenu> menu(buildTreeContextMenu(*window, node, window.get()));
        menu->popup(window->mapToGlobal(QPoint(40, 40)));
        QApplication::processEvents();
        test::saveScreenshot(*menu, name);
        std::vector<std::string> texts;
        for (QAction* a : menu->actions()) texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        menu->close();
        return texts;
    };
    EXPECT_EQ(shot(window->tree()->itemOfRecord(map), "menu-element"),
              (std::vector<std::string>{"View the code", "Edit", "Base file", "-", "Duplicate", "Rename", "Delete",
                                        "Properties"}));
    EXPECT_EQ(shot(window->tree()->itemOfRecord(f), "menu-folder"),
              (std::vector<std::string>{"Default folder for...", "Rename", "Delete"}));
    EXPECT_EQ(shot(window->tree()->branchItem(1), "menu-branch"),
              (std::vector<std::string>{"Restore default folder", "Restore all folders", "-", "Current folder: World"}));
}

}  // namespace
}  // namespace ts
