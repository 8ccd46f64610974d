// Error diffusion (Floyd-Steinberg, serpentine): every opaque pixel takes the entry nearest to its
// effect colour plus the error its neighbours passed on, and passes its own error on in turn.
#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_colour_cache.h"
#include "convert/quantize_palette_search.h"
#include "convert/convert_settings.h"

namespace ts {

namespace {

// Errors are kept in sixteenths of a level of the depth's precision.
constexpr int kUnit = 16;
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
        if (bits <= kMaxTableBits) table_.assign(size_t(1) << bits, -1);
    }
    int find(int r, int g, int b) {
        int32_t* slot;
        if (!table_.empty()) {
            const size_t key = (size_t(r) << greenBlueBits_) | (size_t(g) << blueBits_) | size_t(b);
            slot = &table_[key < table_.size() ? key : 0];
        } else {
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
    std::vector<int32_t> table_;
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

    // Error rows with one spare column at each end; `opaque` marks the pixels that take part.
    const size_t w = size_t(image.width);
    std::vector<int32_t> here((w + 2) * 3, 0), below((w + 2) * 3, 0);
    std::vector<uint8_t> opaqueHere(w + 2, 0), opaqueBelow(w + 2, 0);
    auto markOpaque = [&](int y, std::vector<uint8_t>& opaque) {
        std::fill(opaque.begin(), opaque.end(), 0);
        if (y >= image.height) return;
        const SourceRow source = sourceRow(app, y, image.width);
        for (int x = source.begin; x < source.end; ++x)
            opaque[size_t(x) + 1] = (source.pixels[x + source.offset] >> 24) != 0;
    };
    markOpaque(0, opaqueHere);
    for (int y = 0; y < image.height; ++y) {
        markOpaque(y + 1, opaqueBelow);
        std::fill(below.begin(), below.end(), 0);
        const SourceRow source = sourceRow(app, y, image.width);
        uint32_t* out = image.values.data() + size_t(y) * w;
        const bool rightwards = (y % 2) == 0;
        const int step = rightwards ? 1 : -1;
        for (int i = 0; i < image.width; ++i) {
            const int x = rightwards ? i : image.width - 1 - i;
            const size_t cell = size_t(x) + 1;
            if (!opaqueHere[cell]) continue;
            const uint32_t colour = effectColour(tables, source.pixels[x + source.offset]);
            const int level[3] = {int((colour >> 16) & 255), int((colour >> 8) & 255), int(colour & 255)};
            int wanted[3], rounded[3];
            for (int k = 0; k < 3; ++k) {
                wanted[k] = std::clamp(level[k] * kUnit + here[cell * 3 + size_t(k)], 0, maxLevel[k] * kUnit);
                rounded[k] = (wanted[k] + kUnit / 2) / kUnit;
            }
            const int local = nearest.find(rounded[0], rounded[1], rounded[2]);
            if (local < 0) continue;
            const uint32_t entry = palette[size_t(from + local)];
            out[x] = uint32_t(from + local) + offset;
            const int got[3] = {int((entry >> 16) & 255), int((entry >> 8) & 255), int(entry & 255)};
            // 7/16 ahead, 3/16 behind below, 5/16 below, 1/16 ahead below; only onto pixels that
            // take part, so no error crosses the transparent ones.
            const size_t ahead = size_t(int(cell) + step), behind = size_t(int(cell) - step);
            for (int k = 0; k < 3; ++k) {
                const int e = wanted[k] - got[k] * kUnit;
                const int e7 = e * 7 / 16, e3 = e * 3 / 16, e5 = e * 5 / 16;
                const int e1 = e - e7 - e3 - e5;
                if (opaqueHere[ahead]) here[ahead * 3 + size_t(k)] += e7;
                if (opaqueBelow[behind]) below[behind * 3 + size_t(k)] += e3;
                if (opaqueBelow[cell]) below[cell * 3 + size_t(k)] += e5;
                if (opaqueBelow[ahead]) below[ahead * 3 + size_t(k)] += e1;
            }
        }
        here.swap(below);
        opaqueHere.swap(opaqueBelow);
    }
}

}  // namespace ts
