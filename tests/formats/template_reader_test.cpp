// The template reader: searching, conditionals, captures, recovery and number formats.
#include <gtest/gtest.h>

#include "formats/format_state.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "test_support.h"

namespace ts {
namespace {

class TemplateReaderTest : public ::testing::Test {
protected:
    void SetUp() override { resetTemplateVariables(app); }
    size_t match(const std::string& data, std::string_view templ, size_t from = 0,
                 const ObjectFieldAccess* object = nullptr) {
        return matchTemplate(app, data.data(), data.size(), from, templ, object);
    }
    size_t element(const std::string& data, std::string_view format, uint32_t& value, size_t from = 0) {
        return readElement(app, data.data(), data.size(), from, format, value);
    }
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

TEST_F(TemplateReaderTest, TextInFrontOfTheFirstFixedTextIsSkipped) {
    EXPECT_EQ(match("xx//Palette", "//Palette"), 11u);
    EXPECT_EQ(match("abc\r\ndef", "\b\r\n"), 5u);  // leading backspaces are not matched
    EXPECT_EQ(match("abc", "\r\n"), 4u);            // not found: beyond the end
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TemplateReaderTest, ConditionsChooseTheBranch) {
    const char* templ = "%+if<>(%%depth% bits%+else%(%+end%x";
    EXPECT_EQ(match("( x", templ), 3u);
    EXPECT_EQ(getTemplateInteger(app, "depth"), 0);
    EXPECT_EQ(match("8 bitsx", templ), 7u);
    EXPECT_EQ(getTemplateInteger(app, "depth"), 8);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TemplateReaderTest, CaptureAndRecoveryAtTheLastFixedText) {
    EXPECT_EQ(match("Val=12;", "Val=%size%;"), 7u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 12);
    resetTemplateVariables(app);
    EXPECT_EQ(match("Val=12", "Val=%size%;"), 4u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(), "Attempts to recover from a fatal reading error...");
    EXPECT_EQ(host.lastCaption(), "Debuging");
}

TEST_F(TemplateReaderTest, RecoveryResynchronisesOnALaterLongEnoughText) {
    const char* templ = "Val=%size%;\nNext=%depth%\n";
    EXPECT_EQ(match("Val=12\nNext=5\n", templ), 14u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 12);
    EXPECT_EQ(getTemplateInteger(app, "depth"), 5);
    EXPECT_EQ(host.boxes.size(), 1u);
    // The longest tail of a later fixed text that occurs is used.
    host.clear();
    resetTemplateVariables(app);
    EXPECT_EQ(match("Val=12bel:5\n", "Val=%size%;Label:%depth%\n"), 12u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 12);
    EXPECT_EQ(getTemplateInteger(app, "depth"), 5);
    // Texts shorter than four characters are never used to resynchronise.
    host.clear();
    resetTemplateVariables(app);
    EXPECT_EQ(match("A=1|B=2|", "A=%size%;B=%depth%|"), 2u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
    // Even when those three characters do occur in the data.
    host.clear();
    resetTemplateVariables(app);
    match("A=1 * 2|", "A=%size%; * %depth%|");
    EXPECT_EQ(getTemplateInteger(app, "depth"), 0);
}

TEST_F(TemplateReaderTest, NoErrorFlagSilencesRecoveryUntilCleared) {
    EXPECT_EQ(match("Val=12", "%+noerror%Val=%size%;"), 4u);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(app.formats.noError);
    EXPECT_EQ(match("Val=12", "Val=%size%;"), 4u);  // the flag stays on across calls
    EXPECT_TRUE(host.boxes.empty());
    match("x", "%+endnoerror%x");
    EXPECT_FALSE(app.formats.noError);
    match("Val=12", "Val=%size%;");
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(TemplateReaderTest, MismatchAndTemplateEndingWithAVariable) {
    EXPECT_EQ(match("ab:c", "ab%size%:x%depth%;"), 2u);  // nothing to resynchronise on
    EXPECT_EQ(host.lastText(), "Attempts to recover from a fatal reading error...");
    host.clear();
    EXPECT_EQ(match("A-1", "A=%size%"), 4u);
    EXPECT_EQ(host.lastText(), "The file format doesn't match with the expected one.");
    host.clear();
    EXPECT_EQ(match("A=12", "A=%size%"), 2u);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastText(),
              "Except for binary files, format specifications can't end with a variable...\n"
              "Please modify the following format string: A=%size%\n(e.g. add a carriage return '\n' at the end)");
}

TEST_F(TemplateReaderTest, BinaryCapturesBackToBack) {
    std::string data("\x2C\x01\x10\x00", 4);
    EXPECT_EQ(match(data, "%#2size%%#2memory%"), 4u);
    EXPECT_EQ(getTemplateInteger(app, "size"), 300);
    EXPECT_EQ(getTemplateInteger(app, "memory"), 16);
    resetTemplateVariables(app);
    EXPECT_EQ(match(std::string("\xFF\xFF", 2), "%#2size%"), 2u);
    EXPECT_EQ(getTemplateInteger(app, "size"), -1);  // two bytes are signed
    resetTemplateVariables(app);
    EXPECT_EQ(match(std::string("\xFF\x7F", 2), "%#1size%%#1memory%"), 2u);
    EXPECT_EQ(getTemplateInteger(app, "size"), -1);  // one byte too
    EXPECT_EQ(getTemplateInteger(app, "memory"), 127);
    resetTemplateVariables(app);
    EXPECT_EQ(match(std::string("\x01\x02", 2), "%#4size%"), 3u);  // runs past the data
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);
    EXPECT_EQ(match(std::string("\x01\x02", 2), "%#7size%"), 0u);
    EXPECT_EQ(host.lastText(), "Binary tiping error");
}

TEST_F(TemplateReaderTest, AssignmentRules) {
    assignTemplateVariable(app, "$gfxmask", "ffff");
    EXPECT_EQ(app.formats.shared.gfxMask, 0xFFFF);
    assignTemplateVariable(app, "name", "hero");  // a text without destination ignores it
    EXPECT_FALSE(isTemplateTextSet(app, "name"));
    setTemplateText(app, "name", "");
    assignTemplateVariable(app, "name", "hero");
    EXPECT_EQ(getTemplateText(app, "name"), "hero");
    assignTemplateVariable(app, "null", "x");
    assignTemplateVariable(app, "nothing", "x");
    assignTemplateVariable(app, "user[3]", std::string(600, 'u'));
    EXPECT_EQ(userBuffer(app, 3)->size(), kUserTextMax);
    assignTemplateVariable(app, "user[9]", "x");
    assignTemplateVariable(app, "name", std::string(5000, 'n'));
    EXPECT_EQ(getTemplateText(app, "name").size(), kCaptureMax);
    assignTemplateVariable(app, "size", "-12");
    EXPECT_EQ(getTemplateInteger(app, "size"), -12);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TemplateReaderTest, ObjectFieldsAreAssignedThroughTheHook) {
    std::string seen;
    int32_t value = 0;
    ObjectFieldAccess object;
    object.assign = [&](std::string_view field, std::string_view text, int32_t v) {
        seen = std::string(field) + "=" + std::string(text);
        value = v;
        return true;
    };
    EXPECT_EQ(match("{1a}", "{%$obj.x%}", 0, &object), 4u);
    EXPECT_EQ(seen, "x=1a");
    EXPECT_EQ(value, 26);
}

TEST_F(TemplateReaderTest, NumberFormatElements) {
    uint32_t v = 0;
    EXPECT_EQ(element("0x00FF, ", "0x%04X, ", v), 8u);
    EXPECT_EQ(v, 255u);
    EXPECT_EQ(element("0x001f,\r\n", "0x%04x, ", v), 7u);  // partial match of the trailing text
    EXPECT_EQ(v, 31u);
    EXPECT_EQ(element("0x00ff, ", "0x%04X, ", v), 4u);  // upper-case digits only
    EXPECT_EQ(v, 0u);
    EXPECT_EQ(element("\r\n0x01", "0x%02x, ", v), 7u);  // nothing matched: beyond the end
    EXPECT_EQ(element("x", "0x%02x, ", v, 1), 2u);      // at the end
    EXPECT_EQ(element("123 ", "%i ", v), 4u);
    EXPECT_EQ(v, 123u);
    EXPECT_EQ(element(std::string("\xFE\xFF\x05", 3), "%2b", v), 2u);
    EXPECT_EQ(v, uint32_t(-2));
    EXPECT_EQ(element(std::string("\x05", 1), "%2b", v), 2u);  // too few bytes
    EXPECT_EQ(element(std::string("\x01\x02\x03\x04", 4), "%4b", v, 0), 4u);
    EXPECT_EQ(v, 0x04030201u);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(element("abc", "%3b", v), 3u);
    EXPECT_EQ(host.lastText(), "Binary tiping error");
}

TEST_F(TemplateReaderTest, ElementsReadInALoopEndAtTheData) {
    std::string data = "0x01, 0x02, 0x03,\r\n0x04, 0x05";
    std::vector<uint32_t> values;
    size_t p = 0;
    for (int i = 0; i < 10 && p < data.size(); ++i) {
        if (i == 3) p = match(data, "\b\r\n", p);
        uint32_t v = 0;
        p = element(data, "0x%02x, ", v, p);
        if (p > data.size()) break;
        values.push_back(v);
    }
    EXPECT_EQ(values, (std::vector<uint32_t>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace ts
