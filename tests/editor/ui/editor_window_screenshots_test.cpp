// The editor window as a user sees it, saved as pictures in <build>/screenshots/: one plane,
// three planes with transparency, hex mode, and the bits display with the specimen window.
#include "convert/conv_command.h"
#include "editor/ui/editor_dialogs.h"
#include "editor_window_support.h"

namespace ts::test {
namespace {

TEST_F(EditorWindowTest, ScreenshotOnePlane) {
    ASSERT_NE(open("level", 720, 420), nullptr);
    doc().options.zoom = 2.0;
    window->documentChanged();
    // The mouse rests on a cell until the information popup shows.
    QTest::mouseMove(window->view(), cellPoint(3, 2));
    window->tick();
    host.clockMs += 10 * uint64_t(doc().options.popupTime);
    window->tick();
    expectViewIsCoreFrame("one plane");
    screenshot(*window, "editor-one-plane");
}

TEST_F(EditorWindowTest, ScreenshotThreePlanesWithTransparency) {
    std::string args = "tset src=title";
    cmdConv(app, args.data());
    ASSERT_GE(mapIndex("title"), 0) << host.lastText();
    ASSERT_NE(open("title", 720, 420), nullptr);
    ASSERT_NE(open("level"), nullptr);
    ASSERT_NE(open("ship"), nullptr);
    ASSERT_EQ(doc().count, 3);
    doc().options.transparency = 1;
    doc().options.gridShown = 1;
    doc().options.zoom = 2.0;
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_EQ(doc().active, 2);
    window->documentChanged();
    expectViewIsCoreFrame("three planes");
    screenshot(*window, "editor-three-planes-transparent");
}

TEST_F(EditorWindowTest, ScreenshotHexMode) {
    ASSERT_NE(open("level", 720, 420), nullptr);
    key(Qt::Key_H, Qt::ControlModifier);
    ASSERT_EQ(doc().options.hexMode, 1);
    doc().options.zoom = 2.0;
    window->documentChanged();
    expectViewIsCoreFrame("hex mode");
    screenshot(*window, "editor-hex-mode");
}

TEST_F(EditorWindowTest, ScreenshotBitsDisplayAndSpecimen) {
    ASSERT_NE(open("level", 720, 420), nullptr);
    ASSERT_NE(open("ship"), nullptr);
    runScriptText(app, "Specimen.AddMap 2");
    ASSERT_EQ(doc().specimenPlanes.size(), 1u) << host.lastText();
    window->setBitsShown(true);
    window->tick();
    ASSERT_NE(window->bitsWindow(), nullptr);
    ASSERT_NE(window->specimenWindow(), nullptr);
    EXPECT_TRUE(window->bitsWindow()->isVisible());
    EXPECT_TRUE(window->specimenWindow()->isVisible());
    // Ctrl+P hides and shows the specimen window.
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(window->specimenWindow()->isVisible());
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(window->specimenWindow()->isVisible());
    click(Qt::RightButton, cellPoint(2, 1));
    expectViewIsCoreFrame("with the tool windows");
    screenshot(*window, "editor-with-tool-windows");
    screenshot(*window->bitsWindow(), "editor-bits-display");
    screenshot(*window->specimenWindow(), "editor-specimen");
    // Their places go into the settings script with the editor's.
    window->bitsWindow()->move(50, 60);
    window->storePlaces();
    EXPECT_EQ(doc().bitsPlace.left, window->bitsWindow()->pos().x());
    EXPECT_TRUE(doc().specimenExists);
}

}  // namespace
}  // namespace ts::test
