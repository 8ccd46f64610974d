// The tools as plain events: painting, selecting, pasting, picks, the wheel, scrolling, the
// popup, "Blocks copy" and object lists.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "editor/blocks_copy.h"
#include "editor/editor_session.h"
#include "editor/map_view_renderer.h"
#include "editor/object_tools.h"
#include "editor_test_support.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

namespace {

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.memoryAvailable = uint64_t(1) << 32;
        EditorDocument& d = doc();
        prepareHandMadeDocument(d);
    }
    EditorDocument& doc() { return editorDocument(app); }
    PlaneRecord& addPlane(int w, int h) {
        EditorDocument& d = doc();
        const int slot = d.count;
        PlaneRecord& p = d.planes[size_t(slot)];
        makeMapPlane(p, w, h, 64);
        p.element.name = "plane" + std::to_string(slot + 1);
        d.count++;
        pushSnapshot(app, slot);
        return p;
    }
    void link(std::initializer_list<int> slots) {
        LinkList list;
        int n = 0;
        for (int s : slots) list.members[size_t(n++)] = uint8_t(s);
        for (int s : slots) doc().links[size_t(s)] = list;
    }
    uint32_t cell(int slot, int x, int y) {
        const PlaneRecord& p = doc().planes[size_t(slot)];
        return p.cells[size_t(y) * size_t(p.width) + size_t(x)];
    }
    void setCell(int slot, int x, int y, uint32_t v) {
        PlaneRecord& p = doc().planes[size_t(slot)];
        p.cells[size_t(y) * size_t(p.width) + size_t(x)] = v;
    }

    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    EditorSession session;
};

}  // namespace

TEST_F(ToolsTest, FiveByFivePaintFromATwoByTwoStoreInEveryDirection) {
    addPlane(16, 16);
    setCell(0, 0, 0, 1);
    setCell(0, 1, 0, 2);
    setCell(0, 0, 1, 3);
    setCell(0, 1, 1, 4);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {1, 1}, {}));
    ASSERT_EQ(doc().store.width, 2);
    const CellPoint corners[4][2] = {{{5, 5}, {9, 9}}, {{9, 9}, {5, 5}}, {{9, 5}, {5, 9}}, {{5, 9}, {9, 5}}};
    for (const auto& c : corners) {
        for (int y = 5; y < 10; ++y) for (int x = 5; x < 10; ++x) setCell(0, x, y, 0);
        const EditReport report = paintRect(app, session, c[0], c[1], {});
        EXPECT_TRUE(report.changed);
        EXPECT_EQ(report.touched[0].left, 5);
        EXPECT_EQ(report.touched[0].bottom, 9);
        for (int y = 5; y < 10; ++y)
            for (int x = 5; x < 10; ++x) ASSERT_EQ(cell(0, x, y), uint32_t(1 + (x - 5) % 2 + 2 * ((y - 5) % 2))) << x << "," << y;
    }
}

TEST_F(ToolsTest, EveryPaintEndsWithASnapshot) {
    addPlane(8, 8);
    const int before = doc().planes[0].history.index;
    doc().currentPattern = 7;
    paintRect(app, session, {2, 2}, {2, 2}, {});
    EXPECT_EQ(cell(0, 2, 2), 7u);
    EXPECT_EQ(doc().planes[0].history.index, before + 1);
    undoGroup(app);
    EXPECT_EQ(cell(0, 2, 2), 0u);
    // Painting outside the map changes nothing and takes no snapshot.
    paintRect(app, session, {20, 20}, {30, 30}, {});
    EXPECT_EQ(doc().planes[0].history.index, before);
}

TEST_F(ToolsTest, HolesOfTheStoreLeaveCellsUnchanged) {
    addPlane(8, 8);
    setCell(0, 0, 0, 0xFFFF);
    setCell(0, 1, 0, 0);
    setCell(0, 2, 0, 5);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {2, 0}, {}));
    for (int x = 0; x < 3; ++x) setCell(0, x, 4, 9);
    paintRect(app, session, {0, 4}, {2, 4}, {});
    EXPECT_EQ(cell(0, 0, 4), 9u);  // invisible block value
    EXPECT_EQ(cell(0, 1, 4), 0u);  // 0 is written while the zero mask is off
    EXPECT_EQ(cell(0, 2, 4), 5u);
    doc().options.zeroMask = 1;
    for (int x = 0; x < 3; ++x) setCell(0, x, 4, 9);
    paintRect(app, session, {0, 4}, {2, 4}, {});
    EXPECT_EQ(cell(0, 1, 4), 9u);
}

