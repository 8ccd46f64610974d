// Fuzz target: the operation and condition texts of "Operations on selection" on a small store,
// "Blocks copy" with any field texts, and frames of a plane whose cells, rules, block size, tile
// offset and display mask come from the input (the view must never read or write outside the
// tiles, the palette or the surface).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "editor/blocks_copy.h"
#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/map_view_renderer.h"
#include "editor/selection_operations.h"
#include "editor/tool_overlay.h"
#include "fuzz_input.h"
#include "fuzz_program.h"

using fuzz::Input;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ts::App* app = &fuzz::startedProgram();
    Input in{data, size};
    ts::EditorDocument& doc = ts::editorDocument(*app);
    ts::resetPlanes(*app);
    doc.memoryLimit = 1 << 24;
    for (int i = 0; i < ts::MaxPlanes; ++i) doc.links[size_t(i)] = ts::LinkList(i);
    if (!ts::allocateStore(doc.store)) return 0;
    ts::emptyStore(doc.store);

    // A plane built from the input.
    ts::PlaneRecord& p = doc.planes[0];
    p = ts::PlaneRecord{};
    p.kind = ts::PlaneMap;
    p.width = 1 + in.small(40);
    p.height = 1 + in.small(40);
    p.cells.resize(size_t(p.width) * size_t(p.height));
    for (uint32_t& c : p.cells) c = in.word();
    const int sides[4] = {8, 16, 32, 64};
    p.blockWidth = sides[in.small(4)];
    p.blockHeight = sides[in.small(4)];
    p.tileCount = in.small(300);
    p.tiles.resize(size_t(in.small(300)) * ts::kTileWords);
    for (size_t i = 0; i < p.tiles.size(); ++i) p.tiles[i] = uint32_t(i * 2654435761u) >> (in.small(2) ? 24 : 0);
    p.emulGba = in.small(2);
    p.layout = ts::MapEntryLayout{0x3FF, 0xF000, 12, 0x400, 10, 0x800, 11};
    p.paletteBanks = in.small(2) == 1;
    p.colorsPerBank = in.small(300) - 10;
    p.index0Transparent = in.small(2) == 1;
    p.ruleCount = in.small(25) - 2;
    for (ts::ValueRule& r : p.rules) r = ts::ValueRule{in.word() & 0xFFF, in.word() & 0xFFF, int32_t(in.word() & 0xFF) - 128, in.small(2) == 1};
    p.tileOffset = int32_t(in.word() % 64) - 32;
    p.displayMask = in.small(2) ? 0xFFFFFFFFu : in.word();
    p.gridX = in.small(70);
    p.gridY = in.small(70);
    p.scrollRateX = 0.25 * (1 + in.small(8));
    p.valueMask = in.small(2) ? 0xFF : 0xFFFF;
    doc.count = 1;
    doc.active = 0;
    doc.scrollX = in.small(400);
    doc.scrollY = in.small(400);
    doc.options.hexMode = in.small(2);
    doc.options.gridShown = in.small(2);
    doc.options.transparency = in.small(2);
    ts::pushSnapshot(*app, 0);

    ts::Surface view;
    ts::createSurface(view, 1 + in.small(200), 1 + in.small(150));
    ts::EditorSession session;
    ts::composeView(view, doc, true, [&](ts::Surface& s) { ts::drawToolOverlay(s, doc, session, 0); }, {});

    // Tools and texts.
    ts::selectRect(*app, session, {in.small(60) - 10, in.small(60) - 10}, {in.small(60) - 10, in.small(60) - 10}, {});
    const std::string ops = in.text(60), cond = in.text(60);
    ts::runSelectionOperations(doc.store, ops, cond, in.small(2) == 1, in.small(7) - 1, doc.options.invisibleBlock,
                               in.small(2) == 1);
    ts::BlocksCopyFields f{in.text(8), in.text(8), in.text(8), in.text(8), in.text(8), in.text(8), in.small(2) == 1};
    ts::runBlocksCopy(*app, f);
    ts::paintRect(*app, session, {in.small(60) - 10, in.small(60) - 10}, {in.small(60) - 10, in.small(60) - 10}, {});
    ts::pasteStore(*app, session);
    ts::composeView(view, doc, false, nullptr, {});
    ts::Surface panel;
    ts::createSurface(panel, 64, 64);
    ts::drawPatternPanel(panel, doc, session, 0);
    if (p.cells.size() != size_t(p.width) * size_t(p.height)) __builtin_trap();
    return 0;
}
