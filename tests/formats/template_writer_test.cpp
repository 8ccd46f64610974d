// The template writer: backspaces, conditionals, variable references and number formats.
#include <gtest/gtest.h>

#include "formats/format_state.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "test_support.h"

namespace ts {
namespace {

class TemplateWriterTest : public ::testing::Test {
protected:
    void SetUp() override { resetTemplateVariables(app); }
    std::string expand(std::string_view templ, bool keepCR = true, const ObjectFieldAccess* object = nullptr) {
        return expandTemplate(app, templ, keepCR, object);
    }
    std::string element(std::string_view format, uint32_t value) {
        TemplateOutput out;
        writeElement(app, out, format, value);
        return out.bytes;
    }
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

TEST_F(TemplateWriterTest, BackspaceStepsBackAndLeavesStepsOverBytes) {
    EXPECT_EQ(expand("ab\b\bxy"), "xy");
    EXPECT_EQ(expand("abc\b"), "abc");
    EXPECT_EQ(expand("\b\bab"), "ab");  // nothing to step back over at the start
    TemplateOutput out;
    writeTemplate(app, out, "0x01, ");
    writeTemplate(app, out, "0x02, ");
    writeTemplate(app, out, "\b\b};\r\n");
    EXPECT_EQ(out.bytes, "0x01, 0x02};\r\n");
    EXPECT_EQ(out.position, out.bytes.size());
}

TEST_F(TemplateWriterTest, WriterTakesTheFirstBranchOfConditionals) {
    EXPECT_EQ(expand("%+if=x%A%+else%B%+end%C"), "AC");
    EXPECT_EQ(expand("%+if<>x%A%+else%B%+endif%C"), "AC");
    EXPECT_EQ(expand("[%+noerror%]"), "[]");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TemplateWriterTest, CarriageReturnsAreDroppedOnRequest) {
    EXPECT_EQ(expand("a\r\nb", true), "a\r\nb");
    EXPECT_EQ(expand("a\r\nb", false), "a\nb");
}

TEST_F(TemplateWriterTest, VariableReferencesWithPrefixes) {
    EXPECT_EQ(expand("%$gfxmask%"), "ffffffff");
    EXPECT_EQ(expand("%gfxmask%"), "-1");
    setTemplateInteger(app, "size", 300);
    EXPECT_EQ(expand("%#2size%"), std::string("\x2C\x01", 2));
    EXPECT_EQ(expand("%#4size%"), std::string("\x2C\x01\0\0", 4));
    EXPECT_EQ(expand("%$ size%"), "12c");
    EXPECT_EQ(expand("[%size%]"), "[300]");
    setTemplateText(app, "name", "hero");
    EXPECT_EQ(expand("%$name%/%#2name%"), "hero/hero");  // texts are always written as text
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TemplateWriterTest, BadBinaryWidthIsReportedAndWritesNothing) {
    setTemplateInteger(app, "size", 5);
    EXPECT_EQ(expand("a%#7size%b"), "ab");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(), "Binary typing error (7)");
    EXPECT_EQ(host.lastCaption(), "Error");
}

TEST_F(TemplateWriterTest, UserBuffersNullAndUnknownNames) {
    *userBuffer(app, 1) = "#include \"x.h\"";
    EXPECT_EQ(expand("%user[1]%|%user[9]%|%user[0]%|%null%"), "#include \"x.h\"|||");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(expand("a%bits%b"), "ab");  // a text never set does not exist for the writer
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(), "The following symbol doesn't exist: bits");
    EXPECT_EQ(host.boxes.back().icon, Icon::Warning);
    EXPECT_EQ(expand("%Size%"), "");
    EXPECT_EQ(host.lastText(), "The following symbol doesn't exist: Size");
}

TEST_F(TemplateWriterTest, ResetRestoresStartUpValuesButKeepsLiveIntegers) {
    setTemplateInteger(app, "size", 9);
    setTemplateText(app, "name", "x");
    setTemplateInteger(app, "sizex", 40);
    resetTemplateVariables(app);
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
    EXPECT_FALSE(isTemplateTextSet(app, "name"));
    EXPECT_EQ(getTemplateInteger(app, "sizex"), 40);
    EXPECT_EQ(app.formats.shared.sizeX, 40);
    int32_t live = 7;
    EXPECT_TRUE(bindTemplateInteger(app, "tilex", &live));
    resetTemplateVariables(app);
    EXPECT_EQ(expand("%tilex%"), "7");
    EXPECT_FALSE(bindTemplateInteger(app, "size", &live));
}

TEST_F(TemplateWriterTest, ObjectFieldsGoThroughTheHook) {
    ObjectFieldAccess object;
    object.read = [](std::string_view field, ObjectFieldValue& v) {
        if (field == "x") { v.integer = 26; return true; }
        if (field == "label") { v.isInteger = false; v.text = "boss"; return true; }
        return false;
    };
    EXPECT_EQ(expand("{%obj.x%,%$obj.x%,%obj.label%}", true, &object), "{26,1a,boss}");
    EXPECT_EQ(expand("%obj.speed%", true, &object), "");
    EXPECT_EQ(host.lastText(), "The following symbol doesn't exist for an object list: obj.speed");
    EXPECT_EQ(expand("%obj.x%"), "");  // no list being written
    EXPECT_EQ(host.lastText(), "The following symbol doesn't exist: obj.x");
}

TEST_F(TemplateWriterTest, NumberFormats) {
    EXPECT_EQ(element("0x%04x, ", 31), "0x001f, ");
    EXPECT_EQ(element("0x%04X, ", 255), "0x00FF, ");
    EXPECT_EQ(element("0x%08x, ", 0xDEADBEEF), "0xdeadbeef, ");
    EXPECT_EQ(element("%i", uint32_t(-5)), "-5");
    EXPECT_EQ(element("%4i|%04i", 42), "  42|0042");
    EXPECT_EQ(element("%x\b", 10), "a\b");  // a backspace is written as a byte here
    EXPECT_EQ(element("%2b", 0x1234), std::string("\x34\x12", 2));
    EXPECT_EQ(element("%1b%4b", 0x01020304), std::string("\x04\x04\x03\x02\x01", 5));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(element("<%3b>", 7), "<>");
    EXPECT_EQ(host.lastText(), "Binary type error (please use %1b, %2b, %4b only)");
    EXPECT_EQ(element("%b", 7), "");
}

TEST_F(TemplateWriterTest, ParsedNumberFormatKeepsLongTextAndWarnsForEveryValue) {
    const std::string longText(150, 'z');
    const NumberFormat format(longText + "%04x%%%02i" + longText + "%%");
    TemplateOutput out;
    for (uint32_t v = 0; v < 3; ++v) format.write(app, out, v + 9);
    std::string expected;
    for (const char* digits : {"0009%09", "000a%10", "000b%11"}) expected += longText + digits + longText + "%";
    EXPECT_EQ(out.bytes, expected);
    EXPECT_TRUE(host.boxes.empty());

    const NumberFormat bad("[%3b]");
    TemplateOutput badOut;
    bad.write(app, badOut, 1);
    bad.write(app, badOut, 2);
    EXPECT_EQ(badOut.bytes, "[][]");
    EXPECT_EQ(host.boxes.size(), 2u);
}

// Writers of many pixels keep the texts of the values below 256: the same bytes as the format
// writes itself, larger values still formatted, and a faulty format still warns every time.
TEST_F(TemplateWriterTest, CachedSmallValuesMatchTheFormat) {
    for (const char* text : {"0x%02x, ", "%4i|%04X;", "%1b%2b", "%i"}) {
        NumberFormat cached(text);
        cached.cacheValuesBelow(app, 1000);
        const NumberFormat plain(text);
        TemplateOutput a, b;
        for (uint32_t v : {0u, 1u, 9u, 10u, 127u, 128u, 255u, 256u, 4097u, 0xFFFFFFFFu}) {
            cached.write(app, a, v);
            plain.write(app, b, v);
        }
        EXPECT_EQ(a.bytes, b.bytes) << text;
    }
    NumberFormat bad("[%3b]");
    bad.cacheValuesBelow(app, 256);
    TemplateOutput out;
    bad.write(app, out, 1);
    bad.write(app, out, 2);
    EXPECT_EQ(out.bytes, "[][]");
    EXPECT_EQ(host.boxes.size(), 2u);
}

}  // namespace
}  // namespace ts
