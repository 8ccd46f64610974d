#include "editor/plane_property_rules.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "convert/convert_settings.h"
#include "editor/editor_document.h"
#include "editor/editor_settings_script.h"
#include "editor/plane_history.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr int32_t kLargestGrid = 65536;  // grid steps above this are taken as this

bool blockSide(int v) { return v == 8 || v == 16 || v == 32 || v == 64; }

bool blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

// Puts new cells into a plane and restarts its group's histories; when a history cannot be
// restarted the old cells and size come back and false is returned.
bool replaceCells(App& app, int slot, std::vector<uint32_t>&& cells, int32_t width, int32_t height) {
    EditorDocument& doc = editorDocument(app);
    PlaneRecord& p = doc.planes[size_t(slot)];
    std::vector<uint32_t> oldCells = std::move(p.cells);
    int32_t oldW = p.width, oldH = p.height;
    p.cells = std::move(cells);
    p.width = width;
    p.height = height;
    if (!restartHistory(app, slot, false)) {
        p.cells = std::move(oldCells);
        p.width = oldW;
        p.height = oldH;
        return false;
    }
    for (int s : groupOf(doc, slot))
        if (s != slot) restartHistory(app, s, false);
    return true;
}

}  // namespace

bool applyParallax(App& app, int slot, double percentX, double percentY) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return true;
    // Work on copies of the rates, so that No can leave everything as it was.
    std::array<double, MaxPlanes> rx{}, ry{};
    for (int s = 0; s < doc.count; ++s) {
        rx[size_t(s)] = doc.planes[size_t(s)].scrollRateX;
        ry[size_t(s)] = doc.planes[size_t(s)].scrollRateY;
    }
    bool yes = false;
    auto apply = [&](double percent, std::array<double, MaxPlanes>& rates) {
        if (!(percent > 0) || !std::isfinite(percent)) return true;
        double factor = percent / 100.0;
        if (factor <= 1.0) {
            rates[size_t(slot)] = factor;
            return true;
        }
        if (!yes) {
            Answer a = showBox(hostServices(app), tr(T::CaptionQuestion), tr(T::ParallaxTooHigh), Icon::Question,
                               Buttons::YesNo, Answer::Yes);
            if (a != Answer::Yes) return false;
            yes = true;
        }
        for (int s = 0; s < doc.count; ++s) rates[size_t(s)] /= factor;
        rates[size_t(slot)] = 1.0;
        return true;
    };
    if (!apply(percentX, rx) || !apply(percentY, ry)) return false;
    for (int s = 0; s < doc.count; ++s) {
        doc.planes[size_t(s)].scrollRateX = rx[size_t(s)];
        doc.planes[size_t(s)].scrollRateY = ry[size_t(s)];
    }
    return true;
}

void applyGeneralPage(App& app, int slot, bool visible, bool skipNextTime, int32_t gridX, int32_t gridY) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return;
    PlaneRecord& p = doc.planes[size_t(slot)];
    p.visible = visible ? 1 : 0;
    p.skipInSettings = skipNextTime;
    if (gridX > 0) p.gridX = std::min(gridX, kLargestGrid);
    if (gridY > 0) p.gridY = std::min(gridY, kLargestGrid);
}

void applyPlanesOptions(App& app, bool gridShown, uint32_t gridColor, int32_t alphaGrid, int32_t alphaForeground,
                        int32_t alphaGfx, int32_t alphaHex) {
    EditorOptions& o = editorDocument(app).options;
    auto opacity = [](int32_t v) { return std::clamp(v, 0, 255); };
    o.gridShown = gridShown ? 1 : 0;
    o.gridColor = gridColor & 0xFFFFFF;
    o.alphaGrid = opacity(alphaGrid);
    o.alphaForeground = opacity(alphaForeground);
    o.alphaGfx = opacity(alphaGfx);
    o.alphaHex = opacity(alphaHex);
}

