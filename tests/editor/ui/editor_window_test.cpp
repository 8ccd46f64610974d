// The map editor window driven as a user drives it: mouse painting and picking, selections,
// the buttons and keys, the closing question and the settings script restored on reopening.
// Each test compares the window's view with the core's frame for the same state.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "editor/ui/editor_dialogs.h"
#include "editor_window_support.h"
#include "editor/editor_settings_script.h"
#include "editor/editor_session.h"
#include "formats/object_list.h"
#include "script/values.h"
#include "project/creation_forms.h"
#include "editor/editor_session.h"
#include "project/ui/main_window.h"
#include "project/ui/options_sheet.h"
#include <QScreen>
#include <QWheelEvent>

namespace ts::test {
namespace {

TEST_F(EditorWindowTest, OpensWithTitleMemoryTextAndLayout) {
    ASSERT_NE(open("level"), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle().toStdString(), "level - Map editor");
    auto* memory = window->findChild<QLabel*>("editor-memory");
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(memory->text().startsWith("Mem: ")) << memory->text().toStdString();
    EXPECT_NE(memory->text().toStdString(), "Mem: 0 ko");
    // The view at (10, 10), client width - panel width - 44 wide and client height - 60 high.
    EXPECT_EQ(window->view()->geometry(), QRect(10, 10, 640 - 128 - 44, 400 - 60));
    EXPECT_EQ(window->panel()->x(), window->view()->width() + 54);
    EXPECT_EQ(window->panel()->width() % plane(0).blockWidth, 0);
    EXPECT_FALSE(window->findChild<QPushButton*>("editor-undo")->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>("editor-redo")->isEnabled());
    // Every control has an object name and an accessible name.
    for (const char* name : {"editor-view", "editor-panel", "editor-scroll-x", "editor-scroll-y", "editor-panel-scroll",
                             "editor-undo", "editor-redo", "editor-menu-button", "editor-paste", "editor-memory",
                             "editor-status"}) {
        auto* w = window->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
    }
    expectViewIsCoreFrame("opened");
    EXPECT_LE(window->minimumSize().width(), 256 + 16);
    EXPECT_GE(window->minimumSize().width(), 256);
}

TEST_F(EditorWindowTest, PaintWithThePanelsBlockAndSaveWithCtrlS) {
    ASSERT_NE(open("level"), nullptr);
    // Pick block 3 on the pattern panel (left release on it).
    const int bw = plane(0).blockWidth;
    QTest::mouseMove(window->panel(), QPoint(3 * bw + 2, 2));
    QTest::mouseClick(window->panel(), Qt::LeftButton, Qt::NoModifier, QPoint(3 * bw + 2, 2));
    window->tick();
    EXPECT_EQ(doc().currentPattern, 3u);
    EXPECT_TRUE(doc().store.empty());
    EXPECT_EQ(window->findChild<QLabel*>("editor-status")->text().toStdString(), "Pattern: 3 (0003)");

    // Paint a 3 x 2 rectangle dragged from its bottom-right corner.
    drag(Qt::LeftButton, cellPoint(4, 3), cellPoint(2, 2));
    for (int y = 2; y <= 3; ++y)
        for (int x = 2; x <= 4; ++x) EXPECT_EQ(cell(0, x, y), 3u) << x << "," << y;
    EXPECT_NE(cell(0, 5, 2), 3u);
    EXPECT_EQ(window->windowTitle().toStdString(), "level* - Map editor");
    EXPECT_TRUE(window->findChild<QPushButton*>("editor-undo")->isEnabled());
    expectViewIsCoreFrame("painted");

    // A plain click paints one cell; a release less than 4 pixels from the press is a click too,
    // even across a cell border.
    click(Qt::LeftButton, cellPoint(7, 1));
    EXPECT_EQ(cell(0, 7, 1), 3u);
    const uint32_t right = cell(0, 10, 1);
    ASSERT_NE(right, 3u);
    const QPoint edge(9 * bw + bw - 1, cellPoint(9, 1).y());
    QTest::mouseMove(window->view(), edge);
    QTest::mousePress(window->view(), Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(window->view(), edge + QPoint(2, 0));
    QTest::mouseRelease(window->view(), Qt::LeftButton, Qt::NoModifier, edge + QPoint(2, 0));
    window->tick();
    EXPECT_EQ(cell(0, 9, 1), 3u);
    EXPECT_EQ(cell(0, 10, 1), right);

    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->windowTitle().toStdString(), "level - Map editor");
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    // The saved file holds the painted cells: the editor opened again reads them back.
    closeWithoutQuestions();
    ASSERT_NE(open("level"), nullptr);
    EXPECT_EQ(cell(0, 2, 2), 3u);
    EXPECT_EQ(cell(0, 4, 3), 3u);
    EXPECT_EQ(cell(0, 7, 1), 3u);
    EXPECT_EQ(cell(0, 9, 1), 3u);
}

TEST_F(EditorWindowTest, RightClickPicksThenPaintUndoRedo) {
    ASSERT_NE(open("level"), nullptr);
    const uint32_t picked = cell(0, 5, 5);
    const uint32_t before = cell(0, 1, 1);
    ASSERT_NE(picked, before);
    click(Qt::RightButton, cellPoint(5, 5));
    EXPECT_EQ(doc().currentPattern, picked);
    EXPECT_TRUE(doc().store.empty());
    click(Qt::LeftButton, cellPoint(1, 1));
    EXPECT_EQ(cell(0, 1, 1), picked);
    expectViewIsCoreFrame("after the pick");

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell(0, 1, 1), before);
    EXPECT_FALSE(window->findChild<QPushButton*>("editor-undo")->isEnabled());
    EXPECT_TRUE(window->findChild<QPushButton*>("editor-redo")->isEnabled());
    EXPECT_EQ(window->windowTitle().toStdString(), "level - Map editor");
    QTest::mouseClick(window->findChild<QPushButton*>("editor-redo"), Qt::LeftButton);
    window->tick();
    EXPECT_EQ(cell(0, 1, 1), picked);
    QTest::mouseClick(window->findChild<QPushButton*>("editor-undo"), Qt::LeftButton);
    window->tick();
    EXPECT_EQ(cell(0, 1, 1), before);
    expectViewIsCoreFrame("after undo");
}

TEST_F(EditorWindowTest, SelectPaintElsewhereAndPasteBack) {
    ASSERT_NE(open("level"), nullptr);
    std::vector<uint32_t> block;
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 3; ++x) block.push_back(cell(0, x, y));
    drag(Qt::RightButton, cellPoint(1, 1), cellPoint(3, 2));
    EXPECT_EQ(doc().store.width, 3);
    EXPECT_EQ(doc().store.height, 2);
    EXPECT_TRUE(window->findChild<QPushButton*>("editor-paste")->isEnabled());
    expectViewIsCoreFrame("selected");

