// The editor document: opening planes through the platform, histories and their memory, the
// title and memory texts, saving, closing questions and the timed messages.
#include <gtest/gtest.h>

#include "document_fixture.h"
#include "editor/editor_settings_script.h"
#include "editor/map_view_renderer.h"
#include "editor/plane_history.h"
#include "formats/load_save_ops.h"
#include "formats/model.h"
#include "formats/object_list.h"

namespace ts {
namespace {

using DocumentTest = test::DocumentFixture;

TEST_F(DocumentTest, OpeningLoadsCellsTilesAndPaletteAndTakesTheFirstSnapshot) {
    ElementRecord town = addMap("town", 5, 3);
    ASSERT_TRUE(openEditor(app, town));
    ASSERT_EQ(doc().count, 1);
    const PlaneRecord& p = plane(0);
    EXPECT_EQ(p.kind, PlaneMap);
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.height, 3);
    EXPECT_EQ(p.cells[7], 7u);
    EXPECT_EQ(p.tileCount, kTiles);
    EXPECT_EQ(p.tilesetName, til.file);
    EXPECT_TRUE(p.paletteBanks);
    EXPECT_EQ(p.colorsPerBank, 16);
    EXPECT_EQ(p.valueMask, 0xFFFFu);
    // Colour 0 of the 4-bit depth is transparent: it shows the view's background.
    EXPECT_EQ(p.palette[0], doc().background);
    EXPECT_EQ(p.palette[1], uint32_t(expandComponent(30, 5)) << 8 | uint32_t(expandComponent(1, 5)) |
                                uint32_t(expandComponent(2, 5)) << 16);
    EXPECT_EQ(p.history.index, 0);
    EXPECT_EQ(doc().memoryUsed, 5 * 3 * 4);
    EXPECT_EQ(doc().title, "town - Map editor");
    ASSERT_EQ(doc().messages.size(), 1u);
    EXPECT_EQ(doc().messages[0].text, "Map opened: town");
    EXPECT_EQ(checkDocument(doc()), "");
}

// A tileset saved without a palette: the plane gets a grey ramp per bank instead of colours
// that would all be the background, and its frame shows its tiles.
TEST_F(DocumentTest, TilesWithoutAPaletteDrawInGreys) {
    ElementRecord bare = addProjectElement(TYPE_MOSAIQUE, "bare.til.c", "bare");
    std::vector<uint32_t> pixels(size_t(2) * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(1 + i % 15);
    ASSERT_EQ(platform().saveTileset(app, 0, 0, bare, nullptr, pixels.data(), 2, 8, 8), 1);
    ElementRecord map = addProjectElement(TYPE_CARTE, "bare.map.c", "baremap");
    const std::vector<uint32_t> cells = {0, 1, 1, 0};
    setCurrentMapType(app, MapText);
    ASSERT_EQ(platform().saveMap(app, 0, map, &bare, 2, 2, cells.data()), 1);
    ASSERT_TRUE(openEditor(app, map));
    const PlaneRecord& p = plane(0);
    EXPECT_FALSE(p.ownPalette);
    EXPECT_EQ(p.palette[1], 0xEEEEEEu);   // 255 - 1 * 255 / 15
    EXPECT_EQ(p.palette[15], 0x000000u);
    EXPECT_EQ(p.palette[16 + 1], 0xEEEEEEu);  // every bank alike
    Surface view;
    ASSERT_TRUE(createSurface(view, 16, 16));
    doc().messages.clear();  // "Map opened" would cover this small view
    composeView(view, doc(), false, nullptr, {});
    EXPECT_EQ(view.at(0, 0), p.palette[pixels[0]]);
    EXPECT_EQ(view.at(9, 0), p.palette[pixels[64 + 1]]);
}

TEST_F(DocumentTest, EightBitTilesStayPaletteIndexes) {
    std::vector<uint32_t> pixels(size_t(4) * 64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i % 200);
    ASSERT_EQ(platform().saveTileset(app, 0, 1, til, &pal, pixels.data(), 4, 8, 8), 1);
    ASSERT_TRUE(openEditor(app, addMap("deep", 2, 2)));
    EXPECT_EQ(plane(0).depth, 1);
    EXPECT_FALSE(plane(0).paletteBanks);
    EXPECT_EQ(plane(0).tileCount, 4);
    EXPECT_EQ(plane(0).tiles, pixels);
}

TEST_F(DocumentTest, OpeningTheSameElementTwiceGivesTwoAndAddsNothing) {
    ElementRecord town = addMap("town", 4, 4);
    ASSERT_TRUE(openEditor(app, town));
    EXPECT_EQ(openPlane(app, town), OpenAlready);
    EXPECT_EQ(doc().count, 1);
    ElementRecord missing = town;
    missing.name = "gone";
    missing.file = dir.file("gone.map.c");
    EXPECT_EQ(openPlane(app, missing), OpenFailed);
    EXPECT_EQ(doc().count, 1);
}

TEST_F(DocumentTest, UnusableTileSizeRefusesTheEditor) {
    ElementRecord town = addMap("town", 4, 4);
    app.convert.tileX = 12;
    EXPECT_FALSE(openEditor(app, town));
    EXPECT_EQ(host.lastCaption(), "Oops!");
    EXPECT_FALSE(doc().open);
    EXPECT_EQ(doc().count, 0);
}

TEST_F(DocumentTest, OnOpenHookReturningZeroClosesTheEditor) {
    ElementRecord town = addMap("Town", 4, 4);
    test::writeFile(app.system.scriptName, "onopen town:\r\n    return 0\r\n");
    EXPECT_FALSE(openEditor(app, town));
    EXPECT_EQ(doc().count, 0);
    EXPECT_EQ(doc().memoryUsed, 0);
}

TEST_F(DocumentTest, UndoRedoAndANewEditDropsTheRedoCopies) {
    ElementRecord town = addMap("town", 4, 4);
    ASSERT_TRUE(openEditor(app, town));
    EXPECT_FALSE(doc().undoEnabled);
    plane(0).cells[0] = 9;
    pushGroupSnapshot(app);
    plane(0).cells[0] = 10;
    pushGroupSnapshot(app);
    EXPECT_EQ(doc().title, "town* - Map editor");
    EXPECT_TRUE(doc().undoEnabled);
    undoGroup(app);
    EXPECT_EQ(plane(0).cells[0], 9u);
    EXPECT_TRUE(doc().redoEnabled);
    undoGroup(app);
    EXPECT_EQ(plane(0).cells[0], 0u);
    EXPECT_EQ(doc().title, "town - Map editor");
    EXPECT_FALSE(doc().undoEnabled);
    undoGroup(app);  // nothing below copy 0
    EXPECT_EQ(plane(0).history.index, 0);
    redoGroup(app);
    EXPECT_EQ(plane(0).cells[0], 9u);
    plane(0).cells[1] = 5;
    pushGroupSnapshot(app);
    EXPECT_FALSE(doc().redoEnabled);
    EXPECT_EQ(plane(0).history.top, plane(0).history.index);
    EXPECT_EQ(doc().memoryUsed, 3 * 16 * 4);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(DocumentTest, AtTheMemoryLimitTheOldestCopyGoesAndTheTitleStaysModified) {
    ElementRecord town = addMap("town", 10, 10);  // 400 bytes a copy
    host.memoryAvailable = 4 * 1200;            // limit: three copies
    ASSERT_TRUE(openEditor(app, town));
    for (int i = 1; i <= 6; ++i) {
        plane(0).cells[0] = uint32_t(i);
        pushGroupSnapshot(app);
        EXPECT_EQ(checkDocument(doc()), "") << i;
    }
    // Three copies were kept before the counter reached its limit; from then on each snapshot
    // drops the oldest, so the length stays.
    const int index = plane(0).history.index;
    EXPECT_EQ(index, 2);
    EXPECT_EQ(doc().memoryUsed, 3 * 400);
    plane(0).cells[0] = 7;
    pushGroupSnapshot(app);
    EXPECT_EQ(plane(0).history.index, index);
    for (int i = 0; i < index; ++i) undoGroup(app);
    EXPECT_EQ(plane(0).cells[0], 5u);
    EXPECT_TRUE(planeModified(plane(0)));
    EXPECT_EQ(doc().title, "town* - Map editor");
}

TEST_F(DocumentTest, HistoryNeverHoldsMoreThanTheCopyCap) {
    PlaneRecord p;
    p.kind = PlaneMap;
    p.width = p.height = 1;
    p.cells = {0};
    int64_t used = 0;
    for (int i = 0; i < kMaxHistoryCopies + 5; ++i) {
        p.cells[0] = uint32_t(i);
        ASSERT_TRUE(pushPlaneSnapshot(p, HistoryBudget{used, int64_t(1) << 40}));
    }
    EXPECT_EQ(p.history.index, kMaxHistoryCopies);
    EXPECT_EQ(int64_t(p.history.copies.size()), kMaxHistoryCopies + 1);
    EXPECT_EQ(used, int64_t(kMaxHistoryCopies + 1) * 4);
    EXPECT_TRUE(p.history.forcedModified);
    freePlaneHistory(p, used);
    EXPECT_EQ(used, 0);
}

// A large map's copies share the chunks an edit did not touch, while the counter keeps whole
// copies; undo and redo give back every cell, on both sides of a chunk boundary.
TEST_F(DocumentTest, CopiesShareUnchangedChunksAndCountAsWholeCopies) {
    PlaneRecord p;
    p.kind = PlaneMap;
    p.width = 300;
    p.height = 200;  // 60000 cells: three full chunks and a short one
    p.cells.resize(60000);
    for (size_t i = 0; i < p.cells.size(); ++i) p.cells[i] = uint32_t(i);
    int64_t used = 0;
    const HistoryBudget budget{used, int64_t(1) << 40};
    ASSERT_TRUE(pushPlaneSnapshot(p, budget));
    const size_t edge = kHistoryChunkCells;  // first cell of the second chunk
    p.cells[edge - 1] = 7;
    p.cells[edge] = 8;
    ASSERT_TRUE(pushPlaneSnapshot(p, budget));
    p.cells[59999] = 9;
    ASSERT_TRUE(pushPlaneSnapshot(p, budget));
    EXPECT_EQ(used, 3 * 60000 * 4);
    const auto& c = p.history.copies;
    ASSERT_EQ(c[0]->chunks.size(), 4u);
    EXPECT_NE(c[1]->chunks[0], c[0]->chunks[0]);
    EXPECT_NE(c[1]->chunks[1], c[0]->chunks[1]);
    EXPECT_EQ(c[1]->chunks[2], c[0]->chunks[2]);
    EXPECT_EQ(c[2]->chunks[1], c[1]->chunks[1]);
    EXPECT_NE(c[2]->chunks[3], c[1]->chunks[3]);
    EXPECT_EQ(c[2]->chunks[3]->size(), 60000 - 3 * kHistoryChunkCells);

    ASSERT_TRUE(undoPlane(p));
    ASSERT_TRUE(undoPlane(p));
    for (size_t i = 0; i < p.cells.size(); ++i) ASSERT_EQ(p.cells[i], uint32_t(i)) << i;
    ASSERT_TRUE(redoPlane(p));
    ASSERT_TRUE(redoPlane(p));
    EXPECT_EQ(p.cells[edge - 1], 7u);
    EXPECT_EQ(p.cells[edge], 8u);
    EXPECT_EQ(p.cells[59999], 9u);
    // Dropping the oldest copy keeps the chunks the others still use.
    ASSERT_TRUE(pushPlaneSnapshot(p, HistoryBudget{used, 0}));
    ASSERT_TRUE(undoPlane(p));
    ASSERT_TRUE(undoPlane(p));
    EXPECT_EQ(p.cells[0], 0u);
    EXPECT_EQ(p.cells[edge], 8u);
    EXPECT_EQ(p.cells[59999], 59999u);
    freePlaneHistory(p, used);
    EXPECT_EQ(used, 0);
}

TEST_F(DocumentTest, MemoryTextsFollowTheTable) {
    EXPECT_EQ(memoryTextOf(0), "Mem: 0 ko");
    EXPECT_EQ(memoryTextOf(400), "Mem: 0.39 ko");
    EXPECT_EQ(memoryTextOf(10239), "Mem: 10.00 ko");
    EXPECT_EQ(memoryTextOf(10240), "Mem: 10.0 ko");
    EXPECT_EQ(memoryTextOf(102400), "Mem: 100 ko");
    EXPECT_EQ(memoryTextOf(1023999), "Mem: 999 ko");
    EXPECT_EQ(memoryTextOf(1024000), "Mem: 0.98 Mo");
    EXPECT_EQ(memoryTextOf(10485760), "Mem: 10.0 Mo");
    EXPECT_EQ(memoryTextOf(104857600), "Mem: 100 Mo");
    EXPECT_EQ(memoryTextOf(1048576000), "Mem: 0.98 Go");
}

TEST_F(DocumentTest, SavingWritesTheMapRunsTheHookAndMarksItSaved) {
    ElementRecord town = addMap("town", 4, 2);
    test::writeFile(app.system.scriptName, "onsave town:\r\n    editor.popuptime = 7\r\n");
    ASSERT_TRUE(openEditor(app, town));
    plane(0).cells[3] = 11;
    pushGroupSnapshot(app);
    EXPECT_EQ(saveCommand(app), 1);
    EXPECT_TRUE(test::readFile(dir.file("town.map.spt")).find("Maps.Add") != std::string::npos);
    EXPECT_FALSE(planeModified(plane(0)));
    EXPECT_EQ(doc().title, "town - Map editor");
    EXPECT_EQ(doc().options.popupTime, 7);
    EXPECT_EQ(doc().messages.back().text, "Map saved: town");
    MapData back;
    std::vector<uint32_t> tiles;
    PaletteBuffer palette{};
    ASSERT_EQ(platform().loadMap(app, 0, &tiles, &palette, back, town), 1);
    EXPECT_EQ(back.cells[3], 11u);
}

TEST_F(DocumentTest, YesOnCloseSavesTheWholeLinkGroupAndAsksOnce) {
    ElementRecord a = addMap("a", 3, 3), b = addMap("b", 3, 3, 1), c = addMap("c", 3, 3, 2);
    ASSERT_TRUE(openEditor(app, a));
    ASSERT_EQ(openPlane(app, b), OpenDone);
    ASSERT_EQ(openPlane(app, c), OpenDone);
    ASSERT_TRUE(linkPlanes(app, "1, 2"));
    for (int s = 0; s < 3; ++s) plane(s).cells[0] = 11;
    pushGroupSnapshot(app);  // planes 1 and 2
    pushSnapshot(app, 2);
    host.answers = {Answer::Yes, Answer::No};
    host.clear();
    ASSERT_TRUE(closeEditor(app));
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "The file a has been modified. Do you want to save the changes?");
    EXPECT_EQ(host.boxes[1].text, "The file c has been modified. Do you want to save the changes?");
    EXPECT_NE(test::readFile(a.file).find("{0x000b,"), std::string::npos);
    EXPECT_NE(test::readFile(b.file).find("{0x000b,"), std::string::npos);
    EXPECT_EQ(test::readFile(c.file).find("{0x000b,"), std::string::npos);
    // Yes was given: the settings script was written beside the first map.
    EXPECT_NE(test::readFile(dir.file("a.map.spt")).find("Fonds.Link 1, 2\r\n"), std::string::npos);
    EXPECT_EQ(doc().count, 0);
    EXPECT_EQ(doc().memoryUsed, 0);
}

TEST_F(DocumentTest, CancelOnCloseKeepsEverything) {
    ElementRecord a = addMap("a", 3, 3);
    ASSERT_TRUE(openEditor(app, a));
    plane(0).cells[0] = 10;
    pushGroupSnapshot(app);
    host.answers = {Answer::Cancel};
    EXPECT_FALSE(closeEditor(app));
    EXPECT_EQ(doc().count, 1);
    EXPECT_EQ(plane(0).history.index, 1);
    undoGroup(app);
    EXPECT_EQ(plane(0).cells[0], 0u);
    EXPECT_FALSE(test::readFile(dir.file("a.map.spt")).size());
}

TEST_F(DocumentTest, NoOnCloseWritesTheSettingsOnlyWhenAutomatic) {
    ElementRecord a = addMap("a", 3, 3);
    ASSERT_TRUE(openEditor(app, a));
    plane(0).cells[0] = 10;
    pushGroupSnapshot(app);
    host.answers = {Answer::No};
    ASSERT_TRUE(closeEditor(app));
    EXPECT_EQ(test::readFile(dir.file("a.map.spt")), "");
    EXPECT_EQ(test::readFile(a.file).find("{0x000a,"), std::string::npos);
    app.system.saveMapsParamsAuto = 1;
    ASSERT_TRUE(openEditor(app, a));
    ASSERT_TRUE(closeEditor(app));  // nothing modified: no question
    EXPECT_NE(test::readFile(dir.file("a.map.spt")).find("Maps.Add \"a\", 1"), std::string::npos);
}

TEST_F(DocumentTest, OpeningWhileOpenAddsAPlane) {
    ElementRecord a = addMap("a", 3, 3), b = addMap("b", 3, 3);
    ASSERT_TRUE(openEditor(app, a));
    ASSERT_TRUE(openEditor(app, b));
    EXPECT_EQ(doc().count, 2);
    EXPECT_EQ(doc().active, 0);
}

TEST_F(DocumentTest, TwentyPlanesThenOneMoreIsRefused) {
    ElementRecord first = addMap("m0", 2, 2);
    ASSERT_TRUE(openEditor(app, first));
    for (int i = 1; i < MaxPlanes; ++i) ASSERT_EQ(openPlane(app, addMap("m" + std::to_string(i), 2, 2)), OpenDone);
    EXPECT_EQ(doc().count, MaxPlanes);
    host.clear();
    addMap("extra", 2, 2);
    run("maps.add \"extra\"");
    EXPECT_EQ(doc().count, MaxPlanes);
    EXPECT_EQ(host.lastText(), "The background limit is reached!");
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(DocumentTest, AMapWhoseHeaderPromisesMoreThanItHoldsOpensWithZeros) {
    addMap("small", 2, 5);
    ElementRecord big = addProjectElement(TYPE_CARTE, "big.map.c", "big");
    std::string text = test::readFile(dir.file("small.map.c"));
    size_t at = text.find("[5][2]");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 6, "[4096][4096]");
    test::writeFile(big.file, text);
    ASSERT_TRUE(openEditor(app, big));
    EXPECT_EQ(plane(0).width, 4096);
    EXPECT_EQ(plane(0).height, 4096);
    EXPECT_EQ(plane(0).cells[1], 1u);
    EXPECT_EQ(plane(0).cells[4096 * 4096 - 1], 0u);
    EXPECT_EQ(checkDocument(doc()), "");
}

TEST_F(DocumentTest, MessagesLiveThreeSecondsAndTenAtMost) {
    EditorDocument& d = doc();
    for (int i = 0; i < 12; ++i) postMessage(d, "m" + std::to_string(i));
    ASSERT_EQ(d.messages.size(), 10u);
    EXPECT_EQ(d.messages.front().text, "m2");
    postMessage(d, std::string(5000, 'x'));
    EXPECT_EQ(d.messages.back().text.size(), 1023u);
    ageMessages(d, 2999);
    EXPECT_EQ(d.messages.size(), 10u);
    ageMessages(d, 1);
    EXPECT_TRUE(d.messages.empty());
}

TEST_F(DocumentTest, ActivatingAPlaneFollowsTitleAndIgnoresClosedSlots) {
    ElementRecord a = addMap("a", 3, 3), b = addMap("b", 3, 3);
    ASSERT_TRUE(openEditor(app, a));
    ASSERT_EQ(openPlane(app, b), OpenDone);
    EXPECT_EQ(doc().active, 0);
    activatePlane(app, 5);
    EXPECT_EQ(doc().active, 0);
    activatePlane(app, 1);
    EXPECT_EQ(doc().active, 1);
    EXPECT_EQ(doc().title, "b - Map editor");
}

TEST_F(DocumentTest, MapsResetFreesEveryPlaneAndItsMemory) {
    ElementRecord a = addMap("a", 3, 3), b = addMap("b", 3, 3);
    ASSERT_TRUE(openEditor(app, a));
    ASSERT_EQ(openPlane(app, b), OpenDone);
    run("maps.reset");
    EXPECT_EQ(doc().count, 0);
    EXPECT_EQ(doc().memoryUsed, 0);
    EXPECT_EQ(doc().memoryText, "Mem: 0 ko");
    EXPECT_EQ(checkDocument(doc()), "");
}

}  // namespace
}  // namespace ts

