// The operation and condition languages of "Operations on selection", with their quirks.
#include <gtest/gtest.h>

#include "editor/selection_operations.h"
#include "resources/texts.h"

using namespace ts;

namespace {

// A store of one layer holding the values 0..w*h-1 row by row.
SelectionStore countingStore(int w, int h) {
    SelectionStore store;
    EXPECT_TRUE(allocateStore(store));
    store.width = w;
    store.height = h;
    store.layerCount = 1;
    store.layerFilled[0] = true;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) store.row(0, y)[x] = uint32_t(y * w + x);
    return store;
}

DialogOutcome run(SelectionStore& store, const char* ops, const char* cond = "", bool zeroMask = false) {
    return runSelectionOperations(store, ops, cond, false, 0, 0xFFFF, zeroMask);
}

}  // namespace

TEST(OperationText, ReadsOperatorsAndOperandsWithoutSeparators) {
    auto ops = parseOperations("&0xff|0x400");
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].op, '&');
    EXPECT_EQ(ops[0].operand, 0xFFu);
    EXPECT_EQ(ops[1].op, '|');
    EXPECT_EQ(ops[1].operand, 0x400u);
    ops = parseOperations("*2+1");
    ASSERT_EQ(ops.size(), 2u);
    uint32_t v = 7;
    EXPECT_EQ(applyOperations(ops, v), -1);
    EXPECT_EQ(v, 15u);
    // "~" complements the operand that follows.
    ops = parseOperations("&~0x3");
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].operand, ~3u);
}

TEST(OperationText, UpperCaseHexDigitsEndTheOperand) {
    // +0x1F is two operations: +0x1F (the reader takes all hex digits) and an operator "F".
    auto ops = parseOperations("+0x1F");
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].operand, 0x1Fu);
    EXPECT_EQ(ops[1].op, 'F');
    EXPECT_EQ(parseOperations("+0x1f").size(), 1u);

    SelectionStore store = countingStore(2, 1);
    DialogOutcome out = run(store, "+0x1F");
    EXPECT_FALSE(out.close);
    EXPECT_EQ(out.caption, "Error during operation execution");
    EXPECT_EQ(out.text, tr(T::OperationsUnknownOperator));
    // The first cell that passes got the operations before the bad one; nothing else changed.
    EXPECT_EQ(store.row(0, 0)[0], 0u + 0x1F);
    EXPECT_EQ(store.row(0, 0)[1], 1u);

    store = countingStore(2, 1);
    EXPECT_TRUE(run(store, "+0x1f").close);
    EXPECT_EQ(store.row(0, 0)[1], 0x20u);
}

TEST(OperationText, AtMostTenOperationsAndOddTexts) {
    EXPECT_EQ(parseOperations("+1+1+1+1+1+1+1+1+1+1+1+1").size(), 10u);
    EXPECT_TRUE(parseOperations("").empty());
    // Only operators: each takes the next character as its operator's operand text.
    auto ops = parseOperations("~~~~");
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_FALSE(knownOperator(ops[0].op));
    std::string long999(999, '+');
    EXPECT_EQ(parseOperations(long999).size(), 10u);
    std::string longer(5000, '+');
    EXPECT_EQ(parseOperations(longer).size(), 10u);
}

TEST(OperationText, DivisionByZeroLeavesTheValue) {
    SelectionStore store = countingStore(4, 1);
    EXPECT_TRUE(run(store, "/0+1").close);
    EXPECT_EQ(store.row(0, 0)[3], 4u);
    store = countingStore(4, 1);
    EXPECT_TRUE(run(store, "%0").close);
    EXPECT_EQ(store.row(0, 0)[3], 3u);
    store = countingStore(4, 1);
    EXPECT_TRUE(run(store, "%3").close);
    EXPECT_EQ(store.row(0, 0)[3], 0u);
}

TEST(OperationText, EmptyTextAppliesNothing) {
    SelectionStore store = countingStore(3, 3);
    EXPECT_TRUE(run(store, "", ">0").close);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(store.row(0, i / 3)[i % 3], uint32_t(i));
}