    // Painting a 6 x 2 rectangle repeats the block twice from its top-left cell.
    drag(Qt::LeftButton, cellPoint(10, 6), cellPoint(15, 7));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(cell(0, 10 + x, 6 + y), block[size_t(y * 3 + x % 3)]) << x << "," << y;

    // The source is overwritten with a picked value, then "Paste" puts the block back.
    doc().currentPattern = 0;
    window->tick();
    click(Qt::RightButton, cellPoint(0, 0));  // a pick empties the store
    EXPECT_TRUE(doc().store.empty());
    EXPECT_FALSE(window->findChild<QPushButton*>("editor-paste")->isEnabled());
    drag(Qt::RightButton, cellPoint(10, 6), cellPoint(12, 7));
    click(Qt::RightButton, cellPoint(0, 0));
    drag(Qt::LeftButton, cellPoint(1, 1), cellPoint(3, 2));
    EXPECT_EQ(cell(0, 1, 1), cell(0, 0, 0));
    drag(Qt::RightButton, cellPoint(10, 6), cellPoint(12, 7));
    // The store's rectangle is 10,6: paste writes there, which already holds the block.
    key(Qt::Key_V, Qt::ControlModifier);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(cell(0, 10 + x, 6 + y), block[size_t(y * 3 + x)]);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 3; ++x) EXPECT_EQ(cell(0, x, y), block[size_t((y - 1) * 3 + x - 1)]);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cell(0, 1, 1), cell(0, 0, 0));
    expectViewIsCoreFrame("after redo");
}

