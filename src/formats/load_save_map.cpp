// Map files (both platforms): cells row by row, 8, 16 or 32 bits by map type.
#include <algorithm>

#include "project/element_record.h"
#include "formats/format_table.h"
#include "formats/load_save_common.h"
#include "formats/load_save_ops.h"
#include "formats/packed_data.h"
#include "formats/platform.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "formats/platform_state.h"
#include "script/reference_file.h"

namespace ts {

namespace {

// The number field of a map type: Text element, Rotation element2, Extended element3.
const std::string& mapField(const FormatSection& section, int mapType) {
    return mapType == MapRotation ? section.element2 : mapType == MapExtended ? section.element3 : section.element;
}

// Bytes of one entry in the console's memory, by map type.
int entryBytes(int mapType) { return mapType == MapRotation ? 1 : mapType == MapExtended ? 4 : 2; }

}  // namespace

int saveMapData(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset, int width,
                int height, const uint32_t* cells) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedName)) return 0;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!cells) width = height = 0;
    const int mapType = currentMapType(app);
    const FormatRecord& format = formatState(app).current;

    resetTemplateVariables(app);
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionMap);
    setElementTexts(app, element);
    setTemplateInteger(app, "sizex", width);
    setTemplateInteger(app, "sizey", height);
    setTemplateText(app, "link", linkedTileset ? linkedTileset->file : std::string());
    int64_t cellCount = int64_t(width) * height;
    switch (mapType) {
    case MapRotation:
        setTemplateInteger(app, "depth", 8);
        setTemplateText(app, "type", format.type8);
        setTemplateInteger(app, "memory", int32_t(cellCount));
        break;
    case MapExtended:
        setTemplateInteger(app, "depth", 32);
        setTemplateText(app, "type", format.type32);
        setTemplateInteger(app, "memory", int32_t(4 * cellCount));
        break;
    default:
        setTemplateInteger(app, "depth", 16);
        setTemplateText(app, "type", format.type16);
        setTemplateInteger(app, "memory", int32_t(2 * cellCount));
        break;
    }
    const Packing packing = packingFromSaveFlags(flags);
    PackedStream packed;
    if (packing != Packing::None) {
        std::vector<uint8_t> raw;
        raw.reserve(size_t(cellCount) * size_t(entryBytes(mapType)));
        for (int64_t i = 0; i < cellCount; ++i) appendLittleEndian(raw, cells[i], entryBytes(mapType));
        if (!preparePackedData(app, section, packing, raw, element.file, packed)) return 0;
    }
    writeSection(app, section.refInfo, element);

    TemplateOutput out;
    out.bytes.reserve(textSizeEstimate(section, cellCount, mapType == MapExtended ? 12 : 8, height));
    writeTemplate(app, out, section.declaration);
    if (packing != Packing::None) {
        writePackedWords(app, out, section, packed);
        writeTemplate(app, out, section.end);
        return commitSave(app, target, element.file, out) ? 1 : 0;
    }
    const bool perRow = !section.line.empty();
    const NumberFormat field(mapField(section, mapType));
    int64_t running = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = cells + int64_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (everyBoundary(section.nEvery, perRow ? x : running)) writeTemplate(app, out, section.everyX);
            field.write(app, out, row[x]);
            ++running;
        }
        writeTemplate(app, out, section.line);
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int loadMapData(App& app, int flags, std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette, MapData& map,
                const ElementRecord& element) {
    // Reading a map does not change the user texts.
    UserBufferGuard userTexts(app);
    OpenedDataFile file;
    if (!openDataFile(app, element, kSectionMap, T::LoadMapMissing, file)) return 0;

    // The header's values, taken before the linked tileset's load resets the variables.
    int32_t depth = getTemplateInteger(app, "depth");
    std::string type = getTemplateText(app, "type");
    std::string link = getTemplateText(app, "link");
    int32_t width = getTemplateInteger(app, "sizex");
    int32_t height = getTemplateInteger(app, "sizey");
    int32_t gfxMask = getTemplateInteger(app, "gfxmask");
    int32_t tileBase = getTemplateInteger(app, "tilebase");
    const int32_t packedWords = getTemplateInteger(app, "packed");
    Packing packing = Packing::None;
    if (!packingOfHeader(app, element.file, packing)) return 0;

    int mapType = MapText;
    if (depth != 0) {
        mapType = depth == 8 ? MapRotation : depth == 32 ? MapExtended : MapText;
    } else {
        const FormatRecord& format = formatState(app).current;
        if (type == format.type32) mapType = MapExtended;
        else if (type == format.type8) mapType = MapRotation;
    }
    if (width < 0 || height < 0 || int64_t(width) * height > kCellLimit) {
        fileError(app, element.file, formatText(tr(T::LoadBadMapSize), int(width), int(height)));
        return 0;
    }
    // Packed cells: the entry width is what the unpacked size gives per cell.
    std::vector<uint8_t> packedCells;
    if (packing != Packing::None) {
        if (!readPackedData(app, file, packing, packedWords, kAnySize, packedCells)) return 0;
        const int64_t cellCount = int64_t(width) * height;
        const int64_t perCell = cellCount ? int64_t(packedCells.size()) / cellCount : 0;
        if (cellCount ? (perCell * cellCount != int64_t(packedCells.size()) || (perCell != 1 && perCell != 2 && perCell != 4))
                      : !packedCells.empty()) {
            fileError(app, element.file,
                      formatText(tr(T::PackedBadMapSize), (long long)packedCells.size(), int(width), int(height)));
            return 0;
        }
        if (cellCount) mapType = perCell == 1 ? MapRotation : perCell == 4 ? MapExtended : MapText;
    }

    int tileCount = platformState(app).lastTileCount;
    if (!link.empty()) {
        std::vector<uint32_t> scratch;
        std::vector<uint32_t>& pixels = tilesetPixels ? *tilesetPixels : scratch;
        int blocks = loadLinkedTileset(app, link, pixels, palette, element.file);
        int tileX = getTemplateInteger(app, "tilex"), tileY = getTemplateInteger(app, "tiley");
        int perTile = std::max(1, (tileX * tileY) / 64);
        tileCount = blocks / perTile;
    }
    if (tileCount <= 0) {
        // A failed tileset load has reported itself; a map without a link needs a tileset
        // loaded before it.
        if (link.empty()) fileError(app, element.file, tr(T::LoadMapWithoutTileset));
        return 0;
    }
    // The tileset load reset the variables: the map's own values come back.
    setTemplateInteger(app, "sizex", width);
    setTemplateInteger(app, "sizey", height);
    setTemplateInteger(app, "gfxmask", gfxMask);
    setTemplateInteger(app, "tilebase", tileBase);
    setCurrentMapType(app, mapType);

    map.mapType = mapType;
    map.width = width;
    map.height = height;
    map.packing = int(packing);
    map.cells.assign(size_t(width) * size_t(height), 0);
    if (packing != Packing::None) {
        const int bytes = entryBytes(mapType);
        for (size_t i = 0; i < map.cells.size(); ++i) map.cells[i] = littleEndianAt(&packedCells[i * size_t(bytes)], bytes);
        return 1;
    }
    // The cells read so far stay when the data ends early.
    readRows(app, file, mapField(file.section, mapType), width, height, map.cells.data());
    return 1;
}

}  // namespace ts
