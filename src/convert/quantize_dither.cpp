// Error diffusion (Floyd-Steinberg, serpentine): every opaque pixel takes the entry nearest to its
// effect colour plus the error its neighbours passed on, and passes its own error on in turn.
#include <algorithm>
#include <cstddef>

#include "convert/colour_effects.h"
#include "convert/dither_error.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_colour_cache.h"
#include "convert/quantize_palette_search.h"
#include "convert/convert_settings.h"

namespace ts {

namespace {

// Errors are kept in sixteenths of a level of the depth's precision.
constexpr int kUnitShift = 4;
constexpr int kUnit = 1 << kUnitShift;
// Colours of up to 18 bits have their nearest entry remembered in a table with one cell per
// colour; deeper colours in a hash map.
constexpr int kMaxTableBits = 18;

// The nearest candidate of every colour met, looked up once.
class NearestMemo {
public:
    NearestMemo(const DepthColourTraits& traits, const uint32_t* entries, int count)
        : greenBlueBits_(traits.greenBits + traits.blueBits), blueBits_(traits.blueBits) {
        search_.build(entries, count);
        const int bits = traits.redBits + traits.greenBits + traits.blueBits;
        if (bits <= kMaxTableBits && count <= INT16_MAX) table_.assign(size_t(1) << bits, -1);
    }
    int find(int r, int g, int b) {
        if (!table_.empty()) {
            const size_t key = (size_t(r) << greenBlueBits_) | (size_t(g) << blueBits_) | size_t(b);
            int16_t& cell = table_[key < table_.size() ? key : 0];
            if (cell < 0) {
                uint32_t distance;
                cell = int16_t(search_.nearest(0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b), -1, distance));
            }
            return cell;
        }
        int32_t* slot;
        {
            bool inserted;
            slot = &cache_.find(uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b), inserted);
            if (inserted) *slot = -1;
        }
        if (*slot < 0) {
            uint32_t distance;
            *slot = search_.nearest(0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b), -1, distance);
        }
        return *slot;
    }

private:
    int greenBlueBits_, blueBits_;
    PaletteSearch search_;
    std::vector<int16_t> table_;  // palettes hold far fewer than 32768 entries
    ColourCache<int32_t> cache_;
};

}  // namespace

void diffuseErrors(App& app, IndexImage& image, const WorkingPalette& palette, int from, int to) {
    const DepthColourTraits traits = currentDepthTraits(app);
    from = std::max(from, 0);
    to = std::min(to, int(palette.size()));
    if (to <= from || image.width <= 0) return;
    const uint32_t offset = traits.colourZeroTransparent ? 1 : 0;
    const EffectTables& tables = convertSettings(app).effects;
    const int maxLevel[3] = {(1 << traits.redBits) - 1, (1 << traits.greenBits) - 1, (1 << traits.blueBits) - 1};
    NearestMemo nearest(traits, palette.data() + from, to - from);

    // Error rows (red, green, blue per pixel) with one spare pixel at each end. A transparent or
    // fill pixel neither uses the error it is given nor passes any on, so no error crosses it.
    const size_t w = size_t(image.width);
    std::vector<int32_t> here((w + 2) * 3, 0), below((w + 2) * 3, 0);
    for (int y = 0; y < image.height; ++y) {
        std::fill(below.begin(), below.end(), 0);
        const SourceRow source = sourceRow(app, y, image.width);
        uint32_t* out = image.values.data() + size_t(y) * w;
        const bool rightwards = (y % 2) == 0;
        const ptrdiff_t step = rightwards ? 3 : -3;
        for (int i = source.begin; i < source.end; ++i) {
            const int x = rightwards ? i : source.end - 1 - (i - source.begin);
            const uint32_t pixel = source.pixels[x + source.offset];
            if ((pixel >> 24) == 0) continue;
            const uint32_t colour = effectColour(tables, pixel);
            int32_t* e = here.data() + (size_t(x) + 1) * 3;
            int32_t* b = below.data() + (size_t(x) + 1) * 3;
            const int wanted[3] = {
                std::clamp(int((colour >> 16) & 255) * kUnit + e[0], 0, maxLevel[0] * kUnit),
                std::clamp(int((colour >> 8) & 255) * kUnit + e[1], 0, maxLevel[1] * kUnit),
                std::clamp(int(colour & 255) * kUnit + e[2], 0, maxLevel[2] * kUnit),
            };
            const int local = nearest.find((wanted[0] + kUnit / 2) >> kUnitShift, (wanted[1] + kUnit / 2) >> kUnitShift,
                                           (wanted[2] + kUnit / 2) >> kUnitShift);
            if (local < 0) continue;
            const uint32_t entry = palette[size_t(from + local)];
            out[x] = uint32_t(from + local) + offset;
            spreadDitherError(wanted, entry, kUnitShift, step, e, b);
        }
        here.swap(below);
    }
}

}  // namespace ts
