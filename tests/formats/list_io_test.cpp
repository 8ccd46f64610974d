// Object lists: entries, the placeholder, saving in sorted order and loading with its recovery.
#include <gtest/gtest.h>

#include <vector>

#include "formats/format_commands.h"
#include "formats/load_save_ops.h"
#include "formats/model.h"
#include "formats/object_list.h"
#include "formats/object_list_io.h"
#include "formats/platform.h"
#include "host/text_file.h"
#include "load_save_test_support.h"

namespace ts {
namespace {

class ListIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        pal = test::addElement(app, TYPE_PALETTE, dir.file("l.pal.c"), "l");
        til = test::addElement(app, TYPE_MOSAIQUE, dir.file("l.til.c"), "l");
        lst = test::addElement(app, TYPE_LISTE, dir.file("l.lst.c"), "l");
        const uint32_t colour = packBgra(1, 2, 3, 255);
        std::vector<uint32_t> pixels(64, 1);
        ASSERT_EQ(currentPlatform(app).savePalette(app, 0, pal, &colour, 1), 1);
        ASSERT_EQ(currentPlatform(app).saveTileset(app, 0, 1, til, &pal, pixels.data(), 1, 8, 8), 1);
    }
    Model& addModel(const std::string& name) {
        Model m;
        m.name = name;
        app.models.models.push_back(m);
        return app.models.models.back();
    }
    int save(const ObjectList& list) { return currentPlatform(app).saveList(app, 0, lst, &til, list, 8, 8); }
    int load(ObjectList& list) { return currentPlatform(app).loadList(app, 0, list, lst, nullptr, nullptr); }

    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    test::TempDir dir;
    ElementRecord pal, til, lst;
};

TEST_F(ListIoTest, EntryLayoutPutsARawParameterAfterTheIntegers) {
    Model& m = addModel("Enemy");
    addModelParam(m, "life", ParamInteger, 4, "0x20");
    addModelParam(m, "tag", ParamRaw, 8, "abc");
    EXPECT_EQ(m.entrySize, 24);
    EXPECT_EQ(paramOffset(m, 1), 16);
    ObjectList list;
    resetObjectList(list, m);
    ASSERT_TRUE(addListEntry(app, list, 5, 6, 7));
    ASSERT_EQ(list.entries.size(), 24u);
    EXPECT_EQ(entryIntParam(list, 0, 0), 0x20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(list.entries.data() + 16)), "abc");
    setEntryRawParam(list, 0, 1, "much too long");
    EXPECT_EQ(entryRawParam(list, 0, 1), "much to");  // 7 characters and the terminator
}

TEST_F(ListIoTest, FullListRefusesNewEntries) {
    app.system.maxObjects = 3;
    ObjectList list;
    resetObjectList(list, currentModel(app));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(addListEntry(app, list, i, i, i));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(addListEntry(app, list, 9, 9, 9));
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(host.lastText(),
              "Too many elements, please redefine the maximum number of elements for lists in the general options.");
    EXPECT_EQ(host.lastCaption(), "Error");
    EXPECT_EQ(host.boxes.back().icon, Icon::Warning);
}

TEST_F(ListIoTest, PlaceholderExpandsOnlyUnderTheBuiltInFormat) {
    const std::string text = "\r\n\t{#type#,#x#,#y##+param:\",\":\"\"#},";
    Model m;
    addModelParam(m, "speed", ParamInteger, 4, "");
    addModelParam(m, "life", ParamInteger, 4, "");
    EXPECT_EQ(expandParamPlaceholder(app, text, m), "\r\n\t{#type#,#x#,#y#,#speed#,#life#},");
    EXPECT_EQ(expandParamPlaceholder(app, text, Model{}), "\r\n\t{#type#,#x#,#y#},");
    app.formats.currentIndex = 1;
    EXPECT_EQ(expandParamPlaceholder(app, text, m), text);
}

