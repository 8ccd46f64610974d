#pragma once
// All process-wide state of the program in one object. Every subsystem receives the App it works
// on, so a test builds fresh state by making a new App. Subsystems reach their part through the
// accessor each of them declares in its own state header (convertSettings(app), ...); only the
// start-up, the table assembly and the tests see the whole object.
#include <memory>
#include <string>

#include "convert/convert_settings.h"
#include "editor/editor_settings.h"
#include "formats/format_state.h"
#include "formats/model_table.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "project/project_paths.h"
#include "script/script_state.h"
#include "script/settings.h"

namespace ts {

struct EditorDocument;

struct App {
    explicit App(HostServices& hostServices);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HostServices& host;

    ProjectPaths paths;
    ScriptState script;
    SystemSettings system;
    ConvertSettings convert;
    EditorSettings editor;
    ElementTable elements;
    FormatState formats;
    PlatformState platforms;
    ModelTable models;
    std::unique_ptr<EditorDocument> editorDoc;  // made when the editor first opens
};

}  // namespace ts
