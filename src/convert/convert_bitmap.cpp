// The bitmap pipeline: the whole image as one bitmap (no tiles) with its palette.
#include <algorithm>

#include "convert/convert_tileset.h"
#include "convert/convert_tileset_steps.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "formats/platform.h"

namespace ts {

int ConvertBitmap(App& app, const ConversionRequest& request, int colorCount) {
    const DepthInfo& depth = currentDepth(app);
    const int depthIndex = currentDepthIndex(app);
    int width = request.imageWidth, height = request.imageHeight;
    if ((width <= 0 || height <= 0) && currentPixelSource(app)) {
        width = currentPixelSource(app)->width;
        height = currentPixelSource(app)->height;
    }
    IndexImage image;
    if (!allocateIndexImage(app, image, width, height)) return 0;

    WorkingPalette palette;
    int count = 0;
    if (depth.paletteKind != 0) {
        const int capacity = std::max(currentPlatform(app).paletteCapacity, kPaletteEntries);
        palette.assign(size_t(capacity) + 100, 0);
        int existing = 0;
        if (request.existingPalette >= 0) {
            existing = loadExistingPalette(app, request.existingPalette, palette);
            if (existing < 0) return 0;
        }
        QuantizePositions pos;
        pos.newStart = existing;
        if (depth.color0Transparent && existing > 0) {
            dropFirstEntry(palette, existing);
            pos.newStart = existing - 1;
        }
        pos.searchStart = request.paletteReuse ? 0 : pos.newStart;
        pos.limit = colorCount;
        pos.fillIndex = 0;
        count = quantizeWithCurrentMethod(app, image, palette, pos, PrecisionSearch::LinearDescent);
        if (count <= 0) return 0;
        if (depth.color0Transparent) insertZeroColour(app, palette, count);
    } else {
        directColours(app, image);
    }

    saveBitmapWithName(app, request, depthIndex, image.values.data(), width, height);
    if (depth.paletteKind != 0) savePaletteWithName(app, request, palette.data(), count);
    return 1;
}

}  // namespace ts