TEST_F(ListIoTest, SavedInSortedOrderWithTheBuiltInFormat) {
    ObjectList list;
    resetObjectList(list, currentModel(app));
    addListEntry(app, list, 5, 2, 1);
    addListEntry(app, list, 1, 9, 2);
    addListEntry(app, list, 1, 3, 3);
    addListEntry(app, list, 1, 3, 4);  // same place as the one before: stored last, written first
    ASSERT_EQ(save(list), 1);
    EXPECT_EQ(test::readFile(lst.file),
              "//gfx/hero.png\r\n//Converti avec Tilesmithery par Orvane\r\n//Liste (\"" + til.file +
                  "\", \"Default\")\r\n//Taille: 8*8\r\n//M\xE9moire: 48 octets\r\n\r\n#include \"def.h\"\r\n\r\n"
                  "const unsigned int l_liste_nbEle=4;\r\n\r\nconst SPRITE_LISTE l_liste[]=\t{"
                  "\r\n\t{4,1,3},\r\n\t{3,1,3},\r\n\t{2,1,9},\r\n\t{1,5,2},\r\n};\r\n");
}

TEST_F(ListIoTest, EntryWithoutParametersIsWrittenAsOneLine) {
    ObjectList list;
    resetObjectList(list, currentModel(app));
    addListEntry(app, list, 10, 20, 2);
    std::string out;
    writeEntryText(list, 0, expandParamPlaceholder(app, app.formats.current.sections[kSectionList].element, list.model),
                   out);
    EXPECT_EQ(out, "\r\n\t{2,10,20},");
}

TEST_F(ListIoTest, RoundTripWithParametersSelectsTheFilesModel) {
    Model& m = addModel("Enemy");
    addModelParam(m, "life", ParamInteger, 4, "3");
    addModelParam(m, "tag", ParamRaw, 8, "");
    ObjectList list;
    resetObjectList(list, m);
    list.typeName = "ENEMY";
    for (int i = 0; i < 5; ++i) {
        addListEntry(app, list, i * 10, -i, i);
        setEntryIntParam(list, i, 0, 100 + i);
        setEntryRawParam(list, i, 1, "t" + std::to_string(i));
    }
    ASSERT_EQ(save(list), 1);
    std::string text = test::readFile(lst.file);
    EXPECT_NE(text.find("\r\n\t{1,10,-1,101,t1},"), std::string::npos) << text;
    EXPECT_NE(text.find("const ENEMY l_liste[]"), std::string::npos);
    ObjectList back;
    app.formats.userBuffers[0] = "kept";
    ASSERT_EQ(load(back), 1);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(back.count, 5);
    EXPECT_EQ(back.entries, list.entries);
    EXPECT_EQ(back.model.name, "Enemy");
    EXPECT_EQ(back.link, til.file);
    EXPECT_EQ(currentModel(app).name, "Enemy");
    EXPECT_EQ(app.formats.userBuffers[0], "kept");
    EXPECT_EQ(back.userTexts[0], "#include \"def.h\"");
}

TEST_F(ListIoTest, ChangedModelGoesThroughTheRecoveryQuestion) {
    Model& m = addModel("Enemy");
    addModelParam(m, "life", ParamInteger, 4, "3");
    ObjectList list;
    resetObjectList(list, m);
    addListEntry(app, list, 1, 2, 3);
    addListEntry(app, list, 4, 5, 6);
    setEntryIntParam(list, 1, 0, 77);
    ASSERT_EQ(save(list), 1);

    // The model now has a second parameter, which the file does not hold.
    Model& changed = app.models.models[size_t(findModel(app, "Enemy"))];
    addModelParam(changed, "speed", ParamInteger, 4, "9");
    ObjectList untouched;
    resetObjectList(untouched, currentModel(app));
    addListEntry(app, untouched, 42, 42, 42);
    host.answers = {Answer::Ok, Answer::Cancel};  // the reader's diagnostic, then the question
    EXPECT_EQ(load(untouched), 0);
    EXPECT_EQ(untouched.count, 1);  // Cancel leaves the list as it was
    EXPECT_EQ(host.boxes.back().caption, "Attention");
    EXPECT_EQ(host.boxes.back().buttons, Buttons::OkCancel);
    EXPECT_EQ(host.boxes.back().text.rfind("The list format is incorrect", 0), 0u);
    EXPECT_EQ(host.boxes[host.boxes.size() - 2].caption, "Debuging");

    host.clear();
    host.answers = {Answer::Ok};
    ObjectList back;
    ASSERT_EQ(load(back), 1);
    ASSERT_EQ(back.count, 2);
    EXPECT_EQ(back.entrySize, 20);
    EXPECT_EQ(entryX(back, 0), 1);
    EXPECT_EQ(entryY(back, 0), 2);
    EXPECT_EQ(entryType(back, 0), 3);
    EXPECT_EQ(entryIntParam(back, 0, 0), 3);
    EXPECT_EQ(entryIntParam(back, 0, 1), 9);  // not in the file: the default
    EXPECT_EQ(entryX(back, 1), 4);
    EXPECT_EQ(entryIntParam(back, 1, 0), 77);
}

