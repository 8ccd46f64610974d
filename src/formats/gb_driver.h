#pragma once
// The Game Boy / Game Boy Color platform: 2-bit planar tiles, four-colour sub-palettes and the
// monochrome (DMG) mode (script object `gbc`).
#include <array>
#include <cstdint>
#include <string>

#include "formats/platform_types.h"

namespace ts {

struct App;

extern const DepthInfo kGameBoyDepths[2];
constexpr int kGameBoyDepthBackground = 0;
constexpr int kGameBoyDepthSprite = 1;

// The DMG palette presets, lightest colour first, as packBgra values (alpha 0xFF).
enum class DmgPreset { Pocket = 0, Dmg = 1, Light = 2 };
std::array<uint32_t, 4> dmgPresetColors(DmgPreset preset);
extern const char* const kDmgPresetNames[3];  // "Game Boy Pocket", "Game Boy DMG", "Game Boy Light"

PlatformRecord gameBoyPlatformRecord();

void gameBoyOnEvent(App& app, int event, PlatformRecord& self);
int gameBoyCreateOptionsPanel(App& app, int pageCode, void* parent);
void gameBoyWriteSettings(const App& app, int code, std::string& out);
int gameBoyOnConvert(App& app, int phase);

// The colour indices 0-3 of a palette from the brightest to the darkest.
std::array<int, 4> shadeOrder(const uint32_t* palette);

// Options panel state: the check box, and the chosen preset (-1 for "(choose...)").
struct GameBoyPanelState {
    bool dmgMode = false;
    int preset = -1;
};
GameBoyPanelState gameBoyPanelState(const App& app);
void storeGameBoyPanelState(App& app, const GameBoyPanelState& state);

void cmdGbcDmgMode(App& app, char* args);

}  // namespace ts
