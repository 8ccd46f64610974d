// Colour effect tables and the `convert` commands that set them.
#include <gtest/gtest.h>

#include "project/project_file.h"

#include <cstring>
#include <string>

#include "convert/colour_effects.h"
#include "convert/convert_commands.h"
#include "formats/platform.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "test_support.h"

using namespace ts;

namespace {

void run(App& app, void (*cmd)(App&, char*), const std::string& args) {
    std::string buffer = args;
    cmd(app, buffer.data());
}

EffectTables tablesFor(const ConvertSettings& s, int bits = 5) {
    EffectTables t;
    buildEffectTables(t, s, bits, bits, bits);
    return t;
}

}  // namespace

TEST(ColourEffectTables, DefaultFiveBitTableKeepsTheTopFiveBits) {
    const EffectTables t = tablesFor(ConvertSettings{});
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(t.red[v], v / 8) << v;
        EXPECT_EQ(t.blue[v], v / 8) << v;
    }
    EXPECT_EQ(t.green[7], 0);
    EXPECT_EQ(t.green[8], 1);
    EXPECT_EQ(t.green[248], 31);
    ConvertSettings before;
    before.shadesBefore = 1;
    const EffectTables b = tablesFor(before);
    EXPECT_EQ(0, std::memcmp(b.red, t.red, 256));
    // Eight-bit components pass through unchanged.
    const EffectTables wide = tablesFor(ConvertSettings{}, 8);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(wide.red[v], v);
}

TEST(ColourEffectTables, TwoShadesGiveZeroAndSixteen) {
    ConvertSettings s;
    s.shades = 1;  // two shades
    const EffectTables t = tablesFor(s);
    for (int v = 0; v < 128; ++v) EXPECT_EQ(t.red[v], 0) << v;
    for (int v = 128; v < 256; ++v) EXPECT_EQ(t.red[v], 16) << v;
    s.shadesBefore = 1;
    const EffectTables b = tablesFor(s);
    EXPECT_EQ(b.red[0], 0);
    EXPECT_EQ(b.red[200], 16);  // s = 1, u = 128, out = 128.5 / 8
}

TEST(ColourEffectTables, OddGammaStaysWithinRange) {
    ConvertSettings s;
    s.gamma[0] = 1.0 / 0.0;  // a gamma of 0 given by a script
    s.add[1] = 1e300;
    s.alpha[2] = -1e300;
    const EffectTables t = tablesFor(s);
    for (int v = 0; v < 256; ++v) {
        EXPECT_LE(t.red[v], 31);
        EXPECT_EQ(t.green[v], 31);
        EXPECT_EQ(t.blue[v], 0);
    }
}

TEST(LightingCommand, AlphaFadesToWhiteOrBlack) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdLighting, "alpha 255");
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(app.convert.effects.red[v], 31);
        EXPECT_EQ(app.convert.effects.blue[v], 31);
    }
    run(app, cmdLighting, "alpha=rgb(-255,0,0)");
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(app.convert.effects.red[v], 0);
        EXPECT_EQ(app.convert.effects.green[v], v / 8);
        EXPECT_EQ(app.convert.effects.blue[v], v / 8);
    }
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST(LightingCommand, AddPercentAndGammaTriples) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdLighting, "alpha=50%");
    for (double a : app.convert.alpha) EXPECT_DOUBLE_EQ(a, 127.5);
    run(app, cmdLighting, "alpha 0 add=50%");
    EXPECT_DOUBLE_EQ(app.convert.add[2], 127.5);
    EXPECT_EQ(app.convert.effects.red[0], 16);     // (127.5 + 0.5) / 8
    EXPECT_EQ(app.convert.effects.red[120], 31);   // clamped
    run(app, cmdLighting, "GAMMA=RGB(1.0,1.3,1.0)  ADD=RGB(0.0,0.0,0.0)  ALPHA=RGB(0.0,0.0,0.0)");
    EXPECT_DOUBLE_EQ(app.convert.gamma[0], 1.0);
    EXPECT_DOUBLE_EQ(app.convert.gamma[1], 1.0 / 1.3);
    EXPECT_DOUBLE_EQ(app.convert.add[2], 0.0);
    EXPECT_NE(projectFileText(app).find("GAMMA=RGB(1.000,1.300,1.000)"), std::string::npos);
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST(LightingCommand, ErrorsKeepWhatWasSetBefore) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdLighting, "add 8 bright=2 alpha 255");
    EXPECT_DOUBLE_EQ(app.convert.add[0], 8.0);
    EXPECT_DOUBLE_EQ(app.convert.alpha[0], 0.0);  // the rest of the line is ignored
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.lastText(), tr(T::ImgLightingUnknownParameter));
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionScriptError));
    EXPECT_EQ(app.convert.effects.red[0], 1);  // the tables were rebuilt with add 8

    run(app, cmdLighting, "gamma=x12 add 0");
    EXPECT_EQ(t.host.lastText(), "Color effects system error, parsing: x12 add 0");
    EXPECT_DOUBLE_EQ(app.convert.add[0], 8.0);
}

