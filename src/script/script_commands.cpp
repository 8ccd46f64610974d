#include "script/script_commands.h"

#include <cstring>

#include "host/message_box.h"
#include "project/app_state.h"
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
    (void)app;
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
    Answer a = showBox(app.host, caption, text, Icon::Information, Buttons::OkCancel, Answer::Ok);
    if (a != Answer::Cancel) return;
    if (haveLabel) {
        app.script.pendingLabel = label;
        app.script.labelPending = true;
    } else {
        app.script.stopRequest = 1;
    }
}

void cmdVisible(App& app, char* args) { app.host.setMainWindowVisible(parseValue(args) != 0); }

void cmdQuit(App& app, char*) { app.script.stopRequest = 2; }

void cmdEnd(App& app, char*) { app.script.stopRequest = 1; }

void cmdExec(App& app, char* args) {
    std::string commandLine;
    if (!quotedArgument(args, commandLine)) return;
    app.host.startProgram(commandLine);
}

void cmdGoto(App& app, char* args) {
    app.script.pendingLabel = args;
    app.script.labelPending = true;
}

void cmdReturn(App& app, char* args) {
    app.script.returnValue = parseValue(args);
    app.script.stopRequest = 1;
}

void cmdFormat(App& app, char* args) {
    std::string name;
    if (quotedArgument(args, name)) app.system.formatToSelect = name;
}

void cmdModel(App& app, char* args) {
    std::string name;
    if (quotedArgument(args, name)) app.system.modelToSelect = name;
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

void cmdSystemMaxMemory(App& app, char* args) { app.system.maxMemory = parseSize(args); }

void cmdSystemEmulGba(App& app, char* args) { app.system.emulGba = parseValue(args); }


}  // namespace ts
