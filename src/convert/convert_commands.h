#pragma once
// Handlers of the `convert` object's commands and of the top-level `effects` command, and the
// `convert` lines of the project file.
#include <string>

namespace ts {

struct App;

void cmdLighting(App& app, char* args);      // convert.lighting / luminosite, effects / effets
void cmdShades(App& app, char* args);        // convert.shades / nuances (2..256)
void cmdShadesBefore(App& app, char* args);  // convert.shadesbefore / nuancesavant
void cmdTruncate(App& app, char* args);      // convert.truncate / tronquer
void cmdQuantization(App& app, char* args);  // convert.quantization / mode
void cmdDither(App& app, char* args);        // convert.dither / diffusion (0 none, 1 Floyd-Steinberg)
void cmdMaskColor(App& app, char* args);     // convert.maskcolor / couleurmasque
void cmdZeroColor(App& app, char* args);     // convert.zerocolor / couleurzero

// Name of a quantization method code in the table (English), or "" for an unknown code.
const char* quantizationName(int code);

}  // namespace ts
