#include "editor/editor_document.h"

#include <algorithm>
#include <new>

#include "convert/convert_settings.h"
#include "editor/editor_settings_script.h"
#include "editor/plane_history.h"
#include "formats/format_commands.h"
#include "formats/load_save_common.h"
#include "formats/platform.h"
#include "formats/platform_state.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr const char* kOnOpenLabel = "onopen %s";
constexpr const char* kOnSaveLabel = "onsave %s";
constexpr int32_t kListMinCells = 64;  // side of a list plane opened without a map, in cells

bool usableBlockSide(int side) { return side == 8 || side == 16 || side == 32 || side == 64; }

// A loaded colour (packBgra with components of the depth's precision) as a view pixel word;
// transparent colours (top byte 0) become the view's background.
uint32_t viewColour(uint32_t colour, const ColorFormat& format, uint32_t background) {
    if (colour < 0x1000000u) return background;
    int r = expandComponent(bgraRed(colour), format.redBits);
    int g = expandComponent(bgraGreen(colour), format.greenBits);
    int b = expandComponent(bgraBlue(colour), format.blueBits);
    return uint32_t(r & 255) << 16 | uint32_t(g & 255) << 8 | uint32_t(b & 255);
}

uint32_t valueMaskOf(int mapType) {
    if (mapType == MapRotation) return 0xFF;
    if (mapType == MapExtended) return 0xFFFFFFFF;
    return 0xFFFF;
}

// The colours shown for a plane whose tiles came without a palette: a grey ramp in every bank,
// lightest first (as the Game Boy's shades), so that the tiles can be told apart.
void fillDefaultPalette(PaletteBuffer& palette, int colorsPerBank) {
    const int perBank = std::clamp(colorsPerBank, 1, kPaletteEntries);
    for (int i = 0; i < kPaletteEntries; ++i) {
        const int shade = perBank > 1 ? 255 - (i % perBank) * 255 / (perBank - 1) : 255;
        palette[size_t(i)] = uint32_t(shade) * 0x010101u;
    }
}

bool sameElement(const ElementRecord& a, const ElementRecord& b) {
    return a.type() == b.type() && a.name == b.name && a.file == b.file;
}

// Tiles, palette and format of a freshly loaded plane.
void fillGraphics(App& app, EditorDocument& doc, PlaneRecord& plane, std::vector<uint32_t>& pixels,
                  const PaletteBuffer& palette) {
    const PlatformRecord& platform = currentPlatform(app);
    const PlatformState& state = platformState(app);
    int depth = std::clamp(state.lastTileDepth, 0, std::max(0, platform.depthCount - 1));
    const DepthInfo& info = platform.depths[depth];
    plane.depth = depth;
    plane.paletteBanks = info.paletteKind == 2;
    plane.colorsPerBank = plane.paletteBanks && info.colorsPerSubPalette > 0 ? info.colorsPerSubPalette : 256;
    plane.index0Transparent = info.color0Transparent != 0;
    const ColorFormat& format = info.colorFormat ? *info.colorFormat : kColorFormat15;
    // A loaded palette has at least one opaque colour; without one (a tileset linked to no
    // palette) every colour would be the background and the plane would draw nothing visible.
    const bool loaded = std::any_of(palette.begin(), palette.end(), [](uint32_t c) { return c >= 0x1000000u; });
    plane.ownPalette = info.paletteKind == 0 || loaded;
    if (plane.ownPalette) {
        for (int i = 0; i < kPaletteEntries; ++i)
            plane.palette[size_t(i)] = viewColour(palette[size_t(i)], format, doc.background);
    } else {
        fillDefaultPalette(plane.palette, plane.colorsPerBank);
    }
    if (info.paletteKind == 0)  // direct colour: the tiles hold colours, not palette indexes
        for (uint32_t& p : pixels) p = viewColour(p, format, doc.background);
    size_t blocks = pixels.size() / kTileWords;
    pixels.resize(blocks * kTileWords);
    plane.tiles = std::move(pixels);
    int perBlock = std::max(1, plane.blockWidth * plane.blockHeight / 64);
    plane.tileCount = int32_t(blocks / size_t(perBlock));
    plane.layout = platform.layouts[size_t(std::clamp(plane.mapType, 0, kMapTypeCount - 1))];
    plane.valueMask = valueMaskOf(plane.mapType);
    plane.tilesetName = state.lastTilesetFile;
}

