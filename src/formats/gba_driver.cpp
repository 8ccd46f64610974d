#include "formats/gba_driver.h"

#include "formats/load_save_ops.h"
#include "formats/object_list_io.h"
#include "formats/platform.h"
#include "formats/platform_format_bridge.h"
#include "host/message_box.h"
#include "formats/platform_state.h"
#include "script/interpreter.h"
#include "script/values.h"

namespace ts {

const DepthInfo kGbaDepths[4] = {
    {"4 bits (16 col.)", "4", 4, 2, 1, 1, 255, 16, 16, 1, nullptr, &kColorFormat15},
    {"8 bits (256 col.)", "8", 8, 1, 1, 0, 256, 0, 256, 1, nullptr, &kColorFormat15},
    {"15 bits (32k col.)", "15", 15, 0, 1, 0, 0, 0, 0, 0, nullptr, &kColorFormat15},
    {"32 bits (RGBA)", "32", 32, 0, 0, 0, 0, 0, 0, 0, nullptr, &kColorFormat32},
};

namespace {

constexpr const char* kAlignAttribute = "__attribute__((aligned(4))) ";

const char* boolText(int32_t value) { return value ? "true" : "false"; }

int32_t argumentValue(const char* args) {
    while (*args == ' ' || *args == '\t' || *args == '=') ++args;
    return parseValue(args);
}

const ScriptObjectDef& gbaObject() {
    static const ScriptObjectDef object{{
        ScriptIdentifier{"palettemask", IdentifierKind::Command, nullptr, cmdGbaPaletteMask},
        ScriptIdentifier{"mirrormask", IdentifierKind::Command, nullptr, cmdGbaMirrorMask},
        ScriptIdentifier{"align", IdentifierKind::Command, nullptr, cmdGbaAlign},
        ScriptIdentifier{"revcolororder", IdentifierKind::Command, nullptr, cmdGbaRevColorOrder},
    }};
    return object;
}

}  // namespace

PlatformRecord gbaPlatformRecord() {
    PlatformRecord record{};
    record.name = "Game Boy Advance, Nintendo";
    record.capabilityFlag = 1;
    record.depthCount = 4;
    record.defaultDepth = 1;
    record.depths = kGbaDepths;
    record.paletteCapacity = 256;
    record.layouts[MapRotation] = {0xFFFFFFFF, 0, 32, 0, 32, 0, 32};
    record.layouts[MapText] = {0x3FF, 0xF000, 12, 0x400, 10, 0x800, 11};
    record.layouts[MapExtended] = {0xFFFFFFFF, 0, 32, 0, 32, 0, 32};
    record.onEvent = gbaOnEvent;
    record.createOptionsPanel = gbaCreateOptionsPanel;
    record.writeSettings = gbaWriteSettings;
    record.reserved = nullptr;
    record.onConvert = gbaOnConvert;
    record.loadPalette = gbaLoadPalette;
    record.loadTileset = gbaLoadTileset;
    record.loadMap = loadMapData;
    record.loadList = loadObjectList;
    record.loadBitmap = gbaLoadBitmap;
    record.savePalette = gbaSavePalette;
    record.saveTileset = gbaSaveTileset;
    record.saveMap = saveMapData;
    record.saveList = saveObjectList;
    record.saveBitmap = gbaSaveBitmap;
    return record;
}

void applyGbaOptions(App& app) {
    const GbaOptions& options = platformState(app).gba;
    MapEntryLayout& text = platformState(app).records[kPlatformGba].layouts[MapText];
    if (options.paletteMask) {
        text.paletteMask = 0xF000;
        text.paletteShift = 12;
    } else {
        text.paletteMask = 0;
        text.paletteShift = 0;
    }
    if (options.mirrorMask) {
        text.hMirrorMask = 0x400;
        text.hMirrorShift = 10;
        text.vMirrorMask = 0x800;
        text.vMirrorShift = 11;
        text.tileMask = 0x3FF;
    } else {
        text.hMirrorMask = 0;
        text.hMirrorShift = 0;
        text.vMirrorMask = 0;
        text.vMirrorShift = 0;
        text.tileMask = options.paletteMask ? 0x0FFF : 0xFFFF;
    }
}

void gbaOnEvent(App& app, int event, PlatformRecord& self) {
    switch (event) {
    case 0: {
        ScriptIdentifier row{"gba", IdentifierKind::ScriptObject};
        row.object = &gbaObject();
        registerIdentifier(app, row);
        platformState(app).gba = GbaOptions{};
        applyGbaOptions(app);
        break;
    }
    case 2:
        setFormatUserText(app, 2, "");
        break;
    default:
        break;
    }
}

int gbaCreateOptionsPanel(App& app, int pageCode, void* parent) {
    int kind = pageCode & 0x7000;
    bool hasPanel = kind == 0x1000 || kind == 0x2000;
    if (pageCode & 0x8000) return hasPanel ? 1 : 0;
    // The panel itself belongs to the window front end, which shows gbaPanelState() and hands
    // the boxes back to storeGbaPanelState() when the panel closes. The core makes no window.
    return 0;
}

void gbaWriteSettings(const App& app, int code, std::string& out) {
    const GbaOptions& options = platformState(app).gba;
    out += formatText("  GBA.paletteMask = %s\n", boolText(options.paletteMask));
    out += formatText("  GBA.mirrorMask = %s\n", boolText(options.mirrorMask));
    out += formatText("  GBA.align = %i\n", int(options.align));
    out += formatText("  GBA.revColorOrder = %s\n", boolText(options.revColorOrder));
}

int gbaOnConvert(App& app, int phase) {
    setFormatUserText(app, 2, platformState(app).gba.align ? kAlignAttribute : "");
    return 1;
}

GbaPanelState gbaPanelState(const App& app) {
    const GbaOptions& options = platformState(app).gba;
    return {options.align != 0, options.revColorOrder != 0, options.mirrorMask != 0, options.paletteMask != 0};
}

void storeGbaPanelState(App& app, const GbaPanelState& state) {
    GbaOptions& options = platformState(app).gba;
    options.align = state.align ? 4 : 0;
    options.revColorOrder = state.revColorOrder ? 1 : 0;
    options.mirrorMask = state.mirrorMask ? 1 : 0;
    options.paletteMask = state.paletteMask ? 1 : 0;
    applyGbaOptions(app);
}

void cmdGbaPaletteMask(App& app, char* args) {
    platformState(app).gba.paletteMask = argumentValue(args);
    applyGbaOptions(app);
}

void cmdGbaMirrorMask(App& app, char* args) {
    platformState(app).gba.mirrorMask = argumentValue(args);
    applyGbaOptions(app);
}

void cmdGbaAlign(App& app, char* args) {
    // The alignment belongs to the GBA's arrays; it is taken only while the GBA is current.
    if (currentPlatformIndex(app) != kPlatformGba) return;
    platformState(app).gba.align = argumentValue(args);
}

void cmdGbaRevColorOrder(App& app, char* args) {
    platformState(app).gba.revColorOrder = argumentValue(args);
}

}  // namespace ts
