// Quantization: the standard method and its precision search, the fast version against the
// reference, halftone, the octree, the source colour table path and direct colours.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_halftone.h"
#include "formats/platform.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;

namespace {

// Puts a w x h image (pixel words 0xAARRGGBB from f) into the decode and conversion surfaces and
// selects the conversion surface, as a load would.
template <typename F>
void setSource(App& app, int w, int h, F f) {
    ASSERT_TRUE(createSurface(app.convert.decodeSurface, w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) app.convert.decodeSurface.at(x, y) = f(x, y);
    ASSERT_TRUE(copySurface(app.convert.conversionSurface, app.convert.decodeSurface));
    selectPixelSource(app, PixelSourceKind::Conversion);
}

// A pixel word whose 8-bit components are the given 5-bit ones times 8.
uint32_t rgb5(int r, int g, int b) { return 0xFF000000u | uint32_t(r * 8) << 16 | uint32_t(g * 8) << 8 | uint32_t(b * 8); }
uint32_t pal5(int r, int g, int b) { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

IndexImage indexImage(int w, int h) {
    IndexImage image;
    EXPECT_TRUE(image.resize(w, h));
    return image;
}

// 16 distinct reds: 0, 2, ..., 28 and 29 (the last two are nearest).
uint32_t sixteenReds(int x, int) { return rgb5(x < 15 ? x * 2 : 29, 0, 0); }

}  // namespace

TEST(NearestColour, SmallestDistanceThenHigherIndexAndAlpha) {
    const uint32_t palette[4] = {pal5(0, 0, 0), pal5(4, 0, 0), pal5(0, 0, 4), 0x00040000};
    uint32_t d = 0;
    EXPECT_EQ(nearestEntry(palette, 0, 3, pal5(2, 0, 2), &d), 2);  // ties: the higher index
    EXPECT_EQ(d, 8u);
    EXPECT_EQ(nearestEntry(palette, 0, 2, pal5(2, 0, 2), &d), 1);
    // An alpha difference adds 1.
    EXPECT_EQ(nearestEntry(palette, 1, 4, pal5(4, 0, 0), &d), 1);
    EXPECT_EQ(d, 0u);
    EXPECT_EQ(colourDistance(pal5(4, 0, 0), 0x00040000), 1u);
    EXPECT_EQ(nearestEntry(palette, 2, 2, 0, &d), -1);
}

TEST(StandardMethod, ColoursInOrderOfFirstAppearanceWithFillIndex) {
    test::TestApp t;
    App& app = t.app;  // GBA 8-bit depth: colour 0 transparent
    setSource(app, 4, 2, [](int x, int y) { return y == 1 && x == 3 ? 0u : rgb5(x % 2 ? 31 : 5, y, 0); });
    IndexImage image = indexImage(5, 2);  // one fill column on the right
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 256;
    pos.fillIndex = 0;
    ASSERT_EQ(quantizeStandard(app, image, palette, 0, pos), 4);
    EXPECT_EQ(palette[0], pal5(5, 0, 0));
    EXPECT_EQ(palette[1], pal5(31, 0, 0));
    EXPECT_EQ(palette[2], pal5(5, 1, 0));
    EXPECT_EQ(palette[3], pal5(31, 1, 0));
    EXPECT_EQ(palette[4], 0u);
    const std::vector<uint32_t> expected = {1, 2, 1, 2, 0, 3, 4, 3, 0, 0};
    EXPECT_EQ(image.values, expected);
}

TEST(StandardMethod, EquidistantPixelGoesToTheHigherIndex) {
    test::TestApp t;
    App& app = t.app;
    // Black and (4,0,0) are 16 apart; (2,0,0) is 4 from each, within the threshold of 8.
    setSource(app, 8, 8, [](int x, int y) {
        if (x == 1 && y == 0) return rgb5(4, 0, 0);
        if (x == 7 && y == 7) return rgb5(2, 0, 0);
        return rgb5(0, 0, 0);
    });
    IndexImage image = indexImage(8, 8);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 256;
    ASSERT_EQ(quantizeStandard(app, image, palette, 8, pos), 2);
    EXPECT_NE(image.values[1], image.values[0]);
    EXPECT_EQ(image.values[63], image.values[1]);  // the tie goes to the later entry
}

TEST(StandardMethod, SixteenColoursNeedThePrecisionSearch) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 16, 1, sixteenReds);
    IndexImage image = indexImage(16, 1);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 16;  // 15 colours besides the transparent colour 0
    EXPECT_EQ(quantizeStandard(app, image, palette, 0, pos), -1);

