// What the tools draw over the view and the pattern panel.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "editor/map_view_renderer.h"
#include "editor/surface_primitives.h"
#include "editor/tool_overlay.h"
#include "editor_test_support.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorDocument& d = editorDocument(app);
        prepareHandMadeDocument(d);
        makeMapPlane(d.planes[0], 16, 16, 32);
        d.count = 1;
        d.background = 0x123456;
        ASSERT_TRUE(createSurface(view, 64, 64));
        fillRect(view, 0, 0, 64, 64, 0);
    }
    EditorDocument& doc() { return editorDocument(app); }
    uint32_t colour(int tile, int x, int y) { return paletteColour(int(tilePixel(doc().planes[0], tile, x, y))); }

    TestApp t;
    App& app = t.app;
    EditorSession session;
    Surface view;
};

}  // namespace

TEST_F(OverlayTest, TheCellUnderTheMouseShowsThePattern) {
    doc().currentPattern = 3;
    session.viewWidth = session.viewHeight = 64;
    mouseMove(app, session, 20, 12, {}, 0);
    drawToolOverlay(view, doc(), session, 0);
    EXPECT_EQ(view.at(16, 8), colour(3, 0, 0));
    EXPECT_EQ(view.at(8, 8), 0u);
}

TEST_F(OverlayTest, PaintDragShowsWhatWillBeWrittenAndSelectDragABox) {
    doc().currentPattern = 2;
    pressLeft(app, session, 0, 0, {});
    mouseMove(app, session, 17, 1, {}, 0);
    drawToolOverlay(view, doc(), session, 0);
    for (int x : {0, 8, 16}) EXPECT_EQ(view.at(x, 0), colour(2, 0, 0)) << x;
    EXPECT_EQ(view.at(24, 0), 0u);
    releaseLeft(app, session, 17, 1, {});
    fillRect(view, 0, 0, 64, 64, 0);
    pressRight(app, session, 0, 0, {});
    mouseMove(app, session, 9, 9, {}, 0);
    drawToolOverlay(view, doc(), session, 0);
    EXPECT_EQ(view.at(15, 15), blendPixel(colorrefToPixel(kSelectBoxColour), 0, kSelectBoxAlpha));
    EXPECT_EQ(view.at(16, 16), 0u);
}

TEST_F(OverlayTest, PopupBoxFlipsAtTheEdges) {
    session.viewWidth = session.viewHeight = 64;
    doc().options.popupTime = 0;
    mouseMove(app, session, 50, 50, {}, 0);
    Surface big;
    ASSERT_TRUE(createSurface(big, 200, 120));
    session.viewWidth = 200;
    session.viewHeight = 120;
    doc().currentPattern = 99;  // no block under the mouse
    fillRect(big, 0, 0, 200, 120, 0xFFFFFF);
    drawToolOverlay(big, doc(), session, 0);
    EXPECT_NE(big.at(50 + 16 + 1, 50 + 16 + 1), 0xFFFFFFu);  // below right of the mouse
    EXPECT_EQ(big.at(50 + 15, 50 + 15), 0xFFFFFFu);
    fillRect(big, 0, 0, 200, 120, 0xFFFFFF);
    mouseMove(app, session, 190, 110, {}, 0);
    drawToolOverlay(big, doc(), session, 0);
    EXPECT_EQ(big.at(199, 119), 0xFFFFFFu);
    EXPECT_NE(big.at(190 - 17, 110 - 17), 0xFFFFFFu);  // above left
}

TEST_F(OverlayTest, PatternPanelStartsAtTheReferenceTile) {
    doc().planes[0].tileOffset = 4;
    Surface panel;
    ASSERT_TRUE(createSurface(panel, 32, 16));
    session.panelOpacity = 255;
    doc().currentPattern = 99;  // not a block of the panel
    drawPatternPanel(panel, doc(), session, 0);
    // Four blocks per row: block k shows tile 4 + k, blended at the panel's opacity.
    EXPECT_EQ(panel.at(0, 0), blendPixel(colour(4, 0, 0), 0x123456, 255));
    EXPECT_EQ(panel.at(8, 8), blendPixel(colour(9, 0, 0), 0x123456, 255));
    // The current pattern's block is opaque while the store is empty.
    doc().currentPattern = 1;  // draws tile 5
    session.panelOpacity = kMinPanelOpacity;
    drawPatternPanel(panel, doc(), session, 0);
    EXPECT_EQ(panel.at(8, 0), colour(5, 0, 0));
    // The opacity moves by 5 per 10 ms towards its target.
    session.panelHover = true;
    EXPECT_TRUE(animatePanel(doc(), session, 20));
    EXPECT_EQ(session.panelOpacity, kMinPanelOpacity + 10);
}

TEST_F(OverlayTest, AnIdleEditorNeedsNoFrames) {
    session.viewWidth = session.viewHeight = 64;
    session.panelOpacity = kMinPanelOpacity;
    ViewClock clock;
    auto overlay = [&](Surface& s) { drawToolOverlay(s, doc(), session, 0); };
    clock.compose(view, doc(), true, overlay, {}, 0, overlayState(doc(), session, 0));
    EXPECT_FALSE(toolsAnimating(doc(), session, 10));
    EXPECT_FALSE(clock.frameDiffers(doc(), 10, toolsAnimating(doc(), session, 10), overlayState(doc(), session, 10)));
    // The mouse comes to rest: the popup timer runs, then the popup shows once.
    mouseMove(app, session, 20, 20, {}, 100);
    EXPECT_TRUE(clock.frameDiffers(doc(), 100, toolsAnimating(doc(), session, 100), overlayState(doc(), session, 100)));
    EXPECT_TRUE(toolsAnimating(doc(), session, 200));
    clock.compose(view, doc(), true, overlay, {}, 800, overlayState(doc(), session, 800));
    EXPECT_FALSE(toolsAnimating(doc(), session, 800));
    EXPECT_FALSE(clock.frameDiffers(doc(), 900, toolsAnimating(doc(), session, 900), overlayState(doc(), session, 900)));
}
