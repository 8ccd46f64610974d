#pragma once
// Access to the platform records: the current platform, its depth and map type, selection, and
// the 15-bit colour encoding shared by both drivers.
#include <cstdint>
#include <functional>
#include <string>

#include "formats/platform_types.h"

namespace ts {

struct App;

// Start-up: copies both records into the table, runs every platform's onEvent(0), then selects
// the GBA.
void initializePlatforms(App& app);  // also sets up the model table ("Default")

const PlatformRecord& currentPlatform(const App& app);
PlatformRecord& currentPlatform(App& app);
int currentPlatformIndex(const App& app);
// The current depth index, clamped into the current record's depth table.
int currentDepthIndex(const App& app);
void setCurrentDepthIndex(App& app, int depth);
const DepthInfo& currentDepth(const App& app);
// The current map type (MapRotation, MapText or MapExtended).
int currentMapType(const App& app);
void setCurrentMapType(App& app, int mapType);
const MapEntryLayout& currentMapLayout(const App& app);

// Makes a record current: nothing when it already is; otherwise onEvent(2) for the old record,
// onEvent(1) for the new one, then the platform-changed listeners run.
void selectPlatform(App& app, int index);
// Selects by exact, case-sensitive name; false (and nothing changes) when no record has it.
bool selectPlatformByName(App& app, const std::string& name);
// Index of the record with that exact name, or -1.
int findPlatform(const App& app, const std::string& name);
void addPlatformChangedListener(App& app, std::function<void(App&)> listener);

// t << 15 | b << 10 | g << 5 | r (revColorOrder swaps red and blue). Components are 0-31.
uint16_t encodeColor15(int red, int green, int blue, int transparent, bool revColorOrder);
// Into a packBgra value with 5-bit components; alpha 0 when bit 15 is set, else 255.
uint32_t decodeColor15(uint32_t value, bool revColorOrder);
// The same with the current platform's colour order (the GBA option; always off on the Game Boy).
bool colorOrderReversed(const App& app);
uint16_t encodeColor15(const App& app, uint32_t bgra);      // transparency = inverted alpha bit 0
uint32_t decodeColor15(const App& app, uint32_t value);

}  // namespace ts
