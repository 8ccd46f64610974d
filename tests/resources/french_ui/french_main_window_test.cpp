// The French program's main window, read from its widgets: this test program is linked with the
// French edition, as build/tilesmithery-fr and its window module are.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidgetItem>
#include <filesystem>
#include <gtest/gtest.h>

#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "startup/startup.h"
#include "../../project/ui/window_test_support.h"
#include "cut_off_check.h"

namespace ts {
namespace {

// Texts are Windows-1252 in the table; the widgets hold Unicode.
QString latin(const char* cp1252) { return QString::fromLatin1(cp1252); }

struct FrenchWindow : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        std::filesystem::copy(std::string(TS_SOURCE_DIR) + "/examples/demo", dir.path(),
                              std::filesystem::copy_options::recursive);
        std::string rest;
        prepareStartup(app, "\"" + dir.file("demo.tsp") + "\"", TS_BINARY_DIR, rest);
        runScriptText(app, "faire \"script.spt\", \"build\"");
        t.host.clear();
        window = std::make_unique<MainWindow>(app);
        window->askSaveName = [] { return std::string(); };
        window->resize(1000, 680);
        window->show();
        window->tree()->expandAll();
        QApplication::processEvents();
    }

    QString menuTitle(const char* objectName) {
        QMenu* menu = window->findChild<QMenu*>(objectName);
        return menu ? menu->title().remove('&') : QString("(no %1)").arg(objectName);
    }
    QString actionText(const char* objectName) {
        QAction* action = window->findChild<QAction*>(objectName);
        return action ? action->text() : QString("(no %1)").arg(objectName);
    }
    QString actionKey(const char* objectName) {
        QAction* action = window->findChild<QAction*>(objectName);
        return action ? action->shortcut().toString() : QString();
    }
};

TEST_F(FrenchWindow, MenusShowTheFrenchTexts) {
    ASSERT_EQ(edition(), Edition::French);
    EXPECT_EQ(menuTitle("menu-file"), "Fichier");
    EXPECT_EQ(menuTitle("menu-edit"), "Edition");
    EXPECT_EQ(menuTitle("menu-view"), "Affichage");
    EXPECT_EQ(menuTitle("menu-tools"), "Outils");
    EXPECT_EQ(menuTitle("menu-procedures"), latin("Proc\xE9" "dures"));
    EXPECT_EQ(menuTitle("menu-help"), "Aide");

    // Item texts before the tab; the key is the action's own shortcut.
    EXPECT_EQ(actionText("menu-new"), "Nouveau");
    EXPECT_EQ(actionKey("menu-new"), "Ctrl+N");
    EXPECT_EQ(actionText("menu-open"), "Ouvrir");
    EXPECT_EQ(actionText("menu-save"), "Enregistrer");
    EXPECT_EQ(actionText("menu-save-as"), "Enregistrer sous...");
    EXPECT_EQ(actionText("menu-platform"), "Plate-forme...");
    EXPECT_EQ(actionText("menu-file-formats"), "Formats de fichier...");
    EXPECT_EQ(actionText("menu-quit-without-saving"), "Quitter sans sauver");
    EXPECT_EQ(actionText("menu-copy-preview"), latin("Copier l'aper\xE7u"));
    EXPECT_EQ(actionText("menu-export-image"), "Exporter (image)");
    EXPECT_EQ(actionText("menu-refresh-tree"), "Actualiser l'arbre");
    EXPECT_EQ(actionKey("menu-refresh-tree"), "F5");
    EXPECT_EQ(actionText("menu-add-folder"), "Ajouter dossier");
    EXPECT_EQ(actionText("menu-script-invite"), "Invite de script");
    EXPECT_EQ(actionText("menu-clean-project"), "Nettoyer le projet");
    EXPECT_EQ(actionText("menu-documentation"), "Documentation");
    EXPECT_EQ(actionText("menu-user-help"), "Aide perso...");
    EXPECT_EQ(actionText("menu-about"), "A propos de...");
}

TEST_F(FrenchWindow, TreeBranchesShowTheFrenchNames) {
    const char* expected[] = {"Mosa\xEFques", "Cartes", "Listes", "Palettes", "Bitmaps"};
    for (int b = 0; b < 5; ++b) EXPECT_EQ(window->tree()->branchItem(b)->text(0), latin(expected[b])) << b;
}

// Every label, button and check box is wide enough for its French text, on every branch's form
// and every kind of preview; the screenshots are there to be looked at too.
TEST_F(FrenchWindow, NoTextIsCutOff) {
    auto check = [&](const char* where) { expectNothingCutOff(*window, where); };
    const char* shots[] = {"fr-window-branch-tilesets", "fr-window-branch-maps", "fr-window-branch-lists",
                           "fr-window-branch-palettes", "fr-window-branch-bitmaps"};
    for (int b = 0; b < 5; ++b) {
        window->tree()->selectBranch(b);
        check(shots[b]);
        test::saveScreenshot(*window, shots[b]);
    }
    struct Kind { uint32_t type; const char* shot; };
    for (Kind k : {Kind{TYPE_CARTE, "fr-window-preview-map"}, Kind{TYPE_MOSAIQUE, "fr-window-preview-tileset"},
                   Kind{TYPE_PALETTE, "fr-window-preview-palette"}, Kind{TYPE_BITMAP, "fr-window-preview-bitmap"}}) {
        int index = nthElementOfType(app, k.type, 1);
        ASSERT_GE(index, 0) << k.shot;
        window->tree()->selectRecord(index);
        check(k.shot);
        test::saveScreenshot(*window, k.shot);
    }
    // The menus, opened one by one.
    for (const char* name : {"menu-file", "menu-edit", "menu-view", "menu-tools", "menu-help"}) {
        QMenu* menu = window->findChild<QMenu*>(name);
        ASSERT_NE(menu, nullptr);
        menu->popup(window->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        test::saveScreenshot(*menu, (std::string("fr-") + name).c_str());
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            const QRect r = menu->actionGeometry(a);
            const int need = menu->fontMetrics().horizontalAdvance(a->text()) +
                             menu->fontMetrics().horizontalAdvance(a->shortcut().toString(QKeySequence::NativeText));
            EXPECT_LT(need, r.width()) << name << ": " << a->text().toStdString();
        }
        menu->hide();
    }
    for (const auto& box : t.host.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
}

}  // namespace
}  // namespace ts
