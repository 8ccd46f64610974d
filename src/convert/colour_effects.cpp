#include "convert/colour_effects.h"

#include <cmath>

#include "formats/platform.h"
#include "convert/convert_settings.h"
#include "formats/platform_state.h"

namespace ts {

DepthColourTraits currentDepthTraits(const App& app) {
    DepthColourTraits traits;
    const PlatformState& ps = platformState(app);
    if (ps.current < 0 || ps.current >= kPlatformCount) return traits;
    const PlatformRecord& record = ps.records[size_t(ps.current)];
    if (!record.depths || ps.currentDepth < 0 || ps.currentDepth >= record.depthCount) {
        traits.transparentColour = false;
        traits.colourZeroTransparent = false;
        return traits;
    }
    const DepthInfo& depth = record.depths[ps.currentDepth];
    traits.valid = true;
    if (depth.colorFormat) {
        traits.redBits = depth.colorFormat->redBits;
        traits.greenBits = depth.colorFormat->greenBits;
        traits.blueBits = depth.colorFormat->blueBits;
    }
    traits.transparentColour = depth.honoursTransparentColor != 0;
    traits.colourZeroTransparent = depth.color0Transparent != 0;
    traits.hasPalette = depth.paletteKind != 0;
    traits.indexed = depth.indexed != 0;
    traits.coloursPerSubPalette = depth.colorsPerSubPalette;
    traits.paletteCapacity = record.paletteCapacity > 0 ? record.paletteCapacity : 256;
    return traits;
}

namespace {

// One component's table. `shades` is the number of shades S (at least 1).
void buildComponent(uint8_t out[256], int bits, int shades, bool shadesBefore, double inverseGamma,
                    double add, double fade) {
    if (bits < 1) bits = 1;
    if (bits > 8) bits = 8;
    const int max = (1 << bits) - 1;
    const int step = 255 / max;
    const double S = shades;
    const double k = double(max + 1) / S;
    const double g = inverseGamma;
    const double fPlus = fade > 0 ? fade : 0.0;
    const double w = (255.0 - std::fabs(fade)) / 255.0;
    for (int v = 0; v < 256; ++v) {
        double result;
        if (!shadesBefore) {
            const double x = v / 255.0;
            const double e = (std::pow(x, g) * 255.0 + add) * w + fPlus;
            const double t = std::trunc((e + 0.5) * S / 256.0);
            result = std::trunc(t * k);
        } else {
            const double s = std::trunc(v * S / 256.0);
            const double u = std::trunc(s * k * step);
            const double e = (std::pow(u / 255.0, g) * 255.0 + add) * w + fPlus;
            result = std::trunc((e + 0.5) / step);
        }
        // Odd settings (gamma 0, huge terms) give infinities or NaN: clamp them like any value.
        if (std::isnan(result) || result < 0) result = 0;
        if (result > max) result = max;
        out[v] = uint8_t(result);
    }
}

}  // namespace

void buildEffectTables(EffectTables& tables, const ConvertSettings& settings, int redBits,
                       int greenBits, int blueBits) {
    int shades = settings.shades + 1;
    if (shades < 1) shades = 1;  // the commands refuse such values; stay defined anyway
    const bool before = settings.shadesBefore != 0;
    buildComponent(tables.red, redBits, shades, before, settings.gamma[0], settings.add[0],
                   settings.alpha[0]);
    buildComponent(tables.green, greenBits, shades, before, settings.gamma[1], settings.add[1],
                   settings.alpha[1]);
    buildComponent(tables.blue, blueBits, shades, before, settings.gamma[2], settings.add[2],
                   settings.alpha[2]);
}

void rebuildEffectTables(App& app) {
    const DepthColourTraits traits = currentDepthTraits(app);
    if (!traits.valid) return;
    buildEffectTables(convertSettings(app).effects, convertSettings(app), traits.redBits, traits.greenBits,
                      traits.blueBits);
    convertSettings(app).effectsBuilt = true;
}

uint32_t effectColour(const App& app, uint32_t pixel) {
    return effectColour(convertSettings(app).effects, pixel);
}

}  // namespace ts
