#include <gtest/gtest.h>

#include "host/file_system.h"
#include "project/element_table.h"
#include "project/element_types.h"
#include "project/project_commands.h"
#include "script/interpreter.h"
#include "script/reference_file.h"
#include "test_support.h"

using namespace ts;

namespace {

ElementRecord element(const std::string& name, uint32_t type, const std::string& file) {
    ElementRecord r;
    r.name = name;
    r.typeAndFlags = type;
    r.file = file;
    return r;
}

ElementRecord folderRecord(const std::string& name, const std::string& parent = {}) {
    ElementRecord r;
    r.name = name;
    r.typeAndFlags = kFolderFlag;
    if (!parent.empty()) {
        r.typeAndFlags |= kInFolderFlag;
        r.folder = parent;
    }
    return r;
}

struct ElementTableTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    std::string file(const std::string& name) {
        dir.write(name, "x");
        return dir.file(name);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& r : app.elements.records) out.push_back(r.name);
        return out;
    }
};

}  // namespace

TEST(ElementTypes, ReadersAcceptBothLanguagesExactly) {
    EXPECT_EQ(elementTypeFromName("carte"), 1);
    EXPECT_EQ(elementTypeFromName("map"), 1);
    EXPECT_EQ(elementTypeFromName("(sprite)"), 2);
    EXPECT_EQ(elementTypeFromName("Map"), -1);
    EXPECT_EQ(elementTypeFromName("map "), -1);
    EXPECT_EQ(rootFolderType("mosaiques"), 3);
    EXPECT_EQ(rootFolderType("tilesets"), 3);
    EXPECT_EQ(rootFolderType("Maps"), -1);
}

TEST_F(ElementTableTest, AddRefusesMissingFileAndKeepsOrder) {
    EXPECT_EQ(addElement(app, element("Ghost", TYPE_CARTE, dir.file("nothere.map.c"))), kElementNotFound);
    EXPECT_EQ(app.elements.count(), 0);
    EXPECT_EQ(addElement(app, element("A", TYPE_CARTE, file("a.map.c"))), 0);
    EXPECT_EQ(addElement(app, element("B", TYPE_MOSAIQUE, file("b.til.c"))), 1);
    EXPECT_EQ(addElement(app, element("A", TYPE_MOSAIQUE, file("a.til.c"))), 2);  // other type: same name is fine
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "A"}));
}

