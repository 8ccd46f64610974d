// Fuzz target: the conversion command's argument reading (any bytes as the argument text), with
// the name and dimension helpers on the values it read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/conv_command_arguments.h"
#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ts::App* app = &fuzz::startedProgram();
    const std::string text(reinterpret_cast<const char*>(data), size);
    ts::ConvArguments args = ts::startConvArguments(*app);
    ts::readConvArguments(*app, text.c_str(), args);
    if (args.source.size() > 1024 || args.mainOutput.size() > 1024) __builtin_trap();
    (void)ts::deriveElementName(args.mainOutput);
    int64_t w = 0, h = 0;
    ts::parseDimensions(args.mdim, 0, w, h);
    ts::parseDimensions(args.tdim, 8, w, h);
    return 0;
}
