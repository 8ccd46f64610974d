// The accurate method (box split and Lloyd refinement), its palette search, and error diffusion.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_accurate.h"
#include "convert/quantize_palette_search.h"
#include "formats/platform.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;

namespace {

template <typename F>
void setSource(App& app, int w, int h, F f) {
    ASSERT_TRUE(createSurface(app.convert.decodeSurface, w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) app.convert.decodeSurface.at(x, y) = f(x, y);
    ASSERT_TRUE(copySurface(app.convert.conversionSurface, app.convert.decodeSurface));
    selectPixelSource(app, PixelSourceKind::Conversion);
}

uint32_t rgb5(int r, int g, int b) { return 0xFF000000u | uint32_t(r * 8) << 16 | uint32_t(g * 8) << 8 | uint32_t(b * 8); }
uint32_t pal5(int r, int g, int b) { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

IndexImage indexImage(int w, int h) {
    IndexImage image;
    EXPECT_TRUE(image.resize(w, h));
    return image;
}

// Colour number i (0..32767) of a fixed shuffle of the 15-bit colours, as a 5-bit palette word.
uint32_t distinctColour(int i) {
    const uint32_t k = uint32_t(i) * 7919u % 32768u;
    return pal5(int(k >> 10), int((k >> 5) & 31), int(k & 31));
}
uint32_t toPixel(uint32_t pal) { return rgb5(int((pal >> 16) & 31), int((pal >> 8) & 31), int(pal & 31)); }

// A smooth picture with grain: thousands of 15-bit colours.
uint32_t photoPixel(int x, int y) {
    const uint32_t n = (uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u);
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return 0xFF000000u | c(x * 3 + int(n % 23)) << 16 | c(y * 3 + int((n >> 5) % 19)) << 8 |
           c(255 - x * 2 - y + int((n >> 11) % 29));
}

// Summed squared distance between the working area's effect colours and the entries they got.
uint64_t squaredError(App& app, const IndexImage& image, const WorkingPalette& palette, uint32_t offset) {
    uint64_t total = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint32_t pixel;
            if (!sourcePixel(app, x, y, pixel) || (pixel >> 24) == 0) continue;
            const uint32_t want = effectColour(app, pixel);
            const uint32_t got = palette[image.values[size_t(y) * size_t(image.width) + size_t(x)] - offset];
            total += colourDistance(want | 0xFF000000u, got | 0xFF000000u);
        }
    return total;
}

struct Outcome {
    int count = 0;
    IndexImage image;
    WorkingPalette palette;
};

Outcome quantizeWith(App& app, int method, int w, int h, QuantizePositions pos, int dither = 0,
                 const WorkingPalette& start = {}) {
    app.convert.quantization = method;
    app.convert.dither = dither;
    Outcome r;
    r.image = indexImage(w, h);
    r.palette = start;
    r.count = quantizeWithCurrentMethod(app, r.image, r.palette, pos, PrecisionSearch::Binary);
    return r;
}

QuantizePositions limitOf(int limit) {
    QuantizePositions pos;
    pos.limit = limit;
    return pos;
}

}  // namespace

TEST(PaletteSearch, GivesTheNearestColourRule) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint32_t> palette(size_t(1 + rng() % 60));
        for (uint32_t& e : palette) e = (rng() % 4 == 0 ? 0u : 0xFF000000u) | (rng() & 0x0F0F0F);
        PaletteSearch search;
        search.build(palette.data(), int(palette.size()));
        for (int q = 0; q < 200; ++q) {
            const uint32_t colour = (q % 7 == 0 ? 0u : 0xFF000000u) | (rng() & 0x0F0F0F);
            uint32_t want = 0, got = 0;
            const int expected = nearestEntry(palette.data(), 0, int(palette.size()), colour, &want);
            EXPECT_EQ(search.nearest(colour, int(rng() % palette.size()), got), expected);
            EXPECT_EQ(got, want);
        }
    }
    PaletteSearch empty;
    empty.build(nullptr, 0);
    uint32_t d;
    EXPECT_EQ(empty.nearest(0xFF000000u, 0, d), -1);
}

