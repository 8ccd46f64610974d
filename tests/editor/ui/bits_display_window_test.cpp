// The bits display: one box per shown bit, rebuilt for the active plane; boxes change the
// current pattern or the store's active layer; closing only hides it.
#include <QCheckBox>

#include "dialog_test_support.h"
#include "editor/editor_settings_script.h"

namespace ts::test {
namespace {

using BitsDisplayWindowTest = DialogTest;

std::vector<std::string> boxNames(QWidget& w) {
    std::vector<std::string> out;
    for (QCheckBox* box : w.findChildren<QCheckBox*>())
        if (box->isVisibleTo(&w)) out.push_back(box->objectName().toStdString());
    return out;
}

TEST_F(BitsDisplayWindowTest, BoxesFollowTheActivePlaneAndToggleThePattern) {
    addPlane(8, 8);
    addPlane(8, 8);
    doc().currentPattern = 0x0403;  // bit 10 set
    BitsDisplayWindow bits(app, session);
    bits.show();
    QApplication::processEvents();
    EXPECT_EQ(boxNames(bits), (std::vector<std::string>{"bit-15", "bit-14", "bit-13", "bit-12", "bit-11", "bit-10"}));
    EXPECT_TRUE(child<QCheckBox>(&bits, "bit-10")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&bits, "bit-11")->isChecked());
    EXPECT_EQ(child<QCheckBox>(&bits, "bit-11")->text(), "Vertical mirror");
    saveShot(bits, "window-bits-display");
    int changes = 0;
    QObject::connect(&bits, &BitsDisplayWindow::changed, [&] { ++changes; });
    child<QCheckBox>(&bits, "bit-11")->click();
    EXPECT_EQ(doc().currentPattern, 0x0C03u);
    EXPECT_EQ(session.status, "Pattern: 3075 (0c03)");
    EXPECT_EQ(session.bitsValue, 0x0C03);  // what the editor shows in the boxes when it redraws
    EXPECT_EQ(changes, 1);

    // Plane 2 shows bit 3 as well; the window is rebuilt when it becomes active.
    int height = bits.height();
    plane(1).bitFlags |= 1u << 3;
    plane(1).bitTexts[3] = "Solid";
    doc().active = 1;
    bits.rebuild();
    QApplication::processEvents();
    EXPECT_EQ(boxNames(bits).size(), 7u);
    EXPECT_EQ(child<QCheckBox>(&bits, "bit-3")->text(), "Solid");
    EXPECT_GT(bits.height(), height);
}

TEST_F(BitsDisplayWindowTest, WithABlockInTheStoreTheBoxesChangeTheStoreButNotItsHoles) {
    addPlane(8, 8);
    plane(0).cells[0] = 0x0001;
    plane(0).cells[1] = 0xFFFF;  // the invisible block value
    plane(0).cells[2] = 0;       // left alone while bits.zeromask is on
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {2, 0}, {}));
    BitsDisplayWindow bits(app, session);
    bits.showCurrent();
    EXPECT_FALSE(child<QCheckBox>(&bits, "bit-12")->isChecked());
    child<QCheckBox>(&bits, "bit-12")->click();
    const uint32_t* row = doc().store.row(0, 0);
    EXPECT_EQ(row[0], 0x1001u);
    EXPECT_EQ(row[1], 0xFFFFu);
    EXPECT_EQ(row[2], 0u);
    EXPECT_EQ(session.bitsValue, 0x1001);
    EXPECT_EQ(plane(0).cells[0], 1u);
    // A value picked elsewhere ticks the boxes without changing anything.
    bits.showValue(0x8000);
    EXPECT_TRUE(child<QCheckBox>(&bits, "bit-15")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&bits, "bit-12")->isChecked());
    EXPECT_EQ(row[0], 0x1001u);
}

TEST_F(BitsDisplayWindowTest, ClosingHidesAndTells) {
    addPlane(8, 8);
    BitsDisplayWindow bits(app, session);
    doc().bitsShown = true;
    bits.show();
    bool told = false;
    QObject::connect(&bits, &BitsDisplayWindow::closedByUser, [&] { told = true; });
    bits.close();
    EXPECT_FALSE(bits.isVisible());
    EXPECT_TRUE(told);
    EXPECT_FALSE(doc().bitsShown);
}

TEST_F(BitsDisplayWindowTest, APlaceOffEveryScreenIsNotTaken) {
    addPlane(8, 8);
    doc().bitsPlace = WindowPlace{-30000, -30000, 0, 0, false};
    BitsDisplayWindow bits(app, session);
    bits.show();
    QApplication::processEvents();
    EXPECT_GT(bits.frameGeometry().right(), -1000);
    doc().bitsPlace = WindowPlace{120, 90, 0, 0, false};
    BitsDisplayWindow placed(app, session);
    placed.show();
    QApplication::processEvents();
    EXPECT_EQ(placed.pos(), QPoint(120, 90));
}

}  // namespace
}  // namespace ts::test
