// The project readers on arbitrary bytes: the files-section reader on a text in memory, then the
// whole ReadProject path (text sections, legacy reader, backup) on a file, then the writer and a
// second read of what it wrote.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "host/host_services.h"
#include "host/text_file.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "project/element_table.h"
#include "project/project_file.h"
#include "project/project_paths.h"

namespace {
// Project files run scripts that can include files and start programs: everything happens in an
// empty scratch folder and the host only records.
struct Sandbox {
    Sandbox() {
        char pattern[] = "/tmp/ts-fuzz-project-XXXXXX";
        if (mkdtemp(pattern) && chdir(pattern) == 0) folder = pattern;
    }
    std::string folder;
};

void checkTable(const ts::App& app) {
    if (app.elements.count() > ts::kElementCapacity) std::abort();
    for (const ts::ElementRecord& r : app.elements.records)
        if (r.name.size() > ts::kElementNameMax || r.file.size() > ts::kElementPathMax ||
            r.baseFile.size() > ts::kElementPathMax || r.folder.size() > ts::kFolderNameMax)
            std::abort();
    if (projectPaths(app).dataSection.size() > size_t(ts::kProjectFileMax)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Sandbox sandbox;
    if (sandbox.folder.empty()) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ts::RecordingHost host;
    host.trashSucceeds = false;
    ts::App app(host);
    ts::initializeApp(app);

    auto text = ts::TextFile::fromText(bytes);
    ts::readProjectElements(app, *text);
    checkTable(app);

    const std::string path = sandbox.folder + "/p.tsp";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ts::ReadProject(app, path);
    checkTable(app);

    // What was read is written and read again: the element table must come back the same, but for
    // records of a type that has no name (only the legacy reader lets such codes in).
    int named = 0;
    for (const ts::ElementRecord& r : app.elements.records)
        if (r.isFolder() || r.type() <= ts::TYPE_LISTE) ++named;
    ts::WriteProject(app, path);
    ts::App again(host);
    ts::initializeApp(again);
    ts::ReadProject(again, path);
    checkTable(again);
    if (again.elements.count() != named) std::abort();
    return 0;
}
