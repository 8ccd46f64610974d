#include "editor/editor_settings_script.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/editor_document.h"
#include "editor/plane_property_rules.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr int32_t kLargestGrid = 65536;  // grid steps above this are taken as this
constexpr int kBitsPlaceWidth = 100;     // the bits display must find this much room on a screen
constexpr int kBitsPlaceHeight = 50;

const char* truth(bool v) { return v ? "true" : "false"; }

// Reads up to `max` integer arguments; gives how many were present.
int readValues(const char* p, int32_t* out, int max) {
    int n = 0;
    while (*p && n < max) {
        out[n++] = parseValue(p);
        const char* q = nextArgument(p);
        if (q == p) break;
        p = q;
    }
    return n;
}

int readDoubles(const char* p, double* out, int max) {
    int n = 0;
    while (*p && n < max) {
        out[n++] = parseDouble(p);
        const char* q = nextArgument(p);
        if (q == p) break;
        p = q;
    }
    return n;
}

int32_t gridValue(double v) { return int32_t(std::min(v, double(kLargestGrid))); }

// The plane the statement's index selects, or null when that slot holds no plane.
PlaneRecord* indexedPlane(App& app) {
    EditorDocument& doc = editorDocument(app);
    int slot = scriptState(app).currentIndex;
    return planeOpen(doc, slot) ? &doc.planes[size_t(slot)] : nullptr;
}

bool touchesScreen(const EditorDocument& doc, int32_t left, int32_t top, int32_t width, int32_t height) {
    for (const WindowPlace& s : doc.screens) {
        int64_t r1 = int64_t(left) + width, b1 = int64_t(top) + height;
        int64_t r2 = int64_t(s.left) + s.width, b2 = int64_t(s.top) + s.height;
        if (left < r2 && r1 > s.left && top < b2 && b1 > s.top) return true;
    }
    return false;
}

void appendPlaneLines(const EditorDocument& doc, int slot, std::string& out) {
    const PlaneRecord& p = doc.planes[size_t(slot)];
    int k = slot + 1;
    out += formatText("    Maps.Add \"%s\", %i\n", p.element.name.c_str(), k);
    if (!p.visible) out += formatText("    Maps[%i].Visible = false\n", k);
    if (p.scrollRateX != 1.0 || p.scrollRateY != 1.0)
        out += formatText("    Maps[%i].ScrollRate %f, %f\n", k, p.scrollRateX, p.scrollRateY);
    if (p.gridX != p.defaultGridX || p.gridY != p.defaultGridY)
        out += formatText("    Maps[%i].Grid %i, %i\n", k, int(p.gridX), int(p.gridY));
    for (int i = 0; i < p.ruleCount; ++i) {
        const ValueRule& r = p.rules[size_t(i)];
        out += formatText("    Maps[%i].AddCondition 0x%x,0x%x 0x%x%s\n", k, unsigned(r.low), unsigned(r.high),
                          unsigned(r.target()), r.exact ? "=" : "");
    }
    out += formatText("    Maps[%i].EmulGBA = %s\n", k, truth(p.emulGba != 0));
}

}  // namespace

void makeBitTables(EditorDocument& doc) {
    if (doc.bitTablesMade) return;
    for (PlaneRecord& p : doc.planes) {
        for (int b = 0; b < kEntryBits; ++b) p.bitTexts[size_t(b)] = standardBitText(b);
        p.bitFlags = kDefaultBitFlags;
    }
    doc.bitTablesMade = true;
}

