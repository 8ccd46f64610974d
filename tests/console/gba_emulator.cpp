#include "gba_emulator.h"

#ifdef TS_HAVE_MGBA
#include <fcntl.h>

#include <cstdarg>

#include <mgba/core/core.h>
#include <mgba/core/log.h>
#include <mgba/gba/core.h>
#include <mgba-util/vfs.h>
#endif

namespace ts::test {

#ifdef TS_HAVE_MGBA

namespace {

void quietLog(struct mLogger*, int, enum mLogLevel, const char*, va_list) {}

}  // namespace

bool emulatorAvailable() { return true; }

bool runCartridge(const std::string& romPath, int frames, std::vector<uint16_t>& screen, std::string& error) {
    static mLogger quiet{quietLog, nullptr};
    mLogSetDefaultLogger(&quiet);
    mCore* core = GBACoreCreate();
    if (!core || !core->init(core)) {
        error = "the emulator core could not start";
        return false;
    }
    // No BIOS file is given: the core's own BIOS answers the software interrupts.
    mCoreInitConfig(core, nullptr);
    std::vector<color_t> buffer(size_t(kGbaScreenWidth) * kGbaScreenHeight);
    core->setVideoBuffer(core, buffer.data(), kGbaScreenWidth);
    VFile* rom = VFileOpen(romPath.c_str(), O_RDONLY);
    if (!rom || !core->loadROM(core, rom)) {
        error = "the emulator refused the cartridge " + romPath;
        mCoreConfigDeinit(&core->config);
        core->deinit(core);
        return false;
    }
    core->reset(core);
    for (int i = 0; i < frames; ++i) core->runFrame(core);
    screen.resize(buffer.size());
    for (size_t i = 0; i < buffer.size(); ++i) {
        // 8-bit components, red lowest: the 5-bit values are their top bits.
        const uint32_t c = uint32_t(buffer[i]);
        screen[i] = uint16_t(((c >> 3) & 31) | ((c >> 11) & 31) << 5 | ((c >> 19) & 31) << 10);
    }
    mCoreConfigDeinit(&core->config);
    core->deinit(core);
    return true;
}

#else

bool emulatorAvailable() { return false; }

bool runCartridge(const std::string&, int, std::vector<uint16_t>&, std::string& error) {
    error = "the emulator library is not installed (scripts/deps.sh installs libmgba-dev)";
    return false;
}

#endif

}  // namespace ts::test
