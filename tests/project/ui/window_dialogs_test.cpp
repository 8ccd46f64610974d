// The main window's own dialogs and menu commands: "Add a folder", "Execute (script)", "Element
// properties", "Clean project", "About", the manual and the project's help file.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

#include "project/element_table.h"
#include "project/ui/add_folder_dialog.h"
#include "project/ui/element_properties_dialog.h"
#include "project/ui/execute_script_dialog.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "window_test_support.h"

namespace ts {
namespace {

// Runs `step` on the modal dialog once it shows.
void whenModal(std::function<void(QDialog*)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(dialog);
    });
}

struct WindowDialogsTest : ::testing::Test, test::WindowProject {};

TEST_F(WindowDialogsTest, AddFolderOffersThePlacesAndRefusesATakenName) {
    folder("World");
    AddFolderState state = addFolderStateFor(app);
    EXPECT_EQ(state.places, (std::vector<std::string>{"root", "tilesets", "maps", "palettes", "bitmaps", "lists", "World"}));
    EXPECT_EQ(state.placeValues, state.places);
    EXPECT_EQ(state.place, "root");
    whenModal([](QDialog* d) {
        d->findChild<QLineEdit*>("folder-name")->setText("Act1");
        d->findChild<QComboBox*>("folder-place")->setCurrentText("World");
        test::saveScreenshot(*d, "dialog-add-folder");
        d->accept();
    });
    EXPECT_TRUE(runAddFolderDialog(app, nullptr));
    int act1 = elementTable(app).count() - 1;
    EXPECT_EQ(record(act1).name, "Act1");
    EXPECT_EQ(record(act1).folder, "World");

    // A taken name: the refusal, then the dialog again (cancelled here).
    whenModal([](QDialog* d) {
        d->findChild<QLineEdit*>("folder-name")->setText("World");
        d->accept();
        whenModal([](QDialog* again) {
            EXPECT_EQ(again->findChild<QLineEdit*>("folder-name")->text().toStdString(), "World");
            again->reject();
        });
    });
    EXPECT_FALSE(runAddFolderDialog(app, nullptr));
    EXPECT_EQ(host.lastCaption(), "Error");
    EXPECT_EQ(elementTable(app).count(), 2);
}

TEST_F(WindowDialogsTest, ExecuteScriptShowsTheLastTextSelected) {
    std::string remembered;
    whenModal([](QDialog* d) {
        d->findChild<QPlainTextEdit*>("execute-text")->setPlainText("convert.tilex 16\nconvert.tiley 24");
        test::saveScreenshot(*d, "dialog-execute-script");
        d->accept();
    });
    ASSERT_TRUE(askScriptInvite(nullptr, remembered));
    EXPECT_EQ(remembered, "convert.tilex 16\nconvert.tiley 24");
    whenModal([](QDialog* d) {
        auto* edit = d->findChild<QPlainTextEdit*>("execute-text");
        EXPECT_EQ(edit->textCursor().selectedText().size(), edit->toPlainText().size());
        d->reject();
    });
    EXPECT_FALSE(askScriptInvite(nullptr, remembered));
    EXPECT_EQ(remembered, "convert.tilex 16\nconvert.tiley 24");
}

