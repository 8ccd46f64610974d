// Shared set-up of the loader fuzz targets: one program state with a palette and a tileset in
// its project, and the fuzz input written to a data file that a loader then reads. The first
// input byte chooses the platform and a few options; the rest is the file's content.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/load_save_ops.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "app/app_init.h"
#include "app/app_state.h"

namespace fuzzload {

struct State {
    ts::RecordingHost host;
    ts::App app{host};
    std::string dir;
    ts::ElementRecord palette, tileset, data;
};

inline void writeBytes(const std::string& path, const char* bytes, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(bytes, 1, size, f);
    std::fclose(f);
}

inline ts::ElementRecord element(uint32_t type, const std::string& file) {
    ts::ElementRecord e;
    e.typeAndFlags = type;
    e.file = file;
    e.name = "fuzz";
    e.baseFile = "fuzz.png";
    return e;
}

// The state, set up once: a 16-colour palette and a 4-tile tileset saved with the built-in format.
inline State& state(const char* extension, uint32_t type) {
    static State* s = [extension, type] {
        auto* st = new State;
        char pattern[] = "/tmp/fuzz-load-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        st->dir = pattern;
        ts::initializeApp(st->app);
        // Relative names, so that seed files can link "p.pal.c" and "t.til.c".
        if (chdir(st->dir.c_str()) != 0) std::abort();
        st->palette = element(ts::TYPE_PALETTE, "p.pal.c");
        st->tileset = element(ts::TYPE_MOSAIQUE, "t.til.c");
        st->data = element(type, std::string("input") + extension);
        st->app.elements.records = {st->palette, st->tileset, st->data};
        std::vector<uint32_t> colours(16, ts::packBgra(1, 2, 3, 255));
        std::vector<uint32_t> pixels(4 * 64, 1);
        ts::currentPlatform(st->app).savePalette(st->app, 0, st->palette, colours.data(), 16);
        ts::currentPlatform(st->app).saveTileset(st->app, 0, 1, st->tileset, &st->palette, pixels.data(), 4, 8, 8);
        return st;
    }();
    return *s;
}

// Applies the option byte and writes the data file; gives the state ready for a load.
inline State& prepare(const uint8_t* bytes, size_t size, const char* extension, uint32_t type) {
    State& s = state(extension, type);
    s.host.boxes.clear();
    s.host.answers.clear();
    uint8_t options = size ? bytes[0] : 0;
    ts::selectPlatform(s.app, (options & 1) ? ts::kPlatformGameBoy : ts::kPlatformGba);
    s.app.platforms.gbc.dmgMode = (options >> 1) & 1;
    s.app.platforms.gba.revColorOrder = (options >> 2) & 1;
    ts::setCurrentDepthIndex(s.app, (options >> 3) & 3);
    ts::setCurrentMapType(s.app, (options >> 5) % 3);
    // Bit 7: no tileset was loaded before (a file without a link then has no tiles).
    s.app.platforms.lastTileCount = (options & 0x80) ? 0 : 4;
    if (size) {
        ++bytes;
        --size;
    }
    writeBytes(s.data.file, reinterpret_cast<const char*>(bytes), size);
    return s;
}

}  // namespace fuzzload