std::string settingsScriptText(const EditorDocument& doc) {
    std::string out;
    const EditorOptions& o = doc.options;
    for (int s = 0; s < doc.count; ++s)
        if (!doc.planes[size_t(s)].skipInSettings) appendPlaneLines(doc, s, out);
    if (o.transparency) out += "    Maps.Transparency = true\n";
    if (doc.bitTablesMade) {
        for (int s = 0; s < doc.count; ++s) {
            const PlaneRecord& p = doc.planes[size_t(s)];
            for (int b = 0; b < kEntryBits; ++b) {
                if (p.bitTexts[size_t(b)] != standardBitText(b))
                    out += formatText("    Bits[%i].BitText %i,\"%s\"\n", s + 1, b, p.bitTexts[size_t(b)].c_str());
                bool on = (p.bitFlags >> b) & 1, standard = (kDefaultBitFlags >> b) & 1;
                if (on != standard) out += formatText("    Bits[%i].BitEnabled = %i,%s\n", s + 1, b, truth(on));
            }
        }
        if (doc.bitsShown) out += "    Bits.Show\n";
    }
    if (o.hexMode) out += "    ModeHexa.Enabled = true\n";
    // "Gfx map as background" is on at every opening, so only its being off needs a line.
    if (!o.hexActiveMap) out += "    ModeHexa.ActiveMap = false\n";
    if (o.fillZeros) out += "    ModeHexa.FillZeros = true\n";
    if (o.gridShown) out += "    Editor.Grid = true\n";
    if (o.gridColor != kDefaultGridColor)
        out += formatText("    Editor.GridColor = RGB(%i,%i,%i)\n", int(o.gridColor & 255), int((o.gridColor >> 8) & 255),
                          int((o.gridColor >> 16) & 255));
    if (o.alphaGrid != 96) out += formatText("    Editor.AlphaGrid = %i\n", int(o.alphaGrid));
    if (o.alphaForeground != 160) out += formatText("    Maps.AlphaForeground = %i\n", int(o.alphaForeground));
    if (o.alphaGfx != 128) out += formatText("    Maps.AlphaGfx = %i\n", int(o.alphaGfx));
    if (o.alphaHex != 96) out += formatText("    Maps.AlphaHex = %i\n", int(o.alphaHex));
    if (o.zoom != 1.0) out += formatText("    Editor.Zoom = %#.2f\n", o.zoom);
    if (o.preciseZoom) out += "    Editor.PreciseZoom = true\n";
    for (int s : doc.specimenPlanes) out += formatText("    Specimen.AddMap %i\n", s + 1);
    const WindowPlace& e = doc.editorPlace;
    out += formatText("    Editor.Move %i, %i, %i, %i, %s\n", int(e.width), int(e.height), int(e.left), int(e.top),
                      truth(e.maximized));
    if (doc.specimenExists) {
        const WindowPlace& w = doc.specimenPlace;
        out += formatText("    Specimen.Move %i, %i, %i, %i\n", int(w.width), int(w.height), int(w.left), int(w.top));
        out += formatText("    Specimen.Show %s\n", truth(doc.specimenShown));
    }
    if (doc.bitsShown) out += formatText("    Bits.Move %i, %i\n", int(doc.bitsPlace.left), int(doc.bitsPlace.top));
    for (int s = 0; s < MaxPlanes; ++s) {
        const LinkList& list = doc.links[size_t(s)];
        if (list.size() < 2) continue;
        bool repeated = false;
        for (int t = 0; t < s && !repeated; ++t) repeated = doc.links[size_t(t)] == list;
        if (repeated) continue;
        out += "    Fonds.Link ";
        for (int i = 0; i < list.size(); ++i)
            out += formatText(i + 1 < list.size() ? "%i, " : "%i\n", list[i] + 1);
    }
    out += "    End\n\n\n\n";
    return out;
}

bool writeSettings(App& app) {
    EditorDocument& doc = editorDocument(app);
    if (!systemSettings(app).saveMapsParams || doc.count == 0) return true;
    std::string text = settingsScriptText(doc), crlf;
    crlf.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    std::string path = doc.settingsFile.empty() ? settingsPath(doc.planes[0].element.file) : doc.settingsFile;
    if (writeFileAtomically(path, crlf)) return true;
    showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::SettingsWriteFailed), path.c_str()), Icon::Error);
    return false;
}

