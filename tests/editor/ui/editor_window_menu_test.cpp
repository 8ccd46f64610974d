// The editor window's ways into its dialogs (context menu entries and keys), and the object-list
// tools that need them: each entry opens its dialog, Enter and a double click the object's.
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "editor/editor_session.h"
#include "formats/object_list.h"
#include "project/creation_forms.h"
#include "editor_window_support.h"

namespace ts::test {
namespace {

// Runs an action that may open a modal dialog; gives the dialog's title ("" when none opened)
// after closing it with Cancel.
std::string dialogOpenedBy(const std::function<void()>& action) {
    auto title = std::make_shared<std::string>();
    QTimer::singleShot(0, [title] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        *title = modal->windowTitle().toStdString();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
    });
    action();
    QApplication::processEvents();
    return *title;
}

class EditorWindowMenuTest : public EditorWindowTest {
protected:
    // An empty object list made with the creation form, added as plane 2 and made active.
    void openList() {
        ObjectListFormState form = defaultObjectListForm(app);
        form.file = "things.lst.c";
        form.blockSize = 0;
        ASSERT_TRUE(runObjectListForm(app, form)) << host.lastText();
        const ElementRecord list = elementTable(app).records[size_t(elementTable(app).count() - 1)];
        ASSERT_EQ(openEditorWindow(app, list), window.data());
        key(Qt::Key_2, Qt::ControlModifier);
        ASSERT_EQ(plane(1).kind, PlaneList);
    }
    int32_t objX(int i) { return entryX(plane(1).objects, i); }
    int32_t objY(int i) { return entryY(plane(1).objects, i); }
};

TEST_F(EditorWindowMenuTest, EveryMenuEntryOpensItsDialog) {
    ASSERT_NE(open("level"), nullptr);
    drag(Qt::RightButton, cellPoint(0, 0), cellPoint(2, 1));  // so that "Operations on selection" is enabled
    auto entry = [&](const char* name) {
        QMenu* menu = window->buildContextMenu();
        QAction* a = menu->findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name;
        return [a] {
            if (a) a->trigger();
        };
    };
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-properties-1")), "Properties of plane level");
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-link")), "Links");
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-add")), "Select a background map...");
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-options")), "Options");
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-operations")), "Operations on selection");
    EXPECT_EQ(dialogOpenedBy(entry("editor-menu-moving")), "Blocks copy");
    EXPECT_EQ(dialogOpenedBy([&] { key(Qt::Key_Space, Qt::ControlModifier); }), "Options");
    EXPECT_EQ(dialogOpenedBy([&] { key(Qt::Key_M, Qt::ControlModifier); }), "Select a background map...");
    EXPECT_FALSE(dialogOpenedBy([&] { key(Qt::Key_I, Qt::ControlModifier); }).empty());
    // Cancel everywhere: the map is as it was and nothing was asked.
    EXPECT_FALSE(doc().undoEnabled);
    EXPECT_EQ(doc().count, 1);
    expectViewIsCoreFrame("after the dialogs");
}

TEST_F(EditorWindowMenuTest, AddingBeyondTwentyPlanesIsRefused) {
    ASSERT_NE(open("level"), nullptr);
    doc().count = MaxPlanes;  // as if twenty planes were open (no tick draws the empty slots)
    EXPECT_EQ(dialogOpenedBy([&] { window->handleKey(Qt::Key_M, Qt::ControlModifier); }), "");
    EXPECT_EQ(host.lastText(), "The background limit is reached!");
    EXPECT_EQ(host.lastCaption(), "Error");
    doc().count = 1;
}

TEST_F(EditorWindowMenuTest, ObjectListSelectionMovesRectanglesAndParameters) {
    ASSERT_NE(open("level"), nullptr);
    openList();
    doc().currentPattern = 1;
    click(Qt::LeftButton, cellPoint(1, 1));
    click(Qt::LeftButton, cellPoint(4, 1));
    click(Qt::LeftButton, cellPoint(7, 4));
    ASSERT_EQ(plane(1).objects.count, 3);
    const int bw = plane(1).blockWidth;

    // Ctrl+press selects the first and the second; moving one moves both.
    click(Qt::LeftButton, cellPoint(1, 1));
    click(Qt::LeftButton, cellPoint(4, 1), Qt::ControlModifier);
    EXPECT_EQ(window->session().selectedObjects.size(), 2u);
    drag(Qt::LeftButton, cellPoint(4, 1), cellPoint(4, 3));
    EXPECT_EQ(objY(0), 3 * bw);
    EXPECT_EQ(objY(1), 3 * bw);
    EXPECT_EQ(objY(2), 4 * bw);
    expectViewIsCoreFrame("two selected objects moved");

    // Shift moves without snapping: three pixels stay three pixels.
    click(Qt::LeftButton, cellPoint(7, 4));  // a plain press: the third becomes current, the selection ends
    const int32_t x2 = objX(2);
    QWidget* v = window->view();
    QTest::mousePress(v, Qt::LeftButton, Qt::ShiftModifier, cellPoint(7, 4));
    const QPoint to = cellPoint(7, 4) + QPoint(3, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(v->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(v, &move);
    QTest::mouseRelease(v, Qt::LeftButton, Qt::ShiftModifier, cellPoint(7, 4) + QPoint(3, 0));
    window->tick();
    EXPECT_EQ(objX(2), x2 + 3);

    // A right drag copies the objects it touches into the store; painting places copies.
    drag(Qt::RightButton, cellPoint(0, 2), cellPoint(5, 3));
    EXPECT_GT(doc().store.objects[0].count + doc().store.objects[1].count, 0);
    EXPECT_EQ(doc().store.width, 6);
    EXPECT_EQ(doc().store.height, 2);
    const int before = plane(1).objects.count;
    drag(Qt::LeftButton, cellPoint(1, 6), cellPoint(6, 7));
    EXPECT_EQ(plane(1).objects.count, before + 2);
    // With Ctrl the drag toggles the selection instead.
    window->session().selectedObjects.clear();
    drag(Qt::RightButton, cellPoint(0, 2), cellPoint(5, 3), Qt::ControlModifier);
    EXPECT_EQ(window->session().selectedObjects.size(), 2u);

    // Enter and a double click open the current object's parameters.
    click(Qt::LeftButton, cellPoint(7, 4));
    EXPECT_EQ(dialogOpenedBy([&] { key(Qt::Key_Return); }), "Object parameters");
    EXPECT_EQ(dialogOpenedBy([&] { QTest::mouseDClick(window->view(), Qt::LeftButton, Qt::NoModifier, cellPoint(7, 4)); }),
              "Object parameters");
    // Ctrl+X cuts the current object.
    const int count = plane(1).objects.count;
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(plane(1).objects.count, count - 1);
    expectViewIsCoreFrame("objects");
}

}  // namespace
}  // namespace ts::test
