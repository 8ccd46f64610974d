// The optimal method: an octree over the decode surface, then every pixel mapped onto the
// nearest colour.
#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_colour_cache.h"
#include "convert/quantize_octree.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

int quantizeOptimal(App& app, IndexImage& image, WorkingPalette& palette,
                    const QuantizePositions& pos) {
    const int n = std::max(pos.newStart, 0);
    const int allowed = (pos.limit - 1) - n;
    if (allowed < 2) {
        showBox(hostServices(app), tr(T::CaptionFatalError), tr(T::ImgTooFewColorsAvailable), Icon::Error);
        return 0;
    }
    const EffectTables& tables = convertSettings(app).effects;
    // Direct colours first: when the decode surface itself is the pixel source, this reads it
    // before the octree pass below rewrites it with effect colours.
    directColours(app, image);

    // The decode surface's opaque pixels become their effect colours, inserted in storage order
    // (the image's bottom row first): which node a reduction merges depends on that order.
    Octree tree(allowed);
    if (!separateConversionSurface(app)) return 0;
    Surface& decode = convertSettings(app).decodeSurface;
    for (int y = decode.height - 1; y >= 0; --y) {
        uint32_t* row = decode.row(y);
        uint32_t last = 0, lastEffect = 0;
        bool haveLast = false;
        for (int x = 0; x < decode.width; ++x) {
            if ((row[x] >> 24) == 0) continue;
            if (!haveLast || row[x] != last) {
                last = row[x];
                lastEffect = effectColour(tables, last);
                haveLast = true;
            }
            row[x] = lastEffect;
            tree.insert(uint8_t(lastEffect >> 16), uint8_t(lastEffect >> 8), uint8_t(lastEffect));
        }
    }
    if (tree.leafCount() < 2) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::ImgColorsCountUnreachable), Icon::Error);
        return 0;
    }
    const std::vector<uint32_t> colours = tree.palette();
    const int leaves = int(colours.size());
    const int end = n + leaves;
    if (palette.size() < size_t(std::max(end, 256))) palette.resize(size_t(std::max(end, 256)), 0);
    std::copy(colours.begin(), colours.end(), palette.begin() + n);

    const uint32_t offset = currentDepthTraits(app).colourZeroTransparent ? 1 : 0;
    ColourCache<int32_t> nearest;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        for (int x = 0; x < image.width; ++x) {
            uint32_t pixel;
            if (!sourcePixel(app, x, y, pixel) || (out[x] >> 24) == 0) {
                out[x] = 0;
                continue;
            }
            bool inserted;
            int32_t& entry = nearest.find(out[x], inserted);
            if (inserted) entry = nearestEntry(palette.data(), 0, end, out[x], nullptr);
            out[x] = uint32_t(entry) + offset;
        }
    }
    return end;
}

}  // namespace ts