TEST_F(ToolsTest, RightClickPicksTheValueWithoutLinks) {
    addPlane(8, 8);
    setCell(0, 3, 3, 42);
    ASSERT_TRUE(selectRect(app, session, {3, 3}, {3, 3}, {}));
    EXPECT_EQ(doc().currentPattern, 42u);
    EXPECT_TRUE(doc().store.empty());
    EXPECT_EQ(session.status, "Pattern: 42 (002a)");
    // With a linked plane the 1 x 1 block stays in the store, unless Ctrl is held.
    addPlane(8, 8);
    link({0, 1});
    setCell(0, 3, 3, 43);
    ASSERT_TRUE(selectRect(app, session, {3, 3}, {3, 3}, {}));
    EXPECT_EQ(doc().store.width, 1);
    EXPECT_EQ(doc().store.layerCount, 2);
    ASSERT_TRUE(selectRect(app, session, {3, 3}, {3, 3}, {true, false}));
    EXPECT_EQ(doc().currentPattern, 43u);
    EXPECT_TRUE(doc().store.empty());
}

TEST_F(ToolsTest, SelectionOfATooBigBlockIsRefused) {
    addPlane(2000, 4);
    EXPECT_FALSE(selectRect(app, session, {0, 0}, {1023, 0}, {}));
    EXPECT_EQ(host.lastText(), "Selection is too big to be copied.");
    EXPECT_EQ(host.lastCaption(), "Oops...");
    EXPECT_TRUE(selectRect(app, session, {0, 0}, {1022, 0}, {}));
    EXPECT_EQ(doc().store.width, 1023);
}

TEST_F(ToolsTest, LinkedPlanesPaintEachWithItsLayerAndPasteGoesBack) {
    addPlane(8, 8);
    addPlane(8, 8);
    link({0, 1});
    setCell(0, 0, 0, 1); setCell(0, 1, 0, 2);
    setCell(1, 0, 0, 11); setCell(1, 1, 0, 12);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {1, 0}, {}));
    ASSERT_EQ(doc().store.layerCount, 2);
    paintRect(app, session, {4, 4}, {7, 4}, {});
    EXPECT_EQ(cell(0, 5, 4), 2u);
    EXPECT_EQ(cell(1, 6, 4), 11u);
    // Ctrl paints only the active plane.
    paintRect(app, session, {0, 6}, {1, 6}, {true, false});
    EXPECT_EQ(cell(0, 1, 6), 2u);
    EXPECT_EQ(cell(1, 1, 6), 0u);
    // Paste writes the store back where it was copied from.
    setCell(0, 0, 0, 0); setCell(1, 1, 0, 0);
    const EditReport report = pasteStore(app, session);
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(cell(0, 0, 0), 1u);
    EXPECT_EQ(cell(1, 1, 0), 12u);
}

TEST_F(ToolsTest, WheelStepsThePatternWithinTheValueMask) {
    PlaneRecord& p = addPlane(4, 4);
    p.valueMask = 0xFF;
    doc().currentPattern = 255;
    wheel(app, session, false, {});
    EXPECT_EQ(doc().currentPattern, 255u);
    doc().options.hexMode = 1;
    wheel(app, session, false, {});
    EXPECT_EQ(doc().currentPattern, 0u);
    wheel(app, session, true, {});
    EXPECT_EQ(doc().currentPattern, 255u);
    doc().options.hexMode = 0;
    doc().currentPattern = 0;
    wheel(app, session, true, {});
    EXPECT_EQ(doc().currentPattern, 0u);
    EXPECT_EQ(session.status, "Pattern: 0 (0000)");
    // A stored block is dropped instead.
    ASSERT_TRUE(allocateStore(doc().store));
    doc().store.width = doc().store.height = 2;
    doc().store.layerCount = 1;
    wheel(app, session, false, {});
    EXPECT_TRUE(doc().store.empty());
    EXPECT_EQ(doc().currentPattern, 0u);
    // Ctrl zooms between 1.0 and 4.0 by halves.
    for (int i = 0; i < 10; ++i) wheel(app, session, true, {true, false});
    EXPECT_DOUBLE_EQ(doc().options.zoom, 4.0);
    wheel(app, session, false, {true, false});
    EXPECT_DOUBLE_EQ(doc().options.zoom, 3.5);
    for (int i = 0; i < 10; ++i) wheel(app, session, false, {true, false});
    EXPECT_DOUBLE_EQ(doc().options.zoom, 1.0);
}