    ASSERT_EQ(quantizeStandardSearch(app, image, palette, pos, PrecisionSearch::Binary), 15);
    ASSERT_EQ(t.host.boxes.size(), 1u);  // the question, answered OK
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionOops));
    EXPECT_EQ(t.host.boxes[0].buttons, Buttons::OkCancel);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(palette[size_t(i)], pal5(i * 2, 0, 0));
    EXPECT_EQ(image.values[14], 15u);
    EXPECT_EQ(image.values[15], 15u);  // red 29 merged into red 28

    // The bitmap pipeline's descent finds the same threshold here.
    t.host.clear();
    ASSERT_EQ(quantizeStandardSearch(app, image, palette, pos, PrecisionSearch::LinearDescent), 15);
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionQuestion));
}

TEST(StandardMethod, QuestionCancelAndMessagesGate) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 16, 1, sixteenReds);
    IndexImage image = indexImage(16, 1);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 16;
    t.host.answers = {Answer::Cancel};
    EXPECT_EQ(quantizeStandardSearch(app, image, palette, pos, PrecisionSearch::Binary), 0);
    EXPECT_EQ(t.host.boxes.size(), 1u);

    t.host.clear();
    app.system.messages = 0;
    EXPECT_EQ(quantizeStandardSearch(app, image, palette, pos, PrecisionSearch::Binary), 15);
    EXPECT_TRUE(t.host.boxes.empty());

    // No threshold can help when the limit leaves no colour at all.
    pos.limit = 1;
    EXPECT_EQ(quantizeStandardSearch(app, image, palette, pos, PrecisionSearch::Binary), 0);
    EXPECT_EQ(t.host.lastText(), tr(T::ImgColorsCountUnreachable));
}

TEST(StandardMethod, UseMaxColorsReportsTheWholeLimit) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 12, 1, sixteenReds);  // 12 colours
    IndexImage image = indexImage(12, 1);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 16;
    EXPECT_EQ(quantizeStandard(app, image, palette, 0, pos), 12);
    app.convert.useMaxColors = 1;
    // 15 entries; with the zero colour that the pipeline inserts, the palette reports 16.
    EXPECT_EQ(quantizeStandard(app, image, palette, 0, pos), 15);
}

TEST(StandardMethod, FastVersionMatchesTheReference) {
    test::TestApp t;
    App& app = t.app;
    std::mt19937 rng(42);
    std::vector<uint32_t> pixels(48 * 40);
    for (uint32_t& p : pixels) {
        const uint32_t r = rng();
        p = (r % 13 == 0) ? 0u : rgb5(int(r % 9) * 3, int((r >> 8) % 7) * 4, int((r >> 16) % 5) * 6);
    }
    setSource(app, 48, 40, [&](int x, int y) { return pixels[size_t(y * 48 + x)]; });
    struct Case {
        int t, n, s, limit;
        uint32_t fill;
    };
    for (const Case& c : {Case{0, 0, 0, 256, 0}, Case{3, 0, 0, 256, 0}, Case{20, 4, 0, 256, 0},
                          Case{20, 4, 4, 64, 4}, Case{100, 8, 2, 40, 0}, Case{0, 0, 0, 40, 0},
                          Case{9, 16, 16, 32, 16}}) {
        WorkingPalette a(300), b(300);
        for (int i = 0; i < c.n; ++i) a[size_t(i)] = b[size_t(i)] = pal5(i * 2, 31 - i, i);
        IndexImage ia = indexImage(50, 41), ib = indexImage(50, 41);
        QuantizePositions pos{c.n, c.s, c.limit, c.fill};
        const int ra = quantizeStandard(app, ia, a, c.t, pos);
        const int rb = quantizeStandardNaive(app, ib, b, c.t, pos);
        EXPECT_EQ(ra, rb) << c.t << " " << c.n;
        if (ra < 0) continue;
        EXPECT_EQ(a, b) << c.t << " " << c.n;
        EXPECT_EQ(ia.values, ib.values) << c.t << " " << c.n;
    }
}

TEST(HalftoneMethod, FixedPaletteAndIndices) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 3, 1, [](int x, int) { return x == 0 ? 0xFFFFFFFFu : x == 1 ? 0xFFFF0000u : 0u; });
    selectPixelSource(app, PixelSourceKind::Decode);
    IndexImage image = indexImage(4, 1);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 255;
    ASSERT_EQ(quantizeHalftone(app, image, palette, pos), 255);
    EXPECT_EQ(palette[245], pal5(31, 31, 31));
    EXPECT_EQ(palette[255], pal5(0, 0, 0));  // (0, 0, 1) after the effect tables
    EXPECT_EQ(halftonePalette()[255], 0x000001u);
    EXPECT_EQ(image.values[0], 216u);  // white of the cube, plus 1 for the transparent colour 0
    EXPECT_EQ(image.values[1], 181u);  // pure red
    EXPECT_EQ(image.values[2], 0u);    // transparent
    EXPECT_EQ(image.values[3], 0u);    // fill
    for (int i = 0; i < 256; ++i) {
        for (int y = 0; y < 8; ++y) EXPECT_NE(halftoneIndex(uint32_t(i) * 0x010101u, i, y), 255);
        EXPECT_NE(halftoneIndex(uint32_t(i) << 16 | 0x40, i, 0), 245);
    }

    pos.limit = 16;
    EXPECT_EQ(quantizeHalftone(app, image, palette, pos), 0);
    EXPECT_EQ(t.host.boxes.size(), 1u);
}