TEST(ConvertCommands, ShadesAreStoredMinusOneAndRangeChecked) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdShades, "16");
    EXPECT_EQ(app.convert.shades, 15);
    EXPECT_NE(projectFileText(app).find("\n  convert.shades = 16\n"), std::string::npos);
    run(app, cmdShades, "1");
    run(app, cmdShades, "300");
    EXPECT_EQ(app.convert.shades, 15);
    EXPECT_EQ(t.host.boxes.size(), 2u);
    run(app, cmdShades, "2");
    EXPECT_EQ(app.convert.effects.green[255], 16);
}

TEST(ConvertCommands, QuantizationNamesAndNumbers) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdQuantization, "tram\xE9");
    EXPECT_EQ(app.convert.quantization, 1);
    run(app, cmdQuantization, "optimal");
    EXPECT_EQ(app.convert.quantization, 2);
    run(app, cmdQuantization, "1");
    EXPECT_EQ(app.convert.quantization, 1);
    run(app, cmdQuantization, "normal");
    EXPECT_EQ(app.convert.quantization, 0);
    EXPECT_TRUE(t.host.boxes.empty());
    run(app, cmdQuantization, "accurate");
    EXPECT_EQ(app.convert.quantization, 3);
    run(app, cmdQuantization, "normal");
    run(app, cmdQuantization, "pr\xE9" "cis");
    EXPECT_EQ(app.convert.quantization, 3);
    run(app, cmdQuantization, "0");
    run(app, cmdQuantization, "3");
    EXPECT_EQ(app.convert.quantization, 3);
    EXPECT_TRUE(t.host.boxes.empty());
    run(app, cmdQuantization, "normal");
    run(app, cmdQuantization, "4");
    EXPECT_EQ(app.convert.quantization, 0);
    EXPECT_EQ(t.host.lastText(), "The following color quantization method was not found: 4");
    run(app, cmdQuantization, "Halftone");  // names are compared case-sensitively
    EXPECT_EQ(app.convert.quantization, 0);
}

TEST(ConvertCommands, DitherIsNoneOrFloydSteinberg) {
    test::TestApp t;
    App& app = t.app;
    EXPECT_EQ(app.convert.dither, 0);
    run(app, cmdDither, "= 1");
    EXPECT_EQ(app.convert.dither, 1);
    run(app, cmdDither, "2");
    EXPECT_EQ(app.convert.dither, 1);
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionScriptError));
    run(app, cmdDither, "0");
    EXPECT_EQ(app.convert.dither, 0);
    // Both names reach the setting through the script.
    runScriptText(app, "convert.dither = 1");
    EXPECT_EQ(app.convert.dither, 1);
    runScriptText(app, "convert.diffusion 0;convert.mode pr\xE9" "cis");
    EXPECT_EQ(app.convert.dither, 0);
    EXPECT_EQ(app.convert.quantization, 3);
    EXPECT_EQ(t.host.boxes.size(), 1u);
}

TEST(ConvertCommands, MaskAndZeroColours) {
    test::TestApp t;
    App& app = t.app;
    run(app, cmdMaskColor, "rgb(1,2,3)");
    EXPECT_EQ(app.convert.maskRed, 1);
    EXPECT_EQ(app.convert.maskGreen, 2);
    EXPECT_EQ(app.convert.maskBlue, 3);
    run(app, cmdZeroColor, "rgb(255,16,7)");
    EXPECT_EQ(app.convert.zeroRed, 31);
    EXPECT_EQ(app.convert.zeroGreen, 2);
    EXPECT_EQ(app.convert.zeroBlue, 0);
}

TEST(ColourEffectTables, FollowTheCurrentDepth) {
    test::TestApp t;
    App& app = t.app;
    setCurrentDepthIndex(app, 3);  // 32-bit RGBA: eight-bit components
    rebuildEffectTables(app);
    EXPECT_EQ(app.convert.effects.red[200], 200);
    const DepthColourTraits traits = currentDepthTraits(app);
    EXPECT_TRUE(traits.valid);
    EXPECT_FALSE(traits.transparentColour);
    EXPECT_FALSE(traits.hasPalette);
    setCurrentDepthIndex(app, 1);
    rebuildEffectTables(app);
    EXPECT_EQ(app.convert.effects.red[200], 25);
}