TEST(AccuratePalette, SplitsWhereTheErrorFallsMostAndRefinementNeverLosesGround) {
    WeightedColours h;
    // Two tight clusters far apart, the second heavier.
    for (int i = 0; i < 4; ++i) {
        h.colours.push_back(pal5(2 + (i & 1), 2, 2 + (i >> 1)));
        h.counts.push_back(10);
        h.colours.push_back(pal5(28, 27 + (i & 1), 29 + (i >> 1)));
        h.counts.push_back(30);
    }
    std::vector<uint32_t> boxes = splitIntoBoxes(h, 2);
    ASSERT_EQ(boxes.size(), 2u);
    std::sort(boxes.begin(), boxes.end());
    EXPECT_EQ(boxes[0], pal5(3, 2, 3));    // means rounded half up
    EXPECT_EQ(boxes[1], pal5(28, 28, 30));

    std::mt19937 rng(3);
    WeightedColours many;
    for (int i = 0; i < 3000; ++i) {
        many.colours.push_back(distinctColour(i));
        many.counts.push_back(1 + rng() % 50);
    }
    std::vector<uint32_t> palette = splitIntoBoxes(many, 40);
    const uint64_t before = histogramError(many, palette);
    const uint64_t after = refineByLloyd(many, palette, 0);
    EXPECT_LE(after, before);
    EXPECT_EQ(after, histogramError(many, palette));
    EXPECT_EQ(palette.size(), 40u);

    // Fixed entries stay; colours they hold exactly need no new entry.
    const std::vector<uint32_t> fixed = {pal5(3, 2, 3), pal5(2, 2, 2)};
    const std::vector<uint32_t> added = accuratePalette(h, fixed, 6);
    EXPECT_EQ(added.size(), 6u);  // the other 6 colours, in order of first appearance
    EXPECT_EQ(added[0], pal5(28, 27, 29));
    EXPECT_EQ(added[1], pal5(3, 2, 2));
}

TEST(AccurateMethod, ImagesWithinTheLimitComeOutExactInOrderOfFirstAppearance) {
    test::TestApp t;
    App& app = t.app;  // GBA 8-bit depth: colour 0 transparent, 255 colours besides it
    for (int colours : {1, 200, 255}) {
        setSource(app, 40, 30, [&](int x, int y) {
            if ((x + y) % 11 == 0) return 0u;  // transparent
            return toPixel(distinctColour((y * 40 + x) % colours));
        });
        QuantizePositions pos = limitOf(256);
        Outcome r = quantizeWith(app, 3, 41, 30, pos);  // one fill column
        ASSERT_EQ(r.count, colours);
        EXPECT_TRUE(t.host.boxes.empty());
        EXPECT_EQ(r.palette[0], distinctColour(1 % colours));  // (0, 0) is transparent, (1, 0) comes first
        EXPECT_EQ(squaredError(app, r.image, r.palette, 1), 0u) << colours;
        for (int y = 0; y < 30; ++y) {
            EXPECT_EQ(r.image.values[size_t(y) * 41 + 40], 0u);                // fill
            if (y % 11 == 0) {
                EXPECT_EQ(r.image.values[size_t(y) * 41], 0u);  // transparent
            }
        }
        // Error diffusion leaves an image that fits its palette as it was.
        Outcome d = quantizeWith(app, 3, 41, 30, pos, 1);
        EXPECT_EQ(d.image.values, r.image.values);
        EXPECT_EQ(d.palette, r.palette);
    }
}

