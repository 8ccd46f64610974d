// The main window: menu bar, tree branches, panel routing, status strip.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "script/script_state.h"
#include "test_support.h"

namespace ts {
namespace {

TEST(MainWindowTest, MenuBarHasEveryCommandWithItsKey) {
    test::TestApp t;
    MainWindow window(t.app);
    struct Expect { int id; const char* text; QKeySequence key; };
    const Expect expected[] = {
        {40002, "New", QKeySequence("Ctrl+N")}, {40003, "Open", QKeySequence("Ctrl+O")},
        {40004, "Save", QKeySequence("Ctrl+S")}, {40005, "Save as...", {}},
        {40054, "Platform...", {}}, {40038, "File formats...", {}},
        {40001, "Quit without saving", QKeySequence("Ctrl+Q")}, {40039, "Copy preview", QKeySequence("Ctrl+C")},
        {40045, "Export (image)", QKeySequence("Ctrl+Shift+X")}, {40007, "Refresh tree", QKeySequence("F5")},
        {40028, "Add a folder", {}}, {40030, "Script invite", QKeySequence("Ctrl+I")},
        {40051, "Clean project", {}}, {40032, "Options...", {}}, {40011, "Documentation", QKeySequence("F1")},
        {40031, "User help...", QKeySequence("F3")}, {40010, "About...", {}},
    };
    for (const Expect& e : expected) {
        QAction* a = window.action(e.id);
        ASSERT_NE(a, nullptr) << e.id;
        EXPECT_EQ(a->text().toStdString(), e.text);
        EXPECT_EQ(a->shortcut(), e.key) << e.text;
    }
    EXPECT_EQ(window.menuBar()->actions().size(), 6);
}

TEST(MainWindowTest, TreeHasFiveBranchesInOrder) {
    test::TestApp t;
    MainWindow window(t.app);
    ProjectTree* tree = window.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 5);
    const char* labels[] = {"Tilesets", "Maps", "Lists", "Palettes", "Bitmaps"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tree->topLevelItem(i)->text(0).toStdString(), labels[i]);
    EXPECT_EQ(window.statusText(), "Welcome! Please select an element...");
}

TEST(MainWindowTest, WhileAScriptRunsSelectionLeavesThePanelButTreeRowsShowTheirForm) {
    test::TestApp t;
    MainWindow window(t.app);
    window.askSaveName = [] { return std::string(); };
    window.show();
    window.tree()->selectBranch(2);  // Lists: its form sets the status text
    window.tree()->selectBranch(3);  // Palettes
    QWidget* palettes = window.panelContent();
    EXPECT_EQ(palettes->objectName().toStdString(), "panel-palettes");
    EXPECT_EQ(window.statusText(), "Palettes are generated with images conversions");
    scriptState(t.app).treeRefreshGate = false;
    window.tree()->selectBranch(0);
    EXPECT_EQ(window.panelContent(), palettes);
    window.showBranch(0);  // `tree-tilesets`
    EXPECT_NE(window.panelContent(), palettes);
    EXPECT_EQ(window.tree()->currentBranch(), 0);
    scriptState(t.app).treeRefreshGate = true;

    // A folder names itself in the status strip.
    ElementRecord folder;
    folder.name = "World";
    folder.typeAndFlags = kFolderFlag;
    ASSERT_TRUE(appendElementRecord(t.app, folder));
    const int world = elementTable(t.app).count() - 1;
    window.refreshTree();
    window.tree()->selectRecord(world);
    EXPECT_EQ(window.statusText(), "Personnal directory World");
}

}  // namespace
}  // namespace ts
