// Statements from a file and from a text, run by the interpreter with fresh state.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "host/host_services.h"
#include "host/text_file.h"
#include "app/app_init.h"
#include "app/app_state.h"
#include "script/interpreter.h"

namespace {
// Keeps the fuzzer away from the real file system and programs: scripts can include files and
// start programs, so everything runs inside an empty scratch folder and the host only records.
struct Sandbox {
    Sandbox() {
        char pattern[] = "/tmp/ts-fuzz-script-XXXXXX";
        if (mkdtemp(pattern) && chdir(pattern) == 0) folder = pattern;
    }
    std::string folder;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Sandbox sandbox;
    if (sandbox.folder.empty()) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    ts::RecordingHost host;
    host.trashSucceeds = false;
    ts::App app(host);
    ts::initializeApp(app);
    ts::runScript(app, ts::TextFile::fromText(text), size > 0 && data[0] == 'L' ? "start" : "");
    host.clear();
    ts::runScriptText(app, text);
    return 0;
}
