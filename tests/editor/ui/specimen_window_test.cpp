// The specimen window: the canvas shows the core's frame pixel for pixel; a drag picks blocks of
// every specimen map into the store; beyond the map it picks nothing; scrolling clears the mark;
// a drag outside the window scrolls it; closing hides and clears Specimen.Show.
#include <QScrollBar>
#include <QTest>

#include "dialog_test_support.h"
#include "editor/plane_property_rules.h"
#include "editor/specimen_view.h"
#include "formats/platform.h"

namespace ts::test {
namespace {

class SpecimenWindowTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        addPlane(16, 16);        // the edited map
        addPlane(64, 48, 64);    // specimen maps
        addPlane(64, 48, 64);
        for (size_t i = 0; i < plane(2).cells.size(); ++i) plane(2).cells[i] = uint32_t(100 + i);
        ASSERT_TRUE(addSpecimenPlane(app, 1));
        ASSERT_TRUE(addSpecimenPlane(app, 2));
        doc().specimenShown = true;
    }

    // The canvas's grab against the frame the core draws for the same view.
    void expectCanvasIsCoreFrame(SpecimenWindow& w) {
        QApplication::processEvents();
        QWidget* canvas = w.canvas();
        QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        Surface expected;
        ASSERT_TRUE(createSurface(expected, canvas->width(), canvas->height()));
        SpecimenView view = w.view();
        drawSpecimen(expected, doc(), view, &currentPlatform(app));
        ASSERT_EQ(shown.width(), expected.width);
        ASSERT_EQ(shown.height(), expected.height);
        int differing = 0;
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                differing += (shown.pixel(x, y) & 0xFFFFFF) != (expected.at(x, y) & 0xFFFFFF);
        EXPECT_EQ(differing, 0);
    }

