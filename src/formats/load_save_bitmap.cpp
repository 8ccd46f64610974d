// Bitmap files: pixels row by row, one element per pixel (a 4-bit bitmap is not nibble-packed).
#include <algorithm>

#include "project/element_record.h"
#include "formats/format_table.h"
#include "formats/gb_driver.h"
#include "formats/gba_driver.h"
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

struct BitmapRules {
    const DepthInfo* depths;
    int depthCount;
    bool reversed;       // colour order of 15-bit pixels
    bool linkPalette;    // false in the Game Boy's monochrome mode
    int (*depthFromBits)(int32_t bits);
};

int gameBoyDepthFromBits(int32_t bits) { return bits == 3 ? kGameBoyDepthSprite : kGameBoyDepthBackground; }

const std::string& typeTextForBits(const App& app, int bits) {
    const FormatRecord& format = formatState(app).current;
    return bits == 32 ? format.type32 : bits == 15 ? format.type16 : format.type8;
}

// Bytes of one pixel in the console's memory.
int pixelBytes(int bits) { return bits == 32 ? 4 : bits == 15 ? 2 : 1; }

uint32_t savedPixel(const BitmapRules& rules, int bits, uint32_t p) {
    return bits == 15 ? encodeColor15(bgraRed(p), bgraGreen(p), bgraBlue(p), (~bgraAlpha(p)) & 1, rules.reversed) : p;
}

int saveBitmap(App& app, const BitmapRules& rules, int flags, int depth, const ElementRecord& element,
               const ElementRecord* linkedPalette, const uint32_t* pixels, int width, int height) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedAccess)) return 0;
    const DepthInfo& info = rules.depths[std::clamp(depth, 0, rules.depthCount - 1)];
    const int bits = info.bitCode;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!pixels) width = height = 0;
    int64_t count = int64_t(width) * height;

    resetTemplateVariables(app);
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionBitmap);
    setElementTexts(app, element);
    setTemplateInteger(app, "sizex", width);
    setTemplateInteger(app, "sizey", height);
    setTemplateInteger(app, "memory", int32_t(count));
    setTemplateInteger(app, "depth", bits);
    setTemplateText(app, "type", typeTextForBits(app, bits));
    bool link = info.paletteKind && linkedPalette && rules.linkPalette;
    setTemplateText(app, "link", link ? linkedPalette->file : std::string());
    const Packing packing = packingFromSaveFlags(flags);
    PackedStream packed;
    if (packing != Packing::None) {
        std::vector<uint8_t> raw;
        raw.reserve(size_t(count) * size_t(pixelBytes(bits)));
        for (int64_t i = 0; i < count; ++i) appendLittleEndian(raw, savedPixel(rules, bits, pixels[i]), pixelBytes(bits));
        if (!preparePackedData(app, section, packing, raw, element.file, packed)) return 0;
    }
    writeSection(app, section.refInfo, element);

    TemplateOutput out;
    out.bytes.reserve(textSizeEstimate(section, count, bits == 32 ? 12 : bits == 15 ? 8 : 6, height));
    writeTemplate(app, out, section.declaration);
    if (packing != Packing::None) {
        writePackedWords(app, out, section, packed);
        writeTemplate(app, out, section.end);
        return commitSave(app, target, element.file, out) ? 1 : 0;
    }
    const bool perRow = !section.line.empty();
    NumberFormat field(bits == 32 ? section.element3 : bits == 15 ? section.element2 : section.element);
    if (bits <= 8) field.cacheValuesBelow(app, 256);
    int64_t running = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + int64_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (everyBoundary(section.nEvery, perRow ? x : running)) writeTemplate(app, out, section.everyX);
            field.write(app, out, savedPixel(rules, bits, row[x]));
            ++running;
        }
        writeTemplate(app, out, section.line);
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int loadBitmap(App& app, const BitmapRules& rules, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
               const ElementRecord& element, bool raw) {
    OpenedDataFile file;
    if (!openDataFile(app, element, kSectionBitmap, T::LoadBitmapMissing, file)) return 0;

    int index = rules.depthFromBits(getTemplateInteger(app, "depth"));
    int32_t width = getTemplateInteger(app, "sizex");
    int32_t height = getTemplateInteger(app, "sizey");
    std::string link = getTemplateText(app, "link");
    const int32_t packedWords = getTemplateInteger(app, "packed");
    Packing packing = Packing::None;
    if (!packingOfHeader(app, element.file, packing)) return 0;
    const DepthInfo& info = rules.depths[index];
    if (width < 0 || height < 0 || int64_t(width) * height > kCellLimit) {
        fileError(app, element.file, formatText(tr(T::LoadBadMapSize), int(width), int(height)));
        return 0;
    }
    if (palette && info.paletteKind && !link.empty()) {
        if (!loadLinkedPalette(app, link, *palette, element.file)) return 0;
        setTemplateInteger(app, "sizex", width);
        setTemplateInteger(app, "sizey", height);
    }
    depthOut = index;

    const int bits = info.bitCode;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(size_t(width) * size_t(height), 0);
    bitmap.packing = int(packing);
    const FormatSection& section = file.section;
    const std::string& field = bits == 32 ? section.element3 : bits == 15 ? section.element2 : section.element;
    int64_t read = 0;
    if (packing != Packing::None) {
        const int perPixel = pixelBytes(bits);
        std::vector<uint8_t> bytes;
        if (!readPackedData(app, file, packing, packedWords, bitmap.pixels.size() * size_t(perPixel), bytes)) {
            bitmap.pixels.clear();
            bitmap.width = bitmap.height = 0;
            return 0;
        }
        for (size_t i = 0; i < bitmap.pixels.size(); ++i) bitmap.pixels[i] = littleEndianAt(&bytes[i * size_t(perPixel)], perPixel);
        read = int64_t(bitmap.pixels.size());
    } else {
        // What was read stays when the data ends early.
        read = readRows(app, file, field, width, height, bitmap.pixels.data());
    }
    if (bits == 15 && !raw) {
        for (int64_t i = 0; i < read; ++i) {
            uint32_t& pixel = bitmap.pixels[size_t(i)];
            pixel = decodeColor15(pixel & 0xFFFF, rules.reversed);
        }
    }
    return 1;
}

