#include "convert/quantize.h"

#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "editor/surface.h"
#include "convert/convert_settings.h"

namespace ts {

bool IndexImage::resize(int w, int h) {
    if (w < 0 || h < 0 || int64_t(w) * int64_t(h) > 2 * kMaxSurfacePixels) return false;
    width = w;
    height = h;
    try {
        values.assign(size_t(w) * size_t(h), 0u);
    } catch (const std::bad_alloc&) {
        width = height = 0;
        values.clear();
        return false;
    }
    return true;
}

int nearestEntry(const uint32_t* palette, int from, int to, uint32_t colour, uint32_t* distance) {
    int best = -1;
    uint32_t bestDistance = 0;
    for (int i = from; i < to; ++i) {
        const uint32_t d = colourDistance(colour, palette[i]);
        if (best < 0 || d <= bestDistance) {  // the higher index wins on equal distance
            best = i;
            bestDistance = d;
        }
    }
    if (distance) *distance = bestDistance;
    return best;
}

void directColours(App& app, IndexImage& image) {
    const EffectTables& tables = convertSettings(app).effects;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        const SourceRow source = sourceRow(app, y, image.width);
        for (int x = 0; x < image.width; ++x)
            out[x] = x >= source.begin && x < source.end
                         ? effectColour(tables, source.pixels[x + source.offset])
                         : 0u;
    }
}

namespace {

// End of the entries a method really filled from n on: they are never all zero (new colours are
// opaque), while the entries after them are (with usemaxcolors the count reaches past them).
int filledEnd(const WorkingPalette& palette, int n, int count) {
    int end = std::min<int>(count, int(palette.size()));
    while (end > n && palette[size_t(end - 1)] == 0) --end;
    return std::max(end, n);
}

}  // namespace

int quantizeWithCurrentMethod(App& app, IndexImage& image, WorkingPalette& palette,
                              const QuantizePositions& pos, PrecisionSearch search) {
    const int method = convertSettings(app).quantization;
    int count;
    switch (method) {
        case 1: count = quantizeHalftone(app, image, palette, pos); break;
        case 2: count = quantizeOptimal(app, image, palette, pos); break;
        case 3: count = quantizeAccurate(app, image, palette, pos); break;
        default: count = quantizeStandardSearch(app, image, palette, pos, search); break;
    }
    if (count <= 0 || convertSettings(app).dither != 1) return count;
    // The candidates each method maps its pixels onto: halftone its whole fixed palette, optimal
    // every entry, the others the search start s on.
    const int n = std::max(pos.newStart, 0);
    switch (method) {
        case 1: diffuseErrors(app, image, palette, 0, 256); break;
        case 2: diffuseErrors(app, image, palette, 0, filledEnd(palette, n, count)); break;
        default: diffuseErrors(app, image, palette, std::clamp(pos.searchStart, 0, n), filledEnd(palette, n, count)); break;
    }
    return count;
}

}  // namespace ts
