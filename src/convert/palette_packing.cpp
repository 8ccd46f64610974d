#include "convert/palette_packing.h"

#include "convert/palette_packing_local.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <unordered_map>

namespace ts {

namespace {

// Colours are numbered densely in order of first appearance; a set is a mask over those numbers.
// Sub-palettes hold at most 255 colours, and at most P x K colours can be placed, so 256 bits do.
constexpr int kMaxPackedColours = 256;
constexpr size_t kMaxSearchedSets = 512;

struct Mask {
    std::array<uint64_t, 4> w{};
    void set(int i) { w[size_t(i >> 6)] |= uint64_t(1) << (i & 63); }
    bool test(int i) const { return (w[size_t(i >> 6)] >> (i & 63)) & 1u; }
    int count() const {
        return std::popcount(w[0]) + std::popcount(w[1]) + std::popcount(w[2]) + std::popcount(w[3]);
    }
    Mask operator|(const Mask& o) const { return {{w[0] | o.w[0], w[1] | o.w[1], w[2] | o.w[2], w[3] | o.w[3]}}; }
    Mask& operator|=(const Mask& o) {
        for (size_t i = 0; i < 4; ++i) w[i] |= o.w[i];
        return *this;
    }
    // Colours of this set that `o` lacks.
    int countMissingFrom(const Mask& o) const {
        return std::popcount(w[0] & ~o.w[0]) + std::popcount(w[1] & ~o.w[1]) + std::popcount(w[2] & ~o.w[2]) +
               std::popcount(w[3] & ~o.w[3]);
    }
    bool within(const Mask& o) const { return countMissingFrom(o) == 0; }
    bool operator==(const Mask& o) const { return w == o.w; }
};

struct MaskHash {
    size_t operator()(const Mask& m) const {
        uint64_t h = 0x9E3779B97F4A7C15ull;
        for (uint64_t v : m.w) h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
        return size_t(h ^ (h >> 31));
    }
};

class Packer {
public:
    Packer(const PackingLimits& limits) : limits_(limits) {}

    bool run(const std::vector<std::vector<uint32_t>>& sets, PackingResult& result);

private:
    bool spend(int64_t units) {
        work_ += units;
        return work_ <= limits_.budget;
    }
    bool collectItems(const std::vector<std::vector<uint32_t>>& sets);
    bool packComponents();
    bool binSearch(size_t i, std::vector<int>& load, const std::vector<int>& sizes, std::vector<int>& bin);
    bool greedy(const std::vector<size_t>& order);
    bool search(size_t i);
    bool localSearch();

