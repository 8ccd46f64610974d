// The project tree's commands without the window: layout in passes, rename, duplicate, delete,
// drag and drop, default folders, folders and dropped files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "host/file_system.h"
#include "editor/editor_document.h"
#include "project/element_commands.h"
#include "project/element_properties.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "project/tree_layout.h"
#include "test_support.h"

using namespace ts;

namespace {

const std::string kRefHeader = "# Tilesmithery property reference index file version 1.0\r\n";

struct ElementCommandsTest : ::testing::Test {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    ElementCommandsTest() {
        setCurrentDirectory(dir.path());
        projectPaths(app).projectPath = dir.file("projet.tsp");
    }
    int add(const std::string& name, uint32_t type, const std::string& file, const std::string& folder = {}) {
        if (!file.empty() && !fileExists(dir.file(file))) dir.write(file, "data of " + name);
        ElementRecord r;
        r.name = name;
        r.typeAndFlags = type | (folder.empty() ? 0 : kInFolderFlag);
        r.folder = folder;
        r.file = file;
        EXPECT_TRUE(appendElementRecord(app, r));
        return elementTable(app).count() - 1;
    }
    int folder(const std::string& name, const std::string& parent = {}) {
        ElementRecord r;
        r.name = name;
        r.typeAndFlags = kFolderFlag | (parent.empty() ? 0 : kInFolderFlag);
        r.folder = parent;
        EXPECT_TRUE(appendElementRecord(app, r));
        return elementTable(app).count() - 1;
    }
    const ElementRecord& rec(int i) { return elementTable(app).records[size_t(i)]; }
};

TEST_F(ElementCommandsTest, LayoutPlacesRecordsInFoldersDefinedLaterAndHidesOrphans) {
    int map = add("Level", TYPE_CARTE, "level.map.c", "Act1");
    int orphan = add("Lost", TYPE_MOSAIQUE, "lost.til.c", "Nowhere");
    int inBranch = add("Tiles", TYPE_MOSAIQUE, "tiles.til.c", "tilesets");
    int act1 = folder("Act1", "World");
    int world = folder("World");
    TreeLayout layout = layoutTree(app);
    EXPECT_EQ(layout.parent[size_t(map)], act1);
    EXPECT_EQ(layout.parent[size_t(act1)], world);
    EXPECT_EQ(layout.parent[size_t(world)], kParentTop);
    EXPECT_EQ(layout.parent[size_t(orphan)], kNotShown);
    EXPECT_EQ(layout.parent[size_t(inBranch)], branchParent(0));
    // Passes: what has a parent in the first pass comes first, in table order.
    EXPECT_EQ(layout.order, (std::vector<int>{inBranch, world, act1, map}));
    EXPECT_TRUE(folderIsInside(app, act1, world));
    EXPECT_FALSE(folderIsInside(app, world, act1));
}

TEST_F(ElementCommandsTest, RenameToATakenNameGivesANumberedName) {
    add("Tiles", TYPE_MOSAIQUE, "a.til.c");
    int b = add("Other", TYPE_MOSAIQUE, "b.til.c");
    int index = renameRecord(app, b, "Tiles");
    ASSERT_GE(index, 0);
    EXPECT_EQ(rec(index).name, "Tiles2");
    EXPECT_EQ(rec(index).file, "b.til.c");
    EXPECT_EQ(elementTable(app).count(), 2);
}

TEST_F(ElementCommandsTest, RenameCleansAndCutsTheTextAndIgnoresEmptyText) {
    int a = add("Tiles", TYPE_MOSAIQUE, "a.til.c");
    EXPECT_EQ(renameRecord(app, a, ""), -1);
    EXPECT_EQ(renameRecord(app, a, "   "), -1);
    EXPECT_EQ(rec(a).name, "Tiles");
    int index = renameRecord(app, a, std::string(300, 'x'));
    EXPECT_EQ(rec(index).name, std::string(30, 'x'));
    index = renameRecord(app, index, "two\r\nlines");
    EXPECT_EQ(rec(index).name, "two  lines");
    index = renameRecord(app, index, std::string(31, 'y'));
    EXPECT_EQ(rec(index).name.size(), 30u);
}

TEST_F(ElementCommandsTest, RenameKeepsAnElementWhoseFileIsMissing) {
    ElementRecord r;
    r.name = "Ghost";
    r.file = "gone.map.c";
    r.typeAndFlags = TYPE_CARTE;
    appendElementRecord(app, r);
    EXPECT_EQ(renameRecord(app, 0, "Spirit"), 0);
    ASSERT_EQ(elementTable(app).count(), 1);
    EXPECT_EQ(rec(0).name, "Spirit");
}

TEST_F(ElementCommandsTest, DuplicateThenRenameCopiesTheDataFileAndItsReferenceSection) {
    dir.write("gfx/level.map.c", "map bytes");
    dir.write("projet.ref", kRefHeader + "@gfx/level.map.c@\r\n size=7\r\n\r\n");
    int level = add("Level", TYPE_CARTE, "gfx/level.map.c");
    int copy = duplicateRecord(app, level);
    ASSERT_GE(copy, 0);
    EXPECT_EQ(rec(copy).name, "Level2");
    EXPECT_EQ(rec(copy).file, "gfx/level.map.c");
    int renamed = renameRecord(app, copy, "Boss", level);
    ASSERT_GE(renamed, 0);
    EXPECT_EQ(rec(renamed).name, "Boss");
    EXPECT_EQ(rec(renamed).file, "gfx/Boss.map.c");
    EXPECT_EQ(dir.read("gfx/Boss.map.c"), "map bytes");
    EXPECT_EQ(dir.read("projet.ref"),
              kRefHeader + "@gfx/level.map.c@\r\n size=7\r\n\r\n@gfx/Boss.map.c@\r\n size=7\r\n\r\n");
    EXPECT_EQ(duplicateFilePath("C:\\maps\\town.v2.map.c", "Castle"), "C:\\maps\\Castle.v2.map.c");
    EXPECT_EQ(duplicateFilePath("noext", "N"), "N");
}

TEST_F(ElementCommandsTest, DuplicateKeepsAnExistingFileOfTheNewName) {
    dir.write("a.map.c", "original");
    dir.write("B.map.c", "someone else's");
    int a = add("A", TYPE_CARTE, "a.map.c");
    int copy = duplicateRecord(app, a);
    int renamed = renameRecord(app, copy, "B", a);
    EXPECT_EQ(rec(renamed).file, "a.map.c");
    EXPECT_EQ(dir.read("B.map.c"), "someone else's");
}

TEST_F(ElementCommandsTest, DeleteAsksAndSendsTheFileToTheTrash) {
    int a = add("A", TYPE_MOSAIQUE, "a.til.c");
    host.answers = {Answer::Cancel};
    EXPECT_FALSE(deleteRecord(app, a));
    EXPECT_EQ(elementTable(app).count(), 1);
    EXPECT_EQ(host.boxes.back().caption, "Question");
    EXPECT_EQ(host.boxes.back().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(host.boxes.back().defaultAnswer, Answer::No);
    EXPECT_EQ(host.lastText(), "Erase this element definately, the associated file (a.til.c) also?");
    host.answers = {Answer::Yes};
    EXPECT_TRUE(deleteRecord(app, a));
    EXPECT_EQ(elementTable(app).count(), 0);
    ASSERT_EQ(host.trashed.size(), 1u);
    EXPECT_EQ(host.trashed[0], dir.file("a.til.c"));
}

// The editor beside the window would write a deleted map back when it saves, or save into the old
// file: an element whose file is open as a plane is neither deleted nor given another file.
TEST_F(ElementCommandsTest, DeleteAndFileChangeRefuseAnElementOpenInTheEditor) {
    int a = add("Level", TYPE_CARTE, "level.map.c");
    EditorDocument& document = editorDocument(app);
    document.open = true;
    document.count = 1;
    document.planes[0].element = elementTable(app).records[size_t(a)];
    document.planes[0].element.file = dir.file("level.map.c");  // the same file, named absolutely
    EXPECT_FALSE(deleteRecord(app, a));
    EXPECT_EQ(elementTable(app).count(), 1);
    EXPECT_TRUE(host.trashed.empty());
    EXPECT_EQ(host.lastCaption(), "Error");
    EXPECT_EQ(host.lastText(), "The element Level is open in the map editor. Close it there first.");
    // Nor may it take another data file meanwhile.
    dir.write("other.map.c", "other");
    host.clear();
    ElementPropertiesState state = elementPropertiesOf(app, a);
    state.file = "other.map.c";
    a = applyElementProperties(app, a, state);
    EXPECT_EQ(elementTable(app).records[size_t(a)].file, "level.map.c");
    EXPECT_EQ(host.lastText(), "The element Level is open in the map editor. Close it there first.");
    document.open = false;
    host.answers = {Answer::No};
    EXPECT_TRUE(deleteRecord(app, a));
    EXPECT_EQ(elementTable(app).count(), 0);
}

TEST_F(ElementCommandsTest, DeleteKeepsTheElementWhenTheTrashRefuses) {
    int a = add("A", TYPE_MOSAIQUE, "a.til.c");
    chmod(dir.file("a.til.c").c_str(), 0444);
    host.trashSucceeds = false;
    host.answers = {Answer::Yes};
    EXPECT_FALSE(deleteRecord(app, a));
    EXPECT_EQ(elementTable(app).count(), 1);
    EXPECT_EQ(host.lastCaption(), "Error");
    // No: the record goes, the file stays.
    host.answers = {Answer::No};
    EXPECT_TRUE(deleteRecord(app, a));
    EXPECT_TRUE(fileExists(dir.file("a.til.c")));
}

TEST_F(ElementCommandsTest, DeleteWithoutFileAsksNothing) {
    ElementRecord r;
    r.name = "Gone";
    r.file = "gone.til.c";
    r.typeAndFlags = TYPE_MOSAIQUE;
    appendElementRecord(app, r);
    EXPECT_TRUE(deleteRecord(app, 0));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ElementCommandsTest, DeleteFolderAsksWhenItHoldsRecords) {
    int f = folder("F");
    add("A", TYPE_MOSAIQUE, "a.til.c", "F");
    host.answers = {Answer::No};
    EXPECT_FALSE(deleteRecord(app, f));
    EXPECT_EQ(host.lastCaption(), "Attention!");
    EXPECT_EQ(host.boxes.back().defaultAnswer, Answer::No);
    host.answers = {Answer::Yes};
    EXPECT_TRUE(deleteRecord(app, f));
    ASSERT_EQ(elementTable(app).count(), 1);
    EXPECT_FALSE(rec(0).inFolder());
    host.clear();
    folder("Empty");
    EXPECT_TRUE(deleteRecord(app, 1));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ElementCommandsTest, DropOnOwnBranchShowsTheNoteOncePerRun) {
    int a = add("A", TYPE_MOSAIQUE, "a.til.c");
    bool noteShown = false;
    EXPECT_FALSE(dropRecord(app, a, DropTarget::Branch, -1, noteShown));
    EXPECT_TRUE(noteShown);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.lastCaption(), "Note");
    EXPECT_FALSE(dropRecord(app, a, DropTarget::Branch, -1, noteShown));
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(ElementCommandsTest, DropMovesIntoFoldersAndBackToTheBranch) {
    int f = folder("F");
    int a = add("A", TYPE_MOSAIQUE, "a.til.c");
    int b = add("B", TYPE_MOSAIQUE, "b.til.c", "F");
    bool noteShown = false;
    EXPECT_TRUE(dropRecord(app, a, DropTarget::Folder, f, noteShown));
    EXPECT_TRUE(rec(a).inFolder());
    EXPECT_EQ(rec(a).folder, "F");
    EXPECT_TRUE(dropRecord(app, b, DropTarget::Branch, -1, noteShown));
    EXPECT_FALSE(rec(b).inFolder());
    // Onto an element in a folder: into that folder.
    EXPECT_TRUE(dropRecord(app, b, DropTarget::Element, a, noteShown));
    EXPECT_EQ(rec(b).folder, "F");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ElementCommandsTest, FolderIsRefusedInsideItsOwnSubfolder) {
    int outer = folder("Outer");
    int inner = folder("Inner", "Outer");
    int deepest = folder("Deepest", "Inner");
    bool noteShown = false;
    EXPECT_FALSE(dropRecord(app, outer, DropTarget::Folder, deepest, noteShown));
    EXPECT_EQ(host.lastText(), "You cannot move a directory into one of its sub-directories!");
    EXPECT_EQ(host.lastCaption(), "Error");
    host.boxes.clear();
    EXPECT_FALSE(dropRecord(app, outer, DropTarget::Folder, outer, noteShown));
    EXPECT_EQ(host.lastText(), "You cannot move a directory into one of its sub-directories!");
    EXPECT_FALSE(rec(outer).inFolder());
    EXPECT_TRUE(dropRecord(app, deepest, DropTarget::Folder, outer, noteShown));
    EXPECT_EQ(rec(inner).folder, "Outer");
}

TEST_F(ElementCommandsTest, RenamingAFolderFollowsItsRecordsAndDefaults) {
    int f = folder("Old");
    add("A", TYPE_CARTE, "a.map.c", "Old");
    toggleDefaultFolder(app, TYPE_CARTE, "Old");
    EXPECT_EQ(renameRecord(app, f, "New"), f);
    EXPECT_EQ(rec(1).folder, "New");
    EXPECT_EQ(defaultFolderOf(app, TYPE_CARTE), "New");
    folder("Other");
    EXPECT_EQ(renameRecord(app, 2, "New"), -1);
    EXPECT_EQ(host.lastCaption(), "Error");
}

TEST_F(ElementCommandsTest, DefaultFoldersToggleAndRestore) {
    toggleDefaultFolder(app, TYPE_MOSAIQUE, "F");
    EXPECT_EQ(defaultFolderOf(app, TYPE_MOSAIQUE), "F");
    toggleDefaultFolder(app, TYPE_MOSAIQUE, "F");
    EXPECT_EQ(defaultFolderOf(app, TYPE_MOSAIQUE), "");
    toggleDefaultFolder(app, TYPE_CARTE, "M");
    toggleDefaultFolder(app, TYPE_LISTE, "L");
    restoreDefaultFolder(app, TYPE_CARTE);
    EXPECT_EQ(defaultFolderOf(app, TYPE_CARTE), "");
    EXPECT_TRUE(anyDefaultFolder(app));
    restoreAllFolders(app);
    EXPECT_FALSE(anyDefaultFolder(app));
}

TEST_F(ElementCommandsTest, AddFolderRefusesTakenAndEmptyNames) {
    EXPECT_EQ(addFolderRecord(app, "World", "root"), 0);
    EXPECT_FALSE(rec(0).inFolder());
    EXPECT_EQ(addFolderRecord(app, "Act1", "World"), 1);
    EXPECT_EQ(rec(1).folder, "World");
    EXPECT_EQ(addFolderRecord(app, "Maps here", "maps"), 2);
    EXPECT_EQ(rec(2).folder, "maps");
    EXPECT_EQ(addFolderRecord(app, "World", "root"), -1);
    EXPECT_EQ(host.lastText().rfind("This folder name already exists in directory root.", 0), 0u);
    EXPECT_EQ(addFolderRecord(app, "\n", "root"), -1);
    EXPECT_EQ(elementTable(app).count(), 3);
}

TEST_F(ElementCommandsTest, DroppedFilesAreAddedByExtension) {
    dir.write("hero.til.c", "t");
    dir.write("notes.txt", "n");
    dir.write("sub/keep.map.c", "m");
    EXPECT_EQ(elementTypeOfFile(app, "x/level.map.c"), uint32_t(TYPE_CARTE));
    EXPECT_EQ(elementTypeOfFile(app, "a.pal.c"), uint32_t(TYPE_PALETTE));
    int hero = addDroppedFile(app, dir.file("hero.til.c"));
    ASSERT_GE(hero, 0);
    EXPECT_EQ(rec(hero).name, "hero.til.c");
    EXPECT_EQ(rec(hero).type(), uint32_t(TYPE_MOSAIQUE));
    EXPECT_EQ(addDroppedFile(app, dir.file("notes.txt")), -1);
    EXPECT_EQ(addDroppedFile(app, dir.file("sub")), -1);
    EXPECT_EQ(addDroppedFile(app, dir.file("missing.map.c")), -1);
    toggleDefaultFolder(app, TYPE_CARTE, "Levels");
    int keep = addDroppedFile(app, dir.file("sub/keep.map.c"));
    EXPECT_EQ(rec(keep).folder, "Levels");
}

}  // namespace
