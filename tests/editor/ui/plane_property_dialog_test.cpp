// The plane property sheet: each page's OK, the values that keep the old one, and the refusals
// that keep the sheet open with the map unchanged.
#include <QKeyEvent>
#include <QListWidget>
#include <QTabWidget>

#include "dialog_test_support.h"
#include "editor/plane_property_rules.h"

namespace ts::test {
namespace {

using PlanePropertyDialogTest = DialogTest;

TEST_F(PlanePropertyDialogTest, OkAppliesEveryPage) {
    addPlane(20, 10);
    std::vector<uint32_t> before = plane(0).cells;
    whenDialog([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Properties of plane plane1");
        auto* tabs = child<QTabWidget>(d, "plane-pages");
        ASSERT_EQ(tabs->count(), 5);
        EXPECT_EQ(tabs->tabText(4), "Bits");
        EXPECT_EQ(child<QLineEdit>(d, "plane-speed-x")->text(), "100.000000%");
        EXPECT_EQ(child<QLineEdit>(d, "plane-display-mask")->text(), "0xffffffff");
        child<QCheckBox>(d, "plane-visible")->setChecked(false);
        child<QCheckBox>(d, "plane-skip-next-time")->setChecked(true);
        setText(d, "plane-grid-x", "16");
        setText(d, "plane-grid-y", "");  // keeps 8
        setText(d, "plane-width", "30");
        setText(d, "plane-height", "5");
        setText(d, "plane-display-mask", "0x3ff");
        setText(d, "plane-reference-tile", "2");
        child<QCheckBox>(d, "plane-gba-emulation")->setChecked(true);
        // A rule typed high below low is stored swapped.
        setText(d, "plane-rule-low", "0x1f");
        setText(d, "plane-rule-high", "0x10");
        setText(d, "plane-rule-target", "2");
        child<QCheckBox>(d, "plane-rule-exact")->setChecked(true);
        child<QPushButton>(d, "plane-rule-add")->click();
        child<QPushButton>(d, "plane-rule-add")->click();  // the same rule again: refused
        auto* rules = child<QListWidget>(d, "plane-rules");
        ASSERT_EQ(rules->count(), 1);
        EXPECT_EQ(rules->item(0)->text(), "10-1f -> 2 (exact)");
        // Bit 3 gets a label and is shown.
        auto* bits = child<QListWidget>(d, "plane-bits");
        ASSERT_EQ(bits->count(), 32);
        EXPECT_EQ(bits->item(10)->text(), "10: Horizontal mirror (enabled)");
        bits->setCurrentRow(3);
        setText(d, "plane-bit-name", "Solid");
        child<QCheckBox>(d, "plane-bit-active")->setChecked(true);
        child<QPushButton>(d, "plane-bit-update")->click();
        EXPECT_EQ(bits->item(3)->text(), "03: Solid (enabled)");
        for (int page = 0; page < 5; ++page) {
            tabs->setCurrentIndex(page);
            saveShot(*d, ("dialog-plane-properties-" + std::to_string(page + 1)).c_str());
        }
        clickOk(d, "plane");
    });
    EXPECT_TRUE(showPlaneProperties(nullptr, app, session, 0));
    const PlaneRecord& p = plane(0);
    EXPECT_EQ(p.visible, 0);
    EXPECT_TRUE(p.skipInSettings);
    EXPECT_EQ(p.gridX, 16);
    EXPECT_EQ(p.gridY, 8);
    EXPECT_EQ(p.width, 30);
    EXPECT_EQ(p.height, 5);
    EXPECT_EQ(p.cells[0], before[0]);
    EXPECT_EQ(p.cells[size_t(30 * 4 + 19)], before[size_t(20 * 4 + 19)]);  // overlap kept, top-left aligned
    EXPECT_EQ(p.cells[size_t(30 * 4 + 25)], 0u);
    EXPECT_EQ(p.displayMask, 0x3ffu);
    EXPECT_EQ(p.tileOffset, 2);
    EXPECT_EQ(p.emulGba, 1);
    ASSERT_EQ(p.ruleCount, 1);
    EXPECT_EQ(p.rules[0].low, 0x10u);
    EXPECT_EQ(p.rules[0].high, 0x1fu);
    EXPECT_EQ(p.rules[0].target(), 2u);
    EXPECT_TRUE(p.rules[0].exact);
    EXPECT_EQ(p.bitTexts[3], "Solid");
    EXPECT_TRUE(p.bitFlags & (1u << 3));
    EXPECT_TRUE(doc().bitTablesMade);
    EXPECT_EQ(boxesWithCaption("Error"), 1);  // the duplicate rule
}

TEST_F(PlanePropertyDialogTest, TextZeroAndNegativeValuesAreRefusedOrKeepTheOldValue) {
    addPlane(20, 10);
    const std::vector<uint32_t> before = plane(0).cells;
    // Text where a number belongs: refused, the sheet stays open, nothing applied.
    whenDialog([this](QDialog* d) {
        child<QCheckBox>(d, "plane-visible")->setChecked(false);
        setText(d, "plane-width", "wide");
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Error");
        EXPECT_EQ(host.lastText(), "\"wide\" is not a number.");
        EXPECT_EQ(plane(0).visible, 1);
        setText(d, "plane-width", "-4");
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "\"-4\" is out of range here.");
        setText(d, "plane-width", "20");
        setText(d, "plane-display-mask", "0x1ffffffff");
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "\"0x1ffffffff\" is out of range here.");
        setText(d, "plane-display-mask", "0xffffffff");
        setText(d, "plane-speed-x", "fast");
        setText(d, "plane-width", "20");
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastText(), "\"fast\" is not a number.");
        // 0 and empty fields keep the old values.
        setText(d, "plane-speed-x", "0");
        setText(d, "plane-grid-x", "0");
        setText(d, "plane-grid-y", "");
        setText(d, "plane-width", "0");
        setText(d, "plane-display-mask", "0");
        setText(d, "plane-reference-tile", "");
        clickOk(d, "plane");
    });
    EXPECT_TRUE(showPlaneProperties(nullptr, app, session, 0));
    EXPECT_EQ(host.boxes.size(), 4u);
    const PlaneRecord& p = plane(0);
    EXPECT_EQ(p.visible, 0);
    EXPECT_EQ(p.scrollRateX, 1.0);
    EXPECT_EQ(p.gridX, 8);
    EXPECT_EQ(p.gridY, 8);
    EXPECT_EQ(p.width, 20);
    EXPECT_EQ(p.displayMask, 0xFFFFFFFFu);
    EXPECT_EQ(p.tileOffset, 0);
    EXPECT_EQ(p.cells, before);
}