TEST_F(ListIoTest, TooManyEntriesAndUnknownModelsAreRefused) {
    ObjectList list;
    resetObjectList(list, currentModel(app));
    addListEntry(app, list, 1, 1, 1);
    ASSERT_EQ(save(list), 1);
    std::string text = test::readFile(lst.file);
    std::string lying = text;
    lying.replace(lying.find("nbEle=1;"), 8, "nbEle=1025;");
    test::writeFile(lst.file, lying);
    ObjectList back;
    EXPECT_EQ(load(back), 0);
    EXPECT_EQ(host.lastText(),
              "Unable to load this list because it contains more elements than the maximum allowed. Modify the "
              "maximum number of elements per list in the options.");
    EXPECT_EQ(host.lastCaption(), lst.file);
    EXPECT_EQ(back.count, 0);

    // A size that lies the other way: the strict reading runs out of entries, and the tolerant
    // one keeps only the entries the data holds.
    lying = text;
    lying.replace(lying.find("nbEle=1;"), 8, "nbEle=900;");
    test::writeFile(lst.file, lying);
    host.clear();
    EXPECT_EQ(load(back), 1);
    EXPECT_EQ(back.count, 1);
    EXPECT_EQ(host.boxes[0].text, "File format fatal error (#)");
    EXPECT_EQ(entryX(back, 0), 1);

    text.replace(text.find("\"Default\")"), 10, "\"Ghost\")");
    test::writeFile(lst.file, text);
    EXPECT_EQ(load(back), 0);
    EXPECT_EQ(host.lastText(), "Unable to use the specified parameter model: Ghost");
    EXPECT_EQ(host.lastCaption(), "Error");
}

TEST_F(ListIoTest, ElementTwoTemplatesUseObjectFields) {
    std::unique_ptr<TextFile> block = TextFile::fromText(
        "list {\n element2 = \"<%obj.type%:%obj.x%:%obj.y%:%obj.name%>\"\n line = \"\\n\"\n ext = \".lst.t\"\n}\n}\n");
    defineFormatBlock(app, *block, "Tagged");
    ASSERT_TRUE(ChoisitFormat(app, "Tagged"));
    lst = test::addElement(app, TYPE_LISTE, dir.file("l.lst.t"), "l");
    Model& m = addModel("Named");
    addModelParam(m, "name", ParamRaw, 8, "");
    ObjectList list;
    resetObjectList(list, m);
    addListEntry(app, list, 3, 4, 5);
    setEntryRawParam(list, 0, 0, "ann");
    ASSERT_EQ(save(list), 1);
    EXPECT_NE(test::readFile(lst.file).find("<5:3:4:ann>\r\n"), std::string::npos) << test::readFile(lst.file);
    ObjectList back;
    ASSERT_EQ(load(back), 1) << host.lastText();
    ASSERT_EQ(back.count, 1);
    EXPECT_EQ(back.entries, list.entries);
}

}  // namespace
}  // namespace ts