TEST_F(EditorWindowTest, LinkedPlanesCopyAndPaintTheirOwnLayersClippedToEachPlane) {
    ASSERT_NE(open("level"), nullptr);
    ASSERT_NE(open("ship"), nullptr);
    ASSERT_TRUE(linkPlanes(app, "1,2"));
    ASSERT_EQ(doc().active, 0);
    const std::vector<uint32_t> level = plane(0).cells, ship = plane(1).cells;
    const int levelW = plane(0).width, shipW = plane(1).width, shipH = plane(1).height;
    ASSERT_LT(shipW, 14);
    // A 12 x 6 block from both planes: the ship holds only 8 columns of it, so the store keeps
    // the 8 x 6 that every layer has.
    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(11, 5));
    EXPECT_EQ(doc().store.layerCount, 2);
    EXPECT_EQ(doc().store.width, shipW);
    EXPECT_EQ(doc().store.height, 6);
    // Painted at (2, 1): each plane gets its own layer; the ship stops at its border.
    drag(Qt::LeftButton, cellPoint(2, 1), cellPoint(13, 6));
    EXPECT_EQ(cell(0, 2, 1), level[0]);
    EXPECT_EQ(cell(0, 13, 6), level[size_t(5 * levelW + 11 % shipW)]);
    EXPECT_EQ(cell(1, 2, 1), ship[0]);
    EXPECT_EQ(cell(1, shipW - 1, 1), ship[size_t(shipW - 3)]);
    EXPECT_EQ(plane(1).cells.size(), size_t(shipW) * size_t(shipH));
    EXPECT_EQ(window->windowTitle().toStdString(), "level* - Map editor");
    expectViewIsCoreFrame("linked paint");
    // One undo takes both planes back.
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(plane(0).cells, level);
    EXPECT_EQ(plane(1).cells, ship);
    // Ctrl while releasing paints the active plane only.
    drag(Qt::LeftButton, cellPoint(2, 1), cellPoint(3, 1), Qt::ControlModifier);
    EXPECT_EQ(cell(0, 2, 1), level[0]);
    EXPECT_EQ(plane(1).cells, ship);
}

TEST_F(EditorWindowTest, CloseQuestionCancelNoAndYes) {
    ASSERT_NE(open("level"), nullptr);
    const uint32_t original = cell(0, 2, 2);
    doc().currentPattern = original + 1;
    click(Qt::LeftButton, cellPoint(2, 2));
    ASSERT_EQ(cell(0, 2, 2), original + 1);

    host.answers = {Answer::Cancel};
    EXPECT_FALSE(window->close());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.lastText(), "The file level has been modified. Do you want to save the changes?");
    EXPECT_EQ(host.lastCaption(), "Question");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(doc().open);
    EXPECT_EQ(cell(0, 2, 2), original + 1);

    // Cancel, then save: Ctrl+S works and the window still closes without a question.
    key(Qt::Key_S, Qt::ControlModifier);
    host.clear();
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_FALSE(doc().open);
    EXPECT_TRUE(window.isNull());

    // No: the change is lost.
    ASSERT_NE(open("level"), nullptr);
    EXPECT_EQ(cell(0, 2, 2), original + 1);
    doc().currentPattern = original;
    click(Qt::LeftButton, cellPoint(2, 2));
    host.answers = {Answer::No};
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(open("level"), nullptr);
    EXPECT_EQ(cell(0, 2, 2), original + 1);

    // Yes: saved.
    doc().currentPattern = original;
    click(Qt::LeftButton, cellPoint(2, 2));
    host.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(open("level"), nullptr);
    EXPECT_EQ(cell(0, 2, 2), original);
}

