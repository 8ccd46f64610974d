// Fuzzes the template reader: the input is a template and the data it is matched against,
// split at the first NUL byte (everything is data when there is none), and the data is also read
// with the number formats of the built-in map section.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "host/host_services.h"
#include "app/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static ts::RecordingHost host;
    static ts::App* app = [] {
        auto* a = new ts::App(host);
        ts::initFormats(*a);
        return a;
    }();
    host.boxes.clear();
    std::string_view input(reinterpret_cast<const char*>(bytes), size);
    size_t split = input.find('\0');
    std::string_view templ = split == std::string_view::npos ? std::string_view() : input.substr(0, split);
    std::string data(split == std::string_view::npos ? input : input.substr(split + 1));

    ts::resetTemplateVariables(*app);
    for (const char* text : {"file", "name", "link", "type", "model"}) ts::setTemplateText(*app, text, "");
    ts::ObjectFieldAccess object;
    object.assign = [](std::string_view, std::string_view, int32_t) { return true; };
    size_t p = ts::matchTemplate(*app, data.data(), data.size(), 0, templ, (size & 1) ? &object : nullptr);
    if (p > data.size() + 1) __builtin_trap();

    // Elements as a loader reads them: boundaries searched, values read until the data ends.
    const ts::FormatSection& map = ts::currentSection(*app, ts::kSectionMap);
    size_t q = ts::matchTemplate(*app, data.data(), data.size(), 0, map.declaration);
    for (int i = 0; q < data.size() && i < 100000; ++i) {
        if (i % 8 == 0 && i) q = ts::matchTemplate(*app, data.data(), data.size(), q, map.everyX);
        uint32_t value = 0;
        size_t next = ts::readElement(*app, data.data(), data.size(), q, templ.empty() ? map.element : templ, value);
        if (next > data.size() + 1) __builtin_trap();
        if (next <= q) break;
        q = next;
    }
    return 0;
}