TEST_F(WindowDialogsTest, EnterAndEscapeAnswerTheDialogs) {
    // "Add a folder": Enter in the name is OK, Escape is Cancel.
    whenModal([](QDialog* d) {
        auto* name = d->findChild<QLineEdit*>("folder-name");
        name->setText("Act1");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_TRUE(runAddFolderDialog(app, nullptr));
    EXPECT_EQ(elementTable(app).count(), 1);
    whenModal([](QDialog* d) {
        auto* name = d->findChild<QLineEdit*>("folder-name");
        name->setText("Act2");
        QTest::keyClick(name, Qt::Key_Escape);
    });
    EXPECT_FALSE(runAddFolderDialog(app, nullptr));
    EXPECT_EQ(elementTable(app).count(), 1);

    // "Execute (script)": Enter starts a new line, Ctrl+Enter runs, Escape cancels.
    std::string remembered;
    whenModal([](QDialog* d) {
        auto* edit = d->findChild<QPlainTextEdit*>("execute-text");
        edit->setPlainText("convert.tilex 16");
        edit->moveCursor(QTextCursor::End);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        QTest::keyClicks(edit, "convert.tiley 24");
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    });
    ASSERT_TRUE(askScriptInvite(nullptr, remembered));
    EXPECT_EQ(remembered, "convert.tilex 16\nconvert.tiley 24");
    whenModal([](QDialog* d) { QTest::keyClick(d->findChild<QPlainTextEdit*>("execute-text"), Qt::Key_Escape); });
    EXPECT_FALSE(askScriptInvite(nullptr, remembered));
}

TEST_F(WindowDialogsTest, ScriptInviteFromTheMenuRunsTheText) {
    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    whenModal([](QDialog* d) {
        d->findChild<QPlainTextEdit*>("execute-text")->setPlainText("convert.tilex 32");
        d->accept();
    });
    window.runCommand(CmdScriptInvite);
    EXPECT_EQ(app.convert.tileX, 32);
    EXPECT_EQ(window.scriptInviteText, "convert.tilex 32");

    // `quit` closes the window; with no name given for a new project it stays open, and a later
    // invite that is cancelled does not try to close it again.
    projectPaths(app).projectPath.clear();
    window.show();
    int asked = 0;
    window.askSaveName = [&] {
        ++asked;
        return std::string();
    };
    whenModal([](QDialog* d) {
        d->findChild<QPlainTextEdit*>("execute-text")->setPlainText("quit");
        d->accept();
    });
    window.runCommand(CmdScriptInvite);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.isVisible());
    whenModal([](QDialog* d) { d->reject(); });
    window.runCommand(CmdScriptInvite);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowDialogsTest, PropertiesGuardTheTypeAndTheDataFile) {
    int a = element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    dir.write("b.til.c", "other");
    ElementPropertiesState state = elementPropertiesOf(app, a);
    state.type = TYPE_BITMAP;
    state.file = "b.til.c";
    host.answers = {Answer::No, Answer::Yes};  // keep the type; trash the old file
    int index = applyElementProperties(app, a, state);
    EXPECT_EQ(record(index).type(), uint32_t(TYPE_MOSAIQUE));
    EXPECT_EQ(record(index).file, "b.til.c");
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].caption, "Warning");
    EXPECT_EQ(host.boxes[1].text, "The actual file (a.til.c) will no more be used in the project, do you want to delete it?");
    ASSERT_EQ(host.trashed.size(), 1u);

    // A trash that refuses the old file says so; the element takes the new file all the same.
    dir.write("c.til.c", "third");
    host.clear();
    host.trashSucceeds = false;
    state = elementPropertiesOf(app, index);
    state.file = "c.til.c";
    host.answers = {Answer::Yes};
    index = applyElementProperties(app, index, state);
    EXPECT_EQ(record(index).file, "c.til.c");
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].caption, "Error");
    EXPECT_EQ(host.boxes[1].text, "The file b.til.c could not be moved to the trash; it was left where it is.");
    host.trashSucceeds = true;

    state = elementPropertiesOf(app, index);
    state.file = "missing.til.c";
    state.name = "Renamed";
    index = applyElementProperties(app, index, state);
    EXPECT_EQ(record(index).file, "c.til.c");
    EXPECT_EQ(record(index).name, "Renamed");

    whenModal([](QDialog* d) {
        test::saveScreenshot(*d, "dialog-element-properties");
        d->reject();
    });
    EXPECT_FALSE(runElementPropertiesDialog(app, index, nullptr));
}

TEST_F(WindowDialogsTest, CleanProjectAsksThenRemovesMissingFiles) {
    element("Here", TYPE_MOSAIQUE, "here.til.c");
    ElementRecord gone;
    gone.name = "Gone";
    gone.file = "gone.til.c";
    gone.typeAndFlags = TYPE_MOSAIQUE;
    appendElementRecord(app, gone);
    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    host.answers = {Answer::Cancel};
    window.runCommand(CmdCleanProject);
    EXPECT_EQ(host.lastCaption(), "Project cleaning");
    EXPECT_EQ(host.boxes.back().buttons, Buttons::OkCancel);
    EXPECT_EQ(elementTable(app).count(), 2);
    host.answers = {Answer::Ok};
    window.runCommand(CmdCleanProject);
    EXPECT_EQ(elementTable(app).count(), 1);
    EXPECT_EQ(window.tree()->branchItem(0)->childCount(), 1);
}

TEST_F(WindowDialogsTest, HelpCommands) {
    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    window.runCommand(CmdUserHelp);
    EXPECT_EQ(host.lastText().rfind("You are trying to access the personnal help file", 0), 0u);
    dir.write("lisezmoi.htm", "<p>help</p>");
    window.runCommand(CmdUserHelp);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], dir.file("lisezmoi.htm"));
    projectPaths(app).programDirectory = TS_BINARY_DIR;
    window.runCommand(CmdDocumentation);
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[1], std::string(TS_BINARY_DIR) + "/manual.html");
    window.runCommand(CmdAbout);
    EXPECT_EQ(host.lastText().rfind("Tilesmithery " TS_VERSION, 0), 0u);
}

TEST_F(WindowDialogsTest, NewAsksToSaveFirstAndEmptiesTheTree) {
    element("Tiles", TYPE_MOSAIQUE, "a.til.c");
    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    host.answers = {Answer::Cancel};
    window.runCommand(CmdNew);
    EXPECT_EQ(host.lastText(), "Do you want to save the project frist?");
    EXPECT_EQ(elementTable(app).count(), 1);
    host.answers = {Answer::Yes};
    window.runCommand(CmdNew);
    EXPECT_TRUE(fileExists(dir.file("projet.tsp")));
    EXPECT_EQ(elementTable(app).count(), 0);
    EXPECT_EQ(window.tree()->branchItem(0)->childCount(), 0);
}

TEST_F(WindowDialogsTest, FilesDroppedOnTheWindowAreAdded) {
    dir.write("hero.til.c", "t");
    dir.write("readme.txt", "r");
    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    window.addDroppedFiles({QString::fromStdString(dir.file("hero.til.c")), QString::fromStdString(dir.file("readme.txt")),
                            QString::fromStdString(dir.path())});
    ASSERT_EQ(elementTable(app).count(), 1);
    EXPECT_EQ(window.tree()->currentRecord(), 0);
}

}  // namespace
}  // namespace ts
