#include "convert/multi_palette_fit.h"

#include <cmath>
#include <unordered_map>

namespace ts {

namespace {

struct SqrtTable {
    uint16_t values[4096];
    SqrtTable() {
        for (uint32_t d = 0; d < 4096; ++d) values[d] = uint16_t(std::sqrt(double(d)));
    }
};
const SqrtTable kSqrt;

}  // namespace

uint32_t errorOfDistance(uint32_t distance) {
    if (distance < 4096) return kSqrt.values[distance];
    return uint32_t(std::sqrt(double(distance)));
}

void buildHistogram(const uint32_t* pixels, size_t n, ColourHistogram& out) {
    out.clear();
    if (n > 256) {  // large tiles: index the colours
        std::unordered_map<uint32_t, size_t> position;
        for (size_t i = 0; i < n; ++i) {
            const uint32_t c = pixels[i];
            if ((c >> 24) == 0) continue;
            auto [it, inserted] = position.emplace(c, out.colours.size());
            if (inserted) {
                out.colours.push_back(c);
                out.counts.push_back(1);
            } else {
                ++out.counts[it->second];
            }
        }
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        const uint32_t c = pixels[i];
        if ((c >> 24) == 0) continue;
        size_t k = 0;
        while (k < out.colours.size() && out.colours[k] != c) ++k;
        if (k == out.colours.size()) {
            out.colours.push_back(c);
            out.counts.push_back(1);
        } else {
            ++out.counts[k];
        }
    }
}

int nearestSubPaletteEntry(uint32_t colour, const uint32_t* palette, int first, int count, uint32_t& distance) {
    int best = -1;
    uint32_t bestDistance = UINT32_MAX;
    for (int i = first; i < count; ++i) {
        const uint32_t d = paletteDistance(colour, palette[i]);
        if (d <= bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    distance = bestDistance;
    return best;
}

uint64_t fitError(const ColourHistogram& pixels, const uint32_t* palette, int reserved, int count) {
    uint64_t error = 0;
    const size_t n = pixels.colours.size();
    if (count <= reserved) {
        for (size_t i = 0; i < n; ++i) error += kNoEntryCost * pixels.counts[i];
        return error;
    }
    for (size_t i = 0; i < n; ++i) {
        uint32_t distance;
        nearestSubPaletteEntry(pixels.colours[i], palette, reserved, count, distance);
        error += uint64_t(errorOfDistance(distance)) * pixels.counts[i];
    }
    return error;
}

namespace {

// One run of the standard method's rule over the distinct colours in order of first occurrence:
// later occurrences of a colour always find an entry within the threshold, so they never add
// one. Returns the count, or -1 when more than `limit` entries would be needed.
int thresholdProbe(const PixelSet& pixels, SubPaletteEntries& palette, int start, int reserved, int limit,
                   uint32_t threshold) {
    int count = start;
    for (const ColourHistogram* part : {pixels.histogram, pixels.extraHistogram}) {
        if (!part) continue;
        for (uint32_t colour : part->colours) {
            uint32_t distance;
            const int entry = nearestSubPaletteEntry(colour, palette.data(), reserved, count, distance);
            if (entry >= 0 && distance <= threshold) continue;
            if (count >= limit) return -1;
            palette[size_t(count++)] = colour;
        }
    }
    return count;
}

// The last run, over every pixel in order, giving the error of the matches as they are made.
int thresholdRun(const PixelSet& pixels, SubPaletteEntries& palette, int start, int reserved, int limit,
                 uint32_t threshold, uint64_t& error) {
    int count = start;
    error = 0;
    std::vector<const std::vector<uint32_t>*> blocks;
    if (pixels.sequence) blocks = *pixels.sequence;
    if (pixels.extraPixels) blocks.push_back(pixels.extraPixels);
    for (const std::vector<uint32_t>* block : blocks) {
        for (uint32_t colour : *block) {
            if ((colour >> 24) == 0) continue;
            uint32_t distance;
            const int entry = nearestSubPaletteEntry(colour, palette.data(), reserved, count, distance);
            if (entry >= 0 && distance <= threshold) {
                error += errorOfDistance(distance);
                continue;
            }
            if (count >= limit) return -1;
            palette[size_t(count++)] = colour;
        }
    }
    return count;
}

}  // namespace

int buildPalette(const PaletteParams& params, const PixelSet& pixels, const PaletteOctree* octree,
                 SubPaletteEntries& palette, int count, uint64_t& error) {
    const int limit = params.colours;
    for (int i = count; i < 256; ++i) palette[size_t(i)] = 0;
    if (params.fastPalReduction && limit - count >= 2 && octree && octree->leafCount() >= 2) {
        octree->emit(palette.data() + count);
        const int total = count + octree->leafCount();
        error = fitError(*pixels.histogram, palette.data(), params.reserved, total);
        if (pixels.extraHistogram) error += fitError(*pixels.extraHistogram, palette.data(), params.reserved, total);
        return total;
    }
    // Threshold search: 0 first, then a binary search between a failing -1 and 250000.
    const SubPaletteEntries start = palette;
    uint32_t threshold = 0;
    if (thresholdProbe(pixels, palette, count, params.reserved, limit, 0) < 0) {
        int64_t lo = -1, hi = 250000;
        int64_t probe = hi;
        while (true) {
            palette = start;
            if (thresholdProbe(pixels, palette, count, params.reserved, limit, uint32_t(probe)) < 0)
                lo = probe;
            else
                hi = probe;
            if (lo + 1 >= hi) break;
            probe = (lo + hi) / 2;
        }
        threshold = uint32_t(hi);
    }
    palette = start;
    int result = thresholdRun(pixels, palette, count, params.reserved, limit, threshold, error);
    if (result < 0) {  // cannot happen: the probe with this threshold fitted
        palette = start;
        error = fitError(*pixels.histogram, palette.data(), params.reserved, count);
        if (pixels.extraHistogram) error += fitError(*pixels.extraHistogram, palette.data(), params.reserved, count);
        return count;
    }
    return result;
}

}  // namespace ts
