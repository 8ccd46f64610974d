#include "convert/multi_palette_refine.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "convert/dither_error.h"
#include "convert/quantize_accurate.h"

namespace ts {

namespace {

// A safety net: each kept round lowers the error, and runs end after a few rounds.
constexpr int kMaxRounds = 8;

uint64_t blockError(const ColourHistogram& h, const uint32_t* palette, int first, int count) {
    uint64_t total = 0;
    for (size_t i = 0; i < h.colours.size(); ++i) {
        uint32_t distance;
        if (nearestSubPaletteEntry(h.colours[i], palette, first, count, distance) < 0) distance = uint32_t(kNoEntryCost);
        total += uint64_t(distance) * h.counts[i];
    }
    return total;
}

}  // namespace

uint64_t refineGroupPalettes(const std::vector<GroupPaletteRef>& groups, const std::vector<const ColourHistogram*>& blocks,
                             int reserved, int colours, const std::function<int(int block)>& groupOf,
                             const std::function<void()>& changed) {
    const size_t groupCount = groups.size();
    const int places = colours - reserved;
    std::vector<SubPaletteEntries> best(groupCount);
    std::vector<int> bestCount(groupCount);
    uint64_t bestError = UINT64_MAX;
    std::vector<int> owner(blocks.size());
    for (int round = 0; round <= kMaxRounds && places >= 1; ++round) {
        uint64_t error = 0;
        for (size_t b = 0; b < blocks.size(); ++b) {
            owner[b] = std::clamp(groupOf(int(b)), 0, int(groupCount) - 1);
            const GroupPaletteRef& g = groups[size_t(owner[b])];
            error += blockError(*blocks[b], g.colours->data(), reserved, *g.count);
        }
        if (error >= bestError) break;
        bestError = error;
        for (size_t g = 0; g < groupCount; ++g) {
            best[g] = *groups[g].colours;
            bestCount[g] = *groups[g].count;
        }
        if (round == kMaxRounds || error == 0) break;

        for (size_t g = 0; g < groupCount; ++g) {
            // The colours of the group's blocks, in order of first appearance.
            WeightedColours pixels;
            std::unordered_map<uint32_t, size_t> position;
            for (size_t b = 0; b < blocks.size(); ++b) {
                if (owner[b] != int(g)) continue;
                const ColourHistogram& h = *blocks[b];
                for (size_t i = 0; i < h.colours.size(); ++i) {
                    const uint32_t c = h.colours[i] | 0xFF000000u;
                    auto [it, inserted] = position.emplace(c, pixels.colours.size());
                    if (inserted) {
                        pixels.colours.push_back(c);
                        pixels.counts.push_back(h.counts[i]);
                    } else {
                        pixels.counts[it->second] += h.counts[i];
                    }
                }
            }
            if (pixels.colours.empty()) continue;
            SubPaletteEntries& entries = *groups[g].colours;
            int& count = *groups[g].count;
            std::vector<uint32_t> moved(entries.begin() + reserved, entries.begin() + std::max(count, reserved));
            uint64_t movedError = UINT64_MAX;
            if (!moved.empty()) movedError = refineByLloyd(pixels, moved, 0);
            std::vector<uint32_t> fresh = accuratePalette(pixels, {}, places);
            const uint64_t freshError = histogramError(pixels, fresh);
            const std::vector<uint32_t>& chosen = freshError < movedError ? fresh : moved;
            std::fill(entries.begin() + reserved, entries.end(), 0u);
            std::copy(chosen.begin(), chosen.end(), entries.begin() + reserved);
            count = reserved + int(chosen.size());
        }
        changed();
    }
    if (bestError != UINT64_MAX) {
        bool restore = false;
        for (size_t g = 0; g < groupCount; ++g) {
            restore = restore || *groups[g].count != bestCount[g] || *groups[g].colours != best[g];
            *groups[g].colours = best[g];
            *groups[g].count = bestCount[g];
        }
        if (restore) changed();
    }
    return bestError;
}

void diffuseTileErrors(const uint32_t* pixels, int width, int height, const uint32_t* palette, int first, int count,
                       int levelMax, std::vector<uint32_t>& indices) {
    constexpr int kShift = 4;  // errors in sixteenths of a level
    indices.assign(size_t(width) * size_t(height), 0);
    std::vector<int32_t> here(size_t(width + 2) * 3, 0), below(size_t(width + 2) * 3, 0);
    for (int y = 0; y < height; ++y) {
        std::fill(below.begin(), below.end(), 0);
        const bool rightwards = (y % 2) == 0;
        const ptrdiff_t step = rightwards ? 3 : -3;
        for (int i = 0; i < width; ++i) {
            const int x = rightwards ? i : width - 1 - i;
            const uint32_t colour = pixels[size_t(y) * size_t(width) + size_t(x)];
            if ((colour >> 24) == 0) continue;
            int32_t* e = here.data() + (size_t(x) + 1) * 3;
            int32_t* b = below.data() + (size_t(x) + 1) * 3;
            const int level[3] = {int((colour >> 16) & 255), int((colour >> 8) & 255), int(colour & 255)};
            int wanted[3];
            uint32_t target = 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                wanted[k] = std::clamp((level[k] << kShift) + e[k], 0, levelMax << kShift);
                target |= uint32_t((wanted[k] + (1 << (kShift - 1))) >> kShift) << (16 - 8 * k);
            }
            uint32_t distance;
            const int entry = nearestSubPaletteEntry(target, palette, first, count, distance);
            if (entry < 0) continue;
            indices[size_t(y) * size_t(width) + size_t(x)] = uint32_t(entry);
            spreadDitherError(wanted, palette[entry], kShift, step, e, b);
        }
        here.swap(below);
    }
}

}  // namespace ts
