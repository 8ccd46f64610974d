// Program entry of Tilesmithery.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "host/text_encoding.h"
#include "resources/texts.h"
#include "app/app_state.h"
#include "startup/command_line.h"
#include "startup/startup.h"

namespace {

std::string programDirectory() {
    std::vector<char> buffer(4096);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    std::string path(buffer.data(), size_t(n));
    return ts::fromUtf8(ts::directoryOf(path));
}

// A batch run lives a few milliseconds and works with a handful of large buffers: the memory of
// one that is freed serves the next instead of going back to the system, to be faulted in again
// page by page.
void keepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

// Interactive mode lives in the window module beside the program, so that batch runs never load
// the window libraries. Its entry: int tsRunInteractive(int argc, char** argv, const char* programDirectory).
using InteractiveEntry = int (*)(int, char**, const char*);

int runInteractive(int argc, char** argv, const std::string& programDir) {
    const std::string modulePath = ts::toUtf8(programDir) + "/" + TS_UI_MODULE;
    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        std::fprintf(stderr, ts::toUtf8(ts::tr(ts::T::StartupModuleMissing)).c_str(), modulePath.c_str(),
                     why ? why : "unknown error");
        return 2;
    }
    auto entry = reinterpret_cast<InteractiveEntry>(dlsym(module, "tsRunInteractive"));
    if (!entry) {
        std::fprintf(stderr, ts::toUtf8(ts::tr(ts::T::StartupModuleDamaged)).c_str(), modulePath.c_str());
        return 2;
    }
    return entry(argc, argv, programDir.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        bool lossless = true;
        args.push_back(ts::fromUtf8(argv[i], &lossless));
        // Project files and scripts hold Windows-1252 text: a name that cannot be written there
        // would turn into "?" and fail obscurely later, so it is refused before anything is read.
        if (!lossless) {
            const std::string format = ts::toUtf8(ts::tr(ts::T::StartupNameOutside1252));
            std::fprintf(stderr, "%s\n", ts::formatText(format.c_str(), argv[i]).c_str());
            return 1;
        }
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(ts::toUtf8(ts::usageText(argc > 0 ? argv[0] : "tilesmithery")).c_str(), stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("tilesmithery %s\n", TS_VERSION);
        return 0;
    }

    const std::string commandLine = ts::joinArguments(args);
    if (ts::isInteractiveCommandLine(commandLine)) return runInteractive(argc, argv, programDirectory());

    ts::BatchHost host;
    ts::App app(host);
    std::string rest;
    ts::FileLock projectLock;
    ts::StartMode mode = ts::prepareStartup(app, commandLine, programDirectory(), rest, &projectLock);
    if (mode == ts::StartMode::Refused) return 1;
    if (mode != ts::StartMode::Interactive) {
        keepFreedMemory();
        const int status = ts::runBatch(app, mode, rest);
        projectLock.release();
        // Every file is written and closed: the run ends here, without freeing its buffers one by
        // one or running the libraries' clean-up, which would lengthen a short run noticeably.
        std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
        // _Exit skips the leak check that sanitizer builds make at exit; the run's state is still
        // reachable from here, so what is reported is memory really lost during the run.
        __lsan_do_leak_check();
#endif
        std::_Exit(status);
    }
    return 0;
}
