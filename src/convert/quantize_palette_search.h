#pragma once
// Fast nearest-colour search over a palette of up to a few hundred entries, with the results of
// the nearest-colour rule (distance dB^2 + dG^2 + dR^2, plus 1 when the alpha bytes differ; the
// higher index wins on equal distance). Entries are kept sorted by green so that a search only
// visits the entries whose green alone is not already farther than the best found.
#include <cstdint>
#include <vector>

namespace ts {

class PaletteSearch {
public:
    // Entries are palette words 0xAARRGGBB; their positions 0..count-1 are the indices returned.
    void build(const uint32_t* entries, int count);
    int size() const { return int(items_.size()); }
    // Nearest entry to `colour` (0xAARRGGBB); -1 when the palette is empty. `hint`, when it is a
    // valid index, is measured first: a good guess (the previous answer) shortens the search.
    int nearest(uint32_t colour, int hint, uint32_t& distance) const;

private:
    struct Item {
        int red, green, blue;
        uint32_t alpha;
        int index;
    };
    std::vector<Item> items_;     // by green, then by index
    std::vector<uint32_t> words_; // by index
    int firstAtGreen_[257] = {};  // first sorted position whose green is at least v
};

}  // namespace ts