    PackingLimits limits_;
    bool splitComponents_ = true;
    int64_t work_ = 0;
    std::vector<uint32_t> colours_;  // colour of every number
    std::vector<Mask> items_;        // maximal distinct sets, largest first
    std::vector<Mask> suffixUnion_;  // colours of items i.. together
    std::vector<Mask> palettes_;     // the packing being built
};

bool Packer::collectItems(const std::vector<std::vector<uint32_t>>& sets) {
    std::unordered_map<uint32_t, int> number;
    std::unordered_map<Mask, size_t, MaskHash> seen;
    std::vector<Mask> distinct;
    const int K = limits_.capacity;
    const int most = std::min(kMaxPackedColours, limits_.capacity * limits_.maxPalettes);
    for (const std::vector<uint32_t>& set : sets) {
        Mask m;
        for (uint32_t c : set) {
            auto [it, inserted] = number.emplace(c, int(colours_.size()));
            if (inserted) {
                // Every colour needs a place: more colours than places cannot pack.
                if (int(colours_.size()) >= most) return false;
                colours_.push_back(c);
            }
            m.set(it->second);
        }
        const int n = m.count();
        if (n == 0) continue;
        if (n > K) return false;
        if (seen.emplace(m, distinct.size()).second) distinct.push_back(m);
    }
    spend(int64_t(sets.size()));
    // Largest first (stable, so ties keep their order of appearance); sets inside a larger one
    // need no place of their own.
    std::vector<size_t> order(distinct.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return distinct[a].count() > distinct[b].count(); });
    for (size_t k : order) {
        const Mask& m = distinct[k];
        bool inside = false;
        if (spend(int64_t(items_.size()) / 8 + 1)) {
            for (const Mask& kept : items_)
                if (m.within(kept)) {
                    inside = true;
                    break;
                }
        }
        if (!inside) items_.push_back(m);
    }
    suffixUnion_.assign(items_.size() + 1, Mask{});
    for (size_t i = items_.size(); i-- > 0;) suffixUnion_[i] = suffixUnion_[i + 1] | items_[i];
    return true;
}

// Colours that appear together in a tile must share a sub-palette unless they are repeated in
// several. Every group of colours so linked that fits one sub-palette is packed as one unit; a
// larger group (linked through a colour that two palettes share) is packed on its own into as few
// sub-palettes as will do, each a unit. The units are then bin-packed by their sizes.
bool Packer::packComponents() {
    const int C = int(colours_.size());
    std::vector<int> parent(static_cast<size_t>(C));
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int x) {
        while (parent[size_t(x)] != x) x = parent[size_t(x)] = parent[size_t(parent[size_t(x)])];
        return x;
    };
    for (const Mask& m : items_) {
        int first = -1;
        for (int c = 0; c < C; ++c) {
            if (!m.test(c)) continue;
            if (first < 0) first = root(c);
            else parent[size_t(root(c))] = first;
        }
    }
    spend(int64_t(items_.size()) * 4);
    std::vector<Mask> components;
    std::vector<int> componentOf(static_cast<size_t>(C));
    std::vector<int> index(size_t(C), -1);
    for (int c = 0; c < C; ++c) {
        const int r = root(c);
        if (index[size_t(r)] < 0) {
            index[size_t(r)] = int(components.size());
            components.emplace_back();
        }
        componentOf[size_t(c)] = index[size_t(r)];
        components[size_t(index[size_t(r)])].set(c);
    }
    const int K = limits_.capacity;
    std::vector<Mask> units;
    int oversized = 0;
    for (const Mask& m : components) oversized += m.count() > K;
    for (size_t k = 0; k < components.size(); ++k) {
        const int size = components[k].count();
        if (size <= K) {
            units.push_back(components[k]);
            continue;
        }
        if (!splitComponents_) return false;
        // The component's own sets, packed into the fewest sub-palettes found.
        std::vector<std::vector<uint32_t>> sets;
        for (const Mask& m : items_) {
            if (!m.within(components[k])) continue;
            std::vector<uint32_t> set;
            for (int c = 0; c < C; ++c)
                if (m.test(c)) set.push_back(uint32_t(c));
            sets.push_back(std::move(set));
        }
        bool packed = false;
        for (int m = (size + K - 1) / K; !packed && m <= limits_.maxPalettes && work_ <= limits_.budget; ++m) {
            PackingLimits part;
            part.capacity = K;
            part.maxPalettes = m;
            part.budget = (limits_.budget - work_) / (2 * oversized);
            Packer inner(part);
            inner.splitComponents_ = false;
            PackingResult result;
            packed = inner.run(sets, result);
            work_ += result.work;
            if (!packed) continue;
            for (const std::vector<uint32_t>& palette : result.palettes) {
                Mask unit;
                for (uint32_t c : palette) unit.set(int(c));
                units.push_back(unit);
            }
        }
        if (!packed) return false;
        --oversized;
    }
    // Largest units first.
    std::stable_sort(units.begin(), units.end(), [](const Mask& a, const Mask& b) { return a.count() > b.count(); });
    std::vector<int> sizes(units.size());
    for (size_t i = 0; i < units.size(); ++i) sizes[i] = units[i].count();
    std::vector<int> load, bin(units.size(), -1);
    if (!binSearch(0, load, sizes, bin)) return false;
    palettes_.assign(load.size(), Mask{});
    for (size_t i = 0; i < units.size(); ++i) palettes_[size_t(bin[i])] |= units[i];
    return true;
}

bool Packer::binSearch(size_t i, std::vector<int>& load, const std::vector<int>& sizes, std::vector<int>& bin) {
    if (i == sizes.size()) return true;
    if (!spend(int64_t(load.size()) + 1)) return false;
    const int K = limits_.capacity;
    int remaining = 0, room = (limits_.maxPalettes - int(load.size())) * K;
    for (size_t k = i; k < sizes.size(); ++k) remaining += sizes[k];
    for (int l : load) room += K - l;
    if (remaining > room) return false;
    // Bins of equal load are interchangeable: try one of each.
    std::vector<int> tried;
    for (size_t b = 0; b < load.size(); ++b) {
        if (load[b] + sizes[i] > K) continue;
        if (std::find(tried.begin(), tried.end(), load[b]) != tried.end()) continue;
        tried.push_back(load[b]);
        load[b] += sizes[i];
        bin[i] = int(b);
        if (binSearch(i + 1, load, sizes, bin)) return true;
        load[b] -= sizes[i];
    }
    if (int(load.size()) < limits_.maxPalettes) {
        load.push_back(sizes[i]);
        bin[i] = int(load.size()) - 1;
        if (binSearch(i + 1, load, sizes, bin)) return true;
        load.pop_back();
    }
    return false;
}

// Best fit in the given order: every set goes where it adds the fewest colours.
bool Packer::greedy(const std::vector<size_t>& order) {
    palettes_.clear();
    const int K = limits_.capacity;
    for (size_t k : order) {
        const Mask& m = items_[k];
        if (!spend(int64_t(palettes_.size()) + 1)) return false;
        int best = -1, bestGrowth = K + 1;
        for (size_t p = 0; p < palettes_.size(); ++p) {
            const int growth = m.countMissingFrom(palettes_[p]);
            if (growth >= bestGrowth || palettes_[p].count() + growth > K) continue;
            best = int(p);
            bestGrowth = growth;
            if (growth == 0) break;
        }
        if (best >= 0) {
            palettes_[size_t(best)] |= m;
        } else if (int(palettes_.size()) < limits_.maxPalettes) {
            palettes_.push_back(m);
        } else {
            return false;
        }
    }
    return true;
}

