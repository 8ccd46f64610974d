#include "convert/palette_packing_local.h"

#include <algorithm>

namespace ts {

namespace {

constexpr int kSamples = 3;   // sets of an overloaded palette weighed per step
constexpr int kTenure = 10;   // steps before a set may go back where it came from
constexpr int kOverloadCost = 3;

class LocalSearch {
public:
    LocalSearch(const std::vector<std::vector<int>>& items, int colourCount, int capacity, int palettes)
        : items_(items), colours_(colourCount), capacity_(capacity), palettes_(palettes),
          uses_(size_t(palettes) * size_t(colourCount), 0), size_(size_t(palettes), 0),
          members_(size_t(palettes)), where_(items.size(), -1), slot_(items.size(), 0),
          lastFrom_(items.size(), -1), lastMove_(items.size(), -1000000) {}

    bool run(int64_t budget, int64_t& work, std::vector<int>& assignment);

private:
    uint32_t random() {
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 7;
        seed_ ^= seed_ << 17;
        return uint32_t(seed_ >> 11);
    }
    int over(int size) const { return size > capacity_ ? size - capacity_ : 0; }
    // Every colour a palette holds costs 1 (repeated colours are the price of overlaps), every
    // colour beyond its capacity kOverloadCost more.
    int cost(int size) const { return size + kOverloadCost * over(size); }
    int& uses(int p, int c) { return uses_[size_t(p) * size_t(colours_) + size_t(c)]; }
    // Sizes of palette p without item i, and of palette q with it.
    int sizeWithout(int i, int p) {
        int s = size_[size_t(p)];
        for (int c : items_[size_t(i)]) s -= uses(p, c) == 1;
        return s;
    }
    int sizeWith(int i, int q) {
        int s = size_[size_t(q)];
        for (int c : items_[size_t(i)]) s += uses(q, c) == 0;
        return s;
    }
    void place(int i, int p) {
        for (int c : items_[size_t(i)])
            if (uses(p, c)++ == 0) ++size_[size_t(p)];
        where_[size_t(i)] = p;
        slot_[size_t(i)] = members_[size_t(p)].size();
        members_[size_t(p)].push_back(i);
    }
    void remove(int i) {
        const int p = where_[size_t(i)];
        for (int c : items_[size_t(i)])
            if (--uses(p, c) == 0) --size_[size_t(p)];
        std::vector<int>& m = members_[size_t(p)];
        const size_t at = slot_[size_t(i)];
        m[at] = m.back();
        slot_[size_t(m[at])] = at;
        m.pop_back();
        where_[size_t(i)] = -1;
    }
    int totalOverflow() const {
        int total = 0;
        for (int s : size_) total += over(s);
        return total;
    }

    const std::vector<std::vector<int>>& items_;
    int colours_, capacity_, palettes_;
    std::vector<int> uses_;   // palette x colour: sets of the palette holding the colour
    std::vector<int> size_;   // colours of every palette
    std::vector<std::vector<int>> members_;
    std::vector<int> where_;
    std::vector<size_t> slot_;
    std::vector<int> lastFrom_;
    std::vector<int64_t> lastMove_;
    uint64_t seed_ = 0x9E3779B97F4A7C15ull;
};

bool LocalSearch::run(int64_t budget, int64_t& work, std::vector<int>& assignment) {
    const int n = int(items_.size());
    // Start: largest sets first, each where it adds the least overflow, then the fewest colours.
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return items_[size_t(a)].size() > items_[size_t(b)].size(); });
    for (int i : order) {
        int best = 0, bestOver = 0, bestGrowth = 0;
        for (int p = 0; p < palettes_; ++p) {
            const int with = sizeWith(i, p);
            const int o = over(with) - over(size_[size_t(p)]), growth = with - size_[size_t(p)];
            if (p == 0 || o < bestOver || (o == bestOver && growth < bestGrowth)) {
                best = p;
                bestOver = o;
                bestGrowth = growth;
            }
        }
        work += int64_t(palettes_) * int64_t(items_[size_t(i)].size());
        place(i, best);
    }
    int overflow = totalOverflow();
    std::vector<int> overloaded;
    for (int64_t step = 0; overflow > 0 && work <= budget; ++step) {
        overloaded.clear();
        for (int p = 0; p < palettes_; ++p)
            if (size_[size_t(p)] > capacity_) overloaded.push_back(p);
        // Mostly sets of an overloaded palette, sometimes any set: each weighed with its best other
        // palette (ties at random, not the palette it just left).
        int i = -1, target = -1, bestDelta = 0, ties = 0;
        const bool walk = random() % 64 == 0;
        for (int sample = 0; sample < kSamples; ++sample) {
            int candidate;
            if (random() % 4 != 0) {
                const std::vector<int>& m = members_[size_t(overloaded[random() % overloaded.size()])];
                candidate = m[random() % m.size()];
            } else {
                candidate = int(random() % uint32_t(n));
            }
            const int p = where_[size_t(candidate)];
            const int without = sizeWithout(candidate, p);
            const int fromDelta = cost(without) - cost(size_[size_t(p)]);
            for (int q = 0; q < palettes_; ++q) {
                if (q == p) continue;
                if (lastFrom_[size_t(candidate)] == q && step - lastMove_[size_t(candidate)] < kTenure) continue;
                const int delta = fromDelta + cost(sizeWith(candidate, q)) - cost(size_[size_t(q)]);
                if (target < 0 || delta < bestDelta) {
                    i = candidate;
                    target = q;
                    bestDelta = delta;
                    ties = 1;
                } else if (delta == bestDelta && random() % uint32_t(++ties) == 0) {
                    i = candidate;
                    target = q;
                }
            }
            work += int64_t(palettes_) * int64_t(items_[size_t(candidate)].size()) + 4;
        }
        if (target < 0) continue;
        const int from = where_[size_t(i)];
        if (walk) target = (from + 1 + int(random() % uint32_t(palettes_ - 1))) % palettes_;
        if (!walk && bestDelta > 0) continue;
        remove(i);
        place(i, target);
        lastFrom_[size_t(i)] = from;
        lastMove_[size_t(i)] = step;
        overflow = totalOverflow();
    }
    if (overflow > 0) return false;
    assignment = where_;
    return true;
}

}  // namespace

bool packByLocalSearch(const std::vector<std::vector<int>>& items, int colourCount, int capacity, int palettes,
                       int64_t budget, int64_t& work, std::vector<int>& assignment) {
    if (palettes < 2 || items.empty()) return false;
    LocalSearch search(items, colourCount, capacity, palettes);
    return search.run(budget, work, assignment);
}

}  // namespace ts
