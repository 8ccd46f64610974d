#include "formats/gb_driver.h"

#include <utility>

#include "formats/load_save_ops.h"
#include "formats/object_list_io.h"
#include "formats/platform.h"
#include "host/message_box.h"
#include "formats/platform_state.h"
#include "script/interpreter.h"
#include "script/values.h"

namespace ts {

const DepthInfo kGameBoyDepths[2] = {
    {"2 bits BG", "4", 4, 2, 0, 1, 31, 4, 4, 0, nullptr, &kColorFormat15},
    {"2 bits sprite", "3", 3, 2, 0, 1, 31, 4, 4, 1, nullptr, &kColorFormat15},
};

const char* const kDmgPresetNames[3] = {"Game Boy Pocket", "Game Boy DMG", "Game Boy Light"};

namespace {

uint32_t rgb(uint32_t value) { return 0xFF000000u | (value & 0xFFFFFF); }

const ScriptObjectDef& gbcObject() {
    static const ScriptObjectDef object{{
        ScriptIdentifier{"dmgmode", IdentifierKind::Command, nullptr, cmdGbcDmgMode},
    }};
    return object;
}

}  // namespace

std::array<uint32_t, 4> dmgPresetColors(DmgPreset preset) {
    switch (preset) {
    case DmgPreset::Dmg:
        return {rgb(0xD3DE34), rgb(0xA5B52B), rgb(0x70831B), rgb(0x284440)};
    case DmgPreset::Light:
        return {rgb(0x00E7FF), rgb(0x009AC7), rgb(0x004D8F), rgb(0x000057)};
    case DmgPreset::Pocket:
    default:
        return {rgb(0xFFFFFF), rgb(0xAAAAAA), rgb(0x555555), rgb(0x000000)};
    }
}

PlatformRecord gameBoyPlatformRecord() {
    PlatformRecord record{};
    record.name = "Game Boy, Nintendo";
    record.capabilityFlag = 1;
    record.depthCount = 2;
    record.defaultDepth = 0;
    record.depths = kGameBoyDepths;
    record.paletteCapacity = 256;
    record.layouts[MapRotation] = {0xFFFFFFFF, 0, 32, 0, 32, 0, 32};
    record.layouts[MapText] = {0x3FF, 0xF000, 12, 0x400, 10, 0x800, 11};
    record.layouts[MapExtended] = {0xFFFFFFFF, 0, 32, 0, 32, 0, 32};
    record.onEvent = gameBoyOnEvent;
    record.createOptionsPanel = gameBoyCreateOptionsPanel;
    record.writeSettings = gameBoyWriteSettings;
    record.reserved = nullptr;
    record.onConvert = gameBoyOnConvert;
    record.loadPalette = gameBoyLoadPalette;
    record.loadTileset = gameBoyLoadTileset;
    record.loadMap = loadMapData;
    record.loadList = loadObjectList;
    record.loadBitmap = gameBoyLoadBitmap;
    record.savePalette = gameBoySavePalette;
    record.saveTileset = gameBoySaveTileset;
    record.saveMap = saveMapData;
    record.saveList = saveObjectList;
    record.saveBitmap = gameBoySaveBitmap;
    return record;
}

void gameBoyOnEvent(App& app, int event, PlatformRecord& self) {
    if (event != 0) return;
    ScriptIdentifier row{"gbc", IdentifierKind::ScriptObject};
    row.object = &gbcObject();
    registerIdentifier(app, row);
    platformState(app).gbc.dmgMode = 0;
    platformState(app).gbc.dmgPalette = dmgPresetColors(DmgPreset::Pocket);
}

int gameBoyCreateOptionsPanel(App& app, int pageCode, void* parent) {
    int kind = pageCode & 0x7000;
    bool hasPanel = kind == 0x1000 || kind == 0x2000;
    if (pageCode & 0x8000) return hasPanel ? 1 : 0;
    // The window front end builds the panel from gameBoyPanelState() and stores it back with
    // storeGameBoyPanelState(); the core makes no window.
    return 0;
}

void gameBoyWriteSettings(const App& app, int code, std::string& out) {
    out += formatText("  GBC.dmgmode = %s\n", platformState(app).gbc.dmgMode ? "true" : "false");
}

int gameBoyOnConvert(App& app, int phase) { return 1; }

std::array<int, 4> shadeOrder(const uint32_t* palette) {
    std::array<int, 4> order{0, 1, 2, 3};
    std::array<long, 4> key{};
    for (int i = 0; i < 4; ++i) {
        uint32_t c = palette[i];
        key[i] = (850L - bgraBlue(c)) * 30 - long(bgraGreen(c)) * 59 - long(bgraRed(c)) * 11;
    }
    // Bubble sort by ascending key (brightest first); it stops when a pass swaps nothing.
    for (int pass = 0; pass < 3; ++pass) {
        bool swapped = false;
        for (int i = 0; i < 3 - pass; ++i) {
            if (key[order[i]] > key[order[i + 1]]) {
                std::swap(order[i], order[i + 1]);
                swapped = true;
            }
        }
        if (!swapped) break;
    }
    return order;
}

GameBoyPanelState gameBoyPanelState(const App& app) { return {platformState(app).gbc.dmgMode != 0, -1}; }

void storeGameBoyPanelState(App& app, const GameBoyPanelState& state) {
    platformState(app).gbc.dmgMode = state.dmgMode ? 1 : 0;
    if (state.preset >= 0 && state.preset <= 2) platformState(app).gbc.dmgPalette = dmgPresetColors(DmgPreset(state.preset));
}

void cmdGbcDmgMode(App& app, char* args) {
    while (*args == ' ' || *args == '\t' || *args == '=') ++args;
    platformState(app).gbc.dmgMode = parseValue(args);
}

}  // namespace ts
