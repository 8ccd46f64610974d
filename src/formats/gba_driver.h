#pragma once
// The Game Boy Advance platform: depth table, options (script object `gba`) and events.
#include <string>

#include "formats/platform_types.h"

namespace ts {

struct App;

extern const DepthInfo kGbaDepths[4];

// The GBA record as it stands before its initialisation event.
PlatformRecord gbaPlatformRecord();

// Rewrites the GBA record's Text layout from paletteMask and mirrorMask.
void applyGbaOptions(App& app);

void gbaOnEvent(App& app, int event, PlatformRecord& self);
int gbaCreateOptionsPanel(App& app, int pageCode, void* parent);
void gbaWriteSettings(const App& app, int code, std::string& out);
int gbaOnConvert(App& app, int phase);

// What the options panel shows and stores back when it closes (align becomes 4 or 0).
struct GbaPanelState {
    bool align = false;
    bool revColorOrder = false;
    bool mirrorMask = true;
    bool paletteMask = true;
};
GbaPanelState gbaPanelState(const App& app);
void storeGbaPanelState(App& app, const GbaPanelState& state);

// Property handlers of the `gba` object (values through the script value parser).
void cmdGbaPaletteMask(App& app, char* args);
void cmdGbaMirrorMask(App& app, char* args);
void cmdGbaAlign(App& app, char* args);
void cmdGbaRevColorOrder(App& app, char* args);

}  // namespace ts
