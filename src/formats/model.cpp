#include "formats/model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/text_file.h"
#include "formats/model_table.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr size_t kModelLineMax = 4096;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isQuote(char c) { return c == '"' || c == '\'' || c == '*'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipBlanks(const char* p) {
    while (isBlank(*p)) ++p;
    return p;
}

// Past the characters of one number ("12", "0x1F", "true").
const char* skipNumber(const char* p) {
    while (std::isalnum(static_cast<unsigned char>(*p))) ++p;
    return p;
}

// Past an optional comma and the blanks around it.
const char* skipComma(const char* p) {
    p = skipBlanks(p);
    if (*p == ',') p = skipBlanks(p + 1);
    return p;
}

// One parameter line: kind, then (after any characters) size, then optionally a quoted name and
// a quoted default.
void readParamLine(Model& model, const std::string& line) {
    const char* p = skipBlanks(line.c_str());
    int kind = parseValue(p);
    p = skipNumber(p);
    while (*p && !isDigit(*p)) ++p;
    int size = parseValue(p);
    p = skipNumber(p);
    p = skipComma(p);
    std::string name, defaultText;
    if (isQuote(*p)) {
        p = readEscapedString(name, p, kModelParamNameMax + 1);
        p = skipComma(p);
        if (isQuote(*p)) readEscapedString(defaultText, p, kModelParamDefaultMax + 1);
    }
    if (int(model.params.size()) >= kModelParamCapacity) return;
    ModelParam param;
    param.kind = kind;
    param.size = size > 0 ? std::min(size, kModelParamSizeMax) : 4;
    param.name = name;
    param.defaultText = defaultText;
    model.params.push_back(param);
}

}  // namespace

void initializeModels(App& app) {
    modelTable(app) = ModelTable{};
    Model model;
    model.name = "Default";
    recomputeEntrySize(model);
    modelTable(app).models.push_back(model);
    modelTable(app).current = 0;
}

int findModel(const App& app, const std::string& name) {
    const std::vector<Model>& models = modelTable(app).models;
    for (size_t i = 0; i < models.size(); ++i)
        if (models[i].name == name) return int(i);
    return -1;
}

Model& currentModel(App& app) {
    ModelTable& table = modelTable(app);
    if (table.models.empty()) initializeModels(app);
    if (table.current < 0 || table.current >= int(table.models.size())) table.current = 0;
    return table.models[size_t(table.current)];
}

const Model& currentModel(const App& app) {
    static const Model empty{"Default", {}, kListEntryHeader};
    const ModelTable& table = modelTable(app);
    if (table.models.empty()) return empty;
    int index = table.current >= 0 && table.current < int(table.models.size()) ? table.current : 0;
    return table.models[size_t(index)];
}

void recomputeEntrySize(Model& model) {
    int size = kListEntryHeader;
    for (const ModelParam& param : model.params) size += param.size > 0 ? param.size : 0;
    model.entrySize = size;
}

bool addModelParam(Model& model, const std::string& name, int kind, int size, const std::string& defaultText) {
    if (name.empty()) return false;
    std::string cut = name.substr(0, kModelParamNameMax);
    ModelParam param;
    param.kind = kind;
    param.size = size > 0 ? std::min(size, kModelParamSizeMax) : 4;
    param.name = cut;
    param.defaultText = defaultText.substr(0, kModelParamDefaultMax);
    for (ModelParam& existing : model.params) {
        if (existing.name == cut) {
            existing = param;
            recomputeEntrySize(model);
            return true;
        }
    }
    if (int(model.params.size()) >= kModelParamCapacity) return false;
    model.params.push_back(param);
    recomputeEntrySize(model);
    return true;
}

bool defineModelFromFile(App& app, TextFile& file, const std::string& name) {
    std::vector<Model>& models = modelTable(app).models;
    int index = findModel(app, name);
    Model scratch;  // receives the block when the table is full
    Model* model = &scratch;
    if (index >= 0) {
        model = &models[size_t(index)];
        model->params.clear();
    } else if (int(models.size()) < kModelCapacity) {
        models.push_back(Model{});
        model = &models.back();
        model->name = name;
    }
    std::string line;
    while (file.readLine(line, kModelLineMax)) {
        // A line longer than the limit continues on the next read; treat the rest as part of it.
        while (!line.empty() && line.back() != '\n') {
            std::string more;
            if (!file.readLine(more, kModelLineMax)) break;
            line += more;
            if (line.size() > 16 * kModelLineMax) {
                // Discard the remainder of a runaway line.
                while (!more.empty() && more.back() != '\n' && file.readLine(more, kModelLineMax)) {}
                break;
            }
        }
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        const char* p = skipBlanks(line.c_str());
        if (*p == '}') break;
        if (*p == '{' || *p == 0) continue;
        readParamLine(*model, line);
    }
    recomputeEntrySize(*model);
    return model != &scratch;
}

}  // namespace ts
