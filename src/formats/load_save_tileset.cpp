// Tileset files of the GBA: consecutive 8x8 blocks at 4, 8, 15 or 32 bits per pixel.
#include <algorithm>

#include "formats/format_table.h"
#include "formats/gba_driver.h"
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
#include "project/element_record.h"
#include "script/reference_file.h"

namespace ts {

namespace {

const DepthInfo& gbaDepth(int index) { return kGbaDepths[std::clamp(index, 0, 3)]; }

// %type% for tilesets and bitmaps: type32 for 32 bits, type16 for 15 bits, type8 otherwise.
const std::string& typeTextForBits(const App& app, int bits) {
    const FormatRecord& format = formatState(app).current;
    return bits == 32 ? format.type32 : bits == 15 ? format.type16 : format.type8;
}

// The number field and the value written for one pixel of a non-packed depth.
uint32_t pixelValue(const App& app, int bits, uint32_t pixel) {
    if (bits == 15) return encodeColor15(app, pixel);
    return pixel;
}

// Bytes a block takes in the console's memory at a depth.
int blockBytes(int bits) { return bits == 4 ? 32 : bits == 15 ? 128 : bits == 32 ? 256 : 64; }

// The tiles as they lie in the console's memory (what packed files pack).
std::vector<uint8_t> tilesetBytes(const App& app, int bits, const uint32_t* pixels, int64_t blocks) {
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(blocks) * size_t(blockBytes(bits)));
    for (int64_t b = 0; b < blocks; ++b) {
        const uint32_t* block = pixels + b * 64;
        for (int p = 0; p < 64; ++p) {
            if (bits == 4) {
                bytes.push_back(uint8_t((block[p] & 15) | (block[p + 1] & 15) << 4));
                ++p;
            } else if (bits == 15) {
                appendLittleEndian(bytes, encodeColor15(app, block[p]), 2);
            } else if (bits == 32) {
                appendLittleEndian(bytes, block[p], 4);
            } else {
                bytes.push_back(uint8_t(block[p]));
            }
        }
    }
    return bytes;
}

// The pixels of tiles unpacked from a packed file.
void decodeTilesetBytes(const App& app, int bits, bool raw, const std::vector<uint8_t>& bytes, uint32_t* pixels) {
    const size_t count = bits == 4 ? bytes.size() * 2 : bytes.size() / size_t(blockBytes(bits) / 64);
    for (size_t i = 0; i < count; ++i) {
        if (bits == 4) {
            pixels[i] = (bytes[i / 2] >> (i % 2 * 4)) & 15;
        } else if (bits == 15) {
            const uint32_t v = littleEndianAt(&bytes[2 * i], 2);
            pixels[i] = raw ? v : decodeColor15(app, v);
        } else if (bits == 32) {
            pixels[i] = littleEndianAt(&bytes[4 * i], 4);
        } else {
            pixels[i] = bytes[i];
        }
    }
}

}  // namespace

