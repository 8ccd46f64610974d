#pragma once
// Handlers of the interpreter's own commands: flow, messages, running other scripts, and the
// `system` object's commands.
namespace ts {
struct App;
void cmdOk(App& app, char* args);
void cmdMsgBox(App& app, char* args);
void cmdVisible(App& app, char* args);
void cmdQuit(App& app, char* args);
void cmdEnd(App& app, char* args);
void cmdExec(App& app, char* args);
void cmdGoto(App& app, char* args);
void cmdReturn(App& app, char* args);
void cmdFormat(App& app, char* args);
void cmdModel(App& app, char* args);
void cmdInclude(App& app, char* args);
void cmdDo(App& app, char* args);
void cmdSystemMaxMemory(App& app, char* args);
void cmdSystemEmulGba(App& app, char* args);
}  // namespace ts
