// Writing and reading a project of 1000 elements.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "host/file_system.h"
#include "host/host_services.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "project/element_table.h"
#include "project/project_file.h"

namespace {

struct ScratchFolder {
    ScratchFolder() {
        char pattern[] = "/tmp/ts-bench-project-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
        ts::setCurrentDirectory(path);
    }
    ~ScratchFolder() {
        ts::removeFile(path + "/p.tsp");
        ::rmdir(path.c_str());
    }
    std::string path;
};

// 1000 elements of every type, a third of them in folders, with a small data section.
void fillProject(ts::App& app) {
    static const uint32_t types[] = {ts::TYPE_MOSAIQUE, ts::TYPE_CARTE, ts::TYPE_PALETTE, ts::TYPE_LISTE, ts::TYPE_BITMAP};
    for (int i = 0; i < 20; ++i) {
        ts::ElementRecord folder;
        folder.name = "Folder " + std::to_string(i);
        folder.typeAndFlags = ts::kFolderFlag | ts::kInFolderFlag;
        folder.folder = "maps";
        ts::appendElementRecord(app, folder);
    }
    for (int i = 20; i < ts::kElementCapacity; ++i) {
        ts::ElementRecord r;
        r.name = "Element " + std::to_string(i);
        r.typeAndFlags = types[i % 5];
        r.file = "data\\level " + std::to_string(i) + ".map.c";
        r.baseFile = "images\\source image " + std::to_string(i) + ".png";
        if (i % 3 == 0) {
            r.typeAndFlags |= ts::kInFolderFlag;
            r.folder = "Folder " + std::to_string(i % 20);
        }
        ts::appendElementRecord(app, r);
    }
    app.system.defFolders[2] = "Folder 1";
    projectPaths(app).dataSection = "  # user lines\n  End\n\n\n\n";
    projectPaths(app).dataSectionRead = true;
}

void BM_WriteProject1000(benchmark::State& state) {
    ScratchFolder scratch;
    ts::RecordingHost host;
    ts::App app(host);
    ts::initializeApp(app);
    fillProject(app);
    const std::string path = scratch.path + "/p.tsp";
    for (auto _ : state)
        if (ts::WriteProject(app, path) != ts::WriteProjectResult::Written) state.SkipWithError("not written");
}
BENCHMARK(BM_WriteProject1000)->Unit(benchmark::kMillisecond);

void BM_ReadProject1000(benchmark::State& state) {
    ScratchFolder scratch;
    ts::RecordingHost host;
    const std::string path = scratch.path + "/p.tsp";
    {
        ts::App source(host);
        ts::initializeApp(source);
        fillProject(source);
        ts::WriteProject(source, path);
    }
    ts::App app(host);
    ts::initializeApp(app);
    for (auto _ : state) {
        ts::ReadProject(app, path);
        if (app.elements.count() != ts::kElementCapacity) state.SkipWithError("elements lost");
    }
}
BENCHMARK(BM_ReadProject1000)->Unit(benchmark::kMillisecond);

}  // namespace
