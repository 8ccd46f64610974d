#include "convert/multi_palette.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "convert/multi_palette_fit.h"
#include "convert/multi_palette_refine.h"
#include "convert/multi_palette_workers.h"

namespace ts {

namespace {

// One tile of the tile column.
struct Block {
    int tile = 0;
    std::vector<uint32_t> pixels;  // row by row across the whole tile
    ColourHistogram histogram;     // its opaque pixels
};

// A sub-palette under construction.
struct Group {
    SubPaletteEntries colours{};
    int count = 0;
    std::vector<int> blocks;
    // Everything about the pixels of its blocks (a block listed twice counts twice), kept up to
    // date as blocks are added so that a rebuild only has to insert the newest block.
    PaletteOctree octree;
    ColourHistogram histogram;
    std::unordered_map<uint32_t, size_t> position;
    std::vector<const std::vector<uint32_t>*> sequence;
};

struct Candidate {
    SubPaletteEntries colours{};
    int count = 0;
    int64_t cost = 0;
    PaletteOctree octree;
};

class Assigner {
public:
    Assigner(TileStore& store, int firstTile, const MultiPaletteParams& params)
        : store_(store), params_(params), pool_(params.threads) {
        fit_.colours = params.colorsPerSubPalette;
        fit_.reserved = params.reserved;
        fit_.fastPalReduction = params.fastPalReduction;
        for (int t = std::max(0, firstTile); t < store.count; ++t) blocks_.push_back(makeBlock(t));
    }

    int run(MultiPaletteResult& result);

private:
    Block makeBlock(int tile) const {
        Block b;
        b.tile = tile;
        const uint32_t* values = store_.tile(tile);
        b.pixels.resize(size_t(store_.valuesPerTile()));
        size_t k = 0;
        for (int y = 0; y < store_.tileHeight; ++y)
            for (int x = 0; x < store_.tileWidth; ++x) b.pixels[k++] = values[tileValueIndex(store_.tileWidth, x, y)];
        buildHistogram(b.pixels.data(), b.pixels.size(), b.histogram);
        return b;
    }

    void report(double fraction) {
        if (params_.palettes && !groups_.empty() && fraction < 1.0) {
            const size_t perGroup = size_t(std::clamp(params_.colorsPerSubPalette, 1, 256));
            std::vector<uint32_t> entries(perGroup * groups_.size(), 0);
            for (size_t g = 0; g < groups_.size(); ++g)
                std::copy_n(groups_[g]->colours.begin(), perGroup, entries.begin() + long(g * perGroup));
            params_.palettes(entries, int(groups_.size()));
        }
        if (params_.progress) params_.progress(std::min(1.0, std::max(0.0, fraction)));
    }

    // The progress display's view of a block: its pixels on the entries of `colours`, either the
    // nearest entries (`indices` null) or the given indices.
    void showBlock(int blockIndex, const SubPaletteEntries& colours, int count, const uint32_t* indices) const {
        if (!params_.blockShown) return;
        const Block& b = blocks_[size_t(blockIndex)];
        std::vector<uint32_t> shown(b.pixels.size());
        for (size_t k = 0; k < b.pixels.size(); ++k) {
            uint32_t index = 0;
            if (indices) {
                index = std::min<uint32_t>(indices[k], 255u);
            } else if ((b.pixels[k] >> 24) != 0) {
                uint32_t distance;
                const int entry = nearestSubPaletteEntry(b.pixels[k], colours.data(), fit_.reserved, count, distance);
                index = entry < 0 ? 0 : uint32_t(entry);
            }
            shown[k] = colours[index];
        }
        params_.blockShown(blockIndex, shown);
    }

    uint64_t blockOnGroup(const Block& b, const Group& g) const {
        return fitError(b.histogram, g.colours.data(), fit_.reserved, g.count);
    }

    // Block palette: the block's best palette starting from the given colours.
    int blockPalette(const Block& b, const SubPaletteEntries& start, int count, SubPaletteEntries& out,
                     uint64_t& error) const {
        out = start;
        PaletteOctree tree;
        const int freeEntries = fit_.colours - count;
        if (fit_.fastPalReduction && freeEntries >= 2) {
            tree.reset(freeEntries);
            for (size_t i = 0; i < b.histogram.colours.size(); ++i)
                tree.insert(b.histogram.colours[i], b.histogram.counts[i]);
        }
        const std::vector<const std::vector<uint32_t>*> sequence{&b.pixels};
        PixelSet set{&b.histogram, nullptr, &sequence, nullptr};
        return buildPalette(fit_, set, fit_.fastPalReduction && freeEntries >= 2 ? &tree : nullptr, out, count,
                            error);
    }

