// Nothing of the French program's windows is left in English: the main window with its forms,
// previews, menus and dialogs, the map editor window with its menu, dialogs and tool windows, and
// the message boxes. Screen readers read the accessible names, so they count as much as the texts.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "editor/plane_property_rules.h"
#include "editor/ui/editor_dialogs.h"
#include "formats/format_state.h"
#include "formats/object_list.h"
#include "formats/model_table.h"
#include "formats/platform_state.h"
#include "formats/ui/formats_dialog.h"
#include "formats/ui/platform_options_dialog.h"
#include "formats/ui/platforms_dialog.h"
#include "host/ui/window_host.h"
#include "project/creation_forms.h"
#include "project/element_commands.h"
#include "project/ui/add_folder_dialog.h"
#include "project/ui/element_properties_dialog.h"
#include "project/ui/execute_script_dialog.h"
#include "project/ui/main_window.h"
#include "project/ui/options_sheet.h"
#include "project/ui/project_tree.h"
#include "project/ui/tree_context_menu.h"
#include "../../editor/ui/editor_window_support.h"
#include "french_text_check.h"

namespace ts {
namespace {

// The names of the user's data that windows show as they stand.
FrenchTextCheck checkFor(App& app) {
    FrenchTextCheck check;
    check.allowData("Tilesmithery");
    for (const auto& r : elementTable(app).records) {
        check.allowData(r.name);
        check.allowData(r.file);
        check.allowData(r.baseFile);
        check.allowData(r.folder);
    }
    for (const auto& f : formatState(app).records) check.allowData(f.name);
    for (const auto& m : modelTable(app).models) check.allowData(m.name);
    // The platforms and their depths ("4 bits (16 col.)") are named by their drivers.
    for (const auto& p : platformState(app).records) {
        if (p.name) check.allowData(p.name);
        for (int d = 0; p.depths && d < p.depthCount; ++d) check.allowData(p.depths[d].displayName);
    }
    const EditorDocument& doc = editorDocument(app);
    for (int slot = 0; slot < doc.count; ++slot) check.allowData(doc.planes[size_t(slot)].element.name);
    return check;
}

void expectFrench(App& app, QWidget& root, const char* where) {
    QApplication::processEvents();
    for (const std::string& line : checkFor(app).englishIn(root)) ADD_FAILURE() << where << ": " << line;
}

// Runs `open`, which shows a modal dialog; checks the dialog and closes it.
void expectFrenchModal(App& app, const char* where, const std::function<void()>& open) {
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [&app, where, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        *seen = true;
        expectFrench(app, *modal, where);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
    });
    open();
    QApplication::processEvents();
    EXPECT_TRUE(*seen) << where << ": no dialog opened";
}

TEST(FrenchTextCheck, TellsFrenchFromEnglish) {
    FrenchTextCheck check;
    check.allowData("level");
    EXPECT_TRUE(check.accepts(QString::fromLatin1("Mosa\xEFques")));
    EXPECT_TRUE(check.accepts("&Fichier"));
    EXPECT_TRUE(check.accepts("Nouveau\t   Ctrl+N"));
    EXPECT_TRUE(check.accepts("level - Editeur de maps"));  // a format filled in
    EXPECT_TRUE(check.accepts("level"));
    EXPECT_TRUE(check.accepts("OK / Annuler"));
    EXPECT_TRUE(check.accepts("0x1F"));
    EXPECT_FALSE(check.accepts("Preview"));
    EXPECT_FALSE(check.accepts("Mouse position"));
    EXPECT_FALSE(check.accepts("Context menu"));
    EXPECT_FALSE(check.accepts("Cancel"));
    EXPECT_FALSE(check.accepts("Annuler / Cancel"));
    EXPECT_FALSE(check.accepts("tilesets"));
}

struct FrenchNamesWindow : test::EditorWindowTest {
    void SetUp() override {
        test::EditorWindowTest::SetUp();
        ASSERT_EQ(edition(), Edition::French);
        folder = addFolderRecord(app, "Niveaux", "tilesets");
        ASSERT_GE(folder, 0);
        main = std::make_unique<MainWindow>(app);
        main->askSaveName = [] { return std::string(); };
        main->resize(1000, 680);
        main->show();
        main->tree()->expandAll();
        QApplication::processEvents();
    }
    void TearDown() override {
        test::EditorWindowTest::TearDown();
        main.reset();
    }
    std::unique_ptr<MainWindow> main;
    int folder = -1;
};

TEST_F(FrenchNamesWindow, MainWindowFormsPreviewsAndMenus) {
    for (int b = 0; b < 5; ++b) {
        main->tree()->selectBranch(b);
        expectFrench(app, *main, ("branch " + std::to_string(b)).c_str());
        std::unique_ptr<QMenu> menu(buildTreeContextMenu(*main, main->tree()->branchItem(b), main.get()));
        expectFrench(app, *menu, "branch context menu");
    }
    for (uint32_t type : {TYPE_CARTE, TYPE_MOSAIQUE, TYPE_PALETTE, TYPE_BITMAP, TYPE_LISTE}) {
        const int index = nthElementOfType(app, type, 1);
        if (index < 0) continue;
        main->tree()->selectRecord(index);
        expectFrench(app, *main, ("preview of type " + std::to_string(type)).c_str());
        std::unique_ptr<QMenu> menu(buildTreeContextMenu(*main, main->tree()->itemOfRecord(index), main.get()));
        expectFrench(app, *menu, "element context menu");
    }
    main->tree()->selectRecord(folder);
    expectFrench(app, *main, "folder panel");
    std::unique_ptr<QMenu> menu(buildTreeContextMenu(*main, main->tree()->itemOfRecord(folder), main.get()));
    expectFrench(app, *menu, "folder context menu");
    for (const auto& line : t.host.boxes) ADD_FAILURE() << line.caption << ": " << line.text;
}

TEST_F(FrenchNamesWindow, MainWindowDialogs) {
    OptionsSheet sheet(app, nullptr);
    expectFrench(app, sheet, "options");
    PlatformsDialog platforms(app, nullptr);
    expectFrench(app, platforms, "platforms");
    FormatsDialog formats(app, nullptr);
    expectFrench(app, formats, "formats");
    expectFrenchModal(app, "add folder", [&] { runAddFolderDialog(app, nullptr); });
    std::string remembered;
    expectFrenchModal(app, "execute", [&] { askScriptInvite(nullptr, remembered); });
    expectFrenchModal(app, "properties", [&] { runElementPropertiesDialog(app, nthElementOfType(app, TYPE_CARTE, 1), nullptr); });
    expectFrenchModal(app, "platform options", [&] { showPlatformOptions(app, 0x1000, nullptr); });
}

TEST_F(FrenchNamesWindow, AddFolderNamesTheRootsInFrenchAndStoresTheirKeywords) {
    const AddFolderState state = addFolderStateFor(app);
    ASSERT_GE(state.places.size(), 6u);
    EXPECT_EQ(state.places[0], "racine");
    EXPECT_EQ(state.places[1], "mosa\xEFques");
    EXPECT_EQ(state.places[5], "listes");
    EXPECT_EQ(state.placeValues[1], "tilesets");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("folder-name")->setText("Decors");
        dialog->findChild<QComboBox*>("folder-place")->setCurrentText(QString::fromLatin1("mosa\xEFques"));
        dialog->accept();
    });
    ASSERT_TRUE(runAddFolderDialog(app, nullptr));
    const ElementRecord& added = elementTable(app).records[size_t(elementTable(app).count() - 1)];
    EXPECT_EQ(added.name, "Decors");
    EXPECT_EQ(added.folder, "tilesets");  // the project file says the same in both editions
}

