#pragma once
// The octree that builds block and group palettes of the multi-palette assignment. Colours are
// inserted with a weight (a pixel count); inserting a colour's pixels at once at its first
// occurrence gives the same tree as inserting them one by one, because only the first occurrence
// of a colour can create nodes and every later one only adds to the leaf it reaches.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ts {

class PaletteOctree {
public:
    // Empties the tree; at most maxLeaves leaves are kept (reductions merge the newest node of the
    // deepest level whenever there are more).
    void reset(int maxLeaves);
    // Colour as bytes blue, green, red, alpha (alpha ignored).
    void insert(uint32_t bgra, uint32_t weight);
    int leafCount() const { return leaves_; }
    // Appends the leaves' mean colours, depth first with children in index order, alpha 255.
    void emit(uint32_t* out) const;

private:
    struct Node {
        uint64_t count = 0;
        uint64_t sumRed = 0, sumGreen = 0, sumBlue = 0;
        int32_t child[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        uint8_t level = 0;
        bool leaf = false;
    };
    int newNode(int level);
    void reduce();
    void emitFrom(int node, uint32_t*& out) const;

    std::vector<Node> nodes_;
    std::vector<int32_t> levels_[8];  // inner nodes per level, newest last
    int leaves_ = 0;
    int maxLeaves_ = 0;
};

}  // namespace ts
