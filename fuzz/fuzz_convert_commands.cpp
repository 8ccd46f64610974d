// The `convert` command handlers on untrusted script text: lighting clauses, shades, methods,
// colours, error diffusion. The first byte chooses the handler.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/colour_effects.h"
#include "convert/convert_commands.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "app/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static ts::RecordingHost host;
    static ts::App* app = [] {
        auto* a = new ts::App(host);
        ts::initializePlatforms(*a);
        return a;
    }();
    host.boxes.clear();
    app->convert = ts::ConvertSettings{};
    std::string args(reinterpret_cast<const char*>(data + 1), size - 1);
    args = args.c_str();  // handlers receive NUL-terminated text
    static void (*const handlers[])(ts::App&, char*) = {
        ts::cmdLighting, ts::cmdShades, ts::cmdShadesBefore, ts::cmdTruncate,
        ts::cmdQuantization, ts::cmdMaskColor, ts::cmdZeroColor, ts::cmdDither};
    handlers[data[0] % 8](*app, args.data());
    for (int v = 0; v < 256; ++v)
        if (app->convert.effects.red[v] > 31 || app->convert.effects.blue[v] > 31) __builtin_trap();
    if (app->convert.shades < 1 || app->convert.shades > 255) __builtin_trap();
    if (app->convert.quantization < 0 || app->convert.quantization > 3) __builtin_trap();
    if (app->convert.dither != 0 && app->convert.dither != 1) __builtin_trap();
    return 0;
}
