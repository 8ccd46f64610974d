#include "project/element_record.h"
#include "formats/object_list_io.h"

#include <algorithm>
#include <numeric>

#include "formats/format_table.h"
#include "formats/load_save_common.h"
#include "formats/load_save_ops.h"
#include "formats/model.h"
#include "formats/object_list.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "formats/model_table.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "script/reference_file.h"

namespace ts {

namespace {

// Largest entry storage a load allocates.
constexpr int64_t kListStorageLimit = int64_t(256) << 20;

// The entry terminator of the tolerant reading: the list's line text, or the tail of the
// working text after its last "#".
std::string entryTerminator(const FormatSection& section, const std::string& workingText) {
    if (!section.line.empty()) return section.line;
    size_t last = workingText.rfind('#');
    return last == std::string::npos ? std::string() : workingText.substr(last + 1);
}

}  // namespace

int saveObjectList(App& app, int flags, const ElementRecord& element, const ElementRecord* linkedTileset,
                   const ObjectList& list, int tileWidth, int tileHeight) {
    SaveTarget target;
    if (!openSaveTarget(app, target, element.file, T::SaveOpenFailedName)) return 0;
    int count = std::clamp(list.count, 0, list.entrySize > 0 ? int(list.entries.size() / size_t(list.entrySize)) : 0);

    resetTemplateVariables(app);
    if (list.hasUserTexts) formatState(app).userBuffers = list.userTexts;
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionList);
    setElementTexts(app, element);
    setTemplateInteger(app, "size", count);
    setTemplateInteger(app, "memory", int32_t(int64_t(list.entrySize) * count));
    setTemplateText(app, "link", linkedTileset ? linkedTileset->file : list.link);
    setTemplateText(app, "type", list.typeName.empty() ? formatState(app).current.typesd : list.typeName);
    setTemplateInteger(app, "tilex", tileWidth);
    setTemplateInteger(app, "tiley", tileHeight);
    setTemplateText(app, "model", list.model.name);
    writeSection(app, section.refInfo, element);

    TemplateOutput out;
    writeTemplate(app, out, section.declaration);

    // By x, then y; of equal positions the entry stored last is written first.
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&list](int a, int b) {
        int32_t xa = entryX(list, a), xb = entryX(list, b);
        if (xa != xb) return xa < xb;
        int32_t ya = entryY(list, a), yb = entryY(list, b);
        if (ya != yb) return ya < yb;
        return a > b;
    });

    const std::string workingText = expandParamPlaceholder(app, section.element, list.model);
    ObjectList& readable = const_cast<ObjectList&>(list);  // the field access only reads here
    std::string entryText;
    for (int k = 0; k < count; ++k) {
        int i = order[size_t(k)];
        if (section.nEvery > 0 && k % section.nEvery == 0) writeTemplate(app, out, section.everyX);
        if (!section.element2.empty()) {
            ObjectFieldAccess access = entryFieldAccess(readable, i);
            writeTemplate(app, out, section.element2, true, &access);
        } else {
            entryText.clear();
            writeEntryText(list, i, workingText, entryText);
            out.put(entryText);
        }
        writeTemplate(app, out, section.line);
    }
    writeTemplate(app, out, section.end);
    return commitSave(app, target, element.file, out) ? 1 : 0;
}