TEST_F(ToolsTest, PanelPickTurnsTheBlockBackThroughTheRules) {
    PlaneRecord& p = addPlane(4, 4);
    p.rules[0] = ValueRule{0x10, 0x1F, 0x10 - 2, false};
    p.rules[1] = ValueRule{0x40, 0x40, 0x40 - 30, true};
    p.ruleCount = 2;
    EXPECT_TRUE(pickFromPanel(app, session, 3));
    EXPECT_EQ(doc().currentPattern, 0x11u);
    EXPECT_EQ(tileOfValue(p, doc().currentPattern), 3);
    EXPECT_TRUE(pickFromPanel(app, session, 30));
    EXPECT_EQ(doc().currentPattern, 0x40u);
    EXPECT_TRUE(pickFromPanel(app, session, 40));
    EXPECT_EQ(doc().currentPattern, 40u);
    EXPECT_FALSE(pickFromPanel(app, session, 64));
    EXPECT_EQ(panelBlockAt(doc(), session, 128, 17, 9), 16 + 2);
}

TEST_F(ToolsTest, MouseEventsPaintSelectPanAndPopup) {
    addPlane(64, 64);
    session.viewWidth = 200;
    session.viewHeight = 100;
    doc().currentPattern = 5;
    pressLeft(app, session, 3, 3, {});
    mouseMove(app, session, 20, 12, {}, 100);
    EXPECT_TRUE(session.dragged);
    EXPECT_EQ(popupLines(doc(), session), (std::vector<std::string>{"Start: 0,0", "Size: 3x2"}));
    releaseLeft(app, session, 20, 12, {});
    EXPECT_EQ(cell(0, 2, 1), 5u);
    // Releasing outside the view paints nothing.
    pressLeft(app, session, 40, 40, {});
    releaseLeft(app, session, 300, 40, {});
    EXPECT_EQ(cell(0, 5, 5), 0u);
    // Popup after the mouse rests popuptime x 10 ms on one cell.
    mouseMove(app, session, 60, 60, {}, 900);
    mouseMove(app, session, 17, 9, {}, 1000);
    EXPECT_FALSE(popupVisible(doc(), session, 1000 + 600));
    EXPECT_TRUE(popupVisible(doc(), session, 1000 + 610));
    EXPECT_EQ(popupLines(doc(), session), (std::vector<std::string>{"Position: 2,1", "Value: 5 (5)"}));
    // Middle drag pans in multiples of the scroll or grid step.
    pressMiddle(app, session, 100, 50);
    mouseMove(app, session, 81, 50, {}, 1100);
    EXPECT_EQ(doc().scrollX, 16);
    releaseMiddle(app, session);
    scrollTo(doc(), 37, -5);
    EXPECT_EQ(doc().scrollX, 32);
    EXPECT_EQ(doc().scrollY, 0);
    EXPECT_EQ(cellAtPixel(doc(), 0, 9, 0).x, 5);
}

TEST_F(ToolsTest, BlocksCopyStarSizeIsClippedBeforeTheLimit) {
    addPlane(1100, 8);
    BlocksCopyFields f;
    f.sourceX = "100"; f.sourceY = "0"; f.width = "*"; f.height = "*";
    DialogOutcome out = runBlocksCopy(app, f);
    EXPECT_TRUE(out.close);
    EXPECT_EQ(doc().store.width, 1000);
    EXPECT_EQ(doc().store.height, 8);
    f.sourceX = "50";
    out = runBlocksCopy(app, f);
    EXPECT_FALSE(out.close);
    EXPECT_EQ(out.text, "The copy size is limited to 1024x1024...");
    EXPECT_EQ(out.caption, "Please don't exagerate! ^^");
}

TEST_F(ToolsTest, BlocksCopyFromFarBeyondThePlaneCopiesNothing) {
    addPlane(8, 8);
    BlocksCopyFields f;
    f.sourceX = "55555555"; f.sourceY = "3"; f.width = "4"; f.height = "4";
    EXPECT_TRUE(runBlocksCopy(app, f).close);
    EXPECT_TRUE(doc().store.empty());
    f.sourceX = "2"; f.sourceY = "999999999";
    EXPECT_TRUE(runBlocksCopy(app, f).close);
    EXPECT_TRUE(doc().store.empty());
}

