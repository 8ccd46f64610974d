#include <gtest/gtest.h>

#include <cstring>

#include "script/values.h"

using namespace ts;

TEST(ParseValue, NumberForms) {
    EXPECT_EQ(parseValue("-5"), 0);
    EXPECT_EQ(parseValue("0x1F"), 31);
    EXPECT_EQ(parseValue("0b101"), 5);
    EXPECT_EQ(parseValue("rgb(255, 0, 254)"), 16646399);
    EXPECT_EQ(parseValue("true"), 1);
    EXPECT_EQ(parseValue("vrai"), 1);
    EXPECT_EQ(parseValue("faux"), 0);
    EXPECT_EQ(parseValue("42abc"), 42);
    EXPECT_EQ(parseValue("x"), 0);
    EXPECT_EQ(parseValue(""), 0);
    EXPECT_EQ(parseValue("rgb(300,1,2)"), 44 + 256 + 2 * 65536);  // parts taken modulo 256
    EXPECT_EQ(parseValue("rgb("), 0);
    EXPECT_EQ(parseValue("99999999999999999999"), int32_t(uint32_t(7766279631452241919ull)));
}

TEST(NextArgument, NestedParenthesesAndSeparators) {
    const char* s = "rgb(1, 2) next";
    EXPECT_STREQ(nextArgument(s), "next");
    EXPECT_STREQ(nextArgument("a,   b"), "b");
    EXPECT_STREQ(nextArgument("abc"), "");
}

TEST(QuotedStrings, ReadInPlaceAndEscaped) {
    char buffer[] = "\"Hello #1\" rest";
    char* cursor = buffer;
    char* text = readQuotedString(cursor);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "Hello #1");
    EXPECT_STREQ(cursor, " rest");
    char open[] = "\"never closed";
    cursor = open;
    EXPECT_EQ(readQuotedString(cursor), nullptr);

    std::string out = "keep";
    const char* src = "no quote";
    EXPECT_EQ(readEscapedString(out, src, 512), src);
    EXPECT_EQ(out, "keep");
    const char* after = readEscapedString(out, "'a\\nb\\\\c\\'d\\bz' tail", 512);
    EXPECT_EQ(out, "a\r\nb\\c'd\bz");
    EXPECT_STREQ(after, " tail");
    readEscapedString(out, "\"abcdef\"", 4);
    EXPECT_EQ(out, "abc");
}

TEST(QuotedStrings, QuoteStringIsTheInverse) {
    std::string q = quoteString("a\\b\n\"c", '"', 512);
    EXPECT_EQ(q, "\"a\\\\b\\n\\\"c\"");
    std::string back;
    readEscapedString(back, q.c_str(), 512);
    EXPECT_EQ(back, "a\\b\r\n\"c");  // \n reads back as CR LF
    EXPECT_EQ(quoteString("abcdef", '"', 6), "\"abc\"");  // quote, text, quote, terminator
}

TEST(SettingsPath, DotRule) {
    EXPECT_EQ(settingsPath("level.map.c"), "level.map.spt");
    EXPECT_EQ(settingsPath("level.map"), "level.map.spt");
    EXPECT_EQ(settingsPath("level.c"), "level.c.spt");
    EXPECT_EQ(settingsPath(".hidden.c"), ".hidden.c.spt");
}

TEST(Sizes, ParseAndFormat) {
    EXPECT_EQ(parseSize("64 MB"), 64u * 1048576u + 1024u);
    EXPECT_EQ(formatSize(64u * 1048576u + 1024u), "64 MB");
    EXPECT_EQ(formatSize(33554432u), "32 MB");
    EXPECT_EQ(formatSize(1536u), "1.5 kB");
    EXPECT_EQ(formatSize(999u), "999 B");
    EXPECT_EQ(parseSize("1.5 GB"), uint32_t(1.5 * 1073741824.0 + 1048576.0));
    EXPECT_EQ(parseSize("5 TB"), 0u);  // 2^32 bytes or more
    EXPECT_EQ(parseSize("100"), 100u);
    EXPECT_EQ(parseSize("2 ko"), 2u * 1024u + 1u);  // "k" found before "o"
}

TEST(ParseValue, NestedRgbStaysLinear) {
    // Each nesting level used to read its parts twice: a few hundred bytes took hours.
    std::string text = "rgb(";
    for (int i = 0; i < 2000; ++i) text += "rgb(rgb,,";
    EXPECT_EQ(parseValue(text.c_str()), 0);
    EXPECT_EQ(parseValue("rgb(rgb(1,2,3),0,rgb(4,5,6))"), 1 + 65536 * 4);  // inner values cut to 8 bits
}
