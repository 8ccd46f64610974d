// The built-in "Standard" C format: its bytes, and its declarations read back by the reader.
#include <gtest/gtest.h>

#include "formats/format_table.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "test_support.h"

namespace ts {
namespace {

class StandardFormatTest : public ::testing::Test {
protected:
    void SetUp() override { resetTemplateVariables(app); }
    const FormatSection& section(int s) { return currentSection(app, s); }
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
};

TEST_F(StandardFormatTest, PaletteFileIsByteExact) {
    setTemplateText(app, "file", "gfx\\hero.png");
    setTemplateText(app, "name", "hero");
    setTemplateInteger(app, "size", 3);
    setTemplateInteger(app, "memory", 6);
    const FormatSection& pal = section(kSectionPalette);
    TemplateOutput out;
    writeTemplate(app, out, pal.declaration);
    const uint32_t colours[] = {0, 31, 0x7fff};
    for (int i = 0; i < 3; ++i) {
        if (pal.nEvery >= 1 && i >= 1 && i % pal.nEvery == 0) writeTemplate(app, out, pal.everyX);
        writeElement(app, out, pal.element, colours[i]);
    }
    writeTemplate(app, out, pal.end);
    out.bytes.resize(out.position);
    EXPECT_EQ(out.bytes,
              "//gfx\\hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n//Palette\r\n//Taille: 3\r\n"
              "//M\xE9moire: 6 octets\r\n\r\nconst unsigned short hero_palette[3]=\t{\r\n"
              "0x0000, 0x001f, 0x7fff};\r\n");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(StandardFormatTest, MapRowsAndEndAsTheSaversWriteThem) {
    setTemplateText(app, "file", "m.png");
    setTemplateText(app, "name", "m");
    setTemplateText(app, "link", "m.til.c");
    setTemplateText(app, "type", app.formats.current.type16);
    setTemplateInteger(app, "sizex", 2);
    setTemplateInteger(app, "sizey", 2);
    setTemplateInteger(app, "depth", 16);
    setTemplateInteger(app, "memory", 8);
    const FormatSection& map = section(kSectionMap);
    TemplateOutput out;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) writeElement(app, out, map.element, uint32_t(y * 2 + x));
        writeTemplate(app, out, map.line);
    }
    writeTemplate(app, out, map.end);
    out.bytes.resize(out.position);
    EXPECT_EQ(out.bytes, "0x0000, 0x0001},\r\n\t{0x0002, 0x0003}\r\n};\r\n");
    std::string header = expandTemplate(app, map.declaration);
    EXPECT_NE(header.find("//Map (\"\",\"m.til.c\",0,ffffffff)\r\n"), std::string::npos) << header;
    EXPECT_NE(header.find("octets\r\n\r\nconst unsigned short m_map[2][2]=\t{\r\n\t{"), std::string::npos) << header;
    EXPECT_TRUE(host.boxes.empty());
}

struct Sample {
    int section;
    std::vector<std::pair<const char*, const char*>> texts;
    std::vector<std::pair<const char*, int32_t>> integers;
};

TEST_F(StandardFormatTest, DeclarationsWrittenWithSamplesReadBackTheSameVariables) {
    const std::vector<Sample> samples = {
        {kSectionBitmap, {{"file", "img\\a.png"}, {"link", "a.pal.c"}, {"name", "abc"}, {"type", "char"}},
         {{"depth", 8}, {"sizex", 240}, {"sizey", 160}, {"memory", 38400}}},
        {kSectionPalette, {{"file", "p.bmp"}, {"name", "pal"}}, {{"size", 16}, {"memory", 32}}},
        {kSectionTileset, {{"file", "t.gif"}, {"link", "t.pal.c"}, {"name", "tiles"}, {"type", "char"}},
         {{"depth", 4}, {"tilex", 16}, {"tiley", 8}, {"size", 12}, {"memory", 768}}},
        {kSectionMap, {{"file", "level.png"}, {"link", "level.til.c"}, {"name", "level"}, {"type", "short"}},
         {{"tilebase", 5}, {"gfxmask", 0x3ff}, {"tilex", 8}, {"tiley", 8}, {"sizex", 64}, {"sizey", 32},
          {"memory", 4096}}},
        {kSectionList, {{"file", "l.png"}, {"link", "l.til.c"}, {"model", "Default"}, {"name", "enemies"},
                        {"type", "SPRITE_LISTE"}},
         {{"tilex", 8}, {"tiley", 16}, {"memory", 120}, {"size", 10}}},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.section);
        resetTemplateVariables(app);
        for (auto& [name, value] : s.texts) setTemplateText(app, name, value);
        for (auto& [name, value] : s.integers) setTemplateInteger(app, name, value);
        std::string data = expandTemplate(app, section(s.section).declaration);
        data += "0x01, 0x02";  // the elements that follow

        setTemplateInteger(app, "tilex", 0);
        setTemplateInteger(app, "tiley", 0);
        setTemplateInteger(app, "sizex", 0);
        setTemplateInteger(app, "sizey", 0);
        setTemplateInteger(app, "gfxmask", -1);
        setTemplateInteger(app, "tilebase", 0);
        resetTemplateVariables(app);
        for (auto& [name, value] : s.texts) setTemplateText(app, name, "");
        size_t end = matchTemplate(app, data.data(), data.size(), 0, section(s.section).declaration);
        EXPECT_EQ(end, data.size() - 10);
        for (auto& [name, value] : s.texts) EXPECT_EQ(getTemplateText(app, name), value) << name;
        for (auto& [name, value] : s.integers) EXPECT_EQ(getTemplateInteger(app, name), value) << name;
        EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    }
}

TEST_F(StandardFormatTest, ReaderAcceptsOlderHeadersThroughTheSecondBranches) {
    // A tileset comment line without a depth, and a map header without the empty line.
    std::string tiles = "//t\r\n//Converti avec Tilesmithery par Orvane\r\n//Tileset (\"p.pal.c\")\r\n"
                        "//Taille: 8*8*2\r\n//M\xE9moire: 64 octets\r\n\r\nconst unsigned char t_tiles[64]=\t{\r\n";
    setTemplateText(app, "link", "");
    EXPECT_EQ(matchTemplate(app, tiles.data(), tiles.size(), 0, section(kSectionTileset).declaration), tiles.size());
    EXPECT_EQ(getTemplateText(app, "link"), "p.pal.c");
    EXPECT_EQ(getTemplateInteger(app, "depth"), 0);
    EXPECT_EQ(getTemplateInteger(app, "size"), 2);

    resetTemplateVariables(app);
    std::string map = "//m\r\n//Converti avec Tilesmithery par Orvane\r\n//Map (\"\",\"a.til.c\")\r\n"
                      "//Taille: 8*8 * 4*3\r\n//M\xE9moire: 24 octets\r\nconst unsigned short m_map[3][4]=\t{\r\n\t{";
    setTemplateText(app, "type", "");
    EXPECT_EQ(matchTemplate(app, map.data(), map.size(), 0, section(kSectionMap).declaration), map.size());
    EXPECT_EQ(getTemplateText(app, "type"), "short");
    EXPECT_EQ(getTemplateInteger(app, "sizex"), 4);
    EXPECT_EQ(getTemplateInteger(app, "sizey"), 3);
    EXPECT_EQ(getTemplateInteger(app, "gfxmask"), -1);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
}

}  // namespace
}  // namespace ts
