// The editor's options sheet: Planes, View and Specimen pages, refused values, and the general
// page refusing the list size while the editor is open.
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>

#include "dialog_test_support.h"
#include "editor/editor_settings.h"
#include "script/settings.h"

namespace ts::test {
namespace {

using EditorOptionsDialogTest = DialogTest;

TEST_F(EditorOptionsDialogTest, OkAppliesPlanesViewAndSpecimenPages) {
    addPlane(8, 8);
    addPlane(8, 8);
    whenDialog([](QDialog* d) {
        auto* tabs = child<QTabWidget>(d, "editor-options-pages");
        ASSERT_EQ(tabs->count(), 5);
        EXPECT_EQ(tabs->tabText(1), "Shortcuts");
        child<QCheckBox>(d, "options-grid-shown")->setChecked(true);
        setText(d, "options-alpha-grid", "300");  // stored as 255
        setText(d, "options-alpha-foreground", "");  // keeps 160
        setText(d, "options-alpha-gfx", "64");
        setText(d, "options-zoom", "2.5");
        child<QCheckBox>(d, "options-bilinear")->setChecked(true);
        auto* choice = child<QComboBox>(d, "specimen-choice");
        choice->setCurrentIndex(1);
        child<QPushButton>(d, "specimen-add")->click();
        child<QPushButton>(d, "specimen-add")->click();  // once only
        EXPECT_EQ(child<QListWidget>(d, "specimen-planes")->count(), 1);
        for (int page = 0; page < 5; ++page) {
            tabs->setCurrentIndex(page);
            saveShot(*d, ("dialog-editor-options-" + std::to_string(page + 1)).c_str());
        }
        clickOk(d, "editor-options");
    });
    EXPECT_TRUE(showEditorOptions(nullptr, app, session));
    const EditorOptions& o = doc().options;
    EXPECT_EQ(o.gridShown, 1);
    EXPECT_EQ(o.alphaGrid, 255);
    EXPECT_EQ(o.alphaForeground, 160);
    EXPECT_EQ(o.alphaGfx, 64);
    EXPECT_DOUBLE_EQ(o.zoom, 2.5);
    EXPECT_EQ(o.preciseZoom, 1);
    ASSERT_EQ(doc().specimenPlanes, std::vector<int>{1});
    EXPECT_EQ(plane(1).visible, 0);  // a specimen plane is hidden in the main view

    // Taking it out on the page shows it again.
    whenDialog([](QDialog* d) {
        auto* list = child<QListWidget>(d, "specimen-planes");
        list->setCurrentRow(0);
        child<QPushButton>(d, "specimen-delete")->click();
        clickOk(d, "editor-options");
    });
    EXPECT_TRUE(showEditorOptions(nullptr, app, session));
    EXPECT_TRUE(doc().specimenPlanes.empty());
    EXPECT_EQ(plane(1).visible, 1);
}

TEST_F(EditorOptionsDialogTest, TextAndOutOfRangeValuesKeepTheSheetOpen) {
    addPlane(8, 8);
    whenDialog([this](QDialog* d) {
        setText(d, "options-alpha-hex", "half");
        clickOk(d, "editor-options");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "\"half\" is not a number.");
        setText(d, "options-alpha-hex", "-5");
        clickOk(d, "editor-options");
        EXPECT_TRUE(d->isVisible());
        setText(d, "options-alpha-hex", "96");
        setText(d, "options-zoom", "400");
        clickOk(d, "editor-options");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "The zoom must lie between 1.0 and 4.0.");
        d->reject();
    });
    EXPECT_FALSE(showEditorOptions(nullptr, app, session));
    EXPECT_EQ(doc().options.zoom, 1.0);
    EXPECT_EQ(doc().options.alphaHex, 96);
    EXPECT_EQ(host.boxes.size(), 3u);
}

TEST_F(EditorOptionsDialogTest, TheListSizeIsRefusedWhileTheEditorIsOpen) {
    addPlane(8, 8);
    const int before = systemSettings(app).maxObjects;
    whenDialog([](QDialog* d) {
        setText(d, "options-maxobjects", "2000");
        setText(d, "options-timing", "25");
        clickOk(d, "editor-options");
    });
    EXPECT_TRUE(showEditorOptions(nullptr, app, session));
    EXPECT_EQ(systemSettings(app).maxObjects, before);
    EXPECT_EQ(host.lastCaption(), "Error");
    EXPECT_EQ(editorSettings(app).timing, 25);
}

}  // namespace
}  // namespace ts::test
