#pragma once
// Maps written through the GBA driver into a temporary project, for the editor document's tests:
// one palette, one tileset of 8x8 tiles at 4 bits and as many maps as a test asks for.
#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "editor/editor_document.h"
#include "formats/platform.h"
#include "script/interpreter.h"
#include "test_support.h"

namespace ts::test {

class DocumentFixture : public ::testing::Test {
protected:
    void SetUp() override {
        pal = addProjectElement(TYPE_PALETTE, "town.pal.c", "townpal");
        til = addProjectElement(TYPE_MOSAIQUE, "town.til.c", "towntiles");
        PaletteBuffer colours{};
        for (int i = 0; i < 16; ++i) colours[size_t(i)] = packBgra(i, 31 - i, (i * 2) % 32, 255);
        ASSERT_EQ(platform().savePalette(app, 0, pal, colours.data(), 16), 1);
        std::vector<uint32_t> pixels(size_t(kTiles) * 64);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t((i / 64 + i) % 16);
        ASSERT_EQ(platform().saveTileset(app, 0, 0, til, &pal, pixels.data(), kTiles, 8, 8), 1);
        app.system.scriptName = dir.file("script.spt");
        host.memoryAvailable = uint64_t(1) << 32;
    }

    PlatformRecord& platform() { return currentPlatform(app); }

    ElementRecord addProjectElement(uint32_t type, const std::string& file, const std::string& name) {
        ElementRecord e;
        e.typeAndFlags = type;
        e.file = dir.file(file);
        e.name = name;
        app.elements.records.push_back(e);
        return e;
    }

    // A map of w x h cells whose cell i holds (i + seed) % kTiles, saved as a 16-bit text map.
    ElementRecord addMap(const std::string& name, int w, int h, int seed = 0) {
        ElementRecord e = addProjectElement(TYPE_CARTE, name + ".map.c", name);
        std::vector<uint32_t> cells(size_t(w) * size_t(h));
        for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t((i + size_t(seed)) % kTiles);
        setCurrentMapType(app, MapText);
        EXPECT_EQ(platform().saveMap(app, 0, e, &til, w, h, cells.data()), 1);
        return e;
    }

    EditorDocument& doc() { return editorDocument(app); }
    PlaneRecord& plane(int slot) { return doc().planes[size_t(slot)]; }
    void run(const std::string& text) { runScriptText(app, text); }

    static constexpr int kTiles = 12;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    TempDir dir;
    ElementRecord pal, til;
};

}  // namespace ts::test
