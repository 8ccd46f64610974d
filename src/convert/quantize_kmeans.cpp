// Lloyd refinement of the accurate method, and the builder that joins it to the box split.
#include <algorithm>
#include <cstddef>
#include <numeric>

#include "convert/quantize_accurate.h"
#include "convert/quantize_palette_search.h"

namespace ts {

namespace {

// A safety net only: the error falls by whole units at every kept step, and runs stop long before.
constexpr int kMaxLloydSteps = 100;

// Assigns every colour to its nearest entry (starting from its previous one) and gives the error.
uint64_t assign(const WeightedColours& h, const PaletteSearch& search, std::vector<int>& owner,
                std::vector<uint32_t>& distance) {
    uint64_t error = 0;
    for (size_t i = 0; i < h.colours.size(); ++i) {
        uint32_t d = 0;
        owner[i] = search.nearest(h.colours[i], owner[i], d);
        distance[i] = d;
        error += uint64_t(d) * h.counts[i];
    }
    return error;
}

}  // namespace

uint64_t histogramError(const WeightedColours& histogram, const std::vector<uint32_t>& palette) {
    PaletteSearch search;
    search.build(palette.data(), int(palette.size()));
    std::vector<int> owner(histogram.colours.size(), -1);
    std::vector<uint32_t> distance(histogram.colours.size(), 0);
    return assign(histogram, search, owner, distance);
}

uint64_t refineByLloyd(const WeightedColours& h, std::vector<uint32_t>& palette, int fixedCount) {
    const size_t n = h.colours.size();
    const int entries = int(palette.size());
    fixedCount = std::clamp(fixedCount, 0, entries);
    std::vector<int> owner(n, -1);
    std::vector<uint32_t> distance(n, 0);
    PaletteSearch search;
    search.build(palette.data(), entries);
    uint64_t error = assign(h, search, owner, distance);
    if (fixedCount == entries || n == 0) return error;

    std::vector<uint32_t> best = palette;
    uint64_t bestError = error;
    std::vector<uint64_t> weight(size_t(entries), 0), sum(size_t(entries) * 3, 0);
    for (int step = 0; step < kMaxLloydSteps && bestError > 0; ++step) {
        // Every free entry moves to the mean of its colours (rounded to the nearest level).
        std::fill(weight.begin(), weight.end(), 0);
        std::fill(sum.begin(), sum.end(), 0);
        for (size_t i = 0; i < n; ++i) {
            const size_t e = size_t(owner[i]);
            const uint32_t c = h.colours[i];
            const uint64_t w = h.counts[i];
            weight[e] += w;
            sum[e * 3] += ((c >> 16) & 255) * w;
            sum[e * 3 + 1] += ((c >> 8) & 255) * w;
            sum[e * 3 + 2] += (c & 255) * w;
        }
        std::vector<int> empty;
        for (int e = fixedCount; e < entries; ++e) {
            const uint64_t w = weight[size_t(e)];
            if (w == 0) {
                empty.push_back(e);
                continue;
            }
            const uint64_t* s = &sum[size_t(e) * 3];
            palette[size_t(e)] = 0xFF000000u | uint32_t((s[0] + w / 2) / w) << 16 |
                                 uint32_t((s[1] + w / 2) / w) << 8 | uint32_t((s[2] + w / 2) / w);
        }
        // An entry that lost all its colours moves onto the colours that cost most as they stand.
        if (!empty.empty()) {
            std::vector<size_t> order(n);
            std::iota(order.begin(), order.end(), size_t(0));
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                return uint64_t(distance[a]) * h.counts[a] > uint64_t(distance[b]) * h.counts[b];
            });
            size_t next = 0;
            for (int e : empty) {
                while (next < n && distance[order[next]] == 0) ++next;
                if (next >= n || distance[order[next]] == 0) break;
                palette[size_t(e)] = h.colours[order[next]] | 0xFF000000u;
                distance[order[next]] = 0;  // taken
                ++next;
            }
        }
        search.build(palette.data(), entries);
        error = assign(h, search, owner, distance);
        if (error >= bestError) break;
        bestError = error;
        best = palette;
    }
    palette = best;
    return bestError;
}

std::vector<uint32_t> accuratePalette(const WeightedColours& h, const std::vector<uint32_t>& fixed, int wanted) {
    std::vector<uint32_t> added;
    if (wanted < 1 || h.colours.empty()) return added;
    // Colours that a fixed entry already holds exactly need no new entry.
    WeightedColours rest;
    {
        PaletteSearch search;
        search.build(fixed.data(), int(fixed.size()));
        for (size_t i = 0; i < h.colours.size(); ++i) {
            uint32_t d = 1;
            if (!fixed.empty()) search.nearest(h.colours[i], -1, d);
            if (d == 0 || h.counts[i] == 0) continue;
            rest.colours.push_back(h.colours[i]);
            rest.counts.push_back(h.counts[i]);
        }
    }
    if (int(rest.colours.size()) <= wanted) {
        for (uint32_t c : rest.colours) added.push_back(c | 0xFF000000u);
        return added;
    }
    std::vector<uint32_t> palette = fixed;
    const std::vector<uint32_t> boxes = splitIntoBoxes(rest, wanted);
    palette.insert(palette.end(), boxes.begin(), boxes.end());
    refineByLloyd(h, palette, int(fixed.size()));
    added.assign(palette.begin() + std::ptrdiff_t(fixed.size()), palette.end());
    return added;
}

}  // namespace ts
