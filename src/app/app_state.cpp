#include "app/app_state.h"

#include "editor/editor_document.h"

namespace ts {

App::App(HostServices& hostServices) : host(hostServices) {}
App::~App() = default;

EditorDocument& editorDocument(App& app) {
    if (!app.editorDoc) app.editorDoc = std::make_unique<EditorDocument>();
    return *app.editorDoc;
}

HostServices& hostServices(App& app) { return app.host; }
const HostServices& hostServices(const App& app) { return app.host; }
ProjectPaths& projectPaths(App& app) { return app.paths; }
const ProjectPaths& projectPaths(const App& app) { return app.paths; }
ScriptState& scriptState(App& app) { return app.script; }
const ScriptState& scriptState(const App& app) { return app.script; }
SystemSettings& systemSettings(App& app) { return app.system; }
const SystemSettings& systemSettings(const App& app) { return app.system; }
ConvertSettings& convertSettings(App& app) { return app.convert; }
const ConvertSettings& convertSettings(const App& app) { return app.convert; }
EditorSettings& editorSettings(App& app) { return app.editor; }
const EditorSettings& editorSettings(const App& app) { return app.editor; }
ElementTable& elementTable(App& app) { return app.elements; }
const ElementTable& elementTable(const App& app) { return app.elements; }
FormatState& formatState(App& app) { return app.formats; }
const FormatState& formatState(const App& app) { return app.formats; }
PlatformState& platformState(App& app) { return app.platforms; }
const PlatformState& platformState(const App& app) { return app.platforms; }
ModelTable& modelTable(App& app) { return app.models; }
const ModelTable& modelTable(const App& app) { return app.models; }

}  // namespace ts
