// The demo project in the window: every branch's form and every preview kind, as a user sees
// them (screenshots in the build folder).
#include <QApplication>
#include <filesystem>
#include <gtest/gtest.h>

#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "script/interpreter.h"
#include "startup/startup.h"
#include "window_test_support.h"

namespace ts {
namespace {

TEST(MainWindowDemoTest, BranchesShowTheirFormsAndElementsTheirPreviews) {
    test::TempDir dir;
    std::filesystem::copy(std::string(TS_SOURCE_DIR) + "/examples/demo", dir.path(),
                          std::filesystem::copy_options::recursive);
    test::TestApp t;
    App& app = t.app;
    std::string rest;
    prepareStartup(app, "\"" + dir.file("demo.tsp") + "\"", TS_BINARY_DIR, rest);
    runScriptText(app, "do \"script.spt\", \"build\"");
    ASSERT_GE(countElementsOfType(app, TYPE_CARTE), 1);
    t.host.clear();

    MainWindow window(app);
    window.askSaveName = [] { return std::string(); };
    window.resize(1000, 680);
    window.show();
    window.tree()->expandAll();
    const char* branchShots[] = {"window-branch-tilesets", "window-branch-maps", "window-branch-lists",
                                 "window-branch-palettes", "window-branch-bitmaps"};
    for (int b = 0; b < 5; ++b) {
        window.tree()->selectBranch(b);
        QApplication::processEvents();
        ASSERT_NE(window.panelContent(), nullptr);
        EXPECT_NE(window.panelContent()->objectName().toStdString(), "panel-welcome") << b;
        test::saveScreenshot(window, branchShots[b]);
    }
    struct Kind { uint32_t type; const char* shot; };
    for (Kind k : {Kind{TYPE_CARTE, "window-preview-map"}, Kind{TYPE_MOSAIQUE, "window-preview-tileset"},
                   Kind{TYPE_PALETTE, "window-preview-palette"}, Kind{TYPE_BITMAP, "window-preview-bitmap"}}) {
        int index = nthElementOfType(app, k.type, 1);
        ASSERT_GE(index, 0) << k.shot;
        window.tree()->selectRecord(index);
        QApplication::processEvents();
        EXPECT_NE(window.panelContent()->objectName().toStdString(), "panel-welcome") << k.shot;
        test::saveScreenshot(window, k.shot);
    }
    // Nothing asked the user anything while browsing.
    for (const auto& box : t.host.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
}

}  // namespace
}  // namespace ts
