// Keeping the source image's own colour table (`gdipCalcPalette`).
#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_colour_cache.h"
#include "convert/convert_settings.h"

namespace ts {

namespace {

// The used entries of the source table through the effect tables (alpha kept), and k, the
// number of leading entries that the working palette already holds at the same positions.
struct TableFit {
    std::vector<uint32_t> transformed;
    int used = 0;
    int k = 0;
};

TableFit measureFit(const App& app, const WorkingPalette& palette, int n) {
    TableFit fit;
    const std::vector<uint32_t>& table = convertSettings(app).sourceColourTable;
    fit.used = std::min<int>(convertSettings(app).usedEntries, int(table.size()));
    if (fit.used <= 0) return fit;
    fit.transformed.resize(size_t(fit.used));
    for (int i = 0; i < fit.used; ++i)
        fit.transformed[size_t(i)] = effectColour(convertSettings(app).effects, table[size_t(i)]);
    while (fit.k < fit.used && fit.k < n && size_t(fit.k) < palette.size() &&
           (palette[size_t(fit.k)] & 0xFFFFFFu) == (fit.transformed[size_t(fit.k)] & 0xFFFFFFu))
        ++fit.k;
    return fit;
}

}  // namespace

bool sourceTableFits(const App& app, const WorkingPalette& palette, const QuantizePositions& pos) {
    const TableFit fit = measureFit(app, palette, pos.newStart);
    return fit.used > 0 && fit.used - fit.k <= pos.limit - pos.newStart;
}

int quantizeFromSourceTable(App& app, IndexImage& image, WorkingPalette& palette,
                            const QuantizePositions& pos) {
    const int n = std::max(pos.newStart, 0);
    const TableFit fit = measureFit(app, palette, n);
    if (palette.size() < size_t(std::max(pos.limit, 256))) palette.resize(size_t(std::max(pos.limit, 256)), 0);
    int count = n;
    for (int i = fit.k; i < fit.used && count < pos.limit; ++i) palette[size_t(count++)] = fit.transformed[size_t(i)];

    // Without palette reuse and with every used entry already in place, the search range s..count-1
    // is empty; the pixels then search the whole palette instead of getting no entry at all.
    int from = std::max(pos.searchStart, 0);
    if (from >= count) from = 0;

    const EffectTables& tables = convertSettings(app).effects;
    ColourCache<int32_t> nearest;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        for (int x = 0; x < image.width; ++x) {
            uint32_t pixel;
            if (!sourcePixel(app, x, y, pixel) || (pixel >> 24) == 0 || count == 0) {
                out[x] = pos.fillIndex;
                continue;
            }
            const uint32_t colour = effectColour(tables, pixel);
            bool inserted;
            int32_t& entry = nearest.find(colour, inserted);
            if (inserted) entry = nearestEntry(palette.data(), from, count, colour, nullptr);
            out[x] = uint32_t(entry);
        }
    }
    return convertSettings(app).useMaxColors ? pos.limit : count;
}

}  // namespace ts