// A fresh record for `slot` that keeps the slot's bit labels and flags.
PlaneRecord freshPlane(App& app, const ElementRecord& element, int kind) {
    PlaneRecord p;
    p.element = element;
    p.kind = kind;
    const ConvertSettings& conv = convertSettings(app);
    p.blockWidth = p.defaultGridX = p.gridX = p.scrollStepX = conv.tileX;
    p.blockHeight = p.defaultGridY = p.gridY = p.scrollStepY = conv.tileY;
    p.emulGba = systemSettings(app).emulGba;
    p.mapFileName = element.file;
    return p;
}

// Puts a loaded plane into its slot (replacing what was there) and takes its first snapshot.
int placePlane(App& app, PlaneRecord&& plane, int slot, T openedText) {
    EditorDocument& doc = editorDocument(app);
    bool fresh = slot < 0 || slot >= doc.count;
    if (fresh) slot = doc.count;
    PlaneRecord& target = doc.planes[size_t(slot)];
    freePlaneHistory(target, doc.memoryUsed);
    plane.bitTexts = target.bitTexts;
    plane.bitFlags = target.bitFlags;
    target = std::move(plane);
    if (fresh) doc.count += 1;
    pushSnapshot(app, slot);
    updateScrollSteps(doc);
    postMessage(doc, formatText(tr(openedText), target.element.name.c_str()));
    if (slot == doc.active) {
        updateTitle(doc);
        updateUndoButtons(doc);
    }
    return OpenDone;
}

int findOpen(const EditorDocument& doc, const ElementRecord& element) {
    for (int i = 0; i < doc.count; ++i)
        if (sameElement(doc.planes[size_t(i)].element, element)) return i;
    return -1;
}

bool tableFull(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if ((slot < 0 || slot >= doc.count) && doc.count >= MaxPlanes) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::BackgroundLimit), Icon::Error);
        return true;
    }
    return false;
}

void runHook(App& app, const char* label, const std::string& name) {
    const std::string& script = systemSettings(app).scriptName;
    if (script.empty()) return;
    runScriptFile(app, script, formatText(label, name.c_str()));
}

void resetOptions(EditorDocument& doc) {
    EditorOptions keep = doc.options;
    doc.options = EditorOptions{};
    // These live across openings; the rest starts from its default every time.
    doc.options.popupInfos = keep.popupInfos;
    doc.options.popupTime = keep.popupTime;
    doc.options.invisibleBlock = keep.invisibleBlock;
    doc.options.zeroMask = keep.zeroMask;
    doc.options.bitsZeroMask = keep.bitsZeroMask;
    doc.options.transparency = keep.transparency;
}

}  // namespace

void updateScrollSteps(EditorDocument& doc) {
    for (int s = 0; s < doc.count; ++s) {
        PlaneRecord& p = doc.planes[size_t(s)];
        p.scrollStepX = p.blockWidth;
        p.scrollStepY = p.blockHeight;
        for (int m : groupOf(doc, s)) {
            p.scrollStepX = std::min(p.scrollStepX, doc.planes[size_t(m)].blockWidth);
            p.scrollStepY = std::min(p.scrollStepY, doc.planes[size_t(m)].blockHeight);
        }
    }
}

bool planeOpen(const EditorDocument& doc, int slot) { return slot >= 0 && slot < doc.count; }

std::vector<int> groupOf(const EditorDocument& doc, int slot) {
    std::vector<int> group;
    if (!planeOpen(doc, slot)) return group;
    const LinkList& list = doc.links[size_t(slot)];
    for (int i = 0; i < list.size(); ++i) {
        int m = list[i];
        if (planeOpen(doc, m) && std::find(group.begin(), group.end(), m) == group.end()) group.push_back(m);
    }
    if (group.empty()) group.push_back(slot);
    return group;
}

std::vector<int> activeGroup(const EditorDocument& doc) { return groupOf(doc, doc.active); }

// ---- opening ----

