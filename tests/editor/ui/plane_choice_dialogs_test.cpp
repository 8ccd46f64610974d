// "Links", "Select a background map...", "Tile size setting" and "Execute (script)".
#include <QComboBox>

#include "convert/convert_settings.h"
#include <QPlainTextEdit>

#include "dialog_test_support.h"

namespace ts::test {
namespace {

using PlaneChoiceDialogsTest = DialogTest;

TEST_F(PlaneChoiceDialogsTest, LinksTakeTheTextAndThePickedPlanes) {
    addPlane(8, 8);
    addPlane(8, 8);
    addPlane(8, 8);
    link({1, 2});
    doc().active = 1;
    whenDialog([this](QDialog* d) {
        auto* text = child<QLineEdit>(d, "links-text");
        EXPECT_EQ(text->text(), "2, 3");
        auto* planes = child<QComboBox>(d, "links-planes");
        ASSERT_EQ(planes->count(), 4);
        EXPECT_EQ(planes->itemText(0), "(please select a background)");
        EXPECT_EQ(planes->itemText(3), "3 = plane3");
        text->setText("");
        emit planes->activated(1);
        emit planes->activated(3);
        EXPECT_EQ(text->text(), "1, 3");
        saveShot(*d, "dialog-links");
        // Words are refused.
        text->setText("one, three");
        clickOk(d, "links");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Error");
        text->setText("1,3");
        clickOk(d, "links");
    });
    EXPECT_TRUE(showLinks(nullptr, app, session));
    // Plane 2's old partner (3) gets a list of its own first, then 1 and 3 are linked; plane 2's
    // own list is left as it was, since the text does not name it.
    EXPECT_EQ(doc().links[0].size(), 2);
    EXPECT_EQ(doc().links[0][1], 2);
    EXPECT_EQ(doc().links[2].size(), 2);
    EXPECT_EQ(doc().links[2][0], 0);
    EXPECT_EQ(doc().links[1].size(), 2);
}

TEST_F(PlaneChoiceDialogsTest, TileSizeRefusesOtherSizesAndConvertsTheMap) {
    PlaneRecord& p = addPlane(4, 4, 64);
    convertSettings(app).tileX = 8;
    convertSettings(app).tileY = 8;
    p.cells.assign(16, 1);
    whenDialog([this](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "tile-size-width")->text(), "8");
        setText(d, "tile-size-width", "12");
        clickOk(d, "tile-size");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "The block sizes must be 8, 16, 32 or 64.");
        setText(d, "tile-size-width", "sixteen");
        clickOk(d, "tile-size");
        EXPECT_EQ(host.lastText(), "\"sixteen\" is not a number.");
        EXPECT_EQ(plane(0).width, 4);
        setText(d, "tile-size-width", "16");
        setText(d, "tile-size-height", "16");
        saveShot(*d, "dialog-tile-size");
        clickOk(d, "tile-size");
    });
    EXPECT_TRUE(showTileSize(nullptr, app, session));
    // Every 16 x 16 block of value 1 becomes four 8 x 8 tiles 4..7.
    EXPECT_EQ(plane(0).width, 8);
    EXPECT_EQ(plane(0).height, 8);
    EXPECT_EQ(cell(0, 0, 0), 4u);
    EXPECT_EQ(cell(0, 1, 0), 5u);
    EXPECT_EQ(cell(0, 0, 1), 6u);
}

TEST_F(PlaneChoiceDialogsTest, AddPlaneWithoutElementsSaysSo) {
    addPlane(8, 8);
    EXPECT_FALSE(showAddPlane(nullptr, app, session));
    EXPECT_EQ(host.lastText(), "The project holds no map or list to open.");
    EXPECT_EQ(doc().count, 1);
}

TEST_F(PlaneChoiceDialogsTest, ExecuteScriptRunsTheTextAndRemembersIt) {
    addPlane(8, 8);
    whenDialog([](QDialog* d) {
        d->findChild<QPlainTextEdit*>("execute-text")->setPlainText("Editor.Zoom 2\nEditor.Grid = true");
        d->accept();
    });
    EXPECT_TRUE(showExecuteScript(nullptr, app, session));
    EXPECT_EQ(doc().options.zoom, 2.0);
    EXPECT_EQ(doc().options.gridShown, 1);
    EXPECT_EQ(session.scriptText, "Editor.Zoom 2\nEditor.Grid = true");
    whenDialog([](QDialog* d) { d->reject(); });
    EXPECT_FALSE(showExecuteScript(nullptr, app, session));
}

}  // namespace
}  // namespace ts::test
