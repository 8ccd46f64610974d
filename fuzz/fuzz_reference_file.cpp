// Fuzzes the reference index file operations: the input becomes the file (behind a valid header
// when its first byte is odd), then sections are read, written, reworked and cleaned.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "formats/format_commands.h"
#include "formats/template_variables.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "app/app_state.h"
#include "project/element_record.h"
#include "project/project_paths.h"
#include "script/reference_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static ts::RecordingHost host;
    static std::string dir = [] {
        char pattern[] = "/tmp/fuzz-reference-XXXXXX";
        char* made = mkdtemp(pattern);
        if (!made) abort();
        return std::string(made);
    }();
    static ts::App* app = [] {
        auto* a = new ts::App(host);
        ts::initFormats(*a);
        ts::projectPaths(*a).projectPath = dir + "/projet.tsp";
        ts::writeFileAtomically(dir + "/kept.map", "x");
        return a;
    }();
    host.boxes.clear();
    ts::removeFile(dir + "/projet.ref.bak");
    std::string text(reinterpret_cast<const char*>(bytes), size);
    if (size && (bytes[0] & 1)) text = ts::kReferenceHeader + text.substr(1);
    ts::writeFileAtomically(dir + "/projet.ref", text);

    ts::ElementRecord element;
    element.file = size > 2 ? text.substr(1, bytes[size - 1] % 16) : "kept.map";
    ts::resetTemplateVariables(*app);
    ts::setTemplateText(*app, "name", "");
    ts::readSection(*app, "n=%name%;s=%size%\r\n", element);
    long at = ts::findSectionLine(element.file, text.data(), text.size());
    if (at >= long(text.size())) __builtin_trap();
    long next = ts::nextSectionLine(text.data(), at < 0 ? 0 : at, text.size());
    if (next >= long(text.size())) __builtin_trap();

    ts::setTemplateInteger(*app, "size", int32_t(size));
    ts::writeSection(*app, "n=%name%;s=%size%\r\n", element);
    std::string copy = element.file + ".copy";
    ts::reworkSection(*app, 2, element.file, &copy);
    std::string renamed = "kept.map";
    ts::reworkSection(*app, 1, copy, &renamed);
    ts::reworkSection(*app, 0, element.file);
    ts::cleanReferenceFile(*app);
    std::string after;
    if (ts::readReferenceFile(*app, after) && after.compare(0, 10, ts::kReferenceHeader, 10) != 0) __builtin_trap();
    return 0;
}
