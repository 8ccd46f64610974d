// Fuzz target: random sequences of map editor commands on three small maps (settings script
// lines, painting, selecting, operations on the store, undo and redo, links, resizing, block
// size changes, bit toggling, planes opened and reset, frames of the view drawn with the tiles
// kept from frame to frame, planes left without tiles or palette). After every command the
// document must be consistent: the memory counter equals the sum of the histories, indexes stay
// in range and every plane holds width x height cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_init.h"
#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/editor_settings_script.h"
#include "editor/map_view_renderer.h"
#include "editor/plane_property_rules.h"
#include "editor/selection_operations.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "script/interpreter.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool done() const { return at >= size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    int small(int n) { return n > 0 ? byte() % n : 0; }
    std::string text(size_t max) {
        size_t n = std::min<size_t>(byte(), max);
        std::string s;
        for (size_t i = 0; i < n && !done(); ++i) {
            char c = char(byte());
            s += (c == ';' || c == '\0' || c == '\n' || c == '\r') ? ' ' : c;
        }
        return s;
    }
};

struct World {
    ts::RecordingHost host;
    ts::App app{host};
    std::vector<ts::ElementRecord> maps;
    std::string dir;

    World() {
        char pattern[] = "/tmp/fuzz-editor-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        ts::initializeApp(app);
        app.system.scriptName.clear();
        app.system.saveMapsParams = 0;
        host.memoryAvailable = 64 * 1024;  // a small budget: old copies get dropped
        ts::ElementRecord pal = make(ts::TYPE_PALETTE, "f.pal.c", "pal");
        ts::ElementRecord til = make(ts::TYPE_MOSAIQUE, "f.til.c", "til");
        ts::PlatformRecord& gba = ts::currentPlatform(app);
        std::vector<uint32_t> colours(16, ts::packBgra(1, 2, 3, 255));
        gba.savePalette(app, 0, pal, colours.data(), 16);
        std::vector<uint32_t> tiles(size_t(16) * 64);
        for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint32_t(i % 16);
        gba.saveTileset(app, 0, 0, til, &pal, tiles.data(), 16, 8, 8);
        ts::setCurrentMapType(app, ts::MapText);
        for (int m = 0; m < 3; ++m) {
            ts::ElementRecord e = make(ts::TYPE_CARTE, "m" + std::to_string(m) + ".map.c", "m" + std::to_string(m));
            int w = 6 + m * 3, h = 5 + m;
            std::vector<uint32_t> cells(size_t(w * h));
            for (size_t i = 0; i < cells.size(); ++i) cells[i] = uint32_t(i % 16);
            gba.saveMap(app, 0, e, &til, w, h, cells.data());
            maps.push_back(e);
        }
    }
    ts::ElementRecord make(uint32_t type, const std::string& file, const std::string& name) {
        ts::ElementRecord e;
        e.typeAndFlags = type;
        e.file = dir + "/" + file;
        e.name = name;
        app.elements.records.push_back(e);
        return e;
    }
};

const char* const kLines[] = {
    "maps[%d].grid %d, %d",       "maps[%d].scrollrate %d, %d",   "maps[%d].addcondition %d,%d %d=",
    "maps[%d].addcondition %d,%d %d", "maps[%d].emulgba %d",      "fonds.link %d, %d, %d",
    "maps.add \"m%d\", %d",       "maps.visible[%d] = %d",        "bits[%d].bittext %d,\"b%d\"",
    "bits[%d].bitenabled %d, %d", "editor.move %d, %d, %d, %d",   "editor.zoom %d",
    "specimen.addmap %d",         "maps.reset",                   "modehexa.enabled = %d",
};

void check(const ts::EditorDocument& doc) {
    if (!ts::checkDocument(doc).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    ts::App& app = world.app;
    world.host.boxes.clear();
    world.host.answers.clear();
    if (!ts::openEditor(app, world.maps[0])) return 0;
    ts::EditorDocument& doc = ts::editorDocument(app);
    ts::EditorSession session;
    Input in{data, size};
    ts::Surface view;
    ts::ViewTileCache kept;
    for (int step = 0; step < 64 && !in.done(); ++step) {
        int a = in.small(40) - 4, b = in.small(40) - 4, c = in.small(40) - 4, d = in.small(40) - 4;
        switch (in.small(18)) {
        // Plane numbers and sizes stay small so that the commands meet open planes.
        case 0: {
            // Now and then a number anywhere in 32 bits (0x80000000, 0xFFFFFFFF, ...).
            std::string pattern = kLines[in.small(int(std::size(kLines)))];
            const bool wide = in.small(4) == 0;
            if (wide)
                for (size_t at = pattern.find("%d"); at != std::string::npos; at = pattern.find("%d", at))
                    pattern.replace(at, 2, "0x%x");
            char line[256];
            std::snprintf(line, sizeof line, pattern.c_str(), wide ? unsigned(a) * 0x9E3779B9u : unsigned(a), unsigned(b), unsigned(c),
                          unsigned(d));
            ts::runScriptText(app, line);
            break;
        }
        case 1: ts::runScriptText(app, in.text(200)); break;
        case 2: ts::paintRect(app, session, {a, b}, {c, d}, ts::Modifiers{in.small(2) == 1, false}); break;
        case 3: ts::selectRect(app, session, {a, b}, {c, d}, ts::Modifiers{in.small(2) == 1, false}); break;
        case 4: {
            std::string ops = in.text(60), tests = in.text(60);
            ts::runSelectionOperations(doc.store, ops, tests, in.small(2) == 1, 0, doc.options.invisibleBlock,
                                       doc.options.zeroMask != 0);
            break;
        }
        case 5: ts::undoGroup(app); break;
        case 6: ts::redoGroup(app); break;
        case 7: ts::linkPlanes(app, in.text(20)); break;
        case 8: ts::applyPlaneProperties(app, doc.active, a, b, c, uint32_t(d)); break;
        case 9: ts::changeBlockSize(app, 8 << in.small(4), 8 << in.small(4)); break;
        case 10: ts::activatePlane(app, in.small(4)); break;
        case 11: ts::openPlane(app, world.maps[size_t(in.small(3))], in.small(4) - 1); break;
        case 12: ts::toggleBit(app, in.small(34) - 1, in.small(2) == 1); break;
        case 13: ts::pasteStore(app, session); break;
        case 14: ts::applyLinks(app, in.text(12)); break;
        case 15: {
            // A frame of a small view anywhere over the planes, with the options as they stand.
            ts::prepareSurface(view, 8 + in.small(200), 8 + in.small(80));
            doc.scrollX = a * 8 + in.small(8);
            doc.scrollY = b * 8;
            doc.options.transparency = in.small(2);
            doc.options.gridShown = in.small(2);
            ts::composeView(view, doc, in.small(2) == 1, nullptr, {}, nullptr, kept);
            break;
        }
        case 16:
            // A plane whose tiles or palette did not come with it.
            if (doc.count > 0) {
                ts::PlaneRecord& p = doc.planes[size_t(in.small(doc.count))];
                if (in.small(2)) {
                    p.tiles.clear();
                    p.tileCount = 0;
                } else {
                    p.ownPalette = false;
                }
            }
            break;
        default: ts::pushGroupSnapshot(app); break;
        }
        check(doc);
    }
    ts::resetPlanes(app);
    check(doc);
    return 0;
}