    SubPaletteEntries cleared() const { return SubPaletteEntries{}; }

    void addBlock(Group& g, int blockIndex) {
        const Block& b = blocks_[size_t(blockIndex)];
        g.blocks.push_back(blockIndex);
        g.sequence.push_back(&b.pixels);
        for (size_t i = 0; i < b.histogram.colours.size(); ++i) {
            const uint32_t c = b.histogram.colours[i];
            const uint32_t n = b.histogram.counts[i];
            g.octree.insert(c, n);
            auto [it, inserted] = g.position.emplace(c, g.histogram.colours.size());
            if (inserted) {
                g.histogram.colours.push_back(c);
                g.histogram.counts.push_back(n);
            } else {
                g.histogram.counts[it->second] += n;
            }
        }
    }

    // A new group holding one block, with that block's palette from a cleared group.
    void createGroup(int blockIndex) {
        auto g = std::make_unique<Group>();
        g->octree.reset(fit_.colours - fit_.reserved);
        addBlock(*g, blockIndex);
        uint64_t error = 0;
        g->count = blockPalette(blocks_[size_t(blockIndex)], cleared(), fit_.reserved, g->colours, error);
        groups_.push_back(std::move(g));
    }

    void evaluateCandidate(int blockIndex, int groupIndex);
    void recomputeColumn(int groupIndex);
    void computeErrorMatrix();
    int bestGroupFromMatrix(int blockIndex) const;

