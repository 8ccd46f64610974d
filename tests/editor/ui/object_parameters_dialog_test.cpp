// "Object parameters": the model's fields of one object, applied as one undo step; positions
// outside the map and text in number fields are refused.
#include "dialog_test_support.h"
#include "formats/object_list.h"

namespace ts::test {
namespace {

class ObjectParametersDialogTest : public DialogTest {
protected:
    PlaneRecord& addListPlane() {
        EditorDocument& d = doc();
        const int slot = d.count;
        PlaneRecord& p = d.planes[size_t(slot)];
        makeMapPlane(p, 32, 32, 16);
        p.kind = PlaneList;
        p.cells.clear();
        p.element.name = "enemies";
        Model model;
        model.name = "Enemy";
        model.params = {ModelParam{ParamInteger, 4, "speed", "3"}, ModelParam{ParamRaw, 8, "name", "bat"}};
        model.entrySize = 24;
        resetObjectList(p.objects, model);
        EXPECT_TRUE(addListEntry(app, p.objects, 16, 24, 2));
        EXPECT_TRUE(addListEntry(app, p.objects, 40, 8, 1));
        d.count++;
        d.active = slot;
        pushSnapshot(app, slot);
        return p;
    }
};

TEST_F(ObjectParametersDialogTest, OkWritesEveryFieldAsOneUndoStep) {
    PlaneRecord& p = addListPlane();
    whenDialog([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Object parameters");
        EXPECT_EQ(child<QLineEdit>(d, "object-x")->text(), "40");
        EXPECT_EQ(child<QLineEdit>(d, "object-param-0")->text(), "3");
        EXPECT_EQ(child<QLineEdit>(d, "object-param-1")->text(), "bat");
        EXPECT_EQ(child<QLineEdit>(d, "object-param-1")->maxLength(), 7);
        setText(d, "object-x", "64");
        setText(d, "object-type", "5");
        setText(d, "object-param-0", "0x10");
        setText(d, "object-param-1", "ghost");
        saveShot(*d, "dialog-object-parameters");
        clickOk(d, "object");
    });
    EXPECT_TRUE(showObjectParameters(nullptr, app, session, 1));
    EXPECT_EQ(entryX(p.objects, 1), 64);
    EXPECT_EQ(entryY(p.objects, 1), 8);
    EXPECT_EQ(entryType(p.objects, 1), 5);
    EXPECT_EQ(entryIntParam(p.objects, 1, 0), 16);
    EXPECT_EQ(entryRawParam(p.objects, 1, 1), "ghost");
    EXPECT_EQ(entryX(p.objects, 0), 16);
    undo(app, doc().active);
    EXPECT_EQ(entryX(p.objects, 1), 40);
    EXPECT_EQ(entryRawParam(p.objects, 1, 1), "bat");
}

TEST_F(ObjectParametersDialogTest, TextAndPositionsOutsideTheMapAreRefused) {
    PlaneRecord& p = addListPlane();
    whenDialog([this](QDialog* d) {
        setText(d, "object-y", "down");
        clickOk(d, "object");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "\"down\" is not a number.");
        setText(d, "object-y", "-8");
        clickOk(d, "object");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "The position 16,-8 lies outside the map (256 x 256 pixels).");
        setText(d, "object-y", "4000000000");
        clickOk(d, "object");
        EXPECT_TRUE(d->isVisible());
        setText(d, "object-y", "8");
        setText(d, "object-param-0", "fast");
        clickOk(d, "object");
        EXPECT_TRUE(d->isVisible());
        d->reject();
    });
    EXPECT_FALSE(showObjectParameters(nullptr, app, session, 0));
    EXPECT_EQ(entryY(p.objects, 0), 24);
    EXPECT_EQ(entryIntParam(p.objects, 0, 0), 3);
    EXPECT_EQ(host.boxes.size(), 4u);
    // No object there, or a map plane: nothing opens.
    EXPECT_FALSE(showObjectParameters(nullptr, app, session, 7));
}

}  // namespace
}  // namespace ts::test
