// The whole editor without a window: open a map, paint, select, run an operation on the store,
// paste, undo and redo, save, and draw the frame the editor shows.
#include <gtest/gtest.h>

#include "document_fixture.h"
#include "editor/editor_session.h"
#include "editor/map_view_renderer.h"
#include "editor/plane_history.h"
#include "editor/selection_operations.h"

namespace ts {
namespace {

using EditorFlowTest = test::DocumentFixture;

TEST_F(EditorFlowTest, PaintSelectOperatePasteUndoSaveAndDraw) {
    ElementRecord town = addMap("town", 6, 4);
    ASSERT_TRUE(openEditor(app, town));
    EditorSession session;
    PlaneRecord& p = plane(0);

    doc().currentPattern = 3;
    EditReport painted = paintRect(app, session, {1, 2}, {0, 1}, {});
    EXPECT_TRUE(painted.changed);
    EXPECT_EQ(p.cells[6 + 0], 3u);
    EXPECT_EQ(p.cells[12 + 1], 3u);
    EXPECT_EQ(p.history.index, 1);
    EXPECT_EQ(doc().title, "town* - Map editor");

    ASSERT_TRUE(selectRect(app, session, {0, 1}, {1, 2}, {}));
    EXPECT_EQ(doc().store.width, 2);
    DialogOutcome outcome = runSelectionOperations(doc().store, "+2", "", false, 0, doc().options.invisibleBlock,
                                                   doc().options.zeroMask != 0);
    EXPECT_TRUE(outcome.close) << outcome.text;
    EditReport pasted = pasteStore(app, session);
    EXPECT_TRUE(pasted.changed);
    EXPECT_EQ(p.cells[6 + 0], 5u);
    EXPECT_EQ(p.history.index, 2);

    undoGroup(app);
    EXPECT_EQ(p.cells[6 + 0], 3u);
    redoGroup(app);
    EXPECT_EQ(p.cells[6 + 0], 5u);
    EXPECT_EQ(checkDocument(doc()), "");

    ASSERT_EQ(saveCommand(app), 1);
    EXPECT_FALSE(planeModified(p));
    MapData back;
    std::vector<uint32_t> tiles;
    PaletteBuffer palette{};
    ASSERT_EQ(platform().loadMap(app, 0, &tiles, &palette, back, town), 1);
    EXPECT_EQ(back.cells, p.cells);

    // The frame: cell (0, 1) now draws tile 5 with the plane's palette (colour 0 is the background).
    Surface frame;
    ASSERT_TRUE(createSurface(frame, 6 * 8, 4 * 8));
    ageMessages(doc(), kMessageLifeMs);  // the "opened" and "saved" messages have faded
    composeView(frame, doc(), true, nullptr, {});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint32_t index = p.tiles[size_t(5 * 64 + y * 8 + x)];
            const uint32_t expected = index == 0 ? doc().background : p.palette[index];
            ASSERT_EQ(frame.at(x, 8 + y) & 0xFFFFFFu, expected & 0xFFFFFFu) << x << "," << y;
        }
}

}  // namespace
}  // namespace ts