TEST(AccurateMethod, BeatsTheOtherMethodsAndIsRepeatable) {
    test::TestApp t;
    App& app = t.app;
    app.system.messages = 0;
    setSource(app, 64, 64, photoPixel);
    const QuantizePositions pos = limitOf(33);  // 32 colours besides colour 0
    const Outcome accurate = quantizeWith(app, 3, 64, 64, pos);
    ASSERT_EQ(accurate.count, 32);
    const uint64_t accurateError = squaredError(app, accurate.image, accurate.palette, 1);
    const Outcome standard = quantizeWith(app, 0, 64, 64, pos);
    ASSERT_GT(standard.count, 0);
    EXPECT_LT(accurateError * 3 / 2, squaredError(app, standard.image, standard.palette, 1));
    const Outcome optimal = quantizeWith(app, 2, 64, 64, pos);
    setSource(app, 64, 64, photoPixel);  // the optimal method rewrites the decode surface
    ASSERT_GT(optimal.count, 0);
    EXPECT_LT(accurateError * 3 / 2, squaredError(app, optimal.image, optimal.palette, 1));

    const Outcome again = quantizeWith(app, 3, 64, 64, pos);
    EXPECT_EQ(again.palette, accurate.palette);
    EXPECT_EQ(again.image.values, accurate.image.values);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(accurate.palette[size_t(i)] >> 24, 0xFFu);
    EXPECT_EQ(accurate.palette[32], 0u);
}

TEST(AccurateMethod, ExistingPaletteWithAndWithoutReuse) {
    test::TestApp t;
    App& app = t.app;  // colour 0 transparent: indices are entries + 1, one place less
    auto pixel = [](int x, int y) { return toPixel(distinctColour((x + y * 7) % 14)); };
    setSource(app, 7, 6, pixel);
    WorkingPalette start(256, 0);
    for (int i = 0; i < 4; ++i) start[size_t(i)] = distinctColour(i);  // the image's first four colours
    QuantizePositions pos{4, 0, 40, 0};
    Outcome reuse = quantizeWith(app, 3, 7, 6, pos, 0, start);
    ASSERT_EQ(reuse.count, 14);  // 10 new colours after the 4 it already has
    for (int i = 0; i < 4; ++i) EXPECT_EQ(reuse.palette[size_t(i)], start[size_t(i)]);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) {
            const int colour = (x + y * 7) % 14;
            const uint32_t index = reuse.image.values[size_t(y * 7 + x)];
            if (colour < 4) {
                EXPECT_EQ(index, uint32_t(colour) + 1);
            }
            EXPECT_EQ(reuse.palette[index - 1], distinctColour(colour));
        }

    pos.searchStart = 4;  // pixels may only use the new colours
    Outcome fresh = quantizeWith(app, 3, 7, 6, pos, 0, start);
    ASSERT_EQ(fresh.count, 18);
    for (uint32_t index : fresh.image.values) EXPECT_GE(index, 5u);
    EXPECT_EQ(fresh.palette[4], distinctColour(0));

    // Fewer places than colours, the whole limit reported, and no place at all.
    pos = QuantizePositions{4, 4, 15, 0};
    Outcome squeezed = quantizeWith(app, 3, 7, 6, pos, 0, start);
    EXPECT_EQ(squeezed.count, 14);
    EXPECT_TRUE(t.host.boxes.empty());
    app.convert.useMaxColors = 1;
    pos.limit = 40;
    EXPECT_EQ(quantizeWith(app, 3, 7, 6, pos, 0, start).count, 39);
    pos.limit = 5;
    EXPECT_EQ(quantizeWith(app, 3, 7, 6, pos, 0, start).count, 0);
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionFatalError));
    EXPECT_EQ(t.host.lastText(), tr(T::ImgTooFewColorsAvailable));
}

TEST(AccurateMethod, TransparentAndFillPixelsTakeTheFillIndex) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 4, 2, [](int x, int y) { return x == 1 ? 0u : rgb5(x * 5, y, 3); });
    QuantizePositions pos{0, 0, 256, 9};
    Outcome r = quantizeWith(app, 3, 6, 3, pos, 1);
    ASSERT_EQ(r.count, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool colour = y < 2 && x < 4 && x != 1;
            const uint32_t v = r.image.values[size_t(y * 6 + x)];
            if (colour) {
                EXPECT_EQ(r.palette[v - 1], pal5(x * 5, y, 3));
            } else {
                EXPECT_EQ(v, 9u);
            }
        }
}