TEST_F(EditorWindowTest, SettingsScriptRestoresZoomGridLinksAndHiddenPlane) {
    ASSERT_NE(open("level"), nullptr);
    ASSERT_NE(open("ship"), nullptr);
    ASSERT_EQ(doc().count, 2);
    // Ctrl+wheel zooms in by one half.
    QWheelEvent wheelUp(QPointF(20, 20), window->view()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->view(), &wheelUp);
    window->tick();
    EXPECT_EQ(doc().options.zoom, 1.5);
    expectViewIsCoreFrame("zoomed");
    doc().options.gridShown = 1;  // as the options sheet's "Display tile grid" sets it
    plane(1).visible = 0;         // as the property sheet's "Display plane" sets it
    ASSERT_TRUE(linkPlanes(app, "1,2"));
    key(Qt::Key_Plus);  // grid step x 2
    EXPECT_EQ(plane(0).gridX, plane(0).defaultGridX * 2);
    window->move(40, 30);
    window->resize(600, 380);
    key(Qt::Key_S, Qt::ControlModifier);
    closeWithoutQuestions();

    ASSERT_NE(open("level", 0, 0), nullptr);
    ASSERT_EQ(doc().count, 2);
    EXPECT_EQ(doc().options.zoom, 1.5);
    EXPECT_EQ(doc().options.gridShown, 1);
    EXPECT_EQ(plane(1).visible, 0);
    EXPECT_TRUE(doc().links[0].contains(1));
    EXPECT_TRUE(doc().links[1].contains(0));
    EXPECT_EQ(plane(0).gridX, plane(0).defaultGridX * 2);
    // The window comes back where it was.
    EXPECT_EQ(doc().editorPlace.width, 600);
    EXPECT_EQ(doc().editorPlace.height, 380);
    EXPECT_EQ(window->size(), QSize(600, 380));
    EXPECT_EQ(window->pos(), QPoint(40, 30));
    // The second plane's hidden state shows: the view is the core's frame without it.
    expectViewIsCoreFrame("reopened");
}

TEST_F(EditorWindowTest, SettingsScriptThatMovesTheWindowOffEveryScreen) {
    std::string settings = settingsPath(mapRecord("level").file);
    if (!settings.empty() && settings[0] != '/') settings = dir.file(settings);
    writeFile(settings, "Maps.Add \"level\"\r\nEditor.Move 100000, 90000, -50000, 70000, false\r\nEnd\r\n");
    ASSERT_NE(open("level"), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());
    EXPECT_TRUE(screen.intersects(window->frameGeometry()));
    closeWithoutQuestions();
    // Negative sizes keep a usable window.
    writeFile(settings, "Maps.Add \"level\"\r\nEditor.Move -300, -2, 10, 10\r\nEnd\r\n");
    ASSERT_NE(open("level", 0, 0), nullptr);
    EXPECT_GE(window->width(), 256);
    EXPECT_GE(window->height(), 256);
    expectViewIsCoreFrame("after negative sizes");
}

