#include "formats/model_rules.h"

#include "formats/model.h"
#include "host/message_box.h"
#include "resources/texts.h"

namespace ts {

namespace {

long long decimal(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (negative) ++p;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (v < 1000000000LL) v = v * 10 + (*p - '0');
    return negative ? -v : v;
}

Model* shownModel(ModelsPageState& state) {
    if (state.shown < 0 || state.shown >= int(state.models.size())) return nullptr;
    return &state.models[size_t(state.shown)];
}

}  // namespace

ModelsPageState loadModelsPage(const App& app) {
    ModelsPageState state;
    state.models = modelTable(app).models;
    state.current = modelTable(app).current;
    state.shown = state.current;
    return state;
}

bool addOrUpdateParam(App& app, ModelsPageState& state, const std::string& name, int kind,
                      const std::string& sizeText, const std::string& defaultText) {
    Model* model = shownModel(state);
    if (!model || name.empty()) return false;
    const long long size = decimal(sizeText);
    if (size < 1) return false;
    if (size < 4) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::ModelsSizeTooSmall), Icon::Error);
        return false;
    }
    const std::string cut = name.substr(0, kModelParamNameMax);
    bool exists = false;
    for (const ModelParam& p : model->params) exists = exists || p.name == cut;
    if (!exists && int(model->params.size()) >= kModelParamCapacity) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::ModelsTooManyParams), Icon::Error);
        return false;
    }
    const int bytes = int(size > kModelParamSizeMax ? kModelParamSizeMax : size);
    if (!addModelParam(*model, cut, kind == 1 ? ParamRaw : ParamInteger, bytes, defaultText)) return false;
    state.changed = true;
    return true;
}

bool deleteParam(ModelsPageState& state, int param) {
    Model* model = shownModel(state);
    if (!model || param < 0 || param >= int(model->params.size())) return false;
    model->params.erase(model->params.begin() + param);
    recomputeEntrySize(*model);
    state.changed = true;
    return true;
}

bool addModel(App& app, ModelsPageState& state, const std::string& name) {
    HostServices& host = hostServices(app);
    if (name.empty()) {
        showBox(host, tr(T::CaptionError), tr(T::ModelsNameMissing), Icon::Error);
        return false;
    }
    for (const Model& m : state.models)
        if (m.name == name) {
            showBox(host, tr(T::CaptionError), formatText(tr(T::ModelsNameTaken), name.c_str()), Icon::Error);
            return false;
        }
    if (int(state.models.size()) >= kModelCapacity) {
        showBox(host, tr(T::CaptionError), formatText(tr(T::ModelsTableFull), kModelCapacity), Icon::Error);
        return false;
    }
    Model model;
    model.name = name;
    recomputeEntrySize(model);
    state.models.push_back(model);
    state.shown = int(state.models.size()) - 1;
    state.changed = true;
    return true;
}

bool deleteShownModel(App& app, ModelsPageState& state) {
    HostServices& host = hostServices(app);
    if (!shownModel(state)) return false;
    if (state.models.size() <= 1) {
        showBox(host, tr(T::CaptionError), tr(T::ModelsKeepOne), Icon::Error);
        return false;
    }
    const bool isCurrent = state.shown == state.current;
    Answer a = showBox(host, tr(T::CaptionAttention), tr(isCurrent ? T::ModelsDeletingCurrent : T::ModelsDeletingOther),
                       Icon::Warning, Buttons::YesNo, Answer::No);
    if (a != Answer::Yes) return false;
    state.models.erase(state.models.begin() + state.shown);
    if (isCurrent) state.current = 0;
    else if (state.current > state.shown) --state.current;
    state.shown = state.current;
    state.changed = true;
    return true;
}

void applyModelsPage(App& app, const ModelsPageState& state) {
    if (state.models.empty()) return;
    ModelTable& table = modelTable(app);
    table.models = state.models;
    table.current = state.current >= 0 && state.current < int(state.models.size()) ? state.current : 0;
}

bool confirmModelsClose(App& app, const ModelsPageState& state) {
    if (!state.changed) return false;
    const std::string name = state.shown >= 0 && state.shown < int(state.models.size()) ? state.models[size_t(state.shown)].name : "";
    Answer a = showBox(hostServices(app), tr(T::CaptionWarning), formatText(tr(T::ModelsApplyChanges), name.c_str()),
                       Icon::Question, Buttons::YesNo, Answer::Yes);
    if (a != Answer::Yes) return false;
    applyModelsPage(app, state);
    return true;
}

}  // namespace ts
