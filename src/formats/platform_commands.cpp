#include "formats/platform_commands.h"

#include <cstring>

#include "formats/model.h"
#include "formats/platform.h"
#include "host/message_box.h"
#include "host/text_file.h"
#include "formats/model_table.h"
#include "host/host_services.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "script/values.h"

namespace ts {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char* skipBlanks(char* p) {
    while (isBlank(*p)) ++p;
    return p;
}

}  // namespace

void cmdPlatform(App& app, char* args) {
    char* cursor = args;
    std::string name;
    if (!quotedArgument(cursor, name)) {
        // Without quotes the whole argument is taken as the name.
        std::string text = skipBlanks(args);
        while (!text.empty() && (isBlank(text.back()) || text.back() == '\r' || text.back() == '\n')) text.pop_back();
        name = text;
    }
    if (!selectPlatformByName(app, name)) scriptError(app, formatText(tr(T::PlatformNotFound), name.c_str()));
}

void cmdDefineModel(App& app, char* args) {
    TextFile* file = scriptState(app).currentFile;
    if (!file) return;
    char* cursor = args;
    std::string name;
    if (!quotedArgument(cursor, name)) {
        char* brace = std::strchr(args, '{');
        if (!brace) {
            scriptError(app, tr(T::FormatOpeningForgotten));
            return;
        }
        char* start = skipBlanks(args);
        char* end = brace;
        while (end > start && isBlank(end[-1])) --end;
        name.assign(start, size_t(end - start));
    }
    if (!defineModelFromFile(app, *file, name))
        scriptError(app, formatText(tr(T::ModelTableFull), name.c_str()));
}

void cmdSetModel(App& app, char* args) {
    char* cursor = args;
    std::string name;
    if (!quotedArgument(cursor, name)) {
        scriptError(app, formatText(tr(T::ScriptMissingArguments), "setmodel"));
        return;
    }
    ChoisitModele(app, name);
}

void cmdListResetParams(App& app, char* args) {
    Model& model = currentModel(app);
    model.params.clear();
    recomputeEntrySize(model);
}

void cmdListAddParam(App& app, char* args) {
    char* cursor = args;
    std::string name;
    if (!quotedArgument(cursor, name)) {
        scriptError(app, formatText(tr(T::ScriptMissingArguments), "list.addparam"));
        return;
    }
    // After the name: the kind, then the size, separated by commas or blanks.
    auto skipSeparators = [](char* p) {
        while (*p == ',' || isBlank(*p)) ++p;
        return p;
    };
    cursor = skipSeparators(cursor);
    int kind = parseValue(cursor);
    cursor = skipSeparators(nextArgument(cursor));
    int size = parseValue(cursor);
    addModelParam(currentModel(app), name, kind, size, std::string());
}

void cmdMaxObjects(App& app, char* args) {
    int32_t value = parseValue(skipBlanks(args));
    systemSettings(app).maxObjects = value < 3 ? 3 : value;
}

bool ChoisitModele(App& app, const std::string& name) {
    int index = findModel(app, name);
    if (index < 0) {
        showBox(hostServices(app), tr(T::CaptionChoisitModele), formatText(tr(T::ModelNotFound), name.c_str()), Icon::Error);
        return false;
    }
    modelTable(app).current = index;
    modelTable(app).selectedSinceStartUp = true;
    return true;
}

}  // namespace ts