BitmapRules gbaRules(const App& app) {
    return {kGbaDepths, 4, platformState(app).gba.revColorOrder != 0, true, gbaDepthFromBits};
}

BitmapRules gameBoyRules(const App& app) {
    return {kGameBoyDepths, 2, false, platformState(app).gbc.dmgMode == 0, gameBoyDepthFromBits};
}

}  // namespace

int gbaSaveBitmap(App& app, int flags, int depth, const ElementRecord& element, const ElementRecord* linkedPalette,
                  const uint32_t* pixels, int width, int height) {
    return saveBitmap(app, gbaRules(app), flags, depth, element, linkedPalette, pixels, width, height);
}

int gbaLoadBitmap(App& app, int flags, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
                  const ElementRecord& element, bool raw) {
    return loadBitmap(app, gbaRules(app), depthOut, palette, bitmap, element, raw);
}

int gameBoySaveBitmap(App& app, int flags, int depth, const ElementRecord& element,
                      const ElementRecord* linkedPalette, const uint32_t* pixels, int width, int height) {
    return saveBitmap(app, gameBoyRules(app), flags, depth, element, linkedPalette, pixels, width, height);
}

int gameBoyLoadBitmap(App& app, int flags, int& depthOut, PaletteBuffer* palette, BitmapData& bitmap,
                      const ElementRecord& element, bool raw) {
    return loadBitmap(app, gameBoyRules(app), depthOut, palette, bitmap, element, raw);
}

}  // namespace ts
