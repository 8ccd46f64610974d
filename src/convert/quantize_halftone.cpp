#include "convert/quantize_halftone.h"

#include <algorithm>
#include <vector>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

struct GreyLevel {
    int level;
    uint8_t index;
};

struct HalftoneTables {
    std::array<uint32_t, 256> palette{};
    std::vector<GreyLevel> greys;      // ascending levels usable for greys
    uint8_t greyBelow[256] = {};       // position in `greys` of the highest level <= v
};

HalftoneTables makeTables() {
    HalftoneTables t;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                t.palette[size_t(r * 36 + g * 6 + b)] =
                    uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51);
    for (int k = 1; k <= 39; ++k) {
        const uint32_t v = uint32_t(k * 255 / 40);
        t.palette[size_t(215 + k)] = v << 16 | v << 8 | v;
    }
    t.palette[245] = 0xFFFFFFu;
    t.palette[255] = 0x000001u;

    // Grey levels: the cube's six greys and the ramp (entry 245 now white, a duplicate of 215).
    for (int i = 0; i < 6; ++i) t.greys.push_back({i * 51, uint8_t(i * 43)});
    for (int k = 1; k <= 39; ++k)
        if (215 + k != 245) t.greys.push_back({k * 255 / 40, uint8_t(215 + k)});
    std::sort(t.greys.begin(), t.greys.end(),
              [](const GreyLevel& a, const GreyLevel& b) { return a.level < b.level; });
    t.greys.erase(std::unique(t.greys.begin(), t.greys.end(),
                              [](const GreyLevel& a, const GreyLevel& b) { return a.level == b.level; }),
                  t.greys.end());
    size_t pos = 0;
    for (int v = 0; v < 256; ++v) {
        while (pos + 1 < t.greys.size() && t.greys[pos + 1].level <= v) ++pos;
        t.greyBelow[v] = uint8_t(pos);
    }
    return t;
}

const HalftoneTables& tables() {
    static const HalftoneTables t = makeTables();
    return t;
}

// Level 0..5 of an 8-bit component under threshold `b` (0..63).
inline int cubeLevel(int v, int b) {
    const int scaled = v * 5;
    const int base = scaled / 255;
    const int frac = scaled % 255;
    return base + (frac * 64 > b * 255 + 127 ? 1 : 0);
}

}  // namespace

const std::array<uint32_t, 256>& halftonePalette() { return tables().palette; }

uint8_t halftoneIndex(uint32_t pixel, int x, int y) {
    const int r = int((pixel >> 16) & 0xFF), g = int((pixel >> 8) & 0xFF), b = int(pixel & 0xFF);
    const int threshold = kBayer[y & 7][x & 7];
    const HalftoneTables& t = tables();
    if (r == g && g == b) {
        const size_t lo = t.greyBelow[r];
        if (lo + 1 >= t.greys.size() || t.greys[lo].level == r) return t.greys[lo].index;
        const int a = t.greys[lo].level, c = t.greys[lo + 1].level;
        const bool up = (r - a) * 64 > threshold * (c - a) + (c - a) / 2;
        return t.greys[up ? lo + 1 : lo].index;
    }
    return uint8_t(cubeLevel(r, threshold) * 36 + cubeLevel(g, threshold) * 6 + cubeLevel(b, threshold));
}

int quantizeHalftone(App& app, IndexImage& image, WorkingPalette& palette,
                     const QuantizePositions& pos) {
    if (pos.limit < 255) {
        // The dither always uses the whole 256-colour palette; smaller palettes cannot hold it.
        showBox(hostServices(app), tr(T::CaptionOops), formatText(tr(T::ImgHalftoneNeedsFullPalette), pos.limit),
                Icon::Error);
        return 0;
    }
    const DepthColourTraits traits = currentDepthTraits(app);
    if (palette.size() < 256) palette.resize(256, 0);
    const auto& halftone = halftonePalette();
    for (int i = 0; i < 256; ++i)
        palette[size_t(i)] = effectColour(convertSettings(app).effects, 0xFF000000u | halftone[size_t(i)]);

    const uint32_t offset = traits.colourZeroTransparent ? 1 : 0;
    const Surface& decode = convertSettings(app).decodeSurface;
    const SourceWindow& w = convertSettings(app).window;
    const bool decodeIsSource = convertSettings(app).pixelSource == PixelSourceKind::Decode;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        for (int x = 0; x < image.width; ++x) {
            uint32_t pixel;
            if (!sourcePixel(app, x, y, pixel)) {
                out[x] = 0;
                continue;
            }
            // The dither runs on the decode surface at the pixel's own position.
            const int sx = w.x0 + x, sy = w.y0 + y;
            if (!decodeIsSource) {
                if (sx >= decode.width || sy >= decode.height || sx < 0 || sy < 0) {
                    out[x] = 0;
                    continue;
                }
                pixel = decode.at(sx, sy);
            }
            if ((pixel >> 24) == 0) {
                out[x] = 0;
                continue;
            }
            out[x] = halftoneIndex(pixel, sx, sy) + offset;
        }
    }
    return 255;
}

}  // namespace ts