TEST_F(ElementTableTest, AddingTheSameElementAgainMovesItToTheEnd) {
    std::string a = file("a.map.c");
    addElement(app, element("A", TYPE_CARTE, a));
    addElement(app, element("B", TYPE_CARTE, file("b.map.c")));
    ElementRecord again = element("A", TYPE_CARTE, a);
    again.baseFile = "new-base.png";  // the stored copy wins
    EXPECT_EQ(addElement(app, again), 1);
    ASSERT_EQ(app.elements.count(), 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(app.elements.records[1].baseFile, "");
}

TEST_F(ElementTableTest, SecondFileUnderTakenNameIsNumbered) {
    addElement(app, element("Tiles", TYPE_MOSAIQUE, file("1.til.c")));
    addElement(app, element("Tiles", TYPE_MOSAIQUE, file("2.til.c")));
    addElement(app, element("Tiles", TYPE_MOSAIQUE, file("3.til.c")));
    addElement(app, element("Map7", TYPE_CARTE, file("7.map.c")));
    addElement(app, element("Map7", TYPE_CARTE, file("8.map.c")));
    addElement(app, element("Map7", TYPE_CARTE, file("9.map.c")));
    EXPECT_EQ(names(), (std::vector<std::string>{"Tiles", "Tiles2", "Tiles3", "Map7", "Map8", "Map9"}));
}

TEST_F(ElementTableTest, SecondScanFindsTheRecordOfTheSameFile) {
    std::string b = file("b.til.c");
    addElement(app, element("Tiles", TYPE_MOSAIQUE, file("a.til.c")));
    addElement(app, element("Tiles2", TYPE_MOSAIQUE, b));
    addElement(app, element("Other", TYPE_MOSAIQUE, file("o.til.c")));
    // Tiles is taken by another file; Tiles2 holds the same file, so that record moves to the end.
    addElement(app, element("Tiles", TYPE_MOSAIQUE, b));
    EXPECT_EQ(names(), (std::vector<std::string>{"Tiles", "Other", "Tiles2"}));
}

TEST_F(ElementTableTest, MakeUniqueNameCutsLongNames) {
    addElement(app, element("abcdefghijklmnopqrstuvwxyz1234", TYPE_CARTE, file("a.map.c")));  // 30 characters
    ElementRecord r = element("abcdefghijklmnopqrstuvwxyz1234", TYPE_CARTE, dir.file("b.map.c"));
    makeUniqueName(app, r, false);
    EXPECT_EQ(r.name, "abcdefghijklmnopqrstuvwxy1234");  // base cut, number kept
    EXPECT_EQ(r.name.size(), 29u);
    addElement(app, element("abcdefghijklmnopqrstuvwxyzABCD", TYPE_CARTE, file("c.map.c")));
    ElementRecord s = element("abcdefghijklmnopqrstuvwxyzABCD", TYPE_CARTE, dir.file("d.map.c"));
    makeUniqueName(app, s, false);
    EXPECT_EQ(s.name, "abcdefghijklmnopqrstuvwxyzAB2");

    // A trailing 0 counts as no number; more than 8 digits keep the first ones in the base.
    addElement(app, element("Map0", TYPE_CARTE, file("e.map.c")));
    ElementRecord z = element("Map0", TYPE_CARTE, dir.file("f.map.c"));
    makeUniqueName(app, z, false);
    EXPECT_EQ(z.name, "Map2");
    addElement(app, element("x123456789", TYPE_CARTE, file("g.map.c")));
    ElementRecord n = element("x123456789", TYPE_CARTE, dir.file("h.map.c"));
    makeUniqueName(app, n, false);
    EXPECT_EQ(n.name, "x123456790");

    // With the same-file flag, a name held by the same file is free.
    ElementRecord same = element("Map0", TYPE_CARTE, dir.file("e.map.c"));
    makeUniqueName(app, same, true);
    EXPECT_EQ(same.name, "Map0");
}

TEST_F(ElementTableTest, DefaultFolderPlacesNewElements) {
    app.system.defFolders[TYPE_MOSAIQUE - 1] = "Gfx";  // deffolder[3]
    addElement(app, element("T", TYPE_MOSAIQUE, file("t.til.c")));
    addElement(app, element("M", TYPE_CARTE, file("m.map.c")));
    ElementRecord placed = element("U", TYPE_MOSAIQUE, file("u.til.c"));
    placed.typeAndFlags |= kInFolderFlag;
    placed.folder = "Mine";
    addElement(app, placed);
    ASSERT_EQ(app.elements.count(), 3);
    EXPECT_TRUE(app.elements.records[0].inFolder());
    EXPECT_EQ(app.elements.records[0].folder, "Gfx");
    EXPECT_FALSE(app.elements.records[1].inFolder());
    EXPECT_EQ(app.elements.records[2].folder, "Mine");
    EXPECT_EQ(defaultFolderOf(app, TYPE_MOSAIQUE), "Gfx");
    EXPECT_EQ(defaultFolderOf(app, 0), "");
    EXPECT_EQ(defaultFolderOf(app, 13), "");
}

TEST_F(ElementTableTest, TheThousandAndFirstElementIsRefused) {
    std::string f = file("same.c");
    for (int i = 0; i < kElementCapacity; ++i)
        ASSERT_TRUE(appendElementRecord(app, element("E" + std::to_string(i), TYPE_CARTE, f)));
    EXPECT_FALSE(appendElementRecord(app, element("X", TYPE_CARTE, f)));
    EXPECT_TRUE(t.host.boxes.empty());
    EXPECT_EQ(addElement(app, element("New", TYPE_CARTE, f)), kElementNotFound);
    EXPECT_EQ(app.elements.count(), kElementCapacity);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.lastCaption(), "Error");
    EXPECT_EQ(t.host.boxes[0].icon, Icon::Error);
    EXPECT_NE(t.host.lastText().find("1000"), std::string::npos);
    EXPECT_NE(t.host.lastText().find("New"), std::string::npos);
    // Moving an existing element to the end still works in a full table.
    EXPECT_EQ(addElement(app, element("E0", TYPE_CARTE, f)), kElementCapacity - 1);
    EXPECT_EQ(app.elements.records.back().name, "E0");
    EXPECT_EQ(t.host.boxes.size(), 1u);
}

TEST_F(ElementTableTest, ObserverSeesAdditionsAndRemovals) {
    std::vector<std::string> events;
    app.elements.observer.added = [&](App& a, int i) { events.push_back("+" + a.elements.records[size_t(i)].name); };
    app.elements.observer.removing = [&](App& a, int i) { events.push_back("-" + a.elements.records[size_t(i)].name); };
    std::string a = file("a.c");
    addElement(app, element("A", TYPE_CARTE, a));
    addElement(app, element("B", TYPE_CARTE, file("b.c")));
    addElement(app, element("A", TYPE_CARTE, a));
    removeElement(app, 0);
    removeElement(app, 7);  // out of range: nothing
    EXPECT_EQ(events, (std::vector<std::string>{"+A", "+B", "-A", "+A", "-B"}));
}

