#include "formats/template_variables.h"

#include <cstdlib>

#include "formats/format_state.h"

namespace ts {

namespace {

TemplateVariable textRow(const char* name) {
    TemplateVariable v;
    v.name = name;
    v.kind = TemplateVariableKind::Text;
    return v;
}

TemplateVariable integerRow(const char* name) {
    TemplateVariable v;
    v.name = name;
    v.kind = TemplateVariableKind::Integer;
    return v;
}

TemplateVariable externalRow(const char* name, int32_t* target) {
    TemplateVariable v;
    v.name = name;
    v.kind = TemplateVariableKind::ExternalInteger;
    v.external = target;
    return v;
}

}  // namespace

void initTemplateVariables(App& app) {
    FormatState& f = formatState(app);
    f.shared = TemplateSharedIntegers{};
    f.variables = {
        textRow("file"),
        externalRow("sizex", &f.shared.sizeX),
        externalRow("sizey", &f.shared.sizeY),
        integerRow("size"),
        integerRow("memory"),
        textRow("name"),
        textRow("link"),
        externalRow("tilex", &f.shared.tileX),
        externalRow("tiley", &f.shared.tileY),
        integerRow("depth"),
        textRow("type"),
        textRow("null"),
        textRow("bits"),
        externalRow("gfxmask", &f.shared.gfxMask),
        externalRow("tilebase", &f.shared.tileBase),
        textRow("model"),
        // Packed data: the method ("LZ77", "RLE"), the size unpacked in bytes and the number of
        // 32-bit words the packed stream takes.
        textRow("packing"),
        integerRow("unpacked"),
        integerRow("packed"),
    };
    // %packing% is empty for data that are not packed, so a format may always write it.
    findTemplateVariable(app, "packing")->textSet = true;
    f.startupVariables = f.variables;
    for (auto& b : f.userBuffers) b.clear();
}

void loadUserBuffers(App& app) {
    for (int i = 0; i < kUserTextCount; ++i) {
        const std::string& text = formatState(app).current.user[size_t(i)];
        formatState(app).userBuffers[size_t(i)] = text.substr(0, kUserTextMax);
    }
}

void resetTemplateVariables(App& app) {
    formatState(app).variables = formatState(app).startupVariables;
    loadUserBuffers(app);
}

TemplateVariable* findTemplateVariable(App& app, std::string_view name) {
    for (auto& v : formatState(app).variables)
        if (v.name == name) return &v;
    return nullptr;
}

bool setTemplateText(App& app, std::string_view name, std::string_view text) {
    TemplateVariable* v = findTemplateVariable(app, name);
    if (!v || v->kind != TemplateVariableKind::Text) return false;
    v->text.assign(text.substr(0, kCaptureMax));
    v->textSet = true;
    return true;
}

bool setTemplateInteger(App& app, std::string_view name, int32_t value) {
    TemplateVariable* v = findTemplateVariable(app, name);
    if (!v) return false;
    if (v->kind == TemplateVariableKind::Integer) {
        v->integer = value;
        return true;
    }
    if (v->kind == TemplateVariableKind::ExternalInteger && v->external) {
        *v->external = value;
        return true;
    }
    return false;
}

std::string getTemplateText(App& app, std::string_view name) {
    TemplateVariable* v = findTemplateVariable(app, name);
    if (!v || v->kind != TemplateVariableKind::Text || !v->textSet) return {};
    return v->text;
}

bool isTemplateTextSet(App& app, std::string_view name) {
    TemplateVariable* v = findTemplateVariable(app, name);
    return v && v->kind == TemplateVariableKind::Text && v->textSet;
}

int32_t getTemplateInteger(App& app, std::string_view name) {
    TemplateVariable* v = findTemplateVariable(app, name);
    if (!v || v->kind == TemplateVariableKind::Text) return 0;
    return v->value();
}

bool bindTemplateInteger(App& app, std::string_view name, int32_t* target) {
    bool bound = false;
    for (auto* table : {&formatState(app).variables, &formatState(app).startupVariables})
        for (auto& v : *table)
            if (v.name == name && v.kind == TemplateVariableKind::ExternalInteger) {
                v.external = target;
                bound = true;
            }
    return bound;
}

std::string* userBuffer(App& app, int n) {
    if (n < 1 || n > kUserTextCount) return nullptr;
    return &formatState(app).userBuffers[size_t(n - 1)];
}

int userIndexOf(std::string_view name) {
    constexpr std::string_view prefix = "user[";
    if (name.substr(0, prefix.size()) != prefix) return -1;
    std::string_view rest = name.substr(prefix.size());
    int n = 0;
    size_t i = 0;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && n < 1000) n = n * 10 + (rest[i++] - '0');
    if (i == 0) return 0;
    return (n >= 1 && n <= kUserTextCount) ? n : 0;
}

}  // namespace ts
