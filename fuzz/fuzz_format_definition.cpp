// Fuzzes the format definition block reader, then writes with the fuzzed templates and number
// formats and reads their output back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/host_services.h"
#include "host/text_file.h"
#include "app/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static ts::RecordingHost host;
    static ts::App* app = new ts::App(host);
    ts::initFormats(*app);  // a fresh table each time
    host.boxes.clear();
    std::string text(reinterpret_cast<const char*>(bytes), size);
    auto file = ts::TextFile::fromText(text);
    ts::defineFormatBlock(*app, *file, "Fuzzed");
    // What follows the block is another block of the same format, as a project file may hold.
    ts::defineFormatBlock(*app, *file, "Fuzzed");
    if (!ts::ChoisitFormat(*app, "Fuzzed")) __builtin_trap();

    ts::resetTemplateVariables(*app);
    ts::setTemplateText(*app, "file", "a.png");
    ts::setTemplateText(*app, "name", "a");
    ts::setTemplateInteger(*app, "size", 3);
    for (int s = ts::kSectionBitmap; s <= ts::kSectionList; ++s) {
        const ts::FormatSection& sec = ts::currentSection(*app, s);
        ts::TemplateOutput out;
        ts::writeTemplate(*app, out, sec.declaration);
        for (uint32_t v = 0; v < 20; ++v) {
            if (sec.nEvery > 0 && v && v % uint32_t(sec.nEvery) == 0) ts::writeTemplate(*app, out, sec.everyX);
            ts::writeElement(*app, out, sec.element, v * 0x1111);
        }
        ts::writeTemplate(*app, out, sec.line);
        ts::writeTemplate(*app, out, sec.end);
        if (out.position > out.bytes.size()) __builtin_trap();
        ts::expandTemplate(*app, sec.refInfo, false);
        size_t p = ts::matchTemplate(*app, out.bytes.data(), out.bytes.size(), 0, sec.declaration);
        uint32_t value;
        if (p < out.bytes.size()) ts::readElement(*app, out.bytes.data(), out.bytes.size(), p, sec.element, value);
    }
    ts::AutoSelectFormat(*app, text.substr(0, 64));
    return 0;
}