int loadObjectList(App& app, int flags, ObjectList& list, const ElementRecord& element,
                   std::vector<uint32_t>* tilesetPixels, PaletteBuffer* palette) {
    UserBufferGuard userTexts(app);
    std::string data;
    if (!readDataFile(app, element.file, data, T::LoadListMissing)) return 0;
    resetTemplateVariables(app);
    setTemplateText(app, "name", "");
    setTemplateText(app, "link", "");
    setTemplateText(app, "type", "");
    setTemplateText(app, "model", currentModel(app).name);
    // A copy: a linked file loaded on the way may select another format.
    const FormatSection section = currentSection(app, kSectionList);
    readSection(app, section.refInfo, element);

    const char* bytes = data.data();
    size_t length = data.size();
    const size_t dataStart = matchTemplate(app, bytes, length, 0, section.declaration);
    if (dataStart > length) return 0;

    std::string modelName = getTemplateText(app, "model");
    std::string link = getTemplateText(app, "link");
    std::string type = getTemplateText(app, "type");
    int32_t size = std::max<int32_t>(getTemplateInteger(app, "size"), 0);
    std::array<std::string, kUserTextCount> fileUserTexts = formatState(app).userBuffers;

    int modelIndex = findModel(app, modelName);
    if (modelIndex < 0) {
        showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ListModelUnusable), modelName.c_str()), Icon::Warning);
        return 0;
    }
    modelTable(app).current = modelIndex;
    const Model model = modelTable(app).models[size_t(modelIndex)];
    const std::string workingText = expandParamPlaceholder(app, section.element, model);

    int tileCount = platformState(app).lastTileCount;
    if (!link.empty()) {
        std::vector<uint32_t> scratch;
        tileCount = loadLinkedTileset(app, link, tilesetPixels ? *tilesetPixels : scratch, palette, element.file);
    }
    if (tileCount <= 0) {
        if (link.empty()) fileError(app, element.file, tr(T::LoadMapWithoutTileset));
        return 0;
    }

    if (size > maxListEntries(app) || int64_t(size) * model.entrySize > kListStorageLimit) {
        showBox(hostServices(app), element.file, tr(T::ListTooManyElements), Icon::Warning);
        return 0;
    }

    ObjectList result;
    resetObjectList(result, model);
    result.typeName = type;
    result.link = link;
    result.userTexts = fileUserTexts;
    result.hasUserTexts = true;

    // Strict reading.
    bool damaged = false;
    size_t position = dataStart;
    for (int i = 0; i < size; ++i) {
        if (section.nEvery > 0 && i % section.nEvery == 0 && !section.everyX.empty()) {
            position = matchTemplate(app, bytes, length, position, section.everyX);
            if (position > length) break;
        }
        result.entries.resize(size_t(i + 1) * size_t(result.entrySize), 0);
        result.count = i + 1;
        if (!section.element2.empty()) {
            ObjectFieldAccess access = entryFieldAccess(result, i);
            position = matchTemplate(app, bytes, length, position, section.element2, &access);
        } else {
            position = readEntryText(app, result, i, workingText, bytes, length, position, false, std::string(),
                                     damaged);
        }
        if (damaged || position > length) {
            // The entry that ran into the end of the data (or the damage) is not kept.
            result.count = i;
            result.entries.resize(size_t(i) * size_t(result.entrySize));
            break;
        }
        if (!section.line.empty()) {
            position = matchTemplate(app, bytes, length, position, section.line);
            if (position > length) break;
        }
    }

    if (damaged) {
        result.entries.clear();
        result.count = 0;
        Answer answer = showBox(hostServices(app), tr(T::CaptionAttention), tr(T::ListRecoveryQuestion), Icon::Warning,
                                Buttons::OkCancel, Answer::Ok);
        if (answer != Answer::Ok) return 0;
        // Tolerant reading: every entry starts with the model's defaults.
        result.entries.assign(size_t(size) * size_t(result.entrySize), 0);
        result.count = size;
        for (int i = 0; i < size; ++i) setEntryDefaults(result, i);
        const std::string terminator = entryTerminator(section, workingText);
        position = dataStart;
        bool problem = false;
        int reached = size;
        for (int i = 0; i < size; ++i) {
            if (section.nEvery > 0 && i % section.nEvery == 0 && !section.everyX.empty()) {
                position = matchTemplate(app, bytes, length, position, section.everyX);
                if (position > length) {
                    reached = i;
                    break;
                }
            }
            if (!section.element2.empty()) {
                ObjectFieldAccess access = entryFieldAccess(result, i);
                position = matchTemplate(app, bytes, length, position, section.element2, &access);
                if (position > length) break;  // the entry was read as far as the data goes
            } else {
                position = readEntryText(app, result, i, workingText, bytes, length, position, true, terminator,
                                         problem);
                if (position > length) {
                    reached = i;  // the data ends before this entry begins
                    break;
                }
            }
        }
        // Entries the data does not reach are not made up: the list ends there.
        result.count = reached;
        result.entries.resize(size_t(reached) * size_t(result.entrySize));
    }

    list = std::move(result);
    return 1;
}

}  // namespace ts
