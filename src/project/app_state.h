#pragma once
// All process-wide state of the program in one object. Every subsystem receives the App it works
// on, so a test builds fresh state by making a new App.
#include <memory>
#include <string>

#include "convert/convert_settings.h"
#include "editor/editor_settings.h"
#include "formats/format_state.h"
#include "formats/model_table.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "script/script_state.h"
#include "script/settings.h"

namespace ts {

struct App {
    explicit App(HostServices& hostServices) : host(hostServices) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HostServices& host;

    std::string programDirectory;  // the executable's folder
    std::string projectPath;       // absolute path of the project file
    std::string dataSection;       // the project file's data section, as read (at most 1,000,000 bytes)
    bool dataSectionRead = false;

    ScriptState script;
    SystemSettings system;
    ConvertSettings convert;
    EditorSettings editor;
    ElementTable elements;
    FormatState formats;
    PlatformState platforms;
    ModelTable models;
};

}  // namespace ts