bool addSpecimenPlane(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    auto& list = doc.specimenPlanes;
    if (!planeOpen(doc, slot) || std::find(list.begin(), list.end(), slot) != list.end() ||
        int(list.size()) >= kMaxSpecimenPlanes)
        return false;
    list.push_back(slot);
    doc.planes[size_t(slot)].visible = 0;
    return true;
}

bool removeSpecimenPlane(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    auto& list = doc.specimenPlanes;
    auto it = std::find(list.begin(), list.end(), slot);
    if (it == list.end()) return false;
    list.erase(it);
    if (planeOpen(doc, slot)) doc.planes[size_t(slot)].visible = 1;
    return true;
}

bool applyPlaneProperties(App& app, int slot, int32_t width, int32_t height, int32_t referenceTile,
                          uint32_t displayMask) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return true;
    PlaneRecord& p = doc.planes[size_t(slot)];
    if (displayMask != 0) p.displayMask = displayMask;
    if (referenceTile != p.tileOffset && referenceTile >= 0) {
        if (referenceTile < p.tileCount) {
            p.tileOffset = referenceTile;
            p.history.forcedModified = true;
            doc.currentPattern = 0;
            updateTitle(doc);
        } else {
            showBox(hostServices(app), tr(T::CaptionError), tr(T::ReferenceTileTooHigh), Icon::Error);
        }
    }
    if (width <= 0 || height <= 0 || (width == p.width && height == p.height) || p.kind != PlaneMap) return true;
    std::vector<uint32_t> cells;
    bool ok = int64_t(width) * height <= kMaxEditorCells;
    if (ok) {
        try {
            cells.assign(size_t(width) * size_t(height), 0);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    if (ok) {
        int32_t w = std::min(width, p.width), h = std::min(height, p.height);
        for (int32_t y = 0; y < h; ++y)
            std::copy_n(p.cells.begin() + std::ptrdiff_t(y) * p.width, w, cells.begin() + std::ptrdiff_t(y) * width);
        ok = replaceCells(app, slot, std::move(cells), width, height);
    }
    if (!ok) {
        showBox(hostServices(app), tr(T::CaptionArgh), tr(T::ResizeNoMemory), Icon::Error);
        return false;
    }
    return true;
}

bool ruleFromFields(const std::string& low, const std::string& high, const std::string& target, bool exact,
                    ValueRule& out) {
    if (blank(low) || blank(target)) return false;
    uint32_t lo = uint32_t(parseValue(low.c_str() + low.find_first_not_of(" \t")));
    uint32_t hi = blank(high) ? lo : uint32_t(parseValue(high.c_str() + high.find_first_not_of(" \t")));
    uint32_t to = uint32_t(parseValue(target.c_str() + target.find_first_not_of(" \t")));
    if (hi < lo) std::swap(lo, hi);
    out.low = lo;
    out.high = hi;
    out.offset = int32_t(lo - to);
    out.exact = exact;
    return true;
}

bool addRule(std::vector<ValueRule>& rules, const ValueRule& rule) {
    if (rules.size() >= size_t(kMaxPlaneRules)) return false;
    if (std::find(rules.begin(), rules.end(), rule) != rules.end()) return false;
    rules.push_back(rule);
    return true;
}

bool modifyRule(std::vector<ValueRule>& rules, int index, const ValueRule& rule) {
    if (index < 0 || size_t(index) >= rules.size()) return false;
    rules[size_t(index)] = rule;
    return true;
}

bool deleteRule(std::vector<ValueRule>& rules, int index) {
    if (index < 0 || size_t(index) >= rules.size()) return false;
    rules.erase(rules.begin() + index);
    return true;
}

std::string ruleLine(const ValueRule& r) {
    return formatText("%x-%x -> %x %s", unsigned(r.low), unsigned(r.high), unsigned(r.target()),
                      r.exact ? tr(T::RuleExact) : "");
}

void applyRules(PlaneRecord& plane, const std::vector<ValueRule>& rules) {
    plane.ruleCount = int32_t(std::min(rules.size(), size_t(kMaxPlaneRules)));
    for (int i = 0; i < plane.ruleCount; ++i) plane.rules[size_t(i)] = rules[size_t(i)];
}

std::string bitLine(const PlaneRecord& plane, int bit) {
    if (bit < 0 || bit >= kEntryBits) return {};
    bool on = (plane.bitFlags >> bit) & 1;
    return formatText("%02i: %s (%s)", bit, plane.bitTexts[size_t(bit)].c_str(), tr(on ? T::BitEnabled : T::BitDisabled));
}

void updateBit(PlaneRecord& plane, int bit, const std::string& label, bool shown) {
    if (bit < 0 || bit >= kEntryBits) return;
    plane.bitTexts[size_t(bit)] = label.substr(0, kBitTextMax);
    if (shown) plane.bitFlags |= 1u << bit;
    else plane.bitFlags &= ~(1u << bit);
}

void toggleBit(App& app, int bit, bool set) {
    if (bit < 0 || bit >= kEntryBits) return;
    EditorDocument& doc = editorDocument(app);
    const uint32_t mask = 1u << bit;
    SelectionStore& store = doc.store;
    if (store.allocated() && !store.empty()) {
        int owner = std::clamp(store.ownerPlane, 0, MaxPlanes - 1);
        int layer = storeLayerOf(store, doc.links[size_t(owner)].members, doc.active);
        const uint32_t hole = doc.options.invisibleBlock;
        const bool skipZero = doc.options.bitsZeroMask != 0;
        int w = std::min(store.width, kStoreSide), h = std::min(store.height, kStoreSide);
        for (int y = 0; y < h; ++y) {
            uint32_t* row = store.row(layer, y);
            for (int x = 0; x < w; ++x) {
                uint32_t v = row[x];
                if (v == hole || (skipZero && v == 0)) continue;
                row[x] = set ? v | mask : v & ~mask;
            }
        }
        return;
    }
    doc.currentPattern = set ? doc.currentPattern | mask : doc.currentPattern & ~mask;
    doc.statusText = formatText(tr(T::StatusPattern), int(doc.currentPattern), unsigned(doc.currentPattern));
}

void applyLinks(App& app, const std::string& text) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, doc.active)) return;
    const LinkList old = doc.links[size_t(doc.active)];
    for (int i = 0; i < old.size(); ++i) {
        int s = old[i];
        if (s != doc.active && s < MaxPlanes) doc.links[size_t(s)] = LinkList(s);
    }
    if (blank(text)) linkPlanes(app, std::to_string(doc.active + 1));
    else linkPlanes(app, text);
    updateScrollSteps(doc);
}