namespace ts {
namespace {

TEST_F(DocumentTest, ListPlanesOpenKeepAnUndoHistoryOfTheirObjectsAndSave) {
    ElementRecord town = addMap("town", 8, 6);
    ElementRecord lst = addProjectElement(TYPE_LISTE, "mobs.lst.c", "mobs");
    ObjectList list;
    resetObjectList(list, currentModel(app));
    ASSERT_TRUE(addListEntry(app, list, 8, 16, 2));
    ASSERT_TRUE(addListEntry(app, list, 24, 0, 3));
    ASSERT_EQ(platform().saveList(app, 0, lst, &til, list, 8, 8), 1);
    ASSERT_TRUE(openEditor(app, town));
    ASSERT_EQ(openPlane(app, lst), OpenDone);
    EXPECT_EQ(doc().messages.back().text, "List opened: mobs");
    PlaneRecord& p = plane(1);
    EXPECT_EQ(p.kind, PlaneList);
    ASSERT_EQ(p.objects.count, 2);
    EXPECT_EQ(p.tilesetName, til.file);
    EXPECT_EQ(doc().memoryUsed, 8 * 6 * 4 + 2 * p.objects.entrySize);
    activatePlane(app, 1);
    ASSERT_TRUE(addListEntry(app, p.objects, 40, 8, 1));
    pushGroupSnapshot(app);
    setEntryPosition(p.objects, 0, 0, 0);
    pushGroupSnapshot(app);
    EXPECT_EQ(checkDocument(doc()), "");
    undoGroup(app);
    EXPECT_EQ(entryX(p.objects, 0), 8);
    EXPECT_EQ(p.objects.count, 3);
    undoGroup(app);
    EXPECT_EQ(p.objects.count, 2);
    redoGroup(app);
    EXPECT_EQ(p.objects.count, 3);
    EXPECT_EQ(checkDocument(doc()), "");
    EXPECT_EQ(saveGroup(app), 1);
    EXPECT_EQ(doc().messages.back().text, "List saved: mobs");
    ObjectList back;
    ASSERT_EQ(platform().loadList(app, 0, back, lst, nullptr, nullptr), 1);
    EXPECT_EQ(back.count, 3);
}

}  // namespace
}  // namespace ts
