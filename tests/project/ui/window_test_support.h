#pragma once
// Helpers of the window tests: a project folder, screenshots into the build folder.
#include <QDir>
#include <QWidget>
#include <string>

#include "host/file_system.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "test_support.h"

namespace ts::test {

// Saves a picture of a widget as <build folder>/screenshots/<name>.png.
inline void saveScreenshot(QWidget& widget, const char* name) {
    QDir().mkpath(QString(TS_BINARY_DIR) + "/screenshots");
    widget.grab().save(QString(TS_BINARY_DIR) + "/screenshots/" + name + ".png");
}

// A project in a temporary folder that is the current directory.
struct WindowProject {
    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    WindowProject() {
        setCurrentDirectory(dir.path());
        projectPaths(app).projectPath = dir.file("projet.tsp");
    }
    int element(const std::string& name, uint32_t type, const std::string& file, const std::string& folder = {}) {
        if (!file.empty()) dir.write(file, "data of " + name);
        ElementRecord r;
        r.name = name;
        r.file = file;
        r.typeAndFlags = type | (folder.empty() ? 0 : kInFolderFlag);
        r.folder = folder;
        appendElementRecord(app, r);
        return elementTable(app).count() - 1;
    }
    int folder(const std::string& name, const std::string& parent = {}) {
        ElementRecord r;
        r.name = name;
        r.typeAndFlags = kFolderFlag | (parent.empty() ? 0 : kInFolderFlag);
        r.folder = parent;
        appendElementRecord(app, r);
        return elementTable(app).count() - 1;
    }
    const ElementRecord& record(int i) { return elementTable(app).records[size_t(i)]; }
};

}  // namespace ts::test
