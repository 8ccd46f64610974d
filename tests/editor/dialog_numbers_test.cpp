// Number fields of the editor's dialogs, and the specimen window's view without a window.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "editor/dialog_numbers.h"
#include "editor/plane_property_rules.h"
#include "editor/specimen_view.h"
#include "editor_test_support.h"
#include "test_support.h"

using namespace ts;
using namespace ts::test;

TEST(DialogNumbers, IntegersInTheirWrittenFormsAndTextRefused) {
    int64_t v = 0;
    EXPECT_EQ(readIntegerField("  ", v), FieldRead::Empty);
    ASSERT_EQ(readIntegerField(" 42 ", v), FieldRead::Number);
    EXPECT_EQ(v, 42);
    ASSERT_EQ(readIntegerField("-0x10", v), FieldRead::Number);
    EXPECT_EQ(v, -16);
    ASSERT_EQ(readIntegerField("0b101", v), FieldRead::Number);
    EXPECT_EQ(v, 5);
    ASSERT_EQ(readIntegerField("0xFFFFFFFF", v), FieldRead::Number);
    EXPECT_EQ(v, 0xFFFFFFFFll);
    for (const char* bad : {"abc", "12a", "0x", "-", "1 2", "0b2", "99999999999999999999", "1e5", "0x1g"})
        EXPECT_EQ(readIntegerField(bad, v), FieldRead::Refused) << bad;
}

TEST(DialogNumbers, DecimalsTakeAPercentSignAndADecimalComma) {
    double d = 0;
    ASSERT_EQ(readDecimalField("100.000000%", d), FieldRead::Number);
    EXPECT_DOUBLE_EQ(d, 100.0);
    ASSERT_EQ(readDecimalField("12,5", d), FieldRead::Number);
    EXPECT_DOUBLE_EQ(d, 12.5);
    EXPECT_EQ(readDecimalField("%", d), FieldRead::Refused);
    EXPECT_EQ(readDecimalField("fast", d), FieldRead::Refused);
    EXPECT_EQ(readDecimalField("1e999", d), FieldRead::Refused);
    EXPECT_EQ(readDecimalField("1.2.3", d), FieldRead::Refused);
    EXPECT_TRUE(planeNumberList("1, 2,3"));
    EXPECT_TRUE(planeNumberList(""));
    EXPECT_FALSE(planeNumberList("1-3"));
}

namespace {

class SpecimenViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.memoryAvailable = uint64_t(1) << 32;
        EditorDocument& d = doc();
        prepareHandMadeDocument(d);
        for (int i = 0; i < 2; ++i) {
            makeMapPlane(d.planes[size_t(i)], 40, 30, 16);
            d.count++;
        }
        for (size_t i = 0; i < d.planes[1].cells.size(); ++i) d.planes[1].cells[i] = uint32_t(i % 16);
        ASSERT_TRUE(addSpecimenPlane(app, 1));
        view.viewWidth = 100;  // 12.5 cells
        view.viewHeight = 80;  // 10 cells
    }
    EditorDocument& doc() { return editorDocument(app); }
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    SpecimenView view;
};

}  // namespace

TEST_F(SpecimenViewTest, ScrollingIsClampedAndClearsThePickedMark) {
    EXPECT_EQ(specimenVisibleCols(doc(), view), 13);
    EXPECT_EQ(specimenMaxCol(doc(), view), 40 - 12);
    EXPECT_EQ(specimenMaxRow(doc(), view), 20);
    specimenPress(doc(), view, 4, 4);
    ASSERT_TRUE(specimenRelease(app, view, 20, 12));
    EXPECT_EQ(view.mark, SpecimenMark::Picked);
    EXPECT_EQ(doc().store.width, 3);
    EXPECT_EQ(doc().store.height, 2);
    EXPECT_EQ(doc().store.row(0, 1)[2], doc().planes[1].cells[size_t(1 * 40 + 2)]);
    EXPECT_FALSE(specimenScrollTo(doc(), view, -5, 0));  // clamped to where it is
    EXPECT_EQ(view.mark, SpecimenMark::Picked);
    EXPECT_TRUE(specimenScrollTo(doc(), view, 500, 500));
    EXPECT_EQ(view.firstCol, 28);
    EXPECT_EQ(view.firstRow, 20);
    EXPECT_EQ(view.mark, SpecimenMark::None);
}

TEST_F(SpecimenViewTest, TheEndFollowsTheMouseWithinTheWindowsCells) {
    specimenPress(doc(), view, 10, 10);
    specimenMove(doc(), view, -50, 5000);
    EXPECT_EQ(view.endCol, 0);
    EXPECT_EQ(view.endRow, 9);
    EXPECT_FALSE(specimenRectOutside(doc(), view));
    // Shift: eight cells per step; nothing before 100 ms have passed.
    specimenMove(doc(), view, 5000, 10);
    EXPECT_TRUE(specimenDragScroll(doc(), view, 500, true));
    EXPECT_EQ(view.firstCol, 8);
    EXPECT_FALSE(specimenDragScroll(doc(), view, 599, true));
    EXPECT_TRUE(specimenDragScroll(doc(), view, 600, true));
    EXPECT_EQ(view.firstCol, 16);
    EXPECT_EQ(view.endCol, 16 + 12);
}

TEST_F(SpecimenViewTest, NoSpecimenMapDrawsTheBackgroundAndPicksNothing) {
    doc().planes[1].kind = PlaneList;
    Surface s;
    ASSERT_TRUE(createSurface(s, 20, 10));
    drawSpecimen(s, doc(), view);
    EXPECT_EQ(s.at(19, 9), doc().background);
    specimenPress(doc(), view, 1, 1);
    EXPECT_FALSE(specimenRelease(app, view, 9, 9));
    EXPECT_TRUE(doc().store.empty());
}
