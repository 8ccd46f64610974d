// The interpreter on a long script of assignments and commands.
#include <benchmark/benchmark.h>

#include <string>

#include "host/host_services.h"
#include "host/text_file.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "script/interpreter.h"

namespace {

// 10,000 lines: assignments of every variable kind, object members, arrays, labels and gotos.
std::string makeScript() {
    std::string s;
    for (int i = 0; i < 10000; ++i) {
        switch (i % 8) {
            case 0: s += "convert.maxPrecision = " + std::to_string(i % 512) + "\r\n"; break;
            case 1: s += "Convert.Colorization " + std::to_string(i % 7) + "   # comment\r\n"; break;
            case 2: s += "deffolder[" + std::to_string(1 + i % 12) + "] = \"Folder " + std::to_string(i) + "\"\r\n"; break;
            case 3: s += "system.maxmemory 64 MB\r\n"; break;
            case 4: s += "folders.tilesets \"Gfx\"\r\n"; break;
            case 5: s += "goto l" + std::to_string(i) + "\r\n"; break;
            case 6: s += "_l" + std::to_string(i - 1) + ":\r\n"; break;
            default: s += "messages = true\r\n"; break;
        }
    }
    return s;
}

void BM_Script10000Lines(benchmark::State& state) {
    const std::string script = makeScript();
    ts::RecordingHost host;
    ts::App app(host);
    ts::initializeApp(app);
    for (auto _ : state) {
        ts::runScript(app, ts::TextFile::fromText(script));
        benchmark::DoNotOptimize(app.convert.maxPrecision);
    }
    if (!host.boxes.empty()) state.SkipWithError("the script reported errors");
}
BENCHMARK(BM_Script10000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