// Depth-first search over the sets, largest first; each goes into a sub-palette with room for
// it (fewest added colours first) or opens the next empty one.
bool Packer::search(size_t i) {
    // A set already inside a sub-palette changes nothing by going there.
    for (bool inside = true; inside && i < items_.size();) {
        inside = false;
        for (const Mask& p : palettes_)
            if (items_[i].within(p)) {
                inside = true;
                ++i;
                break;
            }
    }
    if (i == items_.size()) return true;
    if (!spend(int64_t(palettes_.size()) * 16 + 16)) return false;
    const Mask& m = items_[i];
    const int K = limits_.capacity;
    // The colours still to place must fit in the room left.
    Mask covered;
    int room = (limits_.maxPalettes - int(palettes_.size())) * K;
    for (const Mask& p : palettes_) {
        covered |= p;
        room += K - p.count();
    }
    if (suffixUnion_[i].countMissingFrom(covered) > room) return false;

    std::vector<std::pair<int, int>> candidates;
    for (size_t p = 0; p < palettes_.size(); ++p) {
        const int growth = m.countMissingFrom(palettes_[p]);
        if (palettes_[p].count() + growth <= K) candidates.push_back({growth, int(p)});
    }
    std::stable_sort(candidates.begin(), candidates.end());
    for (size_t k = 0; k < candidates.size(); ++k) {
        Mask& p = palettes_[size_t(candidates[k].second)];
        const Mask before = p;
        p |= m;
        if (search(i + 1)) return true;
        p = before;
        if (work_ > limits_.budget) return false;
    }
    if (int(palettes_.size()) < limits_.maxPalettes) {
        palettes_.push_back(m);
        if (search(i + 1)) return true;
        palettes_.pop_back();
    }
    return false;
}

// Sets that overload a sub-palette are moved out until none is overloaded.
bool Packer::localSearch() {
    std::vector<std::vector<int>> items(items_.size());
    for (size_t i = 0; i < items_.size(); ++i)
        for (int c = 0; c < int(colours_.size()); ++c)
            if (items_[i].test(c)) items[i].push_back(c);
    std::vector<int> assignment;
    if (!packByLocalSearch(items, int(colours_.size()), limits_.capacity, limits_.maxPalettes, limits_.budget, work_,
                           assignment))
        return false;
    palettes_.assign(size_t(limits_.maxPalettes), Mask{});
    for (size_t i = 0; i < items_.size(); ++i) palettes_[size_t(assignment[i])] |= items_[i];
    palettes_.erase(std::remove_if(palettes_.begin(), palettes_.end(), [](const Mask& m) { return m.count() == 0; }),
                    palettes_.end());
    return true;
}

bool Packer::run(const std::vector<std::vector<uint32_t>>& sets, PackingResult& result) {
    result = PackingResult{};
    if (limits_.capacity < 1 || limits_.maxPalettes < 1) return false;
    bool found = collectItems(sets);
    if (found) {
        if (items_.empty()) {
            palettes_.assign(1, Mask{});
        } else {
            found = packComponents();
            std::vector<size_t> order(items_.size());
            std::iota(order.begin(), order.end(), size_t(0));
            if (!found && work_ <= limits_.budget) found = greedy(order);
            // Other orders: a few deterministic shuffles of the largest-first order.
            uint64_t seed = 0x2545F4914F6CDD1Dull;
            for (int attempt = 0; !found && attempt < 8 && work_ <= limits_.budget / 8; ++attempt) {
                for (size_t k = order.size(); k > 1; --k) {
                    seed ^= seed << 13;
                    seed ^= seed >> 7;
                    seed ^= seed << 17;
                    std::swap(order[k - 1], order[size_t(seed % k)]);
                }
                // Keep the largest sets early: a stable sort by size in coarse steps.
                std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                    return items_[a].count() / 3 > items_[b].count() / 3;
                });
                found = greedy(order);
            }
            if (!found && work_ <= limits_.budget) found = localSearch();
            // The search goes one level deeper per set; very many sets are left to the old way.
            if (!found && work_ <= limits_.budget && items_.size() <= kMaxSearchedSets) {
                palettes_.clear();
                found = search(0);
            }
        }
    }
    result.work = work_;
    if (!found) return false;
    for (const Mask& p : palettes_) {
        std::vector<uint32_t> colours;
        for (int c = 0; c < int(colours_.size()); ++c)
            if (p.test(c)) colours.push_back(colours_[size_t(c)]);
        result.palettes.push_back(std::move(colours));
    }
    return true;
}

}  // namespace

bool packColourSets(const std::vector<std::vector<uint32_t>>& sets, const PackingLimits& limits,
                    PackingResult& result) {
    Packer packer(limits);
    return packer.run(sets, result);
}

}  // namespace ts
