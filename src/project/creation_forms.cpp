#include "project/creation_forms.h"

#include <vector>

#include "formats/format_state.h"
#include "formats/model.h"
#include "formats/model_table.h"
#include "formats/object_list.h"
#include "formats/platform.h"
#include "formats/template_variables.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "resources/texts.h"
#include "script/settings.h"

namespace ts {

namespace {

int decimalField(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (negative) ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 1000000000LL) value = 1000000000LL;
    }
    return int(negative ? -value : value);
}

// Checks the name of the file to create and asks before an existing file is replaced.
bool fileMayBeWritten(App& app, const std::string& file) {
    HostServices& host = hostServices(app);
    if (file.empty()) {
        showBox(host, tr(T::CaptionOops), tr(T::FormFileNameMissing), Icon::Error);
        return false;
    }
    if (file.find_first_of("\r\n") != std::string::npos || file.size() > kElementPathMax || isDirectory(file) ||
        fileNameOf(file).empty()) {
        std::string shown = file.substr(0, 80);
        for (char& c : shown)
            if (c == '\r' || c == '\n') c = ' ';
        showBox(host, tr(T::CaptionError), formatText(tr(T::FormFileNameBad), shown.c_str()), Icon::Error);
        return false;
    }
    if (fileExists(file)) {
        Answer a = showBox(host, tr(T::CaptionQuestion), formatText(tr(T::FormFileExists), file.c_str()),
                           Icon::Question, Buttons::YesNo, Answer::No);
        if (a != Answer::Yes) return false;
    }
    return true;
}

ElementRecord newRecord(const std::string& file, ElementType type) {
    ElementRecord record;
    record.file = file;
    record.baseFile = file;
    std::string name = fileNameOf(file);
    if (name.empty()) name = file;
    record.name = name.substr(0, kElementNameMax);
    record.typeAndFlags = type;
    return record;
}

void applyBlockSize(App& app, int choice) {
    if (choice < 0 || choice >= kBlockSizeCustom) return;
    setTemplateInteger(app, "tilex", kBlockSizePixels[choice]);
    setTemplateInteger(app, "tiley", kBlockSizePixels[choice]);
}

const ElementRecord* nthRecord(const App& app, unsigned type, int position) {
    int index = nthElementOfType(app, type, position + 1);
    return index == kElementNotFound ? nullptr : &elementTable(app).records[size_t(index)];
}

void notifyConvert(App& app) {
    const PlatformRecord& platform = currentPlatform(app);
    if (platform.onConvert) platform.onConvert(app, 2);
}

}  // namespace

bool creationFormsAvailable(const App& app) { return countElementsOfType(app, TYPE_MOSAIQUE) > 0; }

ObjectListFormState defaultObjectListForm(const App& app) {
    ObjectListFormState state;
    state.modelChoice = modelTable(app).current;
    return state;
}

bool runGiantMapForm(App& app, const GiantMapFormState& state) {
    const int width = decimalField(state.width), height = decimalField(state.height);
    if (width < 1 || height < 1 || (long long)width * height > kGiantMapCellLimit) {
        showBox(hostServices(app), tr(T::CaptionError),
                formatText(tr(T::FormBadTableSize), width, height, int(kGiantMapCellLimit)), Icon::Error);
        return false;
    }
    const ElementRecord* tileset = nthRecord(app, TYPE_MOSAIQUE, state.tilesetChoice);
    if (!tileset) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::FormMapNeedsTileset), Icon::Error);
        return false;
    }
    if (!fileMayBeWritten(app, state.file)) return false;
    // The records are copied: adding the new element may move the table's storage.
    const ElementRecord tilesetRecord = *tileset;
    ElementRecord record = newRecord(state.file, TYPE_CARTE);
    setCurrentMapType(app, state.mapType >= 0 && state.mapType < kMapTypeCount ? state.mapType : MapText);
    applyBlockSize(app, state.blockSize);

    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.saveMap) return false;
    bool saved;
    {
        std::vector<uint32_t> cells(size_t(width) * size_t(height), 0);
        notifyConvert(app);
        saved = platform.saveMap(app, 0, record, &tilesetRecord, width, height, cells.data()) != 0;
    }
    if (!saved) return false;
    return addElement(app, record) != kElementNotFound;
}

bool runObjectListForm(App& app, const ObjectListFormState& state) {
    const ElementRecord* tileset = nthRecord(app, TYPE_MOSAIQUE, state.tilesetChoice);
    if (!tileset) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::FormListNeedsTileset), Icon::Error);
        return false;
    }
    if (!fileMayBeWritten(app, state.file)) return false;
    const ElementRecord tilesetRecord = *tileset;
    ElementRecord record = newRecord(state.file, TYPE_LISTE);
    applyBlockSize(app, state.blockSize);
    const ModelTable& models = modelTable(app);
    if (models.models.empty()) return false;
    const int modelIndex = state.modelChoice >= 0 && state.modelChoice < int(models.models.size()) ? state.modelChoice : 0;
    ObjectList list;
    resetObjectList(list, models.models[size_t(modelIndex)]);
    list.link = tilesetRecord.file;

    const PlatformRecord& platform = currentPlatform(app);
    if (!platform.saveList) return false;
    notifyConvert(app);
    const int tileX = getTemplateInteger(app, "tilex"), tileY = getTemplateInteger(app, "tiley");
    if (!platform.saveList(app, 0, record, &tilesetRecord, list, tileX, tileY)) return false;
    return addElement(app, record) != kElementNotFound;
}

}  // namespace ts