TEST_F(EditorWindowTest, KeysWheelAndScrolling) {
    // A view narrower than the 128-pixel map, so that it scrolls.
    ASSERT_NE(open("level", 256, 256), nullptr);
    ASSERT_LT(window->view()->width(), plane(0).width * plane(0).blockWidth);
    // Ctrl+5 with one plane: nothing changes, the status line says why.
    key(Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(doc().active, 0);
    EXPECT_EQ(window->findChild<QLabel*>("editor-status")->text().toStdString(), "Plane 5 is not open.");
    // The wheel steps the pattern, Ctrl+wheel the zoom within 1.0 and 4.0.
    doc().currentPattern = 0;
    for (int i = 0; i < 3; ++i) {
        QWheelEvent down(QPointF(20, 20), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->view(), &down);
    }
    EXPECT_EQ(doc().currentPattern, 3u);
    for (int i = 0; i < 10; ++i) {
        QWheelEvent up(QPointF(20, 20), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->view(), &up);
    }
    EXPECT_EQ(doc().options.zoom, 4.0);
    for (int i = 0; i < 10; ++i) {
        QWheelEvent back(QPointF(20, 20), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->view(), &back);
    }
    EXPECT_EQ(doc().options.zoom, 1.0);
    // Arrow keys scroll by one step; the scroll bar follows.
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(doc().scrollX, plane(0).scrollStepX);
    EXPECT_EQ(doc().scrollY, plane(0).scrollStepY);
    EXPECT_EQ(window->horizontalBar()->value(), doc().scrollX);
    // A dragged scroll bar is rounded down to the step.
    window->horizontalBar()->setValue(3 * plane(0).scrollStepX + 3);
    EXPECT_EQ(doc().scrollX, 3 * plane(0).scrollStepX);
    expectViewIsCoreFrame("scrolled");
    // Middle drag pans.
    const int oldX = doc().scrollX;
    QTest::mousePress(window->view(), Qt::MiddleButton, Qt::NoModifier, QPoint(60, 60));
    QTest::mouseMove(window->view(), QPoint(40, 60));
    QTest::mouseRelease(window->view(), Qt::MiddleButton, Qt::NoModifier, QPoint(40, 60));
    EXPECT_EQ(doc().scrollX, oldX + 16);
    // Ctrl+H: hex mode and back.
    key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(doc().options.hexMode, 1);
    EXPECT_EQ(plane(0).blockWidth, 16);
    expectViewIsCoreFrame("hex mode");
    key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(doc().options.hexMode, 0);
    // Numeric + and -: the grid within 1 and 64.
    for (int i = 0; i < 8; ++i) key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(plane(0).gridX, 64);
    for (int i = 0; i < 8; ++i) key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(plane(0).gridX, 1);
    // F1 opens the manual (or says it is missing), F3 the project's help file through the host.
    host.clear();
    key(Qt::Key_F1);
    EXPECT_TRUE(!host.opened.empty() || !host.boxes.empty());
    host.opened.clear();
    host.clear();
    dir.write("lisezmoi.htm", "<p>help</p>");
    key(Qt::Key_F3);
    ASSERT_EQ(host.opened.size(), 1u) << host.lastText();
    EXPECT_NE(host.opened[0].find("lisezmoi.htm"), std::string::npos);
}

TEST_F(EditorWindowTest, DragOutsideTheViewScrollsEvery50MsOr10WithShift) {
    ASSERT_NE(open("level", 256, 256), nullptr);
    QWidget* v = window->view();
    QTest::mouseMove(v, cellPoint(1, 1));
    QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, cellPoint(1, 1));
    QTest::mouseMove(v, QPoint(v->width() + 20, 20));
    host.clockMs = 1000;
    window->tick();
    EXPECT_EQ(doc().scrollX, plane(0).scrollStepX);
    host.clockMs += 30;
    window->tick();
    EXPECT_EQ(doc().scrollX, plane(0).scrollStepX);  // not yet 50 ms
    host.clockMs += 20;
    window->tick();
    EXPECT_EQ(doc().scrollX, 2 * plane(0).scrollStepX);
    // With Shift held the view scrolls every 10 ms.
    QTest::mouseMove(v, QPoint(v->width() + 20, 21));
    window->lastModifiers = Qt::ShiftModifier;
    host.clockMs += 10;
    window->tick();
    EXPECT_EQ(doc().scrollX, 3 * plane(0).scrollStepX);
    EXPECT_EQ(window->horizontalBar()->value(), doc().scrollX);
    // Released outside the view: nothing is painted.
    const std::vector<uint32_t> before = plane(0).cells;
    QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, QPoint(v->width() + 20, 21));
    window->tick();
    EXPECT_EQ(plane(0).cells, before);
    EXPECT_FALSE(doc().undoEnabled);
}

TEST_F(EditorWindowTest, InformationPopupAfterTheRestTime) {
    ASSERT_NE(open("level"), nullptr);
    doc().options.popupTime = 50;  // 500 ms
    host.clockMs = 100;
    QTest::mouseMove(window->view(), cellPoint(4, 3));
    window->tick();
    EXPECT_FALSE(popupVisible(doc(), window->session(), host.clockMs));
    const QImage before = window->view()->frame().copy();
    host.clockMs += 499;
    window->tick();
    EXPECT_FALSE(popupVisible(doc(), window->session(), host.clockMs));
    host.clockMs += 1;
    window->tick();
    EXPECT_TRUE(popupVisible(doc(), window->session(), host.clockMs));
    EXPECT_NE(window->view()->frame(), before);
    expectViewIsCoreFrame("popup");
    EXPECT_EQ(popupLines(doc(), window->session())[0], "Position: 4,3");
}