TEST(OptimalMethod, ReducesTheNewestDeepestNodeInStorageOrder) {
    test::TestApp t;
    App& app = t.app;
    setCurrentDepthIndex(app, 3);  // 8-bit components, colour 0 opaque
    rebuildEffectTables(app);
    // Top row P, Q (one level-7 node); bottom row R, S (another). The bottom row is inserted
    // first, so the top row's node is the newest and is merged.
    const uint32_t P = 0xFFFF0000, Q = 0xFFFE0000, R = 0xFF0000FF, S = 0xFF0000FE;
    setSource(app, 2, 2, [&](int x, int y) { return y == 0 ? (x ? Q : P) : (x ? S : R); });
    IndexImage image = indexImage(2, 2);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 4;  // three new colours
    ASSERT_EQ(quantizeOptimal(app, image, palette, pos), 3);
    EXPECT_EQ(palette[0], S);
    EXPECT_EQ(palette[1], R);
    EXPECT_EQ(palette[2], 0xFFFE0000u);  // (255 + 254) / 2
    const std::vector<uint32_t> expected = {2, 2, 1, 0};
    EXPECT_EQ(image.values, expected);

    pos.limit = 2;
    EXPECT_EQ(quantizeOptimal(app, image, palette, pos), 0);
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionFatalError));
}

TEST(OptimalMethod, SingleColourImageCannotReachTwoColours) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 4, 4, [](int, int) { return rgb5(3, 4, 5); });
    IndexImage image = indexImage(4, 4);
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 256;
    EXPECT_EQ(quantizeOptimal(app, image, palette, pos), 0);
    EXPECT_EQ(t.host.lastText(), tr(T::ImgColorsCountUnreachable));
}

TEST(SourceTablePath, AppendsOnlyWhatTheExistingPaletteLacks) {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    std::vector<uint32_t> table;
    for (int i = 0; i < 16; ++i) table.push_back(0xFF000000u | uint32_t(i * 16) << 16 | uint32_t(248 - i * 8) << 8 | uint32_t(8 * (i % 4)));
    Surface picture;
    ASSERT_TRUE(createSurface(picture, 16, 1));
    for (int x = 0; x < 16; ++x) picture.at(x, 0) = table[size_t(15 - x)] & 0xFFFFFF;
    ASSERT_TRUE(saveImageFile(picture, table, dir.file("i16.png")));
    int w = 0, h = 0;
    ASSERT_TRUE(loadSourceImage(app, dir.file("i16.png"), w, h, true));
    ASSERT_EQ(app.convert.usedEntries, 16);

    auto transformed = [&](int i) { return effectColour(app.convert.effects, table[i]); };
    WorkingPalette palette(356, 0);
    for (int i = 0; i < 4; ++i) palette[size_t(i)] = transformed(i);
    QuantizePositions pos{4, 0, 256, 0};
    ASSERT_TRUE(sourceTableFits(app, palette, pos));
    IndexImage image = indexImage(16, 1);
    ASSERT_EQ(quantizeFromSourceTable(app, image, palette, pos), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(palette[size_t(i)], transformed(i)) << i;
    for (int x = 0; x < 16; ++x) EXPECT_EQ(image.values[size_t(x)], uint32_t(15 - x));

    // Too little room: 12 new entries do not fit in 8.
    pos.limit = 12;
    EXPECT_FALSE(sourceTableFits(app, palette, pos));

    // Without palette reuse and nothing new, the search falls back to the whole palette.
    for (int i = 0; i < 16; ++i) palette[size_t(i)] = transformed(i);
    QuantizePositions none{16, 16, 32, 16};
    ASSERT_TRUE(sourceTableFits(app, palette, none));
    ASSERT_EQ(quantizeFromSourceTable(app, image, palette, none), 16);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(image.values[size_t(x)], uint32_t(15 - x));
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST(DirectColours, EffectColoursAndZeroFill) {
    test::TestApp t;
    App& app = t.app;
    setSource(app, 1, 1, [](int, int) { return 0xFFFF8008u; });
    IndexImage image = indexImage(2, 1);
    directColours(app, image);
    EXPECT_EQ(image.values[0], pal5(31, 16, 1));
    EXPECT_EQ(image.values[1], 0u);
}
