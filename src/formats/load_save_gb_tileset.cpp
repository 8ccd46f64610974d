// Game Boy tileset files: each row of an 8x8 block is two bytes, bit plane 0 then bit plane 1,
// the leftmost pixel in bit 7.
#include <algorithm>

#include "project/element_record.h"
#include "formats/format_table.h"
#include "formats/gb_driver.h"
#include "formats/load_save_common.h"
#include "formats/load_save_ops.h"
#include "formats/packed_data.h"
#include "formats/platform.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "formats/platform_state.h"
#include "script/reference_file.h"

namespace ts {

namespace {

// Before a row: the byte counter runs over the whole file, two bytes per row.
bool rowBoundary(int32_t nEvery, int64_t counter) {
    return nEvery > 0 && counter > 0 && counter % nEvery < 2;
}

// Bit planes 0 and 1 of one row of eight pixels (the leftmost in bit 7).
void rowPlanes(const uint32_t* row, const std::array<uint32_t, 4>& shadeOf, uint32_t& plane0, uint32_t& plane1) {
    plane0 = plane1 = 0;
    for (int x = 0; x < 8; ++x) {
        uint32_t v = shadeOf[row[x] & 3];
        plane0 |= (v & 1) << (7 - x);
        plane1 |= ((v >> 1) & 1) << (7 - x);
    }
}

void rowFromPlanes(uint32_t plane0, uint32_t plane1, uint32_t* row) {
    for (int x = 0; x < 8; ++x) row[x] = ((plane0 >> (7 - x)) & 1) | (((plane1 >> (7 - x)) & 1) << 1);
}

}  // namespace

int gameBoySaveTileset(App& app, int flags, int depth, const ElementRecord& element,
                       const ElementRecord* linkedPalette, const uint32_t* pixels, int tiles, int tileWidth,
                       int tileHeight) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedAccess)) return 0;
    const DepthInfo& info = kGameBoyDepths[std::clamp(depth, 0, 1)];
    const bool monochrome = platformState(app).gbc.dmgMode != 0;
    tiles = std::max(tiles, 0);
    tileWidth = std::max(tileWidth, 0);
    tileHeight = std::max(tileHeight, 0);
    if (!pixels) tiles = 0;

    resetTemplateVariables(app);
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionTileset);
    setElementTexts(app, element);
    setTemplateInteger(app, "size", tiles);
    setTemplateInteger(app, "memory", int32_t(int64_t(tiles) * tileWidth * tileHeight / 4));
    setTemplateInteger(app, "depth", info.bitCode);
    setTemplateInteger(app, "tilex", tileWidth);
    setTemplateInteger(app, "tiley", tileHeight);
    setTemplateText(app, "type", formatState(app).current.type8);
    setTemplateText(app, "link", !monochrome && linkedPalette ? linkedPalette->file : std::string());

    // Monochrome: a pixel's colour index becomes its rank from the brightest colour.
    std::array<uint32_t, 4> shadeOf{0, 1, 2, 3};
    if (monochrome) {
        std::array<int, 4> order = shadeOrder(platformState(app).workingPalette.data());
        for (int rank = 0; rank < 4; ++rank) shadeOf[size_t(order[size_t(rank)])] = uint32_t(rank);
    }

    TemplateOutput out;
    int64_t blocks = int64_t(tileWidth / 8) * (tileHeight / 8) * tiles;
    const Packing packing = packingFromSaveFlags(flags);
    if (packing != Packing::None) {
        std::vector<uint8_t> raw;
        raw.reserve(size_t(blocks) * 16);
        for (int64_t b = 0; b < blocks; ++b)
            for (int y = 0; y < 8; ++y) {
                uint32_t plane0 = 0, plane1 = 0;
                rowPlanes(pixels + b * 64 + y * 8, shadeOf, plane0, plane1);
                raw.push_back(uint8_t(plane0));
                raw.push_back(uint8_t(plane1));
            }
        PackedStream packed;
        if (!preparePackedData(app, section, packing, raw, element.file, packed)) return 0;
        writeSection(app, section.refInfo, element);
        writeTemplate(app, out, section.declaration);
        writePackedWords(app, out, section, packed);
        writeTemplate(app, out, section.end);
        return commitSave(app, target, element.file, out) ? 1 : 0;
    }
    writeSection(app, section.refInfo, element);
    out.bytes.reserve(textSizeEstimate(section, blocks * 16, 6, blocks));
    writeTemplate(app, out, section.declaration);
    NumberFormat field(section.element);
    field.cacheValuesBelow(app, 256);
    int64_t counter = 0;
    for (int64_t b = 0; b < blocks; ++b) {
        const uint32_t* block = pixels + b * 64;
        for (int y = 0; y < 8; ++y) {
            if (rowBoundary(section.nEvery, counter)) writeTemplate(app, out, section.everyX);
            uint32_t plane0 = 0, plane1 = 0;
            rowPlanes(block + y * 8, shadeOf, plane0, plane1);
            field.write(app, out, plane0);
            field.write(app, out, plane1);
            counter += 2;
        }
        writeTemplate(app, out, section.line);
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int gameBoyLoadTileset(App& app, int flags, int& depth, PaletteBuffer* palette, std::vector<uint32_t>& pixels,
                       const ElementRecord& element, bool raw) {
    OpenedDataFile file;
    if (!openDataFile(app, element, kSectionTileset, T::LoadTilesetMissing, file)) return 0;
    const FormatSection& section = file.section;
    const char* bytes = file.data.data();
    size_t length = file.data.size();
    size_t position = file.position;

    int index = getTemplateInteger(app, "depth") == 3 ? kGameBoyDepthSprite : kGameBoyDepthBackground;
    int32_t tileX = getTemplateInteger(app, "tilex");
    int32_t tileY = getTemplateInteger(app, "tiley");
    int32_t size = getTemplateInteger(app, "size");
    std::string link = getTemplateText(app, "link");
    const int32_t packedWords = getTemplateInteger(app, "packed");
    Packing packing = Packing::None;
    if (!packingOfHeader(app, element.file, packing)) return 0;

    int64_t blocks = 0;
    if (int checked = checkTilesetHeader(app, element.file, tileX, tileY, size, pixels, blocks); checked <= 0)
        return checked;
    if (palette) {
        if (platformState(app).gbc.dmgMode) {
            gameBoyLoadPalette(app, 0, nullptr, *palette, element);
        } else if (!link.empty()) {
            if (!loadLinkedPalette(app, link, *palette, element.file)) return 0;
        }
        setTemplateInteger(app, "tilex", tileX);
        setTemplateInteger(app, "tiley", tileY);
    }
    depth = index;

    pixels.assign(size_t(blocks) * 64, 0);
    platformState(app).lastTilePacking = int(packing);
    if (packing != Packing::None) {
        std::vector<uint8_t> bytes;
        if (!readPackedData(app, file, packing, packedWords, size_t(blocks) * 16, bytes)) {
            pixels.clear();
            return 0;
        }
        for (size_t row = 0; row < size_t(blocks) * 8; ++row)
            rowFromPlanes(bytes[2 * row], bytes[2 * row + 1], pixels.data() + row * 8);
        platformState(app).lastTileCount = int(blocks);
        platformState(app).lastTileDepth = index;
        return int(blocks);
    }
    const bool perBlock = !section.line.empty();
    int64_t counter = 0;
    for (int64_t b = 0; b < blocks; ++b) {
        uint32_t* block = pixels.data() + b * 64;
        for (int y = 0; y < 8; ++y) {
            if (rowBoundary(section.nEvery, counter) && !section.everyX.empty()) {
                position = matchTemplate(app, bytes, length, position, section.everyX);
                if (position > length) goto done;
            }
            uint32_t plane[2] = {0, 0};
            for (int k = 0; k < 2; ++k) {
                size_t next = readElement(app, bytes, length, position, section.element, plane[k]);
                if (next > length) goto done;
                position = next;
            }
            rowFromPlanes(plane[0], plane[1], block + y * 8);
            counter += 2;
        }
        if (perBlock) {
            position = matchTemplate(app, bytes, length, position, section.line);
            if (position > length) break;
        }
    }
done:
    platformState(app).lastTileCount = int(blocks);
    platformState(app).lastTileDepth = index;
    return int(blocks);
}

}  // namespace ts
