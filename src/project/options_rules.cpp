#include "project/options_rules.h"

#include "editor/editor_document.h"

#include "editor/editor_settings.h"
#include "formats/model_table.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

// A signed decimal number at the start of a text (blanks first); 0 when there is none.
long long signedDecimal(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (value < 1000000000LL) value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

}  // namespace

std::string maxMemoryText(uint32_t bytes) { return bytes == 0 ? kMaxMemoryEntries.back() : formatSize(bytes); }

std::vector<std::string> modelNames(const App& app) {
    std::vector<std::string> names;
    for (const Model& model : modelTable(app).models) names.push_back(model.name);
    return names;
}

GeneralOptionsState loadGeneralOptions(const App& app) {
    const SystemSettings& system = systemSettings(app);
    GeneralOptionsState state;
    state.maxObjects = std::to_string(system.maxObjects);
    state.saveMapsParams = system.saveMapsParams != 0;
    state.saveMapsParamsAuto = state.saveMapsParams && system.saveMapsParamsAuto != 0;
    state.model = modelTable(app).current;
    state.timer = std::to_string(editorSettings(app).timing);
    state.maxMemory = maxMemoryText(system.maxMemory);
    state.autoFormat = system.autoFormatSelection != 0;
    return state;
}

void setSaveMapsParams(GeneralOptionsState& state, bool checked) {
    state.saveMapsParams = checked;
    if (!checked) state.saveMapsParamsAuto = false;
}

bool editorHasPlanes(App& app) {
    const EditorDocument& doc = editorDocument(app);
    return doc.open && doc.count > 0;
}

void applyGeneralOptions(App& app, const GeneralOptionsState& state, bool editorOpen) {
    SystemSettings& system = systemSettings(app);
    int32_t maxObjects = parseValue(state.maxObjects.c_str());
    if (maxObjects >= 1 && maxObjects != system.maxObjects) {
        if (editorOpen) {
            showBox(hostServices(app), tr(T::CaptionError), tr(T::OptionsListSizeEditorOpen), Icon::Warning);
        } else {
            system.maxObjects = maxObjects < 3 ? 3 : maxObjects;
        }
    }
    system.saveMapsParams = state.saveMapsParams ? 1 : 0;
    system.saveMapsParamsAuto = state.saveMapsParams && state.saveMapsParamsAuto ? 1 : 0;
    long long timer = signedDecimal(state.timer);
    editorSettings(app).timing = int32_t(timer < 0 ? 0 : timer > kEditorTimingMax ? kEditorTimingMax : timer);
    ModelTable& models = modelTable(app);
    if (state.model >= 0 && state.model < int(models.models.size())) models.current = state.model;
    // A text without a number ("Max.") means no limit.
    const bool hasNumber = state.maxMemory.find_first_of("0123456789") != std::string::npos;
    system.maxMemory = hasNumber ? parseSize(state.maxMemory.c_str()) : 0;
    system.autoFormatSelection = state.autoFormat ? 1 : 0;
}

}  // namespace ts
