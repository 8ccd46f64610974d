#include "convert/quantize_palette_search.h"

#include <algorithm>

namespace ts {

void PaletteSearch::build(const uint32_t* entries, int count) {
    items_.clear();
    words_.assign(entries, entries + std::max(count, 0));
    for (int i = 0; i < count; ++i) {
        const uint32_t e = entries[i];
        items_.push_back({int((e >> 16) & 255), int((e >> 8) & 255), int(e & 255), e >> 24, i});
    }
    std::sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return a.green != b.green ? a.green < b.green : a.index < b.index;
    });
    size_t k = 0;
    for (int v = 0; v <= 256; ++v) {
        while (k < items_.size() && items_[k].green < v) ++k;
        firstAtGreen_[v] = int(k);
    }
}

int PaletteSearch::nearest(uint32_t colour, int hint, uint32_t& distance) const {
    const int red = int((colour >> 16) & 255), green = int((colour >> 8) & 255), blue = int(colour & 255);
    const uint32_t alpha = colour >> 24;
    int best = -1;
    uint64_t bestDistance = UINT64_MAX;
    auto consider = [&](int r, int g, int b, uint32_t a, int index) {
        const uint64_t d = uint64_t((r - red) * (r - red) + (g - green) * (g - green) + (b - blue) * (b - blue)) +
                           (a != alpha ? 1u : 0u);
        if (d < bestDistance || (d == bestDistance && index > best)) {
            bestDistance = d;
            best = index;
        }
    };
    if (hint >= 0 && hint < int(words_.size())) {
        const uint32_t e = words_[size_t(hint)];
        consider(int((e >> 16) & 255), int((e >> 8) & 255), int(e & 255), e >> 24, hint);
    }
    const int start = firstAtGreen_[green];
    const int n = int(items_.size());
    // Upwards, then downwards; an entry whose green difference alone exceeds the best distance
    // cannot win, and neither can any entry beyond it (equal distances must still be seen).
    for (int i = start; i < n; ++i) {
        const Item& it = items_[size_t(i)];
        const uint64_t dg = uint64_t((it.green - green) * (it.green - green));
        if (dg > bestDistance) break;
        consider(it.red, it.green, it.blue, it.alpha, it.index);
    }
    for (int i = start - 1; i >= 0; --i) {
        const Item& it = items_[size_t(i)];
        const uint64_t dg = uint64_t((it.green - green) * (it.green - green));
        if (dg > bestDistance) break;
        consider(it.red, it.green, it.blue, it.alpha, it.index);
    }
    distance = best < 0 ? 0 : uint32_t(bestDistance);
    return best;
}

}  // namespace ts