int gbaSaveTileset(App& app, int flags, int depth, const ElementRecord& element, const ElementRecord* linkedPalette,
                   const uint32_t* pixels, int tiles, int tileWidth, int tileHeight) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedAccess)) return 0;
    const DepthInfo& info = gbaDepth(depth);
    int bits = info.bitCode;
    tiles = std::max(tiles, 0);
    tileWidth = std::max(tileWidth, 0);
    tileHeight = std::max(tileHeight, 0);
    if (!pixels) tiles = 0;
    int64_t values = int64_t(tiles) * tileWidth * tileHeight;
    if (bits == 4) values /= 2;

    resetTemplateVariables(app);
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionTileset);
    setElementTexts(app, element);
    setTemplateInteger(app, "size", tiles);
    setTemplateInteger(app, "memory", int32_t(values));
    setTemplateInteger(app, "depth", bits);
    setTemplateInteger(app, "tilex", tileWidth);
    setTemplateInteger(app, "tiley", tileHeight);
    setTemplateText(app, "type", typeTextForBits(app, bits));
    setTemplateText(app, "link", info.paletteKind && linkedPalette ? linkedPalette->file : std::string());
    const int64_t blocks = int64_t(tileWidth / 8) * (tileHeight / 8) * tiles;
    const Packing packing = packingFromSaveFlags(flags);
    PackedStream packed;
    if (packing != Packing::None &&
        !preparePackedData(app, section, packing, tilesetBytes(app, bits, pixels, blocks), element.file, packed))
        return 0;
    writeSection(app, section.refInfo, element);

    TemplateOutput out;
    const size_t valueWidth = bits == 32 ? 12 : bits == 15 ? 8 : 6;
    out.bytes.reserve(textSizeEstimate(section, blocks * (bits == 4 ? 32 : 64), valueWidth, blocks));
    writeTemplate(app, out, section.declaration);
    if (packing != Packing::None) {
        writePackedWords(app, out, section, packed);
        writeTemplate(app, out, section.end);
        return commitSave(app, target, element.file, out) ? 1 : 0;
    }
    const bool perBlock = !section.line.empty();
    NumberFormat field(bits == 32 ? section.element3 : bits == 15 ? section.element2 : section.element);
    if (bits <= 8) field.cacheValuesBelow(app, 256);
    int64_t running = 0;
    for (int64_t b = 0; b < blocks; ++b) {
        const uint32_t* block = pixels + b * 64;
        int step = bits == 4 ? 2 : 1;
        for (int p = 0; p < 64; p += step) {
            int64_t counter = perBlock ? p : running;
            if (everyBoundary(section.nEvery, counter)) writeTemplate(app, out, section.everyX);
            uint32_t value = bits == 4 ? ((block[p] & 15) | (block[p + 1] & 15) << 4) : pixelValue(app, bits, block[p]);
            field.write(app, out, value);
            ++running;
        }
        writeTemplate(app, out, section.line);
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int gbaLoadTileset(App& app, int flags, int& depth, PaletteBuffer* palette, std::vector<uint32_t>& pixels,
                   const ElementRecord& element, bool raw) {
    OpenedDataFile file;
    if (!openDataFile(app, element, kSectionTileset, T::LoadTilesetMissing, file)) return 0;
    const FormatSection& section = file.section;
    const char* bytes = file.data.data();
    size_t length = file.data.size();
    size_t position = file.position;

    // The header's values, taken before a linked palette load resets the variables.
    int index = gbaDepthFromBits(getTemplateInteger(app, "depth"));
    int32_t tileX = getTemplateInteger(app, "tilex");
    int32_t tileY = getTemplateInteger(app, "tiley");
    int32_t size = getTemplateInteger(app, "size");
    std::string link = getTemplateText(app, "link");
    const int32_t packedWords = getTemplateInteger(app, "packed");
    const DepthInfo& info = gbaDepth(index);
    Packing packing = Packing::None;
    if (!packingOfHeader(app, element.file, packing)) return 0;

    int64_t blocks = 0;
    if (int checked = checkTilesetHeader(app, element.file, tileX, tileY, size, pixels, blocks); checked <= 0)
        return checked;
    if (palette && info.paletteKind && !link.empty()) {
        if (!loadLinkedPalette(app, link, *palette, element.file)) return 0;
        setTemplateInteger(app, "tilex", tileX);
        setTemplateInteger(app, "tiley", tileY);
    }
    depth = index;

    const int bits = info.bitCode;
    pixels.assign(size_t(blocks) * 64, 0);
    platformState(app).lastTilePacking = int(packing);
    if (packing != Packing::None) {
        std::vector<uint8_t> bytes;
        if (!readPackedData(app, file, packing, packedWords, size_t(blocks) * size_t(blockBytes(bits)), bytes)) {
            pixels.clear();
            return 0;
        }
        decodeTilesetBytes(app, bits, raw, bytes, pixels.data());
        platformState(app).lastTileCount = int(blocks);
        platformState(app).lastTileDepth = index;
        return int(blocks);
    }
    const bool perBlock = !section.line.empty();
    const std::string& field = bits == 32 ? section.element3 : bits == 15 ? section.element2 : section.element;
    int64_t running = 0;
    bool ended = false;
    for (int64_t b = 0; b < blocks && !ended; ++b) {
        uint32_t* block = pixels.data() + b * 64;
        int step = bits == 4 ? 2 : 1;
        for (int p = 0; p < 64; p += step) {
            int64_t counter = perBlock ? p : running;
            if (everyBoundary(section.nEvery, counter) && !section.everyX.empty()) {
                position = matchTemplate(app, bytes, length, position, section.everyX);
                if (position > length) { ended = true; break; }
            }
            uint32_t value = 0;
            size_t next = readElement(app, bytes, length, position, field, value);
            if (next > length) { ended = true; break; }
            position = next;
            ++running;
            if (bits == 4) {
                block[p] = value & 15;
                block[p + 1] = (value >> 4) & 15;
            } else if (bits == 15) {
                block[p] = raw ? (value & 0xFFFF) : decodeColor15(app, value & 0xFFFF);
            } else {
                block[p] = value;
            }
        }
        if (!ended && perBlock) {
            position = matchTemplate(app, bytes, length, position, section.line);
            if (position > length) ended = true;
        }
    }
    // A file cut short: what it holds is used, the rest stays empty, and the user is told.
    if (ended && running < blocks * 64 / (bits == 4 ? 2 : 1))
        showBox(hostServices(app), element.file,
                formatText(tr(T::LoadTilesetShort), (long long)(running * (bits == 4 ? 2 : 1) / 64), (long long)blocks),
                Icon::Warning);
    platformState(app).lastTileCount = int(blocks);
    platformState(app).lastTileDepth = index;
    return int(blocks);
}

int loadLinkedTileset(App& app, const std::string& link, std::vector<uint32_t>& pixels, PaletteBuffer* palette,
                      const std::string& caption) {
    int index = findProjectElement(app, TYPE_MOSAIQUE, link);
    if (index < 0) {
        fileError(app, caption, formatText(tr(T::LoadLinkedTilesetMissing), link.c_str()));
        return 0;
    }
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadTileset) return 0;
    ElementRecord tileset = elementTable(app).records[size_t(index)];
    int depth = currentDepthIndex(app);
    int blocks = platform.loadTileset(app, 0, depth, palette, pixels, tileset, false);
    if (blocks > 0) {
        platformState(app).lastTileDepth = depth;
        platformState(app).lastTilesetFile = tileset.file;
    }
    return blocks > 0 ? blocks : 0;
}

}  // namespace ts
