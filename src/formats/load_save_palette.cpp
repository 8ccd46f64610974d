// Palette files: one 15-bit colour per element.
#include <algorithm>

#include "formats/format_table.h"
#include "formats/load_save_common.h"
#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/message_box.h"
#include "formats/platform_state.h"
#include "project/element_record.h"
#include "script/reference_file.h"

namespace ts {

namespace {

int savePalette(App& app, const ElementRecord& element, const uint32_t* colors, int count, bool reversed) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedName)) return 0;
    count = std::max(count, 0);
    if (!colors) count = 0;
    resetTemplateVariables(app);
    const FormatSection& section = currentSection(app, kSectionPalette);
    setElementTexts(app, element);
    setTemplateInteger(app, "size", count);
    setTemplateInteger(app, "memory", 2 * count);
    writeSection(app, section.refInfo, element);

    TemplateOutput out;
    out.bytes.reserve(size_t(count) * 8 + 256);
    writeTemplate(app, out, section.declaration);
    const NumberFormat field(section.element);
    for (int i = 0; i < count; ++i) {
        if (everyBoundary(section.nEvery, i)) writeTemplate(app, out, section.everyX);
        uint32_t c = colors[i];
        int transparent = (~bgraAlpha(c)) & 1;
        field.write(app, out, encodeColor15(bgraRed(c), bgraGreen(c), bgraBlue(c), transparent, reversed));
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int loadPalette(App& app, int* depthOut, PaletteBuffer& palette, const ElementRecord& element, bool reversed,
                int defaultDepth) {
    OpenedDataFile file;
    if (!openDataFile(app, element, kSectionPalette, T::LoadPaletteMissing, file)) return 0;
    const FormatSection& section = file.section;
    const char* bytes = file.data.data();
    size_t length = file.data.size();
    size_t position = file.position;

    palette.fill(0);
    int count = 0;
    for (int i = 0; i < kPaletteEntries; ++i) {
        if (everyBoundary(section.nEvery, i) && !section.everyX.empty()) {
            position = matchTemplate(app, bytes, length, position, section.everyX);
            if (position > length) break;
        }
        uint32_t value = 0;
        size_t next = readElement(app, bytes, length, position, section.element, value);
        if (next > length) break;
        position = next;
        palette[size_t(i)] = decodeColor15(value & 0xFFFF, reversed);
        ++count;
    }
    if (currentDepth(app).color0Transparent) palette[0] = 0;
    if (depthOut) *depthOut = defaultDepth;
    return count;
}

}  // namespace

int gbaSavePalette(App& app, int flags, const ElementRecord& element, const uint32_t* colors, int count) {
    return savePalette(app, element, colors, count, platformState(app).gba.revColorOrder != 0);
}

int gbaLoadPalette(App& app, int flags, int* depthOut, PaletteBuffer& palette, const ElementRecord& element) {
    return loadPalette(app, depthOut, palette, element, platformState(app).gba.revColorOrder != 0,
                       platformState(app).records[kPlatformGba].defaultDepth);
}

int gameBoySavePalette(App& app, int flags, const ElementRecord& element, const uint32_t* colors, int count) {
    // In monochrome mode the palette is the DMG's: nothing is written and the file stays as it is.
    if (platformState(app).gbc.dmgMode) return 0;
    return savePalette(app, element, colors, count, false);
}

int gameBoyLoadPalette(App& app, int flags, int* depthOut, PaletteBuffer& palette, const ElementRecord& element) {
    if (platformState(app).gbc.dmgMode) {
        // The four DMG shades replace the file, reduced to 5-bit components.
        palette.fill(0);
        for (int i = 0; i < 4; ++i) {
            uint32_t c = platformState(app).gbc.dmgPalette[size_t(i)];
            palette[size_t(i)] = packBgra(bgraBlue(c) >> 3, bgraGreen(c) >> 3, bgraRed(c) >> 3, 255);
        }
        if (depthOut) *depthOut = 0;
        return 4;
    }
    return loadPalette(app, depthOut, palette, element, false, platformState(app).records[kPlatformGameBoy].defaultDepth);
}

int loadLinkedPalette(App& app, const std::string& link, PaletteBuffer& palette, const std::string& caption) {
    int index = findProjectElement(app, TYPE_PALETTE, link);
    if (index < 0) {
        fileError(app, caption, formatText(tr(T::LoadLinkedPaletteMissing), link.c_str()));
        return 0;
    }
    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.loadPalette) return 0;
    ElementRecord paletteElement = elementTable(app).records[size_t(index)];
    return platform.loadPalette(app, 0, nullptr, palette, paletteElement) > 0 ? 1 : 0;
}

}  // namespace ts
