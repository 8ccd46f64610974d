#include "convert/quantize.h"

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

int quantizeWithCurrentMethod(App& app, IndexImage& image, WorkingPalette& palette,
                              const QuantizePositions& pos, PrecisionSearch search) {
    switch (convertSettings(app).quantization) {
        case 1: return quantizeHalftone(app, image, palette, pos);
        case 2: return quantizeOptimal(app, image, palette, pos);
        default: return quantizeStandardSearch(app, image, palette, pos, search);
    }
}

}  // namespace ts