TEST(Conditions, LinkersAreLowerCaseWordsWithOneSpace) {
    std::vector<ConditionTest> tests;
    ASSERT_TRUE(parseConditions(">=10 and <=13", tests));
    ASSERT_EQ(tests.size(), 2u);
    EXPECT_TRUE(tests[0].orEqual);
    EXPECT_EQ(tests[1].linker, Linker::And);
    ASSERT_TRUE(parseConditions("&0x400 or !=0 ou =5", tests));
    EXPECT_EQ(tests.size(), 3u);
    EXPECT_FALSE(parseConditions(">1 AND <3", tests));
    EXPECT_FALSE(parseConditions(">1 xor <3", tests));

    SelectionStore store = countingStore(2, 1);
    DialogOutcome out = run(store, "=7", ">1 AND <3");
    EXPECT_FALSE(out.close);
    EXPECT_EQ(out.caption, "Error during condition execution");
    EXPECT_EQ(out.text, tr(T::ConditionsUnknownLinker));
    EXPECT_EQ(store.row(0, 0)[1], 1u);  // nothing changed
}

TEST(Conditions, EvaluatedLeftToRightWithoutPrecedence) {
    std::vector<ConditionTest> tests;
    ASSERT_TRUE(parseConditions("=1 or =2 and >5", tests));
    bool unknown = false;
    EXPECT_FALSE(evaluateConditions(tests, 1, unknown));  // (1 or 2) and > 5
    ASSERT_TRUE(parseConditions("&4 and >0", tests));
    for (int v : {4, 5, 6, 7, 12}) EXPECT_TRUE(evaluateConditions(tests, v, unknown)) << v;
    for (int v : {0, 1, 2, 3}) EXPECT_FALSE(evaluateConditions(tests, v, unknown)) << v;
    ASSERT_TRUE(parseConditions("~1", tests));
    EXPECT_TRUE(evaluateConditions(tests, 2, unknown));
    EXPECT_FALSE(evaluateConditions(tests, 3, unknown));
}

TEST(Conditions, UnknownTestIsReportedAtTheFirstCell) {
    SelectionStore store = countingStore(2, 1);
    DialogOutcome out = run(store, "=9", "?3");
    EXPECT_FALSE(out.close);
    EXPECT_EQ(out.text, tr(T::ConditionsUnknownTest));
    EXPECT_EQ(store.row(0, 0)[0], 0u);
    EXPECT_EQ(store.row(0, 0)[1], 1u);
}

TEST(SelectionOperations, ZeroesExactlyTheCellsInRange) {
    SelectionStore store = countingStore(8, 8);
    ASSERT_TRUE(run(store, "=0", ">=0x10 and <0x20").close);
    for (int v = 0; v < 64; ++v) {
        const uint32_t expected = (v >= 16 && v < 32) ? 0u : uint32_t(v);
        EXPECT_EQ(store.row(0, v / 8)[v % 8], expected) << v;
    }
}

TEST(SelectionOperations, InvisibleBlockAndZeroMaskAreNeverChanged) {
    SelectionStore store = countingStore(3, 1);
    store.row(0, 0)[1] = 0xFFFF;
    ASSERT_TRUE(run(store, "=5").close);
    EXPECT_EQ(store.row(0, 0)[0], 5u);
    EXPECT_EQ(store.row(0, 0)[1], 0xFFFFu);
    store = countingStore(3, 1);
    ASSERT_TRUE(run(store, "+1", "", true).close);
    EXPECT_EQ(store.row(0, 0)[0], 0u);
    EXPECT_EQ(store.row(0, 0)[2], 3u);
}

TEST(SelectionOperations, OnlyTheActiveLayerOrAllLayers) {
    SelectionStore store = countingStore(2, 2);
    store.layerCount = 2;
    store.layerFilled[1] = true;
    for (int y = 0; y < 2; ++y) for (int x = 0; x < 2; ++x) store.row(1, y)[x] = 100;
    ASSERT_TRUE(runSelectionOperations(store, "+1", "", true, 1, 0xFFFF, false).close);
    EXPECT_EQ(store.row(1, 1)[1], 101u);
    EXPECT_EQ(store.row(0, 1)[1], 3u);
    ASSERT_TRUE(runSelectionOperations(store, "+1", "", false, 1, 0xFFFF, false).close);
    EXPECT_EQ(store.row(1, 1)[1], 102u);
    EXPECT_EQ(store.row(0, 1)[1], 4u);
}
