// The accurate method: the histogram of the working area's effect colours, a palette built by the
// box split and Lloyd refinement (quantize_accurate.h), then every pixel on its nearest entry.
#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_accurate.h"
#include "convert/quantize_colour_cache.h"
#include "convert/quantize_palette_search.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

// Colours of up to 18 bits (64 levels per component) are counted in a table with one cell per
// colour (32 x 32 x 32 cells at 15 bits); deeper colours in a hash map.
constexpr int kMaxTableBits = 18;
// Marks a pixel of the index image that has no colour (fill or transparent) during the method.
constexpr uint32_t kNoColour = 0xFFFFFFFFu;

// Numbers the distinct opaque effect colours of the working area in order of first appearance
// (rows from the top, each left to right), writes each pixel's number into the index image and
// counts the pixels of each colour.
class HistogramBuilder {
public:
    explicit HistogramBuilder(const DepthColourTraits& traits)
        : greenBlueBits_(traits.greenBits + traits.blueBits), blueBits_(traits.blueBits) {
        const int bits = traits.redBits + traits.greenBits + traits.blueBits;
        if (bits <= kMaxTableBits) table_.assign(size_t(1) << bits, -1);
    }

    uint32_t number(uint32_t colour, WeightedColours& out) {
        const uint32_t rgb = colour & 0xFFFFFF;
        int32_t* slot;
        if (!table_.empty()) {
            const uint32_t key = ((rgb >> 16) << greenBlueBits_) | (((rgb >> 8) & 255) << blueBits_) | (rgb & 255);
            slot = &table_[key < table_.size() ? key : 0];
        } else {
            bool inserted;
            slot = &cache_.find(rgb, inserted);
            if (inserted) *slot = -1;
        }
        if (*slot < 0) {
            *slot = int32_t(out.colours.size());
            out.colours.push_back(0xFF000000u | rgb);
            out.counts.push_back(0);
        }
        ++out.counts[size_t(*slot)];
        return uint32_t(*slot);
    }

private:
    int greenBlueBits_, blueBits_;
    std::vector<int32_t> table_;
    ColourCache<int32_t> cache_;
};

void countColours(App& app, IndexImage& image, const DepthColourTraits& traits, WeightedColours& histogram) {
    const EffectTables& tables = convertSettings(app).effects;
    HistogramBuilder builder(traits);
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        const SourceRow source = sourceRow(app, y, image.width);
        std::fill(out, out + image.width, kNoColour);
        uint32_t lastPixel = 0, lastNumber = 0;
        bool haveLast = false;
        for (int x = source.begin; x < source.end; ++x) {
            const uint32_t pixel = source.pixels[x + source.offset];
            if ((pixel >> 24) == 0) continue;
            if (haveLast && pixel == lastPixel) {
                ++histogram.counts[lastNumber];
            } else {
                lastNumber = builder.number(effectColour(tables, pixel), histogram);
                lastPixel = pixel;
                haveLast = true;
            }
            out[x] = lastNumber;
        }
    }
}

}  // namespace

int quantizeAccurate(App& app, IndexImage& image, WorkingPalette& palette, const QuantizePositions& pos) {
    const DepthColourTraits traits = currentDepthTraits(app);
    const int n = std::max(pos.newStart, 0);
    const int s = std::clamp(pos.searchStart, 0, n);
    const int effectiveLimit = pos.limit - (traits.colourZeroTransparent ? 1 : 0);
    const int allowed = effectiveLimit - n;
    if (allowed < 1) {
        showBox(hostServices(app), tr(T::CaptionFatalError), tr(T::ImgTooFewColorsAvailable), Icon::Error);
        return 0;
    }
    const size_t needed = size_t(std::max({256, effectiveLimit + 1, n + 1}));
    if (palette.size() < needed) palette.resize(needed, 0);
    std::fill(palette.begin() + n, palette.end(), 0u);

    WeightedColours histogram;
    countColours(app, image, traits, histogram);

    const std::vector<uint32_t> fixed(palette.begin() + s, palette.begin() + n);
    const std::vector<uint32_t> added = accuratePalette(histogram, fixed, allowed);
    std::copy(added.begin(), added.end(), palette.begin() + n);
    const int count = n + int(added.size());

    // Every colour's entry: the candidates are s..count-1, in palette order.
    PaletteSearch search;
    search.build(palette.data() + s, count - s);
    const uint32_t offset = traits.colourZeroTransparent ? 1 : 0;
    std::vector<uint32_t> entryOf(histogram.colours.size(), pos.fillIndex);
    for (size_t i = 0; i < histogram.colours.size(); ++i) {
        uint32_t distance;
        const int local = search.nearest(histogram.colours[i], -1, distance);
        if (local >= 0) entryOf[i] = uint32_t(s + local) + offset;
    }
    for (uint32_t& v : image.values) v = v == kNoColour ? pos.fillIndex : entryOf[v];
    return convertSettings(app).useMaxColors ? effectiveLimit : count;
}

}  // namespace ts