TEST_F(ElementTableTest, DeleteFolderReleasesElementsAndSubfolders) {
    std::string f = file("x.c");
    appendElementRecord(app, folderRecord("Top", "maps"));
    appendElementRecord(app, folderRecord("Sub", "Top"));
    appendElementRecord(app, folderRecord("Deeper", "Sub"));
    appendElementRecord(app, folderRecord("Elsewhere"));
    ElementRecord inTop = element("M1", TYPE_CARTE, f);
    inTop.typeAndFlags |= kInFolderFlag;
    inTop.folder = "Top";
    appendElementRecord(app, inTop);
    ElementRecord inDeeper = element("M2", TYPE_CARTE, f);
    inDeeper.typeAndFlags |= kInFolderFlag;
    inDeeper.folder = "Deeper";
    appendElementRecord(app, inDeeper);
    ElementRecord inOther = element("M3", TYPE_CARTE, f);
    inOther.typeAndFlags |= kInFolderFlag;
    inOther.folder = "Elsewhere";
    appendElementRecord(app, inOther);

    deleteFolder(app, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"Elsewhere", "M1", "M2", "M3"}));
    EXPECT_FALSE(app.elements.records[1].inFolder());
    EXPECT_EQ(app.elements.records[1].folder, "");
    EXPECT_FALSE(app.elements.records[2].inFolder());
    EXPECT_TRUE(app.elements.records[3].inFolder());

    deleteFolder(app, 1);  // not a folder: nothing
    EXPECT_EQ(app.elements.count(), 4);
}

TEST_F(ElementTableTest, DeleteFolderSurvivesFoldersInsideEachOther) {
    appendElementRecord(app, folderRecord("A", "B"));
    appendElementRecord(app, folderRecord("B", "A"));
    appendElementRecord(app, folderRecord("C", "C"));
    deleteFolder(app, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"C"}));
    deleteFolder(app, 0);
    EXPECT_EQ(app.elements.count(), 0);
}

TEST_F(ElementTableTest, LookupsByTypeAndName) {
    std::string f = file("f.c");
    appendElementRecord(app, element("P", TYPE_PALETTE, f));
    appendElementRecord(app, element("T1", TYPE_MOSAIQUE, f));
    appendElementRecord(app, folderRecord("T1"));
    appendElementRecord(app, element("T2", TYPE_MOSAIQUE, f));
    appendElementRecord(app, element("t2", TYPE_MOSAIQUE | kInFolderFlag, f));
    EXPECT_EQ(TrouveElement(app, TYPE_MOSAIQUE, "T2"), 3);
    EXPECT_EQ(TrouveElement(app, TYPE_MOSAIQUE, "t2"), 4);
    EXPECT_EQ(TrouveElement(app, TYPE_PALETTE, "T1"), kElementNotFound);
    EXPECT_EQ(countElementsOfType(app, TYPE_MOSAIQUE), 3);
    EXPECT_EQ(countElementsOfType(app, TYPE_AUCUN), 0);  // folders are not elements of a type
    EXPECT_EQ(nthElementOfType(app, TYPE_MOSAIQUE, 1), 1);
    EXPECT_EQ(nthElementOfType(app, TYPE_MOSAIQUE, 2), 3);
    EXPECT_EQ(nthElementOfType(app, TYPE_MOSAIQUE, 3), 4);
    EXPECT_EQ(nthElementOfType(app, TYPE_MOSAIQUE, 4), kElementNotFound);
    EXPECT_EQ(nthElementOfType(app, TYPE_MOSAIQUE, 0), kElementNotFound);
}

TEST_F(ElementTableTest, CleanProjectRemovesMissingFilesFromTheEnd) {
    dir.write("p.tsp", "");
    projectPaths(app).projectPath = dir.file("p.tsp");
    std::string kept = file("kept.c");
    appendElementRecord(app, element("Gone1", TYPE_CARTE, dir.file("gone1.c")));
    appendElementRecord(app, folderRecord("Folder"));
    appendElementRecord(app, element("Kept", TYPE_CARTE, kept));
    appendElementRecord(app, element("Gone2", TYPE_MOSAIQUE, dir.file("gone2.c")));
    std::vector<int> removed;
    app.elements.observer.removing = [&](App&, int i) { removed.push_back(i); };
    char noArgs[] = "";
    cmdCleanProject(app, noArgs);
    EXPECT_EQ(names(), (std::vector<std::string>{"Folder", "Kept"}));
    EXPECT_EQ(removed, (std::vector<int>{3, 0}));
}

TEST_F(ElementTableTest, CleanProjectCommandAlsoCleansTheReferenceFile) {
    dir.write("p.tsp", "");
    projectPaths(app).projectPath = dir.file("p.tsp");
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    file("kept.c");
    appendElementRecord(app, element("Kept", TYPE_CARTE, "kept.c"));
    appendElementRecord(app, element("Gone", TYPE_CARTE, "gone.c"));
    dir.write("p.ref", std::string(kReferenceHeader) + "@kept.c@\n a=1\n@gone.c@\n b=2\n");
    runScriptText(app, "nettoie-projet");
    EXPECT_EQ(names(), (std::vector<std::string>{"Kept"}));
    std::string ref = dir.read("p.ref");
    EXPECT_NE(ref.find("@kept.c@"), std::string::npos);
    EXPECT_NE(ref.find("a=1"), std::string::npos);
    EXPECT_EQ(ref.find("@gone.c@"), std::string::npos);
    EXPECT_TRUE(t.host.boxes.empty()) << t.host.lastText();
}
