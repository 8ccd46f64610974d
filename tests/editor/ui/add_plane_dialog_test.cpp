// "Select a background map...": the project's maps and lists, the chosen one opened as a plane.
#include <QComboBox>

#include "dialog_test_support.h"
#include "editor/document_fixture.h"

namespace ts::test {
namespace {

using AddPlaneDialogTest = DocumentFixture;

TEST_F(AddPlaneDialogTest, TheChosenMapOpensAsANewPlane) {
    ElementRecord town = addMap("town", 8, 6);
    addMap("sky", 4, 4, 3);
    ASSERT_TRUE(openEditor(app, town));
    ASSERT_EQ(doc().count, 1);
    EditorSession session;
    whenDialog([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Select a background map...");
        auto* choice = child<QComboBox>(d, "add-plane-elements");
        ASSERT_EQ(choice->count(), 2);
        EXPECT_EQ(choice->itemText(1), "sky");
        choice->setCurrentIndex(1);
        saveShot(*d, "dialog-add-plane");
        clickOk(d, "add-plane");
    });
    EXPECT_TRUE(showAddPlane(nullptr, app, session));
    ASSERT_EQ(doc().count, 2);
    EXPECT_EQ(plane(1).element.name, "sky");
    EXPECT_EQ(plane(1).width, 4);
    // Cancel opens nothing.
    whenDialog([](QDialog* d) { d->reject(); });
    EXPECT_FALSE(showAddPlane(nullptr, app, session));
    EXPECT_EQ(doc().count, 2);
}

}  // namespace
}  // namespace ts::test