TEST_F(ToolsTest, BlocksCopyMovesOverlappingBlocksWhole) {
    addPlane(8, 8);
    for (int x = 0; x < 4; ++x) setCell(0, x, 0, uint32_t(x + 1));
    BlocksCopyFields f;
    f.sourceX = "0"; f.sourceY = "0"; f.width = "4"; f.height = "1";
    f.destinationX = "2"; f.destinationY = "0";
    const int before = doc().planes[0].history.index;
    EXPECT_TRUE(runBlocksCopy(app, f).close);
    const uint32_t expected[8] = {0, 0, 1, 2, 3, 4, 0, 0};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(cell(0, x, 0), expected[x]) << x;
    EXPECT_EQ(doc().planes[0].history.index, before + 1);
}

TEST_F(ToolsTest, BlocksCopyFillRepeatsTheStore) {
    addPlane(16, 8);
    for (int y = 0; y < 2; ++y) for (int x = 0; x < 3; ++x) setCell(0, x, y, uint32_t(10 * y + x + 1));
    BlocksCopyFields f;
    f.sourceX = "0"; f.sourceY = "0"; f.width = "3"; f.height = "2";
    ASSERT_TRUE(runBlocksCopy(app, f).close);
    f = {};
    f.width = "10"; f.height = "4"; f.destinationX = "4"; f.destinationY = "3";
    ASSERT_TRUE(runBlocksCopy(app, f).close);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(cell(0, 4 + x, 3 + y), uint32_t(10 * (y % 2) + x % 3 + 1)) << x << "," << y;
    EXPECT_EQ(cell(0, 4 + 9, 3), 1u);  // column 9 uses store column 0
    // Source without size: fill at the source with the store's size.
    f = {};
    f.sourceX = "12"; f.sourceY = "0";
    ASSERT_TRUE(runBlocksCopy(app, f).close);
    EXPECT_EQ(cell(0, 14, 1), 13u);
    // Nothing sufficient.
    f = {};
    f.width = "3";
    const DialogOutcome out = runBlocksCopy(app, f);
    EXPECT_FALSE(out.close);
    EXPECT_EQ(out.text, "The supplied informations are insufficient.");
    EXPECT_TRUE(out.exclamation);
}

TEST_F(ToolsTest, BlocksCopyWithAnEmptyStoreWritesThePattern) {
    addPlane(8, 8);
    doc().currentPattern = 6;
    BlocksCopyFields f;
    f.width = "2"; f.height = "2"; f.destinationX = "7"; f.destinationY = "7";
    ASSERT_TRUE(runBlocksCopy(app, f).close);
    EXPECT_EQ(cell(0, 7, 7), 6u);
    EXPECT_EQ(cell(0, 6, 7), 0u);
}

TEST_F(ToolsTest, ObjectListsMoveCopyAndPasteWithinTheLimit) {
    EditorDocument& d = doc();
    PlaneRecord& p = d.planes[0];
    makeMapPlane(p, 16, 16, 64);
    p.kind = PlaneList;
    p.cells.clear();
    resetObjectList(p.objects, modelTable(app).models[0]);
    ASSERT_TRUE(addListEntry(app, p.objects, 8, 8, 1));
    ASSERT_TRUE(addListEntry(app, p.objects, 32, 8, 2));
    d.count = 1;
    pushSnapshot(app, 0);
    // Press on the second object and move it by 13 pixels: snapped to the 8-pixel grid.
    pressLeft(app, session, 35, 10, {});
    EXPECT_EQ(session.currentObject, 1);
    mouseMove(app, session, 48, 10, {}, 10);
    EXPECT_EQ(entryX(p.objects, 1), 48);
    // Objects stay inside the map.
    mouseMove(app, session, 500, 10, {}, 20);
    EXPECT_EQ(entryX(p.objects, 1), 16 * 8 - 8);
    EditReport report = releaseLeft(app, session, 500, 10, {});
    EXPECT_TRUE(report.changed);
    // Ctrl+press makes a selection of the previous current object and this one.
    pressLeft(app, session, 9, 9, {true, false});
    releaseLeft(app, session, 9, 9, {true, false});
    EXPECT_EQ(session.selectedObjects.size(), 2u);
    ASSERT_TRUE(copyObjects(app, session));
    systemSettings(app).maxObjects = 3;
    report = pasteObjects(app, session, {2, 2});
    EXPECT_EQ(p.objects.count, 3);
    EXPECT_EQ(entryX(p.objects, 2), 16);
    EXPECT_EQ(host.lastText(), tr(T::ListFull));
    // Delete removes the selection.
    report = deleteObjects(app, session);
    EXPECT_EQ(p.objects.count, 1);
    undoGroup(app);
    EXPECT_EQ(p.objects.count, 3);
}

