#include "convert/conversion_options.h"

#include <cmath>

#include "convert/colour_effects.h"
#include "convert/convert_settings.h"
#include "host/message_box.h"
#include "script/values.h"

namespace ts {

namespace {

int clampInt(long long v, int lo, int hi) { return int(v < lo ? lo : v > hi ? hi : v); }

}  // namespace

ConversionPageState loadConversionPage(const App& app) {
    const ConvertSettings& c = convertSettings(app);
    ConversionPageState state;
    // Gamma is stored as its inverse; the page shows the gamma of red.
    double gamma = c.gamma[0] > 0 ? 1.0 / c.gamma[0] : 1.0;
    state.gamma = clampInt(std::llround(gamma * 100), 0, kGammaSliderMax);
    state.add = clampInt(std::llround(c.add[0]), kEffectSliderMin, kEffectSliderMax);
    state.alpha = clampInt(std::llround(c.alpha[0]), kEffectSliderMin, kEffectSliderMax);
    state.shades = clampInt(c.shades + 1LL, kShadesMin, kShadesMax);
    state.method = clampInt(c.quantization, 0, kQuantizationMethods - 1);
    return state;
}

ConversionPageState conversionPageDefaults() { return ConversionPageState{}; }

void applyConversionPage(App& app, const ConversionPageState& state, const ConversionPageState* shown) {
    ConvertSettings& c = convertSettings(app);
    // A gamma of 0 has no inverse: the slider's lowest usable step stands for it.
    const int gamma = clampInt(state.gamma, 1, kGammaSliderMax);
    const bool setGamma = !shown || shown->gamma != state.gamma;
    const bool setAdd = !shown || shown->add != state.add;
    const bool setAlpha = !shown || shown->alpha != state.alpha;
    for (int i = 0; i < 3; ++i) {
        if (setGamma) c.gamma[i] = 100.0 / gamma;
        if (setAdd) c.add[i] = clampInt(state.add, kEffectSliderMin, kEffectSliderMax);
        if (setAlpha) c.alpha[i] = clampInt(state.alpha, kEffectSliderMin, kEffectSliderMax);
    }
    c.shades = clampInt(state.shades, kShadesMin, kShadesMax) - 1;
    c.quantization = clampInt(state.method, 0, kQuantizationMethods - 1);
    rebuildEffectTables(app);
}

std::string gammaText(int gammaTimes100) { return formatText("%#.2f", gammaTimes100 / 100.0); }

ConversionPlusPageState loadConversionPlusPage(const App& app) {
    const ConvertSettings& c = convertSettings(app);
    ConversionPlusPageState state;
    state.shadesBefore = c.shadesBefore != 0;
    state.fastPalReduction = c.fastPalReduction != 0;
    state.palReducPost = c.palReducPost != 0;
    state.truncate = c.truncate != 0;
    state.useMaxColors = c.useMaxColors != 0;
    state.firstTileEmpty = c.firstTileEmpty != 0;
    state.maxPrecision = std::to_string(c.maxPrecision);
    state.colorization = clampInt(c.colorization, kColorizationMin, colorizationSliderMax(app));
    return state;
}

ConversionPlusPageState conversionPlusPageDefaults(const App& app) {
    ConversionPlusPageState state;
    // The page's "Defaults" leaves the colourization as it stands.
    state.colorization = loadConversionPlusPage(app).colorization;
    return state;
}

void applyConversionPlusPage(App& app, const ConversionPlusPageState& state) {
    ConvertSettings& c = convertSettings(app);
    c.shadesBefore = state.shadesBefore;
    c.fastPalReduction = state.fastPalReduction;
    c.palReducPost = state.palReducPost;
    c.truncate = state.truncate;
    c.useMaxColors = state.useMaxColors;
    c.firstTileEmpty = state.firstTileEmpty;
    // A precision that is not a positive number keeps the one set before.
    int32_t precision = parseValue(state.maxPrecision.c_str());
    if (precision >= 1) c.maxPrecision = precision;
    c.colorization = clampInt(state.colorization, kColorizationMin, colorizationSliderMax(app));
    rebuildEffectTables(app);
}

int colorizationSliderMax(const App& app) {
    const int current = convertSettings(app).colorization;
    return current > kColorizationMax ? current : kColorizationMax;
}

}  // namespace ts