    void drag(QWidget* canvas, Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(canvas, button, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        QTest::mouseRelease(canvas, button, Qt::NoModifier, to);
    }
};

TEST_F(SpecimenWindowTest, DragPicksBlocksOfEverySpecimenMap) {
    SpecimenWindow w(app, session);
    w.resize(200, 150);
    w.show();
    QApplication::processEvents();
    expectCanvasIsCoreFrame(w);
    int changes = 0;
    QObject::connect(&w, &SpecimenWindow::changed, [&] { ++changes; });
    // Right button from cell (3, 2) to cell (1, 1): corners in any order.
    drag(w.canvas(), Qt::RightButton, QPoint(3 * 8 + 4, 2 * 8 + 4), QPoint(1 * 8 + 2, 1 * 8 + 2));
    EXPECT_EQ(changes, 1);
    const SelectionStore& store = doc().store;
    ASSERT_EQ(store.width, 3);
    ASSERT_EQ(store.height, 2);
    EXPECT_EQ(store.layerCount, 2);
    EXPECT_EQ(store.row(0, 0)[0], cell(1, 1, 1));
    EXPECT_EQ(store.row(1, 1)[2], cell(2, 3, 2));
    EXPECT_EQ(w.view().mark, SpecimenMark::Picked);
    EXPECT_EQ(uint32_t(session.bitsValue), cell(1, 1, 1));
    expectCanvasIsCoreFrame(w);
    saveShot(w, "window-specimen-picked");

    // Scrolling clears the mark.
    w.findChild<QScrollBar*>("specimen-scroll-x")->setValue(4);
    EXPECT_EQ(w.view().firstCol, 4);
    EXPECT_EQ(w.view().mark, SpecimenMark::None);
    expectCanvasIsCoreFrame(w);
}

TEST_F(SpecimenWindowTest, ARectangleBeyondTheMapIsRedAndPicksNothing) {
    plane(1).width = 10;  // smaller than the window
    plane(1).cells.resize(size_t(10) * 48);
    SpecimenWindow w(app, session);
    w.resize(200, 150);
    w.show();
    QApplication::processEvents();
    QWidget* canvas = w.canvas();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    QMouseEvent move(QEvent::MouseMove, QPoint(100, 20), canvas->mapToGlobal(QPoint(100, 20)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    EXPECT_TRUE(specimenRectOutside(doc(), w.view()));
    expectCanvasIsCoreFrame(w);
    // The inside of the rectangle is tinted red: more red than green.
    QImage shown = canvas->grab().toImage();
    QRgb inside = shown.pixel(90, 12);
    EXPECT_GT(qRed(inside), qGreen(inside));
    saveShot(w, "window-specimen-outside");
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    EXPECT_TRUE(doc().store.empty());
    EXPECT_EQ(w.view().mark, SpecimenMark::None);
}

TEST_F(SpecimenWindowTest, ADragOutsideScrollsTwoCellsPerTenthOfASecondOrEightWithShift) {
    SpecimenWindow w(app, session);
    w.resize(200, 150);
    w.show();
    QApplication::processEvents();
    QWidget* canvas = w.canvas();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QPoint outside(canvas->width() + 30, 10);
    QMouseEvent move(QEvent::MouseMove, outside, canvas->mapToGlobal(outside), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    w.tick(1000);
    EXPECT_EQ(w.view().firstCol, 2);
    w.tick(1050);  // too soon
    EXPECT_EQ(w.view().firstCol, 2);
    w.tick(1100);
    EXPECT_EQ(w.view().firstCol, 4);
    EXPECT_EQ(w.findChild<QScrollBar*>("specimen-scroll-x")->value(), 4);
    // The rectangle's end follows the last cell the window shows.
    EXPECT_EQ(w.view().endCol, 4 + specimenVisibleCols(doc(), w.view()) - 1);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_EQ(doc().store.width, w.view().endCol - 1 + 1);  // from cell 1
    // Scroll bar steps: 2 cells a line, 16 a page.
    auto* bar = w.findChild<QScrollBar*>("specimen-scroll-y");
    EXPECT_EQ(bar->singleStep(), 2);
    EXPECT_EQ(bar->pageStep(), 16);
}

TEST_F(SpecimenWindowTest, ClosingHidesAndClearsTheShowFlag) {
    SpecimenWindow w(app, session);
    w.show();
    bool told = false;
    QObject::connect(&w, &SpecimenWindow::closedByUser, [&] { told = true; });
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(told);
    EXPECT_FALSE(doc().specimenShown);
    EXPECT_TRUE(doc().specimenExists);
}

TEST_F(SpecimenWindowTest, APlaceFromTheSettingsIsTakenOnlyOnAScreen) {
    doc().specimenPlace = WindowPlace{50000, 50000, 300, 200, false};
    SpecimenWindow off(app, session);
    EXPECT_NE(off.pos(), QPoint(50000, 50000));
    EXPECT_EQ(off.size(), QSize(300, 200));
    doc().specimenPlace = WindowPlace{100, 80, 260, 180, false};
    SpecimenWindow on(app, session);
    EXPECT_EQ(on.pos(), QPoint(100, 80));
    EXPECT_EQ(on.size(), QSize(260, 180));
}

}  // namespace
}  // namespace ts::test

#include "editor/document_fixture.h"

namespace ts::test {
namespace {

using SpecimenOnSavedMapsTest = DocumentFixture;

// Maps written and read back through the platform: the canvas still shows the core's frame.
TEST_F(SpecimenOnSavedMapsTest, TheCanvasShowsTheCoreFrameOfALoadedMap) {
    ElementRecord town = addMap("town", 16, 12);
    ElementRecord blocks = addMap("blocks", 48, 40, 5);
    ASSERT_TRUE(openEditor(app, town));
    ASSERT_EQ(openPlane(app, blocks), OpenDone);
    ASSERT_TRUE(addSpecimenPlane(app, 1));
    EditorSession session;
    SpecimenWindow w(app, session);
    w.resize(240, 180);
    w.show();
    QApplication::processEvents();
    QTest::mousePress(w.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QMouseEvent move(QEvent::MouseMove, QPoint(52, 36), w.canvas()->mapToGlobal(QPoint(52, 36)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.canvas(), &move);
    QApplication::processEvents();
    QImage shown = w.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Surface expected;
    ASSERT_TRUE(createSurface(expected, w.canvas()->width(), w.canvas()->height()));
    drawSpecimen(expected, doc(), w.view(), &currentPlatform(app));
    int differing = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) differing += (shown.pixel(x, y) & 0xFFFFFF) != expected.at(x, y);
    EXPECT_EQ(differing, 0);
    saveShot(w, "window-specimen-drag");
    QTest::mouseRelease(w.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(52, 36));
    EXPECT_EQ(doc().store.width, 5);
    EXPECT_EQ(doc().store.height, 3);
    EXPECT_EQ(doc().store.row(0, 0)[0], plane(1).cells[size_t(2 * 48 + 2)]);
    closeEditor(app);
}

}  // namespace
}  // namespace ts::test