TEST_F(ToolsTest, DragsOutsideTheViewScrollItByOneStep) {
    addPlane(64, 64);
    session.viewWidth = 64;
    session.viewHeight = 64;
    pressRight(app, session, 10, 10, {});
    mouseMove(app, session, 70, 10, {}, 0);
    EXPECT_TRUE(dragScroll(app, session, 100, false));
    EXPECT_EQ(doc().scrollX, 8);
    EXPECT_FALSE(dragScroll(app, session, 120, false));  // 50 ms between steps
    EXPECT_TRUE(dragScroll(app, session, 130, true));     // 10 ms with Shift
    EXPECT_EQ(doc().scrollX, 16);
    releaseRight(app, session, 70, 10, {});
    scrollByStep(doc(), -1, -1);
    EXPECT_EQ(doc().scrollX, 8);
    EXPECT_EQ(doc().scrollY, 0);
}

TEST_F(ToolsTest, BlocksCopyWithOddFieldsChangesNothingOutsideThePlanes) {
    addPlane(8, 8);
    for (int i = 0; i < 64; ++i) doc().planes[0].cells[size_t(i)] = uint32_t(i + 1);
    const std::vector<uint32_t> before = doc().planes[0].cells;
    const BlocksCopyFields odd[] = {
        {"-5", "-5", "3", "3", "", "", false},
        {"abc", "1", "x", "y", "", "", false},
        {"0", "0", "100000", "100000", "-3", "-3", false},
        {"7", "7", "*", "*", "20", "20", false},
        {"", "", "2", "2", "-100", "-100", false},
    };
    for (const BlocksCopyFields& f : odd) {
        const DialogOutcome out = runBlocksCopy(app, f);
        (void)out;
        EXPECT_EQ(doc().planes[0].cells.size(), 64u);
    }
    // Only moves of blocks inside the plane change cells.
    EXPECT_EQ(doc().planes[0].cells, before);
}

TEST_F(ToolsTest, BlocksCopyFromLeftOfThePlaneCopiesThePartOnIt) {
    addPlane(8, 8);
    setCell(0, 0, 0, 5);
    BlocksCopyFields f;
    f.sourceX = "-2"; f.sourceY = "0"; f.width = "3"; f.height = "1";
    ASSERT_TRUE(runBlocksCopy(app, f).close);
    EXPECT_EQ(doc().store.width, 1);
    EXPECT_EQ(doc().store.row(0, 0)[0], 5u);
}

TEST_F(ToolsTest, ALinkedListTakesItsObjectsAlongWithTheMap) {
    addPlane(16, 16);
    EditorDocument& d = doc();
    PlaneRecord& list = d.planes[1];
    makeMapPlane(list, 16, 16, 64);
    list.kind = PlaneList;
    list.cells.clear();
    resetObjectList(list.objects, modelTable(app).models[0]);
    ASSERT_TRUE(addListEntry(app, list.objects, 8, 8, 3));   // cell (1, 1)
    ASSERT_TRUE(addListEntry(app, list.objects, 80, 80, 4)); // outside the selection
    d.count = 2;
    pushSnapshot(app, 1);
    link({0, 1});
    setCell(0, 1, 1, 9);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {2, 2}, {}));
    EXPECT_EQ(d.store.objects[1].count, 1);
    const EditReport report = paintRect(app, session, {4, 4}, {6, 6}, {});
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(cell(0, 5, 5), 9u);
    ASSERT_EQ(list.objects.count, 3);
    EXPECT_EQ(entryX(list.objects, 2), 4 * 8 + 8);
    EXPECT_EQ(entryY(list.objects, 2), 4 * 8 + 8);
    EXPECT_EQ(entryType(list.objects, 2), 3);
}