TEST_F(EditorWindowTest, SelectionOf1025CellsIsRefusedAndTheTimerFollowsTheOption) {
    GiantMapFormState form;
    form.file = "wide.map.c";
    form.width = "1100";
    form.height = "2";
    form.blockSize = 0;
    ASSERT_TRUE(runGiantMapForm(app, form)) << host.lastText();
    const ElementRecord wide = elementTable(app).records[size_t(elementTable(app).count() - 1)];
    window = openEditorWindow(app, wide);
    ASSERT_NE(window, nullptr);
    window->resize(8 * 1100 + 300, 300);
    QApplication::processEvents();
    window->tick();
    ASSERT_GE(window->surfaceWidth(), 8 * 1026);
    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(1024, 1));
    EXPECT_EQ(host.lastText(), "Selection is too big to be copied.");
    EXPECT_EQ(host.lastCaption(), "Oops...");
    EXPECT_TRUE(doc().store.empty());
    host.clear();
    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(1022, 1));
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(doc().store.width, 1023);
    // "Timer editor" changed while the editor is open: the next tick takes the new interval.
    editorSettings(app).timing = 40;
    window->tick();
    EXPECT_EQ(window->timerInterval(), 40);
}

TEST_F(EditorWindowTest, ZoomsFromAScriptBeyondTheWheelsRange) {
    ASSERT_NE(open("level", 1200, 900), nullptr);
    for (const char* zoom : {"0.5", "0.01", "-3", "0", "1000"}) {
        runScriptText(app, std::string("Editor.Zoom ") + zoom);
        window->documentChanged();
        window->tick();
        EXPECT_GT(window->viewZoom(), 0.0) << zoom;
        EXPECT_TRUE(surfaceSizeAllowed(window->surfaceWidth(), window->surfaceHeight())) << zoom;
        expectViewIsCoreFrame(zoom);
    }
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

TEST_F(EditorWindowTest, ContextMenuChecksAndDisabledEntries) {
    ASSERT_NE(open("level"), nullptr);
    ASSERT_NE(open("ship"), nullptr);
    QMenu* menu = window->buildContextMenu();
    auto action = [&](const char* name) { return menu->findChild<QAction*>(name); };
    ASSERT_NE(action("editor-menu-active-1"), nullptr);
    EXPECT_TRUE(action("editor-menu-active-1")->isChecked());
    EXPECT_FALSE(action("editor-menu-active-2")->isChecked());
    EXPECT_FALSE(action("editor-menu-operations")->isEnabled());  // the store is empty
    EXPECT_FALSE(action("editor-menu-specimen")->isEnabled());    // no specimen window
    EXPECT_EQ(action("editor-menu-add")->text().toStdString(), "Add a background...\t   Ctrl+M");
    ASSERT_NE(action("editor-menu-hex"), nullptr);
    EXPECT_EQ(action("editor-menu-hex-cancel"), nullptr);

    action("editor-menu-active-2")->trigger();
    EXPECT_EQ(doc().active, 1);
    EXPECT_EQ(window->windowTitle().toStdString(), "ship - Map editor");
    action("editor-menu-transparent")->trigger();
    EXPECT_EQ(doc().options.transparency, 1);
    action("editor-menu-hex")->trigger();
    EXPECT_EQ(doc().options.hexMode, 1);

    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(2, 2));
    menu = window->buildContextMenu();
    EXPECT_TRUE(action("editor-menu-operations")->isEnabled());
    EXPECT_TRUE(action("editor-menu-transparent")->isChecked());
    EXPECT_EQ(action("editor-menu-hex"), nullptr);
    ASSERT_NE(action("editor-menu-hex-cancel"), nullptr);
    EXPECT_TRUE(action("editor-menu-gfx-background")->isChecked());
    action("editor-menu-append-zeros")->trigger();
    EXPECT_EQ(doc().options.fillZeros, 1);
    action("editor-menu-hex-cancel")->trigger();
    EXPECT_EQ(doc().options.hexMode, 0);
    // Ctrl+1 comes back to the first plane; a right click beside the view opens the menu.
    key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(doc().active, 0);
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, QPoint(5, window->height() - 5));
    ASSERT_NE(window->contextMenu(), nullptr);
    EXPECT_TRUE(window->contextMenu()->isVisible());
    window->contextMenu()->close();
    // The bits display opens from the menu and follows the menu's check mark.
    action("editor-menu-bits");
    menu = window->buildContextMenu();
    action("editor-menu-bits")->trigger();
    EXPECT_TRUE(doc().bitsShown);
    ASSERT_NE(window->bitsWindow(), nullptr);
    EXPECT_TRUE(window->bitsWindow()->isVisible());
    menu = window->buildContextMenu();
    EXPECT_TRUE(action("editor-menu-bits")->isChecked());
}

