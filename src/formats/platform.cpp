#include "formats/platform.h"

#include <algorithm>

#include "formats/gb_driver.h"
#include "formats/gba_driver.h"
#include "formats/model.h"
#include "formats/platform_state.h"

namespace ts {

void initializePlatforms(App& app) {
    PlatformState& state = platformState(app);
    std::vector<std::function<void(App&)>> listeners = std::move(state.platformChangedListeners);
    state = PlatformState{};
    state.platformChangedListeners = std::move(listeners);
    state.records[kPlatformGba] = gbaPlatformRecord();
    state.records[kPlatformGameBoy] = gameBoyPlatformRecord();
    for (PlatformRecord& record : state.records)
        if (record.onEvent) record.onEvent(app, 0, record);
    // Nothing is current before the first selection, so that the GBA's "selected" event runs.
    state.current = -1;
    selectPlatform(app, kPlatformGba);
    // The parameter models of object lists start with the platforms: one model, "Default".
    initializeModels(app);
}

int currentPlatformIndex(const App& app) {
    int index = platformState(app).current;
    return index >= 0 && index < kPlatformCount ? index : kPlatformGba;
}

const PlatformRecord& currentPlatform(const App& app) {
    return platformState(app).records[currentPlatformIndex(app)];
}

PlatformRecord& currentPlatform(App& app) {
    return platformState(app).records[currentPlatformIndex(app)];
}

int currentDepthIndex(const App& app) {
    const PlatformRecord& record = currentPlatform(app);
    int depth = platformState(app).currentDepth;
    if (record.depthCount <= 0) return 0;
    return std::clamp(depth, 0, record.depthCount - 1);
}

void setCurrentDepthIndex(App& app, int depth) {
    const PlatformRecord& record = currentPlatform(app);
    platformState(app).currentDepth = record.depthCount > 0 ? std::clamp(depth, 0, record.depthCount - 1) : 0;
}

const DepthInfo& currentDepth(const App& app) {
    return currentPlatform(app).depths[currentDepthIndex(app)];
}

int currentMapType(const App& app) {
    return std::clamp(platformState(app).currentMapType, 0, kMapTypeCount - 1);
}

void setCurrentMapType(App& app, int mapType) {
    platformState(app).currentMapType = std::clamp(mapType, 0, kMapTypeCount - 1);
}

const MapEntryLayout& currentMapLayout(const App& app) {
    return currentPlatform(app).layouts[currentMapType(app)];
}

void selectPlatform(App& app, int index) {
    if (index < 0 || index >= kPlatformCount) return;
    PlatformState& state = platformState(app);
    if (state.current == index) return;
    if (state.current >= 0 && state.current < kPlatformCount) {
        PlatformRecord& old = state.records[state.current];
        if (old.onEvent) old.onEvent(app, 2, old);
    }
    state.current = index;
    PlatformRecord& record = state.records[index];
    if (record.onEvent) record.onEvent(app, 1, record);
    // A depth index of the old platform may not exist on the new one.
    setCurrentDepthIndex(app, state.currentDepth);
    // Listeners may add listeners; walk a copy.
    std::vector<std::function<void(App&)>> listeners = state.platformChangedListeners;
    for (auto& listener : listeners)
        if (listener) listener(app);
}

int findPlatform(const App& app, const std::string& name) {
    for (int i = 0; i < kPlatformCount; ++i) {
        const char* recordName = platformState(app).records[i].name;
        if (recordName && name == recordName) return i;
    }
    return -1;
}

bool selectPlatformByName(App& app, const std::string& name) {
    int index = findPlatform(app, name);
    if (index < 0) return false;
    selectPlatform(app, index);
    return true;
}

void addPlatformChangedListener(App& app, std::function<void(App&)> listener) {
    platformState(app).platformChangedListeners.push_back(std::move(listener));
}

uint16_t encodeColor15(int red, int green, int blue, int transparent, bool revColorOrder) {
    // Components are not masked: callers pass 0-31.
    uint32_t t = uint32_t(transparent & 1) << 15;
    uint32_t value = revColorOrder ? (t | uint32_t(red) << 10 | uint32_t(green) << 5 | uint32_t(blue))
                                   : (t | uint32_t(blue) << 10 | uint32_t(green) << 5 | uint32_t(red));
    return uint16_t(value);
}

uint32_t decodeColor15(uint32_t value, bool revColorOrder) {
    int low = int(value & 31), green = int((value >> 5) & 31), high = int((value >> 10) & 31);
    int alpha = (value & 0x8000) ? 0 : 255;
    return revColorOrder ? packBgra(low, green, high, alpha) : packBgra(high, green, low, alpha);
}

bool colorOrderReversed(const App& app) {
    return currentPlatformIndex(app) == kPlatformGba && platformState(app).gba.revColorOrder != 0;
}

uint16_t encodeColor15(const App& app, uint32_t bgra) {
    int transparent = (~bgraAlpha(bgra)) & 1;
    return encodeColor15(bgraRed(bgra), bgraGreen(bgra), bgraBlue(bgra), transparent, colorOrderReversed(app));
}

uint32_t decodeColor15(const App& app, uint32_t value) {
    return decodeColor15(value, colorOrderReversed(app));
}

}  // namespace ts
