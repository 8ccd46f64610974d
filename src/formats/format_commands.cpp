#include "formats/format_commands.h"

#include <cstring>

#include "formats/model.h"
#include "formats/platform_commands.h"
#include "formats/format_table.h"
#include "formats/template_variables.h"
#include "host/message_box.h"
#include "host/text_file.h"
#include "formats/format_state.h"
#include "host/host_services.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "resources/texts.h"
#include "script/values.h"

namespace ts {

void initFormats(App& app) {
    FormatState& f = formatState(app);
    f.records.clear();
    f.records.push_back(standardFormat());
    f.current = FormatRecord{};
    applyFormat(app, 0);
    f.selectedSinceStartUp = false;
    f.noError = false;
    initTemplateVariables(app);
    loadUserBuffers(app);
}

namespace {

char* skipBlanks(char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

}  // namespace

void cmdDefineFormat(App& app, char* args) {
    TextFile* file = scriptState(app).currentFile;
    if (!file || !args) return;
    char* cursor = skipBlanks(args);
    std::string name;
    char* quoted = (*cursor == '"' || *cursor == '\'' || *cursor == '*') ? readQuotedString(cursor) : nullptr;
    if (quoted) {
        name = quoted;
    } else {
        char* brace = std::strchr(cursor, '{');
        if (!brace) {
            showBox(hostServices(app), tr(T::CaptionScriptError), tr(T::FormatOpeningForgotten), Icon::Error);
            return;
        }
        char* end = brace;
        while (end > cursor && (end[-1] == ' ' || end[-1] == '\t')) --end;
        name.assign(cursor, size_t(end - cursor));
    }
    defineFormatBlock(app, *file, name);
}

void cmdSetFormat(App& app, char* args) {
    if (!args) return;
    char* cursor = skipBlanks(args);
    if (char* quoted = readQuotedString(cursor)) {
        ChoisitFormat(app, quoted);
        return;
    }
    // An unquoted name is taken as it stands, without its trailing blanks.
    std::string name(cursor);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n' || name.back() == '\r'))
        name.pop_back();
    if (!name.empty()) ChoisitFormat(app, name);
}

bool ChoisitFormat(App& app, const std::string& name) {
    int index = findFormat(app, name);
    if (index < 0) {
        showBox(hostServices(app), tr(T::CaptionChoisitFormat), formatText(tr(T::FormatNotFound), name.c_str()), Icon::Error);
        return false;
    }
    applyFormat(app, index);
    return true;
}

std::string formatExtensionOf(const std::string& fileName) {
    // From the last path part back: the text after the first "." of the nearest part that has one.
    size_t partEnd = fileName.size();
    for (;;) {
        size_t sep = partEnd == 0 ? std::string::npos : fileName.find_last_of("\\/", partEnd - 1);
        size_t partStart = sep == std::string::npos ? 0 : sep + 1;
        size_t dot = fileName.find('.', partStart);
        if (dot != std::string::npos && dot < partEnd) return fileName.substr(dot + 1);
        if (sep == std::string::npos) return fileName;
        partEnd = sep;
    }
}

void AutoSelectFormat(App& app, const std::string& fileName) {
    if (!systemSettings(app).autoFormatSelection) return;
    std::string extension = formatExtensionOf(fileName);
    int matches = 0;
    int chosen = -1;
    const auto& records = formatState(app).records;
    for (size_t r = 0; r < records.size(); ++r)
        for (const FormatSection& section : records[r].sections) {
            if (section.ext.empty()) continue;
            if (section.ext.compare(1, std::string::npos, extension) == 0) {
                ++matches;
                chosen = int(r);
            }
        }
    if (matches == 1) applyFormat(app, chosen);
}

void selectRememberedFormat(App& app) {
    if (!systemSettings(app).formatToSelect.empty()) ChoisitFormat(app, systemSettings(app).formatToSelect);
}

void selectRememberedFormatAndModelIfDefined(App& app) {
    const std::string& format = systemSettings(app).formatToSelect;
    if (!format.empty() && findFormat(app, format) >= 0) ChoisitFormat(app, format);
    const std::string& model = systemSettings(app).modelToSelect;
    if (!model.empty() && findModel(app, model) >= 0) ChoisitModele(app, model);
}

}  // namespace ts