TEST_F(PlanePropertyDialogTest, EnormousSizeIsRefusedAndTheMapKeepsItsCells) {
    addPlane(20, 10);
    const std::vector<uint32_t> before = plane(0).cells;
    whenDialog([this](QDialog* d) {
        setText(d, "plane-width", "100000");
        setText(d, "plane-height", "99999999999");
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Argh!");
        EXPECT_EQ(host.lastText(), "Unable to allocate so much memory. The dimensions are probably too big.");
        d->reject();
    });
    showPlaneProperties(nullptr, app, session, 0);
    EXPECT_EQ(plane(0).width, 20);
    EXPECT_EQ(plane(0).height, 10);
    EXPECT_EQ(plane(0).cells, before);
}

TEST_F(PlanePropertyDialogTest, ReferenceTileAtTheTileCountIsRefusedWithItsMessage) {
    addPlane(8, 8, 64);
    whenDialog([](QDialog* d) {
        setText(d, "plane-reference-tile", "64");
        clickOk(d, "plane");
    });
    EXPECT_TRUE(showPlaneProperties(nullptr, app, session, 0));
    EXPECT_EQ(host.lastCaption(), "Error");
    EXPECT_EQ(host.lastText(), "The selected pattern number is greater or equal to the total patterns number...");
    EXPECT_EQ(plane(0).tileOffset, 0);
}

TEST_F(PlanePropertyDialogTest, ParallaxAboveHundredAsksAndNoKeepsTheSheetOpen) {
    addPlane(8, 8);
    addPlane(8, 8);
    // No: nothing applied, the sheet stays open.
    host.answers = {Answer::No};
    whenDialog([this](QDialog* d) {
        setText(d, "plane-speed-x", "200%");
        child<QCheckBox>(d, "plane-visible")->setChecked(false);
        clickOk(d, "plane");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Question");
        EXPECT_EQ(plane(1).visible, 1);
        d->reject();
    });
    EXPECT_FALSE(showPlaneProperties(nullptr, app, session, 1));
    EXPECT_EQ(plane(1).scrollRateX, 1.0);
    // Yes: plane 1 at 50 %, plane 2 at 100 %.
    host.answers = {Answer::Yes};
    whenDialog([](QDialog* d) {
        setText(d, "plane-speed-x", "200");
        clickOk(d, "plane");
    });
    EXPECT_TRUE(showPlaneProperties(nullptr, app, session, 1));
    EXPECT_DOUBLE_EQ(plane(0).scrollRateX, 0.5);
    EXPECT_DOUBLE_EQ(plane(1).scrollRateX, 1.0);
}

TEST_F(PlanePropertyDialogTest, RulesAreModifiedAndDeletedWithTheButtonsAndTheDeleteKey) {
    PlaneRecord& p = addPlane(8, 8);
    p.ruleCount = 2;
    p.rules[0] = ValueRule{1, 2, 0, false};
    p.rules[1] = ValueRule{5, 9, 3, true};
    whenDialog([this](QDialog* d) {
        auto* rules = child<QListWidget>(d, "plane-rules");
        ASSERT_EQ(rules->count(), 2);
        rules->setCurrentRow(1);
        EXPECT_EQ(child<QLineEdit>(d, "plane-rule-low")->text(), "0x5");
        EXPECT_EQ(child<QLineEdit>(d, "plane-rule-target")->text(), "0x2");
        setText(d, "plane-rule-target", "7");
        child<QPushButton>(d, "plane-rule-modify")->click();
        EXPECT_EQ(rules->item(1)->text(), "5-9 -> 7 (exact)");
        // A rule without its first value, or with text, is refused.
        setText(d, "plane-rule-low", "");
        child<QPushButton>(d, "plane-rule-add")->click();
        EXPECT_EQ(host.lastCaption(), "Error");
        setText(d, "plane-rule-low", "abc");
        child<QPushButton>(d, "plane-rule-add")->click();
        EXPECT_EQ(host.lastText(), "\"abc\" is not a number.");
        EXPECT_EQ(rules->count(), 2);
        rules->setCurrentRow(0);
        rules->setFocus();
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(rules, &del);
        ASSERT_EQ(rules->count(), 1);
        clickOk(d, "plane");
    });
    EXPECT_TRUE(showPlaneProperties(nullptr, app, session, 0));
    ASSERT_EQ(plane(0).ruleCount, 1);
    EXPECT_EQ(plane(0).rules[0].low, 5u);
    EXPECT_EQ(plane(0).rules[0].target(), 7u);
}

}  // namespace
}  // namespace ts::test