std::string linksText(App& app) {
    EditorDocument& doc = editorDocument(app);
    std::string out;
    const LinkList& list = doc.links[size_t(std::clamp(doc.active, 0, MaxPlanes - 1))];
    for (int i = 0; i < list.size(); ++i) out += (i ? ", " : "") + std::to_string(list[i] + 1);
    return out;
}

bool changeBlockSize(App& app, int ow, int oh) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, doc.active)) return false;
    const ConvertSettings& conv = convertSettings(app);
    const int bw = conv.tileX, bh = conv.tileY;
    if (!blockSide(ow) || !blockSide(oh) || !blockSide(bw) || !blockSide(bh)) return false;
    PlaneRecord& p = doc.planes[size_t(doc.active)];
    if (p.kind != PlaneMap) return false;
    // 1. Every cell expands into the 8x8 tiles of its ow x oh block.
    const int64_t tilesX = int64_t(p.width) * (ow / 8), tilesY = int64_t(p.height) * (oh / 8);
    const int64_t newW = tilesX / (bw / 8), newH = tilesY / (bh / 8);
    if (tilesX * tilesY > kMaxEditorCells * 64 || newW * newH > kMaxEditorCells) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::BlockSizeNoMemory), Icon::Error);
        return false;
    }
    std::vector<uint32_t> tiles, cells;
    try {
        tiles.assign(size_t(tilesX * tilesY), 0);
    } catch (const std::bad_alloc&) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::BlockSizeNoMemory), Icon::Error);
        return false;
    }
    const int64_t allTiles = int64_t(p.tiles.size() / kTileWords);
    const int64_t oldPerBlock = ow * oh / 64, oldBlocks = allTiles / oldPerBlock;
    for (int64_t y = 0; y < p.height; ++y)
        for (int64_t x = 0; x < p.width; ++x) {
            int64_t v = int64_t(p.cells[size_t(y * p.width + x)]) + p.tileOffset;
            if (v < 0 || v >= oldBlocks) continue;
            for (int k = 0; k < oldPerBlock; ++k) {
                int64_t tx = x * (ow / 8) + k % (ow / 8), ty = y * (oh / 8) + k / (ow / 8);
                tiles[size_t(ty * tilesX + tx)] = uint32_t(oldPerBlock * v + k);
            }
        }
    // 2. Regrouped into blocks of bw x bh: a block is named by its top-left tile.
    try {
        cells.assign(size_t(newW * newH), 0);
    } catch (const std::bad_alloc&) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::BlockSizeNoMemoryShort), Icon::Error);
        return false;
    }
    const int64_t newPerBlock = bw * bh / 64;
    for (int64_t y = 0; y < newH; ++y)
        for (int64_t x = 0; x < newW; ++x) {
            int64_t block = tiles[size_t(y * (bh / 8) * tilesX + x * (bw / 8))] / newPerBlock - p.tileOffset;
            cells[size_t(y * newW + x)] = uint32_t(std::max<int64_t>(block, 0));
        }
    // 3. The plane takes the new cells; its group starts a new history.
    if (!replaceCells(app, doc.active, std::move(cells), int32_t(newW), int32_t(newH))) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::BlockSizeNoMemory), Icon::Error);
        return false;
    }
    PlaneRecord& q = doc.planes[size_t(doc.active)];
    q.blockWidth = q.defaultGridX = bw;
    q.blockHeight = q.defaultGridY = bh;
    q.tileCount = int32_t(allTiles / newPerBlock);
    updateScrollSteps(doc);
    return true;
}

