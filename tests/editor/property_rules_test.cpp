// What the editor's dialogs apply on OK: parallax, size, reference tile, conditions, bits, links,
// the block size change and the specimen pick.
#include <gtest/gtest.h>

#include "document_fixture.h"
#include "editor/editor_settings_script.h"
#include "editor/plane_history.h"
#include "editor/plane_property_rules.h"

namespace ts {
namespace {

class PropertyRulesTest : public test::DocumentFixture {
protected:
    void SetUp() override {
        DocumentFixture::SetUp();
        ASSERT_TRUE(openEditor(app, addMap("a", 4, 3)));
        ASSERT_EQ(openPlane(app, addMap("b", 4, 3, 5)), OpenDone);
    }
};

TEST_F(PropertyRulesTest, ParallaxAboveOneHundredScalesEveryPlaneOnYes) {
    host.answers = {Answer::Yes};
    EXPECT_TRUE(applyParallax(app, 1, 200, 0));
    EXPECT_EQ(plane(0).scrollRateX, 0.5);
    EXPECT_EQ(plane(1).scrollRateX, 1.0);
    EXPECT_EQ(plane(1).scrollRateY, 1.0);
    ASSERT_EQ(host.boxes.size(), 1u);
    // Once Yes was given for x, y is scaled without asking again.
    host.clear();
    host.answers = {Answer::Yes};
    EXPECT_TRUE(applyParallax(app, 0, 400, 400));
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(plane(1).scrollRateY, 0.25);
}

TEST_F(PropertyRulesTest, ParallaxNoAppliesNothing) {
    host.answers = {Answer::No};
    EXPECT_FALSE(applyParallax(app, 1, 50, 300));
    EXPECT_EQ(plane(1).scrollRateX, 1.0);  // the x change is put back
    EXPECT_EQ(plane(0).scrollRateY, 1.0);
    EXPECT_TRUE(applyParallax(app, 1, 50, 0));
    EXPECT_EQ(plane(1).scrollRateX, 0.5);
}

TEST_F(PropertyRulesTest, GeneralPageOptionsAndSpecimenPage) {
    applyGeneralPage(app, 1, false, true, 0, 32);
    EXPECT_EQ(plane(1).visible, 0);
    EXPECT_TRUE(plane(1).skipInSettings);
    EXPECT_EQ(plane(1).gridX, 8);  // 0 keeps the old step
    EXPECT_EQ(plane(1).gridY, 32);
    EXPECT_EQ(settingsScriptText(doc()).find("\"b\""), std::string::npos);
    applyPlanesOptions(app, true, 0x123456, 300, 20, -4, 255);
    EXPECT_EQ(doc().options.alphaGrid, 255);
    EXPECT_EQ(doc().options.alphaGfx, 0);
    EXPECT_EQ(doc().options.gridColor, 0x123456u);
    EXPECT_TRUE(addSpecimenPlane(app, 0));
    EXPECT_FALSE(addSpecimenPlane(app, 0));
    EXPECT_FALSE(addSpecimenPlane(app, 7));
    EXPECT_EQ(plane(0).visible, 0);
    EXPECT_TRUE(removeSpecimenPlane(app, 0));
    EXPECT_EQ(plane(0).visible, 1);
    EXPECT_TRUE(doc().specimenPlanes.empty());
}

TEST_F(PropertyRulesTest, ReferenceTileAtTheTileCountIsRefused) {
    doc().currentPattern = 7;
    EXPECT_TRUE(applyPlaneProperties(app, 0, 0, 0, kTiles, 0));
    EXPECT_EQ(host.lastText(), "The selected pattern number is greater or equal to the total patterns number...");
    EXPECT_EQ(plane(0).tileOffset, 0);
    EXPECT_FALSE(planeModified(plane(0)));
    EXPECT_TRUE(applyPlaneProperties(app, 0, 0, 0, 3, 0x3FF));
    EXPECT_EQ(plane(0).tileOffset, 3);
    EXPECT_EQ(plane(0).displayMask, 0x3FFu);
    EXPECT_EQ(doc().currentPattern, 0u);
    EXPECT_EQ(doc().title, "a* - Map editor");
}

TEST_F(PropertyRulesTest, ResizeCopiesTheOverlapAndRestartsTheHistory) {
    plane(0).cells[0] = 7;
    pushSnapshot(app, 0);
    EXPECT_TRUE(applyPlaneProperties(app, 0, 6, 2, 0, 0));
    EXPECT_EQ(plane(0).width, 6);
    EXPECT_EQ(plane(0).height, 2);
    EXPECT_EQ(plane(0).cells, (std::vector<uint32_t>{7, 1, 2, 3, 0, 0, 4, 5, 6, 7, 0, 0}));
    EXPECT_EQ(plane(0).history.index, 0);
    EXPECT_TRUE(planeModified(plane(0)));
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(PropertyRulesTest, HugeResizeIsRefusedAndTheMapStays) {
    EXPECT_FALSE(applyPlaneProperties(app, 0, 100000, 100000, 0, 0));
    EXPECT_EQ(host.lastCaption(), "Argh!");
    EXPECT_EQ(host.lastText(), "Unable to allocate so much memory. The dimensions are probably too big.");
    EXPECT_EQ(plane(0).width, 4);
    EXPECT_EQ(plane(0).cells.size(), 12u);
    EXPECT_EQ(plane(0).history.index, 0);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(PropertyRulesTest, ConditionFieldsSwapFillAndRefuseDuplicates) {
    ValueRule r;
    EXPECT_FALSE(ruleFromFields("", "3", "1", false, r));
    EXPECT_FALSE(ruleFromFields("3", "", " ", false, r));
    ASSERT_TRUE(ruleFromFields("0x1f", "0x10", "2", true, r));
    EXPECT_EQ(r.low, 0x10u);
    EXPECT_EQ(r.high, 0x1Fu);
    EXPECT_EQ(r.target(), 2u);
    EXPECT_EQ(ruleLine(r), "10-1f -> 2 (exact)");
    ASSERT_TRUE(ruleFromFields("5", "", "9", false, r));
    EXPECT_EQ(r.high, 5u);
    std::vector<ValueRule> rules;
    EXPECT_TRUE(addRule(rules, r));
    EXPECT_FALSE(addRule(rules, r));
    for (uint32_t i = 0; i < 30; ++i) addRule(rules, ValueRule{i, i, 0, false});
    EXPECT_EQ(rules.size(), size_t(kMaxPlaneRules));
    EXPECT_TRUE(deleteRule(rules, 0));
    EXPECT_FALSE(deleteRule(rules, 40));
    EXPECT_TRUE(modifyRule(rules, 0, r));
    applyRules(plane(0), rules);
    EXPECT_EQ(plane(0).ruleCount, kMaxPlaneRules - 1);
}

TEST_F(PropertyRulesTest, BitLinesAndToggling) {
    makeBitTables(doc());
    EXPECT_EQ(bitLine(plane(0), 10), "10: Horizontal mirror (enabled)");
    EXPECT_EQ(bitLine(plane(0), 2), "02:  (disabled)");
    updateBit(plane(0), 2, std::string(40, 'L'), true);
    EXPECT_EQ(plane(0).bitTexts[2].size(), kBitTextMax);
    // Empty store: the current pattern takes the bit.
    toggleBit(app, 10, true);
    EXPECT_EQ(doc().currentPattern, 0x400u);
    EXPECT_EQ(doc().statusText, "Pattern: 1024 (0400)");
    // A store: every cell of the active plane's layer but holes and zeros.
    SelectionStore& s = doc().store;
    s.width = 3;
    s.height = 1;
    s.layerCount = 1;
    s.ownerPlane = 0;
    s.row(0, 0)[0] = 1;
    s.row(0, 0)[1] = 0;
    s.row(0, 0)[2] = 0xFFFF;
    toggleBit(app, 4, true);
    EXPECT_EQ(s.row(0, 0)[0], 0x11u);
    EXPECT_EQ(s.row(0, 0)[1], 0u);
    EXPECT_EQ(s.row(0, 0)[2], 0xFFFFu);
    doc().options.bitsZeroMask = 0;
    toggleBit(app, 4, true);
    EXPECT_EQ(s.row(0, 0)[1], 0x10u);
    toggleBit(app, 0, false);
    EXPECT_EQ(s.row(0, 0)[0], 0x10u);
}

TEST_F(PropertyRulesTest, LinksFromPlaneTwoUnlinkItsOldPartners) {
    ASSERT_EQ(openPlane(app, addMap("c", 4, 3)), OpenDone);
    ASSERT_EQ(openPlane(app, addMap("d", 4, 3)), OpenDone);
    linkPlanes(app, "2, 4");
    activatePlane(app, 1);
    EXPECT_EQ(linksText(app), "2, 4");
    applyLinks(app, "1,3");
    EXPECT_EQ(doc().links[3], LinkList(3));   // the old partner is alone again
    EXPECT_EQ(doc().links[1].size(), 2);      // plane 2 was not named: its list stays
    EXPECT_EQ(doc().links[0], doc().links[2]);
    EXPECT_EQ(doc().links[0][1], 2);
    applyLinks(app, "");
    EXPECT_EQ(doc().links[1], LinkList(1));
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(PropertyRulesTest, BlockSizeChangeRegroupsSixteenBySixteenBlocksIntoEightByEight) {
    // The map's values name 16x16 blocks (four tiles each): value 1 is tiles 4..7.
    std::fill(plane(0).cells.begin(), plane(0).cells.end(), 0u);
    plane(0).cells[1] = 1;
    plane(0).cells[2] = 99;  // not a block of the tileset: its tiles stay 0
    ASSERT_TRUE(changeBlockSize(app, 16, 16));
    EXPECT_EQ(plane(0).width, 8);
    EXPECT_EQ(plane(0).height, 6);
    const auto& c = plane(0).cells;
    EXPECT_EQ(c[2], 4u);
    EXPECT_EQ(c[3], 5u);
    EXPECT_EQ(c[8 + 2], 6u);
    EXPECT_EQ(c[8 + 3], 7u);
    EXPECT_EQ(c[4], 0u);
    EXPECT_EQ(plane(0).history.index, 0);
    EXPECT_FALSE(changeBlockSize(app, 12, 16));
    EXPECT_EQ(plane(0).width, 8);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(PropertyRulesTest, SpecimenPickFillsOneLayerPerMapPlane) {
    run("Specimen.AddMap 2");
    EXPECT_EQ(plane(1).visible, 0);
    EXPECT_FALSE(pickSpecimen(app, 0, 0, 4, 0));  // beyond the map
    ASSERT_TRUE(pickSpecimen(app, 2, 1, 1, 0));
    const SelectionStore& s = doc().store;
    EXPECT_EQ(s.width, 2);
    EXPECT_EQ(s.height, 2);
    EXPECT_EQ(s.layerCount, 1);
    EXPECT_EQ(s.row(0, 0)[0], plane(1).cells[1]);
    EXPECT_EQ(s.row(0, 1)[1], plane(1).cells[4 + 2]);
}

}  // namespace
}  // namespace ts