bool openEditor(App& app, const ElementRecord& element) {
    EditorDocument& doc = editorDocument(app);
    // One editor: while it is open, another map joins it as a plane.
    if (doc.open) return openPlane(app, element) != OpenFailed;
    resetPlanes(app);
    doc.memoryLimit = int64_t(hostServices(app).availableMemory() / 4);
    doc.memoryUsed = 0;
    resetOptions(doc);
    for (int i = 0; i < MaxPlanes; ++i) {
        doc.links[size_t(i)] = LinkList(i);
        doc.planes[size_t(i)] = PlaneRecord{};
    }
    doc.bitTablesMade = false;
    doc.bitsShown = false;
    doc.specimenShown = true;
    doc.specimenPlanes.clear();
    doc.messages.clear();
    doc.currentPattern = 0;
    doc.scrollX = doc.scrollY = 0;
    doc.statusText.clear();

    const ConvertSettings& conv = convertSettings(app);
    if (!usableBlockSide(conv.tileX) || !usableBlockSide(conv.tileY)) {
        showBox(hostServices(app), tr(T::CaptionOopsBang), tr(T::EditorTileSizeUnusable));
        doc.open = false;
        return false;
    }
    if (!allocateStore(doc.store)) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::BlockSizeNoMemory), Icon::Error);
        doc.open = false;
        return false;
    }
    doc.open = true;
    doc.active = 0;
    openPlane(app, element);
    updateTitle(doc);

    ScriptState& script = scriptState(app);
    bool refused = false;
    doc.settingsFile = settingsPath(element.file);
    if (runScriptFile(app, doc.settingsFile) && script.returnValue == 0) refused = true;
    script.returnValue = 1;
    runHook(app, kOnOpenLabel, element.name);
    if (script.returnValue == 0) refused = true;
    if (doc.count == 0 || refused) {
        resetPlanes(app);
        doc.open = false;
        return false;
    }
    return true;
}

int openPlane(App& app, const ElementRecord& element, int slot) {
    if (element.type() == TYPE_LISTE) return openListPlane(app, element, slot);
    EditorDocument& doc = editorDocument(app);
    if (findOpen(doc, element) >= 0) return OpenAlready;
    if (tableFull(app, slot)) return OpenFailed;
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadMap) return OpenFailed;

    MapData map;
    std::vector<uint32_t> pixels;
    PaletteBuffer palette{};
    platformState(app).lastTilesetFile.clear();
    try {
        if (!platform.loadMap(app, 0, &pixels, &palette, map, element)) return OpenFailed;
    } catch (const std::bad_alloc&) {
        showBox(hostServices(app), tr(T::CaptionArgh), tr(T::ResizeNoMemory), Icon::Error);
        return OpenFailed;
    }
    PlaneRecord plane = freshPlane(app, element, PlaneMap);
    plane.mapType = map.mapType;
    plane.width = map.width;
    plane.height = map.height;
    plane.cells = std::move(map.cells);
    plane.cells.resize(size_t(plane.width) * size_t(plane.height), 0);
    fillGraphics(app, doc, plane, pixels, palette);
    return placePlane(app, std::move(plane), slot, T::MapOpened);
}

int openListPlane(App& app, const ElementRecord& element, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (findOpen(doc, element) >= 0) return OpenAlready;
    if (tableFull(app, slot)) return OpenFailed;
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadList) return OpenFailed;

    ObjectList list;
    std::vector<uint32_t> pixels;
    PaletteBuffer palette{};
    platformState(app).lastTilesetFile.clear();
    if (!platform.loadList(app, 0, list, element, &pixels, &palette)) return OpenFailed;
    PlaneRecord plane = freshPlane(app, element, PlaneList);
    plane.mapType = currentMapType(app);
    // A list covers the map it is edited over (the first plane).
    int32_t w = 0, h = 0;
    if (doc.count > 0) {
        w = doc.planes[0].width * doc.planes[0].blockWidth / std::max(1, plane.blockWidth);
        h = doc.planes[0].height * doc.planes[0].blockHeight / std::max(1, plane.blockHeight);
    }
    if (w <= 0 || h <= 0) {
        // A list opened alone covers its objects, and at least a screenful of cells.
        int64_t right = 0, bottom = 0;
        for (int i = 0; i < list.count; ++i) {
            right = std::max<int64_t>(right, entryX(list, i));
            bottom = std::max<int64_t>(bottom, entryY(list, i));
        }
        w = int32_t(std::max<int64_t>(kListMinCells, right / std::max(1, plane.blockWidth) + 1));
        h = int32_t(std::max<int64_t>(kListMinCells, bottom / std::max(1, plane.blockHeight) + 1));
    }
    plane.width = std::clamp(w, 1, 65536);
    plane.height = std::clamp(h, 1, 65536);
    std::string link = list.link;
    plane.objects = std::move(list);
    fillGraphics(app, doc, plane, pixels, palette);
    if (!link.empty()) plane.tilesetName = link;
    return placePlane(app, std::move(plane), slot, T::ListOpened);
}

// ---- saving ----

