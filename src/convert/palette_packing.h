#pragma once
// Exact sub-palette packing: finds at most P sub-palettes of K colours such that every tile's
// colour set lies whole inside one of them, so that every pixel keeps its colour. The search is
// bounded by a work budget (deterministic: the same sets always give the same answer).
#include <cstdint>
#include <vector>

namespace ts {

// Work units of one packing (about one colour looked at each): some tens of milliseconds at most.
constexpr int64_t kPackingBudget = 1500000;

struct PackingLimits {
    int capacity = 15;      // K: colours per sub-palette that tiles may use (reserved entries excluded)
    int maxPalettes = 16;   // P
    int64_t budget = kPackingBudget;
};

struct PackingResult {
    // Colours of every sub-palette, each in order of first appearance in the sets.
    std::vector<std::vector<uint32_t>> palettes;
    int64_t work = 0;  // work units spent
};

// Each set lists the distinct colours of one tile (any order, no repeats needed). Empty sets fit
// anywhere. True when an exact packing was found within the budget.
bool packColourSets(const std::vector<std::vector<uint32_t>>& sets, const PackingLimits& limits,
                    PackingResult& result);

}  // namespace ts
