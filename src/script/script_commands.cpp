#include "script/script_commands.h"

#include <cstring>

#include "host/message_box.h"
#include "host/host_services.h"
#include "script/form_controls.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "script/values.h"

namespace ts {

namespace {
constexpr size_t kMessageMax = 4096;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void cmdOk(App& app, char*) {
    // Presses the OK button of the creation form shown in the main window; without a window
    // there is no form to press.
    if (FormControlHost* forms = scriptState(app).forms) forms->pressOk();
}

void cmdMsgBox(App& app, char* args) {
    std::vector<std::string> texts;
    const char* p = args;
    while (*p == '"' || *p == '\'' || *p == '*') {
        std::string text;
        p = readEscapedString(text, p, kMessageMax);
        texts.push_back(text);
        if (*p == ',') ++p;
        while (isBlank(*p)) ++p;
    }
    std::string label;
    bool haveLabel = false;
    for (const char* prefix : {"else goto ", "sinon goto "}) {
        size_t n = std::strlen(prefix);
        if (std::strncmp(p, prefix, n) == 0) {
            label = p + n;
            haveLabel = true;
            break;
        }
    }
    std::string text = texts.empty() ? tr(T::MsgBoxBreakpoint) : texts.front();
    std::string caption = texts.size() > 1 ? texts.back() : tr(T::MsgBoxDefaultCaption);
    Answer a = showBox(hostServices(app), caption, text, Icon::Information, Buttons::OkCancel, Answer::Ok);
    if (a != Answer::Cancel) return;
    if (haveLabel) {
        scriptState(app).pendingLabel = label;
        scriptState(app).labelPending = true;
    } else {
        scriptState(app).stopRequest = 1;
    }
}

void cmdVisible(App& app, char* args) { hostServices(app).setMainWindowVisible(parseValue(args) != 0); }

void cmdQuit(App& app, char*) { scriptState(app).stopRequest = 2; }

void cmdEnd(App& app, char*) { scriptState(app).stopRequest = 1; }

void cmdExec(App& app, char* args) {
    std::string commandLine;
    if (!quotedArgument(args, commandLine)) return;
    hostServices(app).startProgram(commandLine);
}

void cmdGoto(App& app, char* args) {
    scriptState(app).pendingLabel = args;
    scriptState(app).labelPending = true;
}

void cmdReturn(App& app, char* args) {
    scriptState(app).returnValue = parseValue(args);
    scriptState(app).stopRequest = 1;
}

void cmdFormat(App& app, char* args) {
    std::string name;
    if (quotedArgument(args, name)) systemSettings(app).formatToSelect = name;
}

void cmdModel(App& app, char* args) {
    std::string name;
    if (quotedArgument(args, name)) systemSettings(app).modelToSelect = name;
}

void cmdInclude(App& app, char* args) {
    std::string name;
    if (!quotedArgument(args, name)) {
        scriptError(app, tr(T::IncludeBadName));
        return;
    }
    if (!runScriptFile(app, name))
        scriptError(app, formatText(tr(T::IncludeCannotOpen), name.c_str()));
}

void cmdDo(App& app, char* args) {
    std::string name;
    char* cursor = args;
    char* text = readQuotedString(cursor);
    if (!text) {
        scriptError(app, tr(T::DoBadName));
        return;
    }
    name.assign(text, std::min(std::strlen(text), kStringVariableMax));
    char* p = cursor;
    while (*p && *p != ',' && *p != ':') ++p;
    if (*p) ++p;
    while (*p && *p != '"') ++p;
    std::string label;
    if (char* l = readQuotedString(p)) label.assign(l, std::min(std::strlen(l), kStringVariableMax));
    if (!runScriptFile(app, name, label))
        scriptError(app, formatText(tr(T::DoCannotOpen), name.c_str()));
}

void cmdSystemMaxMemory(App& app, char* args) { systemSettings(app).maxMemory = parseSize(args); }

void cmdSystemEmulGba(App& app, char* args) { systemSettings(app).emulGba = parseValue(args); }


}  // namespace ts