// ---- maps ----

void cmdMapsAdd(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    if (!doc.open) return;
    char* p = args;
    std::string name;
    if (!quotedArgument(p, name, kElementNameMax)) return;
    while (*p == ' ' || *p == '\t' || *p == ',') ++p;
    int32_t n = *p ? parseValue(p) : 0;
    const ElementTable& table = elementTable(app);
    const ElementRecord* found = nullptr;
    for (const ElementRecord& r : table.records)
        if (!r.isFolder() && (r.type() == TYPE_CARTE || r.type() == TYPE_LISTE) && r.name == name) {
            found = &r;
            break;
        }
    if (!found) return;
    ElementRecord element = *found;
    int slot = n >= 1 && n <= MaxPlanes ? n - 1 : -1;
    if (slot < 0 || !planeOpen(doc, slot)) {
        openPlane(app, element);
        return;
    }
    const PlaneRecord& there = doc.planes[size_t(slot)];
    if (there.element.name == element.name && there.element.file == element.file) return;
    openPlane(app, element, slot);
}

void cmdMapsReset(App& app, char*) { resetPlanes(app); }

bool linkPlanes(App& app, const std::string& numbers) {
    EditorDocument& doc = editorDocument(app);
    std::vector<int> slots;
    const char* p = numbers.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    while (*p) {
        int32_t v = parseValue(p);
        if (v >= 1 && v <= doc.count && std::find(slots.begin(), slots.end(), v - 1) == slots.end())
            slots.push_back(v - 1);
        const char* q = nextArgument(p);
        if (q == p) break;
        p = q;
    }
    if (slots.empty()) return false;
    LinkList list;
    for (size_t i = 0; i < slots.size() && i < size_t(MaxPlanes); ++i) list.members[i] = uint8_t(slots[i]);
    for (int s : slots)
        if (restartHistory(app, s, true)) doc.links[size_t(s)] = list;
    updateScrollSteps(doc);
    updateTitle(doc);
    return true;
}

void cmdMapsLink(App& app, char* args) { linkPlanes(app, args); }

void cmdMapsScrollRate(App& app, char* args) {
    PlaneRecord* plane = indexedPlane(app);
    if (!plane) return;
    double v[2] = {0.0, 0.0};
    int n = readDoubles(args, v, 2);
    if (n >= 1 && v[0] > 0 && std::isfinite(v[0])) plane->scrollRateX = v[0];
    if (n >= 2 && v[1] > 0 && std::isfinite(v[1])) plane->scrollRateY = v[1];
}

void cmdMapsAddCondition(App& app, char* args) {
    PlaneRecord* plane = indexedPlane(app);
    if (!plane) return;
    int32_t v[3] = {0, 0, 0};
    readValues(args, v, 3);
    size_t len = std::strlen(args);
    ValueRule rule;
    rule.low = uint32_t(v[0]);
    rule.high = uint32_t(v[1]);
    rule.offset = int32_t(uint32_t(v[0]) - uint32_t(v[2]));
    rule.exact = len > 0 && args[len - 1] == '=';
    if (plane->ruleCount >= kMaxPlaneRules) return;
    for (int i = 0; i < plane->ruleCount; ++i)
        if (plane->rules[size_t(i)] == rule) return;
    plane->rules[size_t(plane->ruleCount++)] = rule;
}

void cmdMapsGrid(App& app, char* args) {
    PlaneRecord* plane = indexedPlane(app);
    if (!plane) return;
    double v[2] = {0.0, 0.0};
    int n = readDoubles(args, v, 2);
    if (n < 1) return;
    // A step below one cell pixel is refused; y follows x only when x was taken.
    bool xTaken = v[0] >= 1;
    if (xTaken) plane->gridX = gridValue(v[0]);
    if (n >= 2 && v[1] >= 1) plane->gridY = gridValue(v[1]);
    else if (xTaken) plane->gridY = plane->gridX;
}