TEST_F(FrenchNamesWindow, MessageBoxButtons) {
    WindowHost host;
    MessageBoxRequest request;
    request.caption = "Question";
    request.text = "?";
    request.buttons = Buttons::YesNoCancel;
    request.owned = false;
    expectFrenchModal(app, "message box", [&] { host.messageBox(request); });
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "&Oui");
        EXPECT_EQ(box->button(QMessageBox::Cancel)->accessibleName(), "Annuler");
        box->reject();
    });
    host.messageBox(request);
}

TEST_F(FrenchNamesWindow, EditorWindowMenuDialogsAndToolWindows) {
    ASSERT_NE(open("level"), nullptr);
    expectFrench(app, *window, "editor window");
    QMenu* menu = window->buildContextMenu();
    ASSERT_NE(menu, nullptr);
    expectFrench(app, *menu, "editor menu");
    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(2, 1));
    EditorSession& s = window->session();
    expectFrenchModal(app, "plane properties", [&] { showPlaneProperties(window, app, s, 0); });
    expectFrenchModal(app, "editor options", [&] { showEditorOptions(window, app, s); });
    expectFrenchModal(app, "links", [&] { showLinks(window, app, s); });
    expectFrenchModal(app, "add plane", [&] { showAddPlane(window, app, s); });
    expectFrenchModal(app, "tile size", [&] { showTileSize(window, app, s); });
    expectFrenchModal(app, "operations", [&] { showSelectionOperations(window, app, s); });
    expectFrenchModal(app, "blocks copy", [&] { showBlocksCopy(window, app, s); });
    expectFrenchModal(app, "execute script", [&] { showExecuteScript(window, app, s); });
    window->setBitsShown(true);
    ASSERT_NE(window->bitsWindow(), nullptr);
    expectFrench(app, *window->bitsWindow(), "bits display");
    ASSERT_TRUE(addSpecimenPlane(app, 0));
    window->setSpecimenShown(true);
    ASSERT_NE(window->specimenWindow(), nullptr);
    expectFrench(app, *window->specimenWindow(), "specimen");

    // An object list as the second plane, for the object parameters dialog.
    ObjectListFormState form = defaultObjectListForm(app);
    form.file = "objets.lst.c";
    form.blockSize = 0;
    ASSERT_TRUE(runObjectListForm(app, form)) << host.lastText();
    const ElementRecord list = elementTable(app).records[size_t(elementTable(app).count() - 1)];
    ASSERT_EQ(openEditorWindow(app, list), window.data());
    key(Qt::Key_2, Qt::ControlModifier);
    ASSERT_EQ(plane(1).kind, PlaneList);
    ASSERT_TRUE(addListEntry(app, plane(1).objects, 8, 8, 1));
    expectFrench(app, *window, "editor window with a list");
    expectFrenchModal(app, "object parameters", [&] { showObjectParameters(window, app, s, 0); });
}

}  // namespace
}  // namespace ts

namespace ts {
namespace {

TEST_F(FrenchNamesWindow, MaxMemoryShowsFrenchUnitsAndReadsThemBack) {
    OptionsSheet sheet(app, nullptr);
    auto* memory = sheet.findChild<QComboBox*>("options-maxmemory");
    ASSERT_NE(memory, nullptr);
    EXPECT_GE(memory->findText("192 Ko"), 0);
    EXPECT_GE(memory->findText("1 Go"), 0);
    EXPECT_GE(memory->findText("Max."), 0);
    memory->setCurrentText("64 Mo");
    sheet.accept();
    EXPECT_EQ(app.system.maxMemory, 64u * 1048576u + 1024u);
    OptionsSheet again(app, nullptr);
    EXPECT_EQ(again.findChild<QComboBox*>("options-maxmemory")->currentText(), "64 Mo");
}

}  // namespace
}  // namespace ts
