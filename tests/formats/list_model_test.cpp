// Parameter models: the model table, definemodel blocks, list.addparam and list.resetparams.
#include <gtest/gtest.h>

#include "formats/model.h"
#include "formats/object_list.h"
#include "formats/platform_commands.h"
#include "formats/project_lines.h"
#include "host/text_file.h"
#include "script/interpreter.h"
#include "test_support.h"

namespace ts {
namespace {

class ListModelTest : public ::testing::Test {
protected:
    // Runs definemodel with `line` as its arguments and `block` as the rest of the script file.
    void defineModel(const std::string& line, const std::string& block) {
        std::unique_ptr<TextFile> file = TextFile::fromText(block);
        app.script.currentFile = file.get();
        std::string args = line;
        cmdDefineModel(app, args.data());
        app.script.currentFile = nullptr;
        rest.clear();
        std::string l;
        while (file->readLine(l, 4096)) rest += l;
    }
    const Model& model(const std::string& name) { return app.models.models[size_t(findModel(app, name))]; }

    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    std::string rest;
};

TEST_F(ListModelTest, StartsWithTheDefaultModel) {
    ASSERT_EQ(app.models.models.size(), 1u);
    EXPECT_EQ(app.models.models[0].name, "Default");
    EXPECT_EQ(currentModel(app).entrySize, 12);
}

TEST_F(ListModelTest, BlockDefinesParametersAndStopsAtTheClosingBrace) {
    defineModel("\"Enemy\"\t\t{",
                "  {\n  \t1, 4, \"speed\", \"0x10\"\n\n   2 : 8, 'name', *bob*\n  # a comment line\n  }\nnext line\n");
    EXPECT_EQ(rest, "next line\n");
    const Model& m = model("Enemy");
    ASSERT_EQ(m.params.size(), 3u);
    EXPECT_EQ(m.params[0].kind, ParamInteger);
    EXPECT_EQ(m.params[0].size, 4);
    EXPECT_EQ(m.params[0].name, "speed");
    EXPECT_EQ(m.params[0].defaultText, "0x10");
    EXPECT_EQ(m.params[1].kind, ParamRaw);
    EXPECT_EQ(m.params[1].size, 8);
    EXPECT_EQ(m.params[1].name, "name");
    EXPECT_EQ(m.params[1].defaultText, "bob");
    // A comment line is read as a parameter row: no number, so kind 0 and size 4.
    EXPECT_EQ(m.params[2].name, "");
    EXPECT_EQ(m.entrySize, 12 + 4 + 8 + 4);
}

TEST_F(ListModelTest, UnquotedNameAndRedefinition) {
    defineModel("boss   {", "1 4 \"a\"\n}\n");
    ASSERT_GE(findModel(app, "boss"), 0);
    defineModel("boss{", "2, 6, \"b\"\n}\n");
    ASSERT_EQ(app.models.models.size(), 2u);
    ASSERT_EQ(model("boss").params.size(), 1u);
    EXPECT_EQ(model("boss").params[0].name, "b");
    EXPECT_EQ(model("boss").entrySize, 18);
}

TEST_F(ListModelTest, MissingBraceIsReportedAndTextRunsDoNothing) {
    defineModel("boss", "1 4\n}\n");
    EXPECT_EQ(host.lastText(), "You have forgotten the format opening { (on the same line).");
    EXPECT_EQ(host.lastCaption(), "Erreur d'ex\xE9" "cution du script");
    EXPECT_EQ(app.models.models.size(), 1u);
    std::string args = "\"X\" {";
    cmdDefineModel(app, args.data());  // no current script file
    EXPECT_EQ(findModel(app, "X"), -1);
}

TEST_F(ListModelTest, LimitsOfNamesDefaultsParametersAndModels) {
    std::string block;
    for (int i = 0; i < 101; ++i) block += "1, 4, \"p" + std::to_string(i) + "\"\n";
    block += "1, 2000000000, \"" + std::string(40, 'n') + "\", \"" + std::string(20, 'd') + "\"\n}\n";
    defineModel("\"Big\" {", block);
    const Model& big = model("Big");
    EXPECT_EQ(big.params.size(), 100u);
    for (int i = 0; i < 9; ++i) defineModel("\"M" + std::to_string(i) + "\" {", "}\n");
    EXPECT_EQ(app.models.models.size(), 10u);
    EXPECT_EQ(findModel(app, "M8"), -1);
    EXPECT_EQ(host.lastText(), "The maximal number of models is reached: model M8 was not defined.");
    defineModel("\"Cut\" {", "2, 2000000000, \"" + std::string(40, 'n') + "\", \"" + std::string(20, 'd') + "\"\n}\n");
    // The table is full, so "Cut" was not defined either; the cutting is checked on list.addparam.
    Model m;
    addModelParam(m, std::string(40, 'n'), ParamRaw, 2000000000, std::string(20, 'd'));
    EXPECT_EQ(m.params[0].name.size(), 31u);
    EXPECT_EQ(m.params[0].defaultText.size(), 15u);
    EXPECT_EQ(m.params[0].size, kModelParamSizeMax);
}

TEST_F(ListModelTest, AddParamAndResetParams) {
    std::string a = "\"speed\", 1, 0";
    cmdListAddParam(app, a.data());
    std::string b = "\"name\" 2 8";
    cmdListAddParam(app, b.data());
    std::string c = "\"speed\",2,16";
    cmdListAddParam(app, c.data());
    std::string empty = "\"\", 1, 4";
    cmdListAddParam(app, empty.data());
    const Model& m = currentModel(app);
    ASSERT_EQ(m.params.size(), 2u);
    EXPECT_EQ(m.params[0].kind, 2);
    EXPECT_EQ(m.params[0].size, 16);
    EXPECT_EQ(m.params[1].size, 8);
    EXPECT_EQ(m.entrySize, 36);
    std::string none;
    cmdListResetParams(app, none.data());
    EXPECT_TRUE(currentModel(app).params.empty());
    EXPECT_EQ(currentModel(app).entrySize, 12);
    std::string zero = "\"z\", 1, 0";
    cmdListAddParam(app, zero.data());
    EXPECT_EQ(currentModel(app).params[0].size, 4);  // size 0 means 4
}

TEST_F(ListModelTest, ChoisitModeleSelectsOrReports) {
    defineModel("\"Enemy\" {", "}\n");
    EXPECT_TRUE(ChoisitModele(app, "Enemy"));
    EXPECT_EQ(currentModel(app).name, "Enemy");
    EXPECT_FALSE(ChoisitModele(app, "enemy"));
    EXPECT_EQ(host.lastText(), "Model enemy not found");
    EXPECT_EQ(host.lastCaption(), "Error in ChoisitModele");
    EXPECT_EQ(host.boxes.back().icon, Icon::Error);
    EXPECT_EQ(currentModel(app).name, "Enemy");
    std::string args = "\"Default\"";
    cmdSetModel(app, args.data());
    EXPECT_EQ(currentModel(app).name, "Default");
}

TEST_F(ListModelTest, ProjectLinesReadBackAsTheSameModels) {
    defineModel("\"Enemy\" {", "1, 4, \"speed\", \"3\"\n2, 8, \"na\\\\me\", \"x\\\"y\"\n}\n");
    ChoisitModele(app, "Enemy");
    std::string lines = projectModelLines(app);
    EXPECT_EQ(lines,
              "  DefineModel \"Default\"\t\t{\n  }\n"
              "  DefineModel \"Enemy\"\t\t{\n  \t1, 4, \"speed\", \"3\"\n  \t2, 8, \"na\\\\me\", \"x\\\"y\"\n  }\n"
              "  Model = \"Enemy\"\n\n");
    test::TestApp fresh;
    // Read the blocks back the way the project reader hands them over: line by line.
    std::unique_ptr<TextFile> file = TextFile::fromText(lines);
    std::string line;
    while (file->readLine(line, 4096)) {
        size_t at = line.find("DefineModel ");
        if (at == std::string::npos) continue;
        std::string args = line.substr(at + 12);
        fresh.app.script.currentFile = file.get();
        cmdDefineModel(fresh.app, args.data());
    }
    ASSERT_EQ(fresh.app.models.models.size(), 2u);
    const Model& enemy = fresh.app.models.models[1];
    ASSERT_EQ(enemy.params.size(), 2u);
    EXPECT_EQ(enemy.params[1].name, "na\\me");
    EXPECT_EQ(enemy.params[1].defaultText, "x\"y");
    EXPECT_EQ(enemy.entrySize, 24);
}

TEST_F(ListModelTest, ScriptFileDefinesSelectsAndExtendsAModel) {
    test::TempDir dir;
    dir.write("models.spt",
              "DefineModel \"Enemy\"\t\t{\r\n  \t1, 4, \"Life\", \"3\"\r\n  }\r\n"
              "setmodel \"Enemy\"\r\nlist.addparam \"Tag\", 2, 8\r\nliste.ajparam \"Life\", 1, 2\r\n");
    EXPECT_TRUE(runScriptFile(app, dir.file("models.spt")));
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    const Model& m = currentModel(app);
    EXPECT_EQ(m.name, "Enemy");
    ASSERT_EQ(m.params.size(), 2u);
    EXPECT_EQ(m.params[0].name, "Life");  // quoted text keeps its case
    EXPECT_EQ(m.params[0].size, 2);
    EXPECT_EQ(m.params[1].name, "Tag");
    EXPECT_EQ(m.entrySize, 22);
    runScriptText(app, "list.resetparams");
    EXPECT_TRUE(currentModel(app).params.empty());
}

TEST_F(ListModelTest, MaxObjectsNeverBelowThree) {
    std::string one = "1";
    cmdMaxObjects(app, one.data());
    EXPECT_EQ(app.system.maxObjects, 3);
    EXPECT_EQ(maxListEntries(app), 3);
    std::string many = "0x800";
    cmdMaxObjects(app, many.data());
    EXPECT_EQ(maxListEntries(app), 2048);
}

}  // namespace
}  // namespace ts
