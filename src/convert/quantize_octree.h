#pragma once
// Octree colour reduction, shared by the optimal method and the multi-palette builder.
// Colours are inserted in the caller's order, which decides which node a reduction takes: always
// the newest inner node of the deepest level that has one. A node at level d (0..7) chooses its
// child by bit 7 - d of red, green and blue (child = r * 4 + g * 2 + b); level 8 holds the leaves.
#include <cstdint>
#include <vector>

namespace ts {

class Octree {
public:
    // Whenever the leaf count exceeds maxLeaves (at least 1), the tree is reduced.
    explicit Octree(int maxLeaves);

    // Inserts one colour (components 0..255, usually already in the depth's precision).
    void insert(uint8_t red, uint8_t green, uint8_t blue);
    int leafCount() const { return leaves_; }
    // Depth-first, children 0..7: each leaf's sum / count per component (integer division),
    // alpha 255, as 0xAARRGGBB words.
    std::vector<uint32_t> palette() const;

private:
    struct Node {
        int32_t child[8];
        uint64_t count;
        uint64_t red, green, blue;
        bool leaf;
    };
    int32_t newNode(bool leaf);
    void freeNode(int32_t index);
    void reduce();
    void emit(int32_t node, std::vector<uint32_t>& out) const;

    int maxLeaves_;
    int leaves_ = 0;
    std::vector<Node> nodes_;
    std::vector<int32_t> free_;
    std::vector<int32_t> levels_[8];  // inner nodes per level, newest at the back
    int32_t root_ = -1;
};

}  // namespace ts