TEST(ErrorDiffusion, SpreadsTheErrorOfAFlatGrey) {
    test::TestApp t;
    App& app = t.app;
    setCurrentDepthIndex(app, 3);
    rebuildEffectTables(app);  // 8-bit components, colour 0 opaque
    setSource(app, 32, 32, [](int, int) { return 0xFF606060u; });  // 96 of 255
    WorkingPalette palette = {0xFF000000u, 0xFFFFFFFFu};
    IndexImage image = indexImage(32, 32);
    diffuseErrors(app, image, palette, 0, 2);
    int white = 0;
    for (uint32_t v : image.values) white += v == 1;
    EXPECT_NEAR(white, 1024 * 96 / 255, 8);
    // Every row holds both colours: the error runs along the rows, not down one column.
    for (int y = 0; y < 32; ++y) {
        int rowWhite = 0;
        for (int x = 0; x < 32; ++x) rowWhite += image.values[size_t(y * 32 + x)] == 1;
        EXPECT_GT(rowWhite, 6);
        EXPECT_LT(rowWhite, 20);
    }
}

TEST(ErrorDiffusion, NoErrorCrossesATransparentColumn) {
    test::TestApp t;
    App& app = t.app;
    setCurrentDepthIndex(app, 3);
    rebuildEffectTables(app);
    WorkingPalette palette = {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu};
    auto right = [](int x, int y) { return 0xFF000000u | uint32_t(40 + x * 13 + y * 5) * 0x010101u; };
    // The left column differs between the two runs; the transparent column 1 keeps it apart.
    setSource(app, 12, 9, [&](int x, int y) { return x == 0 ? 0xFFF0F0F0u : x == 1 ? 0u : right(x, y); });
    IndexImage a = indexImage(12, 9);
    std::fill(a.values.begin(), a.values.end(), 77u);
    diffuseErrors(app, a, palette, 0, 3);
    setSource(app, 12, 9, [&](int x, int y) { return x == 0 ? 0xFF101010u : x == 1 ? 0u : right(x, y); });
    IndexImage b = indexImage(12, 9);
    diffuseErrors(app, b, palette, 0, 3);
    for (int y = 0; y < 9; ++y) {
        EXPECT_EQ(a.values[size_t(y * 12 + 1)], 77u);  // transparent pixels keep their value
        for (int x = 2; x < 12; ++x) EXPECT_EQ(a.values[size_t(y * 12 + x)], b.values[size_t(y * 12 + x)]) << x << "," << y;
    }
}

TEST(ErrorDiffusion, EveryMethodKeepsItsEntriesAndFittingImages) {
    test::TestApp t;
    App& app = t.app;
    app.system.messages = 0;
    // 20 colours: standard and accurate are exact without the diffusion, and so with it.
    setSource(app, 10, 8, [](int x, int y) { return toPixel(distinctColour((x * 3 + y) % 20)); });
    for (int method : {0, 3}) {
        Outcome plain = quantizeWith(app, method, 10, 8, limitOf(256));
        Outcome dithered = quantizeWith(app, method, 10, 8, limitOf(256), 1);
        EXPECT_EQ(plain.count, 20);
        EXPECT_EQ(dithered.image.values, plain.image.values) << method;
    }
    // Many colours into few: every index stays within the entries each method may use.
    setSource(app, 48, 32, photoPixel);
    for (int method : {0, 2, 3}) {
        Outcome r = quantizeWith(app, method, 48, 32, limitOf(9), 1);
        setSource(app, 48, 32, photoPixel);
        ASSERT_GT(r.count, 0) << method;
        for (uint32_t v : r.image.values) {
            EXPECT_GE(v, 1u);
            EXPECT_LE(v, uint32_t(r.count));
            EXPECT_NE(r.palette[v - 1], 0u);
        }
    }
    selectPixelSource(app, PixelSourceKind::Decode);
    Outcome halftone = quantizeWith(app, 1, 48, 32, limitOf(256), 1);
    EXPECT_EQ(halftone.count, 255);
}