bool pickSpecimen(App& app, int col0, int row0, int col1, int row1) {
    EditorDocument& doc = editorDocument(app);
    if (doc.specimenPlanes.empty() || !planeOpen(doc, doc.specimenPlanes.front())) return false;
    const PlaneRecord& first = doc.planes[size_t(doc.specimenPlanes.front())];
    int left = std::min(col0, col1), right = std::max(col0, col1);
    int top = std::min(row0, row1), bottom = std::max(row0, row1);
    if (first.kind != PlaneMap || left < 0 || top < 0 || right >= first.width || bottom >= first.height) return false;
    int w = right - left + 1, h = bottom - top + 1;
    if (w > kStoreSide || h > kStoreSide || !allocateStore(doc.store)) return false;
    SelectionStore& store = doc.store;
    emptyStore(store);
    int layer = 0;
    for (int s : doc.specimenPlanes) {
        if (layer >= kStoreCopyLayers) break;
        if (!planeOpen(doc, s)) continue;
        const PlaneRecord& p = doc.planes[size_t(s)];
        if (p.kind != PlaneMap) continue;
        for (int y = 0; y < h; ++y) {
            uint32_t* row = store.row(layer, y);
            for (int x = 0; x < w; ++x) {
                int cx = left + x, cy = top + y;
                row[x] = cx < p.width && cy < p.height ? p.cells[size_t(cy) * size_t(p.width) + size_t(cx)] : 0;
            }
        }
        store.layerFilled[size_t(layer)] = true;
        ++layer;
    }
    store.layerCount = layer;
    store.width = w;
    store.height = h;
    store.ownerPlane = doc.active;
    store.rect = StoreRect{left * first.blockWidth, top * first.blockHeight, (right + 1) * first.blockWidth - 1,
                           (bottom + 1) * first.blockHeight - 1};
    return true;
}

}  // namespace ts