    TileStore& store_;
    const MultiPaletteParams& params_;
    PaletteParams fit_;
    WorkerPool pool_;
    std::vector<Block> blocks_;
    std::vector<std::unique_ptr<Group>> groups_;
    std::vector<Candidate> candidates_;
    // Error of every block on every group's current palette (block-major), when kept.
    std::vector<uint64_t> errors_;
    std::vector<int> bestOther_;   // C = -2: per block, best and second best group
    std::vector<int> secondOther_;
};

void Assigner::recomputeColumn(int groupIndex) {
    const size_t groupCount = groups_.size();
    const Group& g = *groups_[size_t(groupIndex)];
    pool_.run(int(blocks_.size()), [&](int b) {
        errors_[size_t(b) * groupCount + size_t(groupIndex)] = blockOnGroup(blocks_[size_t(b)], g);
    });
}

void Assigner::computeErrorMatrix() {
    const size_t groupCount = groups_.size();
    errors_.assign(blocks_.size() * groupCount, 0);
    pool_.run(int(blocks_.size()), [&](int b) {
        for (size_t g = 0; g < groupCount; ++g)
            errors_[size_t(b) * groupCount + g] = blockOnGroup(blocks_[size_t(b)], *groups_[g]);
    });
}

int Assigner::bestGroupFromMatrix(int blockIndex) const {
    const size_t groupCount = groups_.size();
    const uint64_t* row = errors_.data() + size_t(blockIndex) * groupCount;
    int best = 0;
    for (size_t g = 1; g < groupCount; ++g)
        if (row[g] < row[size_t(best)]) best = int(g);
    return best;
}

void Assigner::evaluateCandidate(int blockIndex, int groupIndex) {
    const Block& b = blocks_[size_t(blockIndex)];
    const Group& g = *groups_[size_t(groupIndex)];
    Candidate& c = candidates_[size_t(groupIndex)];
    c.octree = g.octree;
    for (size_t i = 0; i < b.histogram.colours.size(); ++i) c.octree.insert(b.histogram.colours[i], b.histogram.counts[i]);
    c.colours = SubPaletteEntries{};
    PixelSet set{&g.histogram, &b.histogram, &g.sequence, &b.pixels};
    uint64_t error = 0;
    c.count = buildPalette(fit_, set, &c.octree, c.colours, fit_.reserved, error);
    int64_t cost = int64_t(error);
    const int weight = params_.colorization;
    if (weight > 0) {
        int64_t changes = 0;
        for (int i = 0; i < c.count; ++i) {
            const uint32_t now = c.colours[size_t(i)], before = g.colours[size_t(i)];
            if (now == before) continue;
            const int dr = int((now >> 16) & 255) - int((before >> 16) & 255);
            const int dg = int((now >> 8) & 255) - int((before >> 8) & 255);
            const int db = int(now & 255) - int(before & 255);
            changes += errorOfDistance(uint32_t(dr * dr + dg * dg + db * db));
        }
        cost += int64_t(weight) * changes;
    } else if (weight == -1) {
        cost += int64_t(c.count - g.count) * 100;
    } else if (weight == -2) {
        // Whole-image cost: every block on its best group, with this candidate in place of the group.
        const size_t groupCount = groups_.size();
        int64_t total = 0;
        for (size_t k = 0; k < blocks_.size(); ++k) {
            const int other = bestOther_[k] == groupIndex ? secondOther_[k] : bestOther_[k];
            uint64_t best = fitError(blocks_[k].histogram, c.colours.data(), fit_.reserved, c.count);
            if (other >= 0) best = std::min(best, errors_[k * groupCount + size_t(other)]);
            total += int64_t(best);
        }
        cost = total;
    }
    c.cost = cost;
}

int Assigner::run(MultiPaletteResult& result) {
    const int B = params_.colorsPerSubPalette;
    result = MultiPaletteResult{};
    for (int t = 0; t < store_.count; ++t) result.tileValues.push_back(uint32_t(t));
    if (B < 1 || B >= 256 || fit_.reserved < 0 || fit_.reserved >= B) return 0;
    const int P = params_.colorCount > 0 ? (params_.colorCount + B - 1) / B : 0;
    if (P <= 0 || P >= 256) return 0;
    const int N = int(blocks_.size());
    if (N == 0) return 0;

    // Seed: the block whose own palette fits it worst.
    report(0.0);
    std::vector<uint64_t> seedError(size_t(N), 0);
    pool_.run(N, [&](int b) {
        SubPaletteEntries palette;
        blockPalette(blocks_[size_t(b)], cleared(), fit_.reserved, palette, seedError[size_t(b)]);
    });
    int seed = int(std::max_element(seedError.begin(), seedError.end()) - seedError.begin());
    createGroup(seed);

    // Farthest blocks: each new group starts from the block that fits the existing ones worst.
    std::vector<uint64_t> bestError(size_t(N), 0);
    pool_.run(N, [&](int b) { bestError[size_t(b)] = blockOnGroup(blocks_[size_t(b)], *groups_[0]); });
    while (int(groups_.size()) < P) {
        const int far = int(std::max_element(bestError.begin(), bestError.end()) - bestError.begin());
        createGroup(far);
        const Group& g = *groups_.back();
        pool_.run(N, [&](int b) {
            const uint64_t e = blockOnGroup(blocks_[size_t(b)], g);
            if (e < bestError[size_t(b)]) bestError[size_t(b)] = e;
        });
        report(0.1 * double(groups_.size()) / P);
    }

    // Assignment, block by block in column order.
    const int G = int(groups_.size());
    candidates_.resize(size_t(G));
    const bool wholeImage = params_.colorization == -2;
    if (wholeImage) {
        computeErrorMatrix();
        bestOther_.assign(size_t(N), -1);
        secondOther_.assign(size_t(N), -1);
    }
    for (int b = 0; b < N; ++b) {
        if (wholeImage) {
            for (int k = 0; k < N; ++k) {
                const uint64_t* row = errors_.data() + size_t(k) * size_t(G);
                int first = -1, second = -1;
                for (int g = 0; g < G; ++g) {
                    if (first < 0 || row[g] < row[first]) {
                        second = first;
                        first = g;
                    } else if (second < 0 || row[g] < row[second]) {
                        second = g;
                    }
                }
                bestOther_[size_t(k)] = first;
                secondOther_[size_t(k)] = second;
            }
        }
        pool_.run(G, [&](int g) { evaluateCandidate(b, g); });
        int winner = 0;
        for (int g = 1; g < G; ++g)
            if (candidates_[size_t(g)].cost < candidates_[size_t(winner)].cost) winner = g;
        Group& w = *groups_[size_t(winner)];
        if (int(w.blocks.size()) >= kMaxBlocksPerGroup) {
            if (params_.tooManyBlocks) params_.tooManyBlocks();
        } else {
            addBlock(w, b);
            w.colours = candidates_[size_t(winner)].colours;
            w.count = candidates_[size_t(winner)].count;
            if (wholeImage) recomputeColumn(winner);
        }
        showBlock(b, w.colours, w.count, nullptr);
        if ((b & 15) == 0) report(0.1 + 0.75 * double(b) / N);
    }
    candidates_.clear();

    // Post-filling: groups with free entries take colours from the blocks that fit worst.
    if (params_.palReducPost) {
        computeErrorMatrix();
        std::vector<char> used(size_t(N), 0);
        while (true) {
            int target = -1;
            for (int g = 0; g < G; ++g)
                if (groups_[size_t(g)]->count < B) {
                    target = g;
                    break;
                }
            if (target < 0) break;
            int pick = -1;
            uint64_t worst = 0;
            for (int k = 0; k < N; ++k) {
                if (used[size_t(k)]) continue;
                const uint64_t e = errors_[size_t(k) * size_t(G) + size_t(bestGroupFromMatrix(k))];
                if (pick < 0 || e > worst) {
                    pick = k;
                    worst = e;
                }
            }
            if (pick < 0) break;
            Group& g = *groups_[size_t(target)];
            SubPaletteEntries palette;
            uint64_t error = 0;
            const int count = blockPalette(blocks_[size_t(pick)], g.colours, g.count, palette, error);
            used[size_t(pick)] = 1;
            if (count != g.count || palette != g.colours) {
                g.colours = palette;
                g.count = count;
                recomputeColumn(target);
            }
        }
    } else {
        computeErrorMatrix();
    }
    if (params_.accurate) {
        std::vector<GroupPaletteRef> refs;
        for (auto& g : groups_) refs.push_back({&g->colours, &g->count});
        std::vector<const ColourHistogram*> histograms;
        for (const Block& block : blocks_) histograms.push_back(&block.histogram);
        refineGroupPalettes(refs, histograms, fit_.reserved, B, [&](int b) { return bestGroupFromMatrix(b); },
                            [&] { computeErrorMatrix(); });
    }
    report(0.9);

    // Final mapping: every block on its best group.
    const uint32_t shift = params_.paletteShift;
    std::vector<int> finalGroup(size_t(N), 0);
    pool_.run(N, [&](int b) {
        const Block& block = blocks_[size_t(b)];
        const int g = bestGroupFromMatrix(b);
        finalGroup[size_t(b)] = g;
        const Group& group = *groups_[size_t(g)];
        uint32_t* values = store_.tile(block.tile);
        std::vector<uint32_t> dithered;
        if (params_.dither)
            diffuseTileErrors(block.pixels.data(), store_.tileWidth, store_.tileHeight, group.colours.data(),
                              fit_.reserved, group.count, params_.levelMax, dithered);
        size_t k = 0;
        for (int y = 0; y < store_.tileHeight; ++y) {
            for (int x = 0; x < store_.tileWidth; ++x) {
                const uint32_t colour = block.pixels[k++];
                uint32_t index = 0;
                if (!dithered.empty()) {
                    index = dithered[k - 1];
                } else if ((colour >> 24) != 0) {
                    uint32_t distance;
                    const int entry = nearestSubPaletteEntry(colour, group.colours.data(), fit_.reserved, group.count, distance);
                    index = entry < 0 ? 0 : uint32_t(entry);
                }
                values[tileValueIndex(store_.tileWidth, x, y)] = index;
            }
        }
        const uint32_t field = shift >= 32 ? 0 : uint32_t(g) << shift;
        result.tileValues[size_t(block.tile)] = field | uint32_t(block.tile);
    });
    if (params_.blockShown) {
        std::vector<uint32_t> indices;
        for (int b = 0; b < N; ++b) {
            const uint32_t* values = store_.tile(blocks_[size_t(b)].tile);
            indices.resize(blocks_[size_t(b)].pixels.size());
            size_t k = 0;
            for (int y = 0; y < store_.tileHeight; ++y)
                for (int x = 0; x < store_.tileWidth; ++x) indices[k++] = values[tileValueIndex(store_.tileWidth, x, y)];
            const Group& group = *groups_[size_t(finalGroup[size_t(b)])];
            showBlock(b, group.colours, group.count, indices.data());
        }
    }

    result.groups = G;
    result.palette.assign(size_t(G) * size_t(B), 0);
    for (int g = 0; g < G; ++g)
        std::copy_n(groups_[size_t(g)]->colours.begin(), B, result.palette.begin() + ptrdiff_t(g) * B);
    result.colorCount = G * B;
    report(1.0);
    return result.colorCount;
}

}  // namespace

int assignSubPalettes(TileStore& store, int firstTile, const MultiPaletteParams& params,
                      MultiPaletteResult& result) {
    Assigner assigner(store, firstTile, params);
    return assigner.run(result);
}

}  // namespace ts