int savePlane(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot)) return 0;
    PlaneRecord& plane = doc.planes[size_t(slot)];
    const PlatformRecord& platform = currentPlatform(app);
    auto record = [&](uint32_t type, const std::string& file) {
        int i = file.empty() ? -1 : findProjectElement(app, type, file);
        if (i >= 0) return elementTable(app).records[size_t(i)];
        ElementRecord bare;
        bare.file = file;
        bare.name = file;
        bare.typeAndFlags = type;
        return bare;
    };
    ElementRecord tileset = record(TYPE_MOSAIQUE, plane.tilesetName);
    const ElementRecord* link = plane.tilesetName.empty() ? nullptr : &tileset;
    int done = 0;
    // The file's extension may choose the format it is written in.
    AutoSelectFormat(app, plane.kind == PlaneList ? plane.element.file : plane.mapFileName);
    if (plane.kind == PlaneList) {
        ElementRecord list = plane.element;
        if (platform.saveList) done = platform.saveList(app, 0, list, link, plane.objects, plane.blockWidth, plane.blockHeight);
    } else {
        ElementRecord map = record(TYPE_CARTE, plane.mapFileName);
        int before = currentMapType(app);
        setCurrentMapType(app, plane.mapType);
        if (platform.saveMap) done = platform.saveMap(app, 0, map, link, plane.width, plane.height, plane.cells.data());
        setCurrentMapType(app, before);
    }
    if (!done) return 0;
    std::string name = plane.element.name;
    bool isList = plane.kind == PlaneList;
    runHook(app, kOnSaveLabel, name);
    // The hook may have reset the planes.
    if (!planeOpen(doc, slot)) return 1;
    PlaneRecord& saved = doc.planes[size_t(slot)];
    saved.history.savedIndex = saved.history.index;
    saved.history.forcedModified = false;
    updateTitle(doc);
    postMessage(doc, formatText(tr(isList ? T::ListSaved : T::MapSaved), name.c_str()));
    return 1;
}

int saveGroup(App& app) {
    EditorDocument& doc = editorDocument(app);
    int all = 1;
    for (int slot : activeGroup(doc))
        if (!savePlane(app, slot)) all = 0;
    return all;
}

int saveCommand(App& app) {
    int saved = saveGroup(app);
    writeSettings(app);
    return saved;
}

void activatePlane(App& app, int slot) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, slot) || slot == doc.active) return;
    doc.active = slot;
    PlaneRecord& p = doc.planes[size_t(slot)];
    if (doc.options.hexMode) {
        p.blockWidth = p.blockHeight = 16;
    } else {
        p.blockWidth = p.defaultGridX;
        p.blockHeight = p.defaultGridY;
    }
    updateScrollSteps(doc);
    updateUndoButtons(doc);
    updateTitle(doc);
}

// ---- closing ----

bool closeEditor(App& app) {
    EditorDocument& doc = editorDocument(app);
    std::array<bool, MaxPlanes> handled{};
    bool saidYes = false;
    for (int slot = 0; slot < doc.count; ++slot) {
        if (handled[size_t(slot)]) continue;
        handled[size_t(slot)] = true;
        PlaneRecord& plane = doc.planes[size_t(slot)];
        if (!planeModified(plane)) continue;
        Answer a = showBox(hostServices(app), tr(T::CaptionQuestion),
                           formatText(tr(T::EditorSaveQuestion), plane.element.name.c_str()), Icon::Question,
                           Buttons::YesNoCancel, Answer::Yes);
        if (a == Answer::Cancel) return false;
        if (a == Answer::Yes) {
            saidYes = true;
            activatePlane(app, slot);
            for (int m : groupOf(doc, slot)) handled[size_t(m)] = true;
            saveGroup(app);
        }
    }
    const SystemSettings& sys = systemSettings(app);
    if ((saidYes || sys.saveMapsParamsAuto) && sys.saveMapsParams && doc.count > 0) writeSettings(app);
    resetPlanes(app);
    doc.open = false;
    return true;
}

void resetPlanes(App& app) {
    EditorDocument& doc = editorDocument(app);
    for (int s = 0; s < MaxPlanes; ++s) {
        PlaneRecord& p = doc.planes[size_t(s)];
        freePlaneHistory(p, doc.memoryUsed);
        auto texts = p.bitTexts;
        uint32_t flags = p.bitFlags;
        p = PlaneRecord{};
        p.bitTexts = texts;
        p.bitFlags = flags;
        doc.links[size_t(s)] = LinkList(s);
    }
    doc.count = 0;
    doc.active = 0;
    doc.memoryUsed = 0;
    doc.specimenPlanes.clear();
    emptyStore(doc.store);
    updateTitle(doc);
    updateUndoButtons(doc);
    updateMemoryText(doc);
}

}  // namespace ts
