// The project tree in the window: passes, rename, duplicate, drag and drop, context menus, keys.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "project/ui/tree_context_menu.h"
#include "window_test_support.h"

namespace ts {
namespace {

struct ProjectTreeTest : ::testing::Test, test::WindowProject {
    std::unique_ptr<MainWindow> window;
    ProjectTree* tree() { return window->tree(); }
    void open() {
        window = std::make_unique<MainWindow>(app);
        window->askSaveName = [] { return std::string(); };
        window->show();
    }
    // Types a new name into the in-place editor and presses Enter.
    void typeName(const QString& text) {
        auto* editor = tree()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
    std::vector<std::string> actionNames(QMenu* menu) {
        std::vector<std::string> names;
        for (QAction* a : menu->actions())
            names.push_back(a->isSeparator() ? "-" : a->text().toStdString() + (a->isEnabled() ? "" : " (greyed)") +
                                                         (a->isChecked() ? " (checked)" : ""));
        return names;
    }
};

TEST_F(ProjectTreeTest, RecordInAFolderDefinedLaterIsShownUnderIt) {
    int map = element("Level1", TYPE_CARTE, "level1.map.c", "World");
    int orphan = element("Lost", TYPE_CARTE, "lost.map.c", "Nowhere");
    int world = folder("World", "maps");
    open();
    ASSERT_NE(tree()->itemOfRecord(map), nullptr);
    EXPECT_EQ(tree()->itemOfRecord(map)->parent(), tree()->itemOfRecord(world));
    EXPECT_EQ(tree()->itemOfRecord(world)->parent(), tree()->branchItem(1));
    EXPECT_EQ(tree()->itemOfRecord(orphan), nullptr);
    EXPECT_EQ(elementTable(app).count(), 3);  // the orphan stays in the table
    tree()->expandAll();
    test::saveScreenshot(*window, "main-window-folders");
}

TEST_F(ProjectTreeTest, NodesFollowTheTableThroughItsObserver) {
    open();
    dir.write("new.til.c", "x");
    ElementRecord r;
    r.name = "Fresh";
    r.file = "new.til.c";
    r.typeAndFlags = TYPE_MOSAIQUE;
    int index = addElement(app, r);
    ASSERT_NE(tree()->itemOfRecord(index), nullptr);
    EXPECT_EQ(tree()->itemOfRecord(index)->parent(), tree()->branchItem(0));
    removeElement(app, index);
    EXPECT_EQ(tree()->itemOfRecord(index), nullptr);
    EXPECT_EQ(tree()->branchItem(0)->childCount(), 0);
}

TEST_F(ProjectTreeTest, LabelsCutTheNameAtTheLastBackslash) {
    int a = element("Act1\\Boss", TYPE_CARTE, "boss.map.c");
    open();
    EXPECT_EQ(tree()->itemOfRecord(a)->text(0).toStdString(), "Boss");
}

TEST_F(ProjectTreeTest, F2RenameToATakenNameGivesANumberedName) {
    element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    int b = element("Other", TYPE_MOSAIQUE, "b.til.c");
    open();
    tree()->setFocus();
    tree()->selectRecord(b);
    QTest::keyClick(tree(), Qt::Key_F2);
    typeName("Tiles");
    int renamed = tree()->currentRecord();
    ASSERT_GE(renamed, 0);
    EXPECT_EQ(record(renamed).name, "Tiles2");
    EXPECT_EQ(tree()->itemOfRecord(renamed)->text(0).toStdString(), "Tiles2");
}

TEST_F(ProjectTreeTest, EscapeCancelsTheRenameInsideTheMainWindow) {
    int a = element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    open();
    tree()->setFocus();
    tree()->selectRecord(a);
    QTest::keyClick(tree(), Qt::Key_F2);
    auto* editor = tree()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Other");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
    EXPECT_EQ(record(a).name, "Tiles");
    EXPECT_EQ(tree()->itemOfRecord(a)->text(0).toStdString(), "Tiles");
    EXPECT_TRUE(tree()->hasFocus());
}

TEST_F(ProjectTreeTest, RenameToEmptyTextChangesNothing) {
    int a = element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    open();
    tree()->startRename(a);
    typeName("");
    EXPECT_EQ(record(a).name, "Tiles");
    EXPECT_EQ(elementTable(app).count(), 1);
}

TEST_F(ProjectTreeTest, DuplicateThenRenameCopiesTheDataFile) {
    dir.write("projet.ref", "# Tilesmithery property reference index file version 1.0\r\n@level.map.c@\r\n size=3\r\n\r\n");
    int level = element("Level", TYPE_CARTE, "level.map.c");
    open();
    window->duplicateElement(level);
    // The copy's node is being edited at once.
    EXPECT_TRUE(tree()->isRenaming());
    typeName("Boss");
    int boss = TrouveElement(app, TYPE_CARTE, "Boss");
    ASSERT_GE(boss, 0);
    EXPECT_EQ(record(boss).file, "Boss.map.c");
    EXPECT_EQ(dir.read("Boss.map.c"), "data of Level");
    EXPECT_NE(dir.read("projet.ref").find("@Boss.map.c@\r\n size=3"), std::string::npos);
}

TEST_F(ProjectTreeTest, DropOnTheOwnBranchShowsTheNoteOnce) {
    int a = element("A", TYPE_MOSAIQUE, "a.til.c");
    open();
    tree()->movedHandler(a, tree()->branchItem(0));
    tree()->movedHandler(a, tree()->branchItem(0));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Note");
    EXPECT_EQ(host.boxes[0].text.rfind("The element is already in the default directory", 0), 0u);
}

TEST_F(ProjectTreeTest, DraggingMovesIntoFoldersAndRefusesAFolderInItsSubfolder) {
    int outer = folder("Outer");
    int inner = folder("Inner", "Outer");
    int a = element("A", TYPE_MOSAIQUE, "a.til.c");
    open();
    tree()->movedHandler(a, tree()->itemOfRecord(inner));
    EXPECT_EQ(tree()->itemOfRecord(a)->parent(), tree()->itemOfRecord(inner));
    tree()->movedHandler(outer, tree()->itemOfRecord(inner));
    EXPECT_EQ(host.lastText(), "You cannot move a directory into one of its sub-directories!");
    EXPECT_EQ(tree()->itemOfRecord(outer)->parent(), nullptr);
}

TEST_F(ProjectTreeTest, DeleteKeyAsksAndRemoves) {
    int a = element("A", TYPE_MOSAIQUE, "a.til.c");
    open();
    tree()->setFocus();
    tree()->selectRecord(a);
    host.answers = {Answer::No};
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(host.lastCaption(), "Question");
    EXPECT_EQ(elementTable(app).count(), 0);
    EXPECT_TRUE(host.trashed.empty());
    EXPECT_EQ(tree()->branchItem(0)->childCount(), 0);
}

TEST_F(ProjectTreeTest, ElementContextMenuGreysAMissingFile) {
    int map = element("Map", TYPE_CARTE, "map.map.c");
    ElementRecord gone;
    gone.name = "Gone";
    gone.file = "gone.til.c";
    gone.typeAndFlags = TYPE_MOSAIQUE;
    appendElementRecord(app, gone);
    open();
    std::unique_ptr<QMenu> menu(buildTreeContextMenu(*window, tree()->itemOfRecord(map), window.get()));
    EXPECT_EQ(actionNames(menu.get()), (std::vector<std::string>{"View the code", "Edit", "-", "Duplicate", "Rename",
                                                                 "Delete", "Properties"}));
    menu.reset(buildTreeContextMenu(*window, tree()->itemOfRecord(1), window.get()));
    EXPECT_EQ(actionNames(menu.get()).front(), "File not found (greyed)");
    EXPECT_EQ(actionNames(menu.get()).size(), 6u);  // no "Edit" for a tileset
}

TEST_F(ProjectTreeTest, FolderAndBranchMenusShowTheDefaultFolders) {
    int f = folder("Levels");
    open();
    std::unique_ptr<QMenu> menu(buildTreeContextMenu(*window, tree()->itemOfRecord(f), window.get()));
    QMenu* defaults = menu->findChild<QMenu*>("ctx-default-folder-for");
    ASSERT_NE(defaults, nullptr);
    menu->findChild<QAction*>("ctx-default-maps")->trigger();
    EXPECT_EQ(defaultFolderOf(app, TYPE_CARTE), "Levels");
    menu.reset(buildTreeContextMenu(*window, tree()->itemOfRecord(f), window.get()));
    EXPECT_TRUE(menu->findChild<QAction*>("ctx-default-maps")->isChecked());
    EXPECT_FALSE(menu->findChild<QAction*>("ctx-default-tilesets")->isChecked());

    menu.reset(buildTreeContextMenu(*window, tree()->branchItem(1), window.get()));
    EXPECT_EQ(actionNames(menu.get()), (std::vector<std::string>{"Restore default folder", "Restore all folders", "-",
                                                                 "Current folder: Levels (greyed)"}));
    menu.reset(buildTreeContextMenu(*window, tree()->branchItem(0), window.get()));
    EXPECT_EQ(actionNames(menu.get()), (std::vector<std::string>{"Restore all folders", "-", "Folder: Ok (greyed)"}));
    menu->actions().front()->trigger();
    menu.reset(buildTreeContextMenu(*window, tree()->branchItem(0), window.get()));
    EXPECT_EQ(actionNames(menu.get()), (std::vector<std::string>{"Folder: Ok (greyed)"}));
}

TEST_F(ProjectTreeTest, DoubleClickOpensTheDataFileOrTheMapEditor) {
    int tiles = element("Tiles", TYPE_MOSAIQUE, "t.til.c");
    int map = element("Map", TYPE_CARTE, "m.map.c");
    open();
    window->openElement(tiles);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], dir.file("t.til.c"));
    // A map goes to the map editor, not to the text editor; this one's file holds no map, so the
    // reader says so and the editor does not stay open.
    host.clear();
    window->openElement(map);
    EXPECT_EQ(host.opened.size(), 1u);
    EXPECT_FALSE(host.boxes.empty());
    EXPECT_FALSE(window->mapEditorOpen());
}

}  // namespace
}  // namespace ts