void cmdMapsEmulGba(App& app, char* args) {
    if (PlaneRecord* plane = indexedPlane(app)) plane->emulGba = parseValue(args);
}

// ---- editor ----

void cmdEditorMove(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    int32_t v[5] = {0, 0, 0, 0, 0};
    int n = readValues(args, v, 5);
    if (n < 2 || v[0] <= 0 || v[1] <= 0) return;
    WindowPlace& place = doc.editorPlace;
    if (n >= 5 && v[4]) {
        place.maximized = true;
        return;
    }
    if (n >= 4) {
        if (!touchesScreen(doc, v[2], v[3], v[0], v[1])) return;
        place.left = v[2];
        place.top = v[3];
    }
    place.width = v[0];
    place.height = v[1];
    place.maximized = false;
}

void cmdEditorZoom(App& app, char* args) {
    double z = parseDouble(args);
    if (z > 0 && std::isfinite(z)) editorDocument(app).options.zoom = z;
}

// ---- specimen ----

void cmdSpecimenShow(App& app, char* args) { editorDocument(app).specimenShown = parseValue(args) != 0; }

void cmdSpecimenAddMap(App& app, char* args) {
    int32_t n = parseValue(args);
    if (n >= 1 && n <= MaxPlanes) addSpecimenPlane(app, n - 1);
}

void cmdSpecimenMove(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    int32_t v[4] = {0, 0, 0, 0};
    int n = readValues(args, v, 4);
    if (n < 2 || v[0] <= 0 || v[1] <= 0) return;
    if (n >= 4) {
        if (!touchesScreen(doc, v[2], v[3], v[0], v[1])) return;
        doc.specimenPlace.left = v[2];
        doc.specimenPlace.top = v[3];
    }
    doc.specimenPlace.width = v[0];
    doc.specimenPlace.height = v[1];
}

// ---- bits ----

void cmdBitsShow(App& app, char*) {
    EditorDocument& doc = editorDocument(app);
    makeBitTables(doc);
    doc.bitsShown = true;
}

void cmdBitsBitText(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    int slot = scriptState(app).currentIndex;
    if (slot < 0) {
        scriptError(app, tr(T::BitsRenamePlane));
        return;
    }
    if (slot >= MaxPlanes) return;
    int32_t bit = parseValue(args);
    if (bit < 0 || bit >= kEntryBits) {
        scriptError(app, tr(T::BitsRenameRange));
        return;
    }
    char* p = const_cast<char*>(nextArgument(args));
    std::string label;
    if (!quotedArgument(p, label, 1000) || label.size() > kBitTextMax) return;
    makeBitTables(doc);
    doc.planes[size_t(slot)].bitTexts[size_t(bit)] = label;
    scriptState(app).bitsChanged = true;
}

void cmdBitsBitEnabled(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    int slot = scriptState(app).currentIndex;
    if (slot < 0) {
        scriptError(app, tr(T::BitsEnablePlane));
        return;
    }
    if (slot >= MaxPlanes) return;
    int32_t v[2] = {0, 0};
    readValues(args, v, 2);
    if (v[0] < 0 || v[0] >= kEntryBits) {
        scriptError(app, tr(T::BitsEnableRange));
        return;
    }
    makeBitTables(doc);
    uint32_t& flags = doc.planes[size_t(slot)].bitFlags;
    if (v[1]) flags |= 1u << v[0];
    else flags &= ~(1u << v[0]);
    scriptState(app).bitsChanged = true;
}

void cmdBitsMove(App& app, char* args) {
    EditorDocument& doc = editorDocument(app);
    int32_t v[2] = {0, 0};
    if (readValues(args, v, 2) < 2) return;
    if (!touchesScreen(doc, v[0], v[1], kBitsPlaceWidth, kBitsPlaceHeight)) return;
    doc.bitsPlace.left = v[0];
    doc.bitsPlace.top = v[1];
}

}  // namespace ts
