#pragma once
// The "Conversion" and "Conversion (+1)" pages of the options sheet without their widgets: what
// the sliders and boxes show, their "Defaults", and how OK stores them into the convert settings.
#include <cstdint>
#include <string>

namespace ts {

struct App;

// Slider ranges of the pages.
constexpr int kGammaSliderMax = 300;        // gamma x 100
constexpr int kEffectSliderMin = -255;      // add and alpha
constexpr int kEffectSliderMax = 255;
constexpr int kShadesMin = 2;
constexpr int kShadesMax = 256;
constexpr int kColorizationMin = 1;
constexpr int kColorizationMax = 2500;
constexpr int kQuantizationMethods = 4;     // "Standard", "Dithered", "Optimal", "Accurate"

struct ConversionPageState {
    int gamma = 100;        // gamma x 100, one value for red, green and blue
    int add = 0;
    int alpha = 0;
    int shades = 256;
    int method = 0;
};

struct ConversionPlusPageState {
    bool shadesBefore = false;
    bool fastPalReduction = true;
    bool palReducPost = true;
    bool truncate = false;
    bool useMaxColors = false;
    bool firstTileEmpty = false;
    std::string maxPrecision = "512";
    int colorization = kColorizationMin;
};

ConversionPageState loadConversionPage(const App& app);
ConversionPageState conversionPageDefaults();
// Stores the page (one value for the three components) and rebuilds the effect tables. With
// `shown` (what the page showed when it opened), a lighting slider left where it was keeps the
// settings as they are: components set apart by a script, or a gamma finer than the slider's
// step, are not flattened by an OK given for another page.
void applyConversionPage(App& app, const ConversionPageState& state, const ConversionPageState* shown = nullptr);
// The gamma text beside its slider ("%#.2f" of the gamma).
std::string gammaText(int gammaTimes100);

ConversionPlusPageState loadConversionPlusPage(const App& app);
ConversionPlusPageState conversionPlusPageDefaults(const App& app);
void applyConversionPlusPage(App& app, const ConversionPlusPageState& state);
// Upper end of the colourization slider: 2500, or the current value when larger.
int colorizationSliderMax(const App& app);

}  // namespace ts