TEST_F(EditorWindowTest, AddingTheSameMapBringsTheWindowForwardAndAddsNothing) {
    ASSERT_NE(open("level"), nullptr);
    EditorWindow* first = window;
    EXPECT_EQ(open("level"), first);
    EXPECT_EQ(doc().count, 1);
    EXPECT_EQ(open("ship"), first);
    EXPECT_EQ(doc().count, 2);
    EXPECT_EQ(findEditorWindow(app), first);
}

TEST_F(EditorWindowTest, IdleTicksDrawNothingAndAChangeShowsOnTheNextTick) {
    ASSERT_NE(open("level"), nullptr);
    doc().messages.clear();
    window->tick();
    // The mouse is away from the view and the panel has faded: nothing moves.
    for (int i = 0; i < 200 && window->session().panelOpacity != kMinPanelOpacity; ++i) {
        host.clockMs += 10;
        window->tick();
    }
    const int frames = window->framesDrawn();
    for (int i = 0; i < 100; ++i) {
        host.clockMs += 10;
        window->tick();
    }
    EXPECT_EQ(window->framesDrawn(), frames);
    doc().currentPattern = 1;
    plane(0).cells[0] = 1;
    window->tick();
    EXPECT_EQ(window->framesDrawn(), frames + 1);
    expectViewIsCoreFrame("after a change");
}

TEST_F(EditorWindowTest, ObjectListPlacingMovingAndDeleting) {
    ASSERT_NE(open("level"), nullptr);
    // An empty object list made with the creation form, opened as a second plane.
    ObjectListFormState form = defaultObjectListForm(app);
    form.file = "things.lst.c";
    form.blockSize = 0;
    ASSERT_TRUE(runObjectListForm(app, form)) << host.lastText();
    const int list = elementTable(app).count() - 1;
    ASSERT_EQ(elementTable(app).records[size_t(list)].type(), uint32_t(TYPE_LISTE));
    ASSERT_EQ(openEditorWindow(app, elementTable(app).records[size_t(list)]), window.data());
    ASSERT_EQ(doc().count, 2);
    key(Qt::Key_2, Qt::ControlModifier);
    ASSERT_EQ(doc().active, 1);
    ASSERT_EQ(plane(1).kind, PlaneList);
    // Placing: a click with a non-zero pattern puts an object there.
    doc().currentPattern = 2;
    click(Qt::LeftButton, cellPoint(3, 2));
    ASSERT_EQ(plane(1).objects.count, 1);
    EXPECT_EQ(entryX(plane(1).objects, 0), 3 * plane(1).blockWidth);
    EXPECT_EQ(entryY(plane(1).objects, 0), 2 * plane(1).blockHeight);
    click(Qt::LeftButton, cellPoint(8, 4));
    ASSERT_EQ(plane(1).objects.count, 2);
    expectViewIsCoreFrame("two objects");
    // Moving the first one by two cells, snapped to the grid.
    drag(Qt::LeftButton, cellPoint(3, 2), cellPoint(5, 2) + QPoint(1, 1));
    EXPECT_EQ(window->session().currentObject, 0);
    EXPECT_EQ(entryX(plane(1).objects, 0), 5 * plane(1).blockWidth);
    EXPECT_EQ(entryY(plane(1).objects, 0), 2 * plane(1).blockHeight);
    // Ctrl+C then Ctrl+V at the mouse adds a copy; Delete removes the current object.
    key(Qt::Key_C, Qt::ControlModifier);
    QTest::mouseMove(window->view(), cellPoint(1, 6));
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(plane(1).objects.count, 3);
    EXPECT_EQ(entryX(plane(1).objects, 2), 1 * plane(1).blockWidth);
    EXPECT_EQ(entryY(plane(1).objects, 2), 6 * plane(1).blockHeight);
    key(Qt::Key_Delete);
    EXPECT_EQ(plane(1).objects.count, 2);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(plane(1).objects.count, 3);
    expectViewIsCoreFrame("objects after undo");
}

