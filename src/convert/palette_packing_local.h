#pragma once
// Local search of the sub-palette packer: sets are placed in P sub-palettes even when one then
// holds too many colours, and sets are moved out of overloaded sub-palettes until none is.
#include <cstdint>
#include <vector>

namespace ts {

// items: the colour numbers (0 .. colourCount - 1) of every set. On success `assignment` gives
// every set's sub-palette (0 .. palettes - 1) and true is returned. `work` grows by the units
// spent; the search stops once it passes `budget`.
bool packByLocalSearch(const std::vector<std::vector<int>>& items, int colourCount, int capacity, int palettes,
                       int64_t budget, int64_t& work, std::vector<int>& assignment);

}  // namespace ts
