// The branch of packed data in templates: the writer writes it only for packed data; the reader
// takes it when the data at its place begin with its fixed text, and later branches follow.
#include <gtest/gtest.h>

#include <string>

#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "test_support.h"

namespace ts {
namespace {

struct TemplatePackedBranch : ::testing::Test {
    test::TestApp t;
    App& app = t.app;
    void SetUp() override { resetTemplateVariables(app); }
    size_t match(const std::string& data, const std::string& templ) {
        return matchTemplate(app, data.data(), data.size(), 0, templ);
    }
};

TEST_F(TemplatePackedBranch, WriterWritesTheBranchOnlyForPackedData) {
    const std::string templ = "a%+ifpacked%<%packing%>%+end%b%+ifpacked%P%+else%R%+end%c";
    EXPECT_EQ(expandTemplate(app, templ), "abRc");
    setTemplateText(app, "packing", "LZ77");
    EXPECT_EQ(expandTemplate(app, templ), "a<LZ77>bPc");
    // %packing% is known (and empty) for data that are not packed: no warning.
    setTemplateText(app, "packing", "");
    EXPECT_EQ(expandTemplate(app, "[%packing%]"), "[]");
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
}

TEST_F(TemplatePackedBranch, ReaderDecidesAtTheFirstBranchAndFollowsItLater) {
    const std::string templ = "H\r\n%+ifpacked%//C %packing%, %unpacked% o\r\n%+end%T[%+ifpacked%%packed%]%+else%%size%]%+end%;\r\n";
    setTemplateText(app, "packing", "");
    std::string packed = "H\r\n//C RLE, 40 o\r\nT[12];\r\n";
    EXPECT_EQ(match(packed, templ), packed.size());
    EXPECT_EQ(getTemplateText(app, "packing"), "RLE");
    EXPECT_EQ(getTemplateInteger(app, "unpacked"), 40);
    EXPECT_EQ(getTemplateInteger(app, "packed"), 12);
    EXPECT_EQ(getTemplateInteger(app, "size"), 0);

    resetTemplateVariables(app);
    setTemplateText(app, "packing", "");
    // Raw data: "[" follows in both cases, but the first branch already said "not packed".
    std::string raw = "H\r\nT[7];\r\n";
    EXPECT_EQ(match(raw, templ), raw.size());
    EXPECT_EQ(getTemplateText(app, "packing"), "");
    EXPECT_EQ(getTemplateInteger(app, "size"), 7);
    EXPECT_EQ(getTemplateInteger(app, "packed"), 0);
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
}

}  // namespace
}  // namespace ts
