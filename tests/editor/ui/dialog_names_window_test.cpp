// Every control of the editor's dialogs and tool windows carries an object name and an
// accessible name (tests and screen readers find them by these).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>

#include "dialog_test_support.h"
#include "editor/plane_property_rules.h"
#include "formats/object_list.h"

namespace ts::test {
namespace {

// Controls without a name, skipping the parts Qt builds inside its own widgets.
std::vector<std::string> unnamedControls(QWidget* root) {
    std::vector<std::string> out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
            inner |= qobject_cast<QComboBox*>(p) || qobject_cast<QTabBar*>(p) || qobject_cast<QAbstractItemView*>(p) ||
                     p->inherits("QComboBoxPrivateContainer");
        if (inner || qobject_cast<QTabBar*>(w)) continue;
        bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                       qobject_cast<QAbstractItemView*>(w) || qobject_cast<QScrollBar*>(w);
        if (!control) continue;
        if (qobject_cast<QScrollBar*>(w) && qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget())) continue;
        if (w->objectName().isEmpty() || w->accessibleName().isEmpty())
            out.push_back(std::string(w->metaObject()->className()) + " '" + w->objectName().toStdString() + "'");
    }
    return out;
}

class DialogNamesWindowTest : public DialogTest {
protected:
    void expectNamed(const char* what, const std::function<void()>& open) {
        whenDialog([what](QDialog* d) {
            EXPECT_EQ(unnamedControls(d), std::vector<std::string>{}) << what;
            EXPECT_FALSE(d->accessibleName().isEmpty()) << what;
            d->reject();
        });
        open();
    }
};

TEST_F(DialogNamesWindowTest, EveryDialogAndWindowNamesItsControls) {
    addPlane(8, 8);
    addPlane(8, 8);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {1, 1}, {}));
    expectNamed("plane properties", [&] { showPlaneProperties(nullptr, app, session, 0); });
    expectNamed("options", [&] { showEditorOptions(nullptr, app, session); });
    expectNamed("links", [&] { showLinks(nullptr, app, session); });
    expectNamed("tile size", [&] { showTileSize(nullptr, app, session); });
    expectNamed("operations", [&] { showSelectionOperations(nullptr, app, session); });
    expectNamed("blocks copy", [&] { showBlocksCopy(nullptr, app, session); });

    PlaneRecord& list = plane(1);
    list.kind = PlaneList;
    Model model;
    model.name = "M";
    model.params = {ModelParam{ParamInteger, 4, "life", "1"}};
    model.entrySize = 16;
    resetObjectList(list.objects, model);
    ASSERT_TRUE(addListEntry(app, list.objects, 0, 0, 1));
    doc().active = 1;
    expectNamed("object parameters", [&] { showObjectParameters(nullptr, app, session, 0); });

    doc().active = 0;
    BitsDisplayWindow bits(app, session);
    EXPECT_EQ(unnamedControls(&bits), std::vector<std::string>{});
    ASSERT_TRUE(addSpecimenPlane(app, 0));
    SpecimenWindow specimen(app, session);
    EXPECT_EQ(unnamedControls(&specimen), std::vector<std::string>{});
    EXPECT_FALSE(specimen.canvas()->accessibleName().isEmpty());
}

}  // namespace
}  // namespace ts::test