TEST_F(EditorWindowTest, MainWindowEditOpensTheEditorOnce) {
    MainWindow main(app);
    main.askSaveName = [] { return std::string(); };
    main.show();
    EXPECT_FALSE(main.mapEditorOpen());
    main.openElement(mapIndex("level"));
    window = findEditorWindow(app);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(main.mapEditorOpen());
    EXPECT_TRUE(main.isEnabled());
    main.openMapEditor(mapIndex("ship"));
    EXPECT_EQ(findEditorWindow(app), window.data());
    EXPECT_EQ(doc().count, 2);
    // Closing the main window closes the editor first; Cancel there keeps both open.
    doc().currentPattern = 1;
    window->tick();
    click(Qt::LeftButton, cellPoint(0, 0));
    // While it is open the main window stays usable; its options sheet refuses the models page.
    {
        OptionsSheet sheet(app, &main, [&main] { return main.mapEditorOpen(); });
        host.clear();
        sheet.tabs()->setCurrentIndex(2);
        EXPECT_EQ(host.lastText(), "Impossible to work on parameters while the editor is open. Please close it before.");
    }
    host.answers = {Answer::Cancel};
    main.close();
    EXPECT_TRUE(doc().open);
    closeWithoutQuestions();
    EXPECT_FALSE(main.mapEditorOpen());
    {
        OptionsSheet sheet(app, &main, [&main] { return main.mapEditorOpen(); });
        host.clear();
        sheet.tabs()->setCurrentIndex(2);
        EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    }
}

TEST_F(EditorWindowTest, QuitWithoutSavingClosesTheEditorFirstAndACancelKeepsBothOpen) {
    dir.write("script.spt", "onquit:\nconvert.tilex 16\n");
    MainWindow main(app);
    main.askSaveName = [] { return std::string(); };
    main.show();
    main.openElement(mapIndex("level"));
    window = findEditorWindow(app);
    ASSERT_NE(window, nullptr);
    doc().currentPattern = cell(0, 0, 0) + 1;
    click(Qt::LeftButton, cellPoint(0, 0));
    const int tileX = app.convert.tileX;

    // Cancel in the editor's question: nothing closes and "onquit" has not run.
    host.answers = {Answer::Cancel};
    main.runCommand(CmdQuitWithoutSaving);
    EXPECT_EQ(host.lastText(), "The file level has been modified. Do you want to save the changes?");
    EXPECT_TRUE(doc().open);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(app.convert.tileX, tileX);

    // The window's own closing later still runs "onquit" and saves the project.
    std::filesystem::remove(dir.file("demo.tsp"));
    host.answers = {Answer::No};
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(doc().open);
    EXPECT_EQ(app.convert.tileX, 16);
    EXPECT_TRUE(std::filesystem::exists(dir.file("demo.tsp")));
}

TEST_F(EditorWindowTest, NewProjectClosesTheEditorFirst) {
    MainWindow main(app);
    main.askSaveName = [] { return std::string(); };
    main.show();
    main.openElement(mapIndex("level"));
    window = findEditorWindow(app);
    ASSERT_NE(window, nullptr);
    doc().currentPattern = cell(0, 0, 0) + 1;
    click(Qt::LeftButton, cellPoint(0, 0));
    const int count = elementTable(app).count();

    // Cancel in the editor: the project stays, and so does the editor with its change.
    host.answers = {Answer::Cancel};
    main.runCommand(CmdNew);
    EXPECT_TRUE(doc().open);
    EXPECT_EQ(elementTable(app).count(), count);
    EXPECT_EQ(host.lastText(), "The file level has been modified. Do you want to save the changes?");

    // No to the editor's question, No to saving the project: a new, empty project.
    host.answers = {Answer::No, Answer::No};
    main.runCommand(CmdNew);
    EXPECT_FALSE(doc().open);
    EXPECT_EQ(elementTable(app).count(), 0);
}

}  // namespace
}  // namespace ts::test
