// "Operations on selection" and "Blocks copy": OK, the messages that keep them open, and typed
// values that are refused before the maps change.
#include "dialog_test_support.h"
#include "editor/editor_session.h"

namespace ts::test {
namespace {

using SelectionDialogsTest = DialogTest;

TEST_F(SelectionDialogsTest, OperationsRefuseUnknownOperatorsAndLinkersThenApply) {
    addPlane(16, 16);
    ASSERT_TRUE(selectRect(app, session, {0, 0}, {3, 0}, {}));  // values 0, 1, 2, 3
    whenDialog([this](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Operations on selection");
        // +0x1F reads F as a second operator.
        setText(d, "operations-operation", "+0x1F");
        clickOk(d, "operations");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Error during operation execution");
        setText(d, "operations-operation", "+0x10");
        setText(d, "operations-condition", ">=2 but <3");
        clickOk(d, "operations");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Error during condition execution");
        setText(d, "operations-condition", ">=2");
        saveShot(*d, "dialog-operations");
        clickOk(d, "operations");
    });
    EXPECT_TRUE(showSelectionOperations(nullptr, app, session));
    const uint32_t* row = doc().store.row(0, 0);
    // The failed +0x1F run added 0x1F to the first cell before stopping at F; the rest as asked.
    EXPECT_EQ(row[0], 0x1Fu + 0x10u);
    EXPECT_EQ(row[1], 1u);
    EXPECT_EQ(row[2], 0x12u);
    EXPECT_EQ(row[3], 0x13u);
    EXPECT_EQ(cell(0, 2, 0), 2u);  // the map changes only when pasted
}

TEST_F(SelectionDialogsTest, OperationsAreNotOfferedWithAnEmptyStore) {
    addPlane(8, 8);
    EXPECT_FALSE(showSelectionOperations(nullptr, app, session));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SelectionDialogsTest, BlocksCopyMovesFillsAndRefusesWhatItCannotDo) {
    addPlane(32, 32);
    const std::vector<uint32_t> before = plane(0).cells;
    whenDialog([this, before](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Blocks copy");
        // Nothing given.
        clickOk(d, "blocks");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Error");
        EXPECT_EQ(host.lastText(), "The supplied informations are insufficient.");
        EXPECT_EQ(host.boxes.back().icon, Icon::Warning);
        // Text, hex and negative coordinates are refused before anything is read.
        setText(d, "blocks-source-x", "left");
        setText(d, "blocks-source-y", "0");
        clickOk(d, "blocks");
        EXPECT_EQ(host.lastText(), "\"left\" is not a number.");
        setText(d, "blocks-source-x", "-3");
        clickOk(d, "blocks");
        EXPECT_EQ(host.lastText(), "\"-3\" is out of range here.");
        setText(d, "blocks-source-x", "999999999999");
        clickOk(d, "blocks");
        EXPECT_EQ(host.lastText(), "\"999999999999\" is out of range here.");
        EXPECT_EQ(plane(0).cells, before);
        EXPECT_TRUE(d->isVisible());
        // Move 2 x 2 cells from (0, 0) to (10, 10).
        setText(d, "blocks-source-x", "0");
        setText(d, "blocks-width", "2");
        setText(d, "blocks-height", "2");
        setText(d, "blocks-destination-x", "10");
        setText(d, "blocks-destination-y", "10");
        saveShot(*d, "dialog-blocks-copy");
        clickOk(d, "blocks");
    });
    EXPECT_TRUE(showBlocksCopy(nullptr, app, session));
    EXPECT_EQ(cell(0, 10, 10), before[0]);
    EXPECT_EQ(cell(0, 11, 11), before[33]);
    EXPECT_EQ(cell(0, 1, 0), 0u);
    EXPECT_TRUE(doc().undoEnabled);
}

TEST_F(SelectionDialogsTest, BlocksCopyOfAStarSizeIsClippedAndAHugeOneRefused) {
    addPlane(2000, 4);
    whenDialog([this](QDialog* d) {
        setText(d, "blocks-source-x", "0");
        setText(d, "blocks-source-y", "0");
        setText(d, "blocks-width", "*");
        setText(d, "blocks-height", "*");
        clickOk(d, "blocks");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host.lastCaption(), "Please don't exagerate! ^^");
        EXPECT_TRUE(doc().store.empty());
        setText(d, "blocks-source-x", "1990");
        clickOk(d, "blocks");
    });
    EXPECT_TRUE(showBlocksCopy(nullptr, app, session));
    EXPECT_EQ(doc().store.width, 10);
    EXPECT_EQ(doc().store.height, 4);
    EXPECT_EQ(doc().store.row(0, 0)[0], cell(0, 1990, 0));
    EXPECT_EQ(uint32_t(session.bitsValue), cell(0, 1990, 0));  // the bits display's value
}

}  // namespace
}  // namespace ts::test
