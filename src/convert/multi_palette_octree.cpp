#include "convert/multi_palette_octree.h"

namespace ts {

void PaletteOctree::reset(int maxLeaves) {
    nodes_.clear();
    for (auto& level : levels_) level.clear();
    leaves_ = 0;
    maxLeaves_ = maxLeaves;
    newNode(0);
}

int PaletteOctree::newNode(int level) {
    Node node;
    node.level = uint8_t(level);
    node.leaf = level == 8;
    nodes_.push_back(node);
    const int index = int(nodes_.size()) - 1;
    if (level == 8)
        ++leaves_;
    else
        levels_[level].push_back(index);
    return index;
}

void PaletteOctree::insert(uint32_t bgra, uint32_t weight) {
    const int red = int((bgra >> 16) & 255), green = int((bgra >> 8) & 255), blue = int(bgra & 255);
    int node = 0;
    for (int depth = 0; !nodes_[size_t(node)].leaf; ++depth) {
        const int bit = 7 - depth;
        const int index = ((red >> bit) & 1) * 4 + ((green >> bit) & 1) * 2 + ((blue >> bit) & 1);
        int child = nodes_[size_t(node)].child[index];
        if (child < 0) {
            child = newNode(depth + 1);
            nodes_[size_t(node)].child[index] = child;
        }
        node = child;
    }
    Node& leaf = nodes_[size_t(node)];
    leaf.count += weight;
    leaf.sumRed += uint64_t(red) * weight;
    leaf.sumGreen += uint64_t(green) * weight;
    leaf.sumBlue += uint64_t(blue) * weight;
    while (leaves_ > maxLeaves_ && maxLeaves_ >= 1) reduce();
}

void PaletteOctree::reduce() {
    int level = 7;
    while (level >= 0 && levels_[level].empty()) --level;
    if (level < 0) return;
    const int index = levels_[level].back();
    levels_[level].pop_back();
    Node& node = nodes_[size_t(index)];
    int children = 0;
    for (int& c : node.child) {
        if (c < 0) continue;
        const Node& child = nodes_[size_t(c)];
        node.count += child.count;
        node.sumRed += child.sumRed;
        node.sumGreen += child.sumGreen;
        node.sumBlue += child.sumBlue;
        c = -1;
        ++children;
    }
    node.leaf = true;
    leaves_ -= children - 1;
}

void PaletteOctree::emitFrom(int index, uint32_t*& out) const {
    const Node& node = nodes_[size_t(index)];
    if (node.leaf) {
        const uint64_t n = node.count ? node.count : 1;
        *out++ = 0xFF000000u | uint32_t(node.sumRed / n) << 16 | uint32_t(node.sumGreen / n) << 8 |
                 uint32_t(node.sumBlue / n);
        return;
    }
    for (int c : node.child)
        if (c >= 0) emitFrom(c, out);
}

void PaletteOctree::emit(uint32_t* out) const {
    if (nodes_.empty()) return;
    emitFrom(0, out);
}

}  // namespace ts
