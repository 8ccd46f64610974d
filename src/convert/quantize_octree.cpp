#include "convert/quantize_octree.h"

#include <algorithm>

namespace ts {

Octree::Octree(int maxLeaves) : maxLeaves_(std::max(maxLeaves, 1)) {
    root_ = newNode(false);
    levels_[0].push_back(root_);
}

int32_t Octree::newNode(bool leaf) {
    int32_t index;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else {
        index = int32_t(nodes_.size());
        nodes_.emplace_back();
    }
    Node& n = nodes_[size_t(index)];
    std::fill(std::begin(n.child), std::end(n.child), -1);
    n.count = n.red = n.green = n.blue = 0;
    n.leaf = leaf;
    return index;
}

void Octree::freeNode(int32_t index) { free_.push_back(index); }

void Octree::insert(uint8_t red, uint8_t green, uint8_t blue) {
    int32_t node = root_;
    for (int level = 0; level < 8 && !nodes_[size_t(node)].leaf; ++level) {
        const int shift = 7 - level;
        const int c = ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1);
        int32_t next = nodes_[size_t(node)].child[c];
        if (next < 0) {
            const bool leaf = level == 7;
            next = newNode(leaf);  // may reallocate nodes_
            nodes_[size_t(node)].child[c] = next;
            if (leaf) ++leaves_;
            else levels_[level + 1].push_back(next);
        }
        node = next;
    }
    Node& n = nodes_[size_t(node)];
    n.count += 1;
    n.red += red;
    n.green += green;
    n.blue += blue;
    while (leaves_ > maxLeaves_) reduce();
}

void Octree::reduce() {
    for (int level = 7; level >= 0; --level) {
        if (levels_[level].empty()) continue;
        const int32_t index = levels_[level].back();
        levels_[level].pop_back();
        Node& n = nodes_[size_t(index)];
        int children = 0;
        for (int32_t& c : n.child) {
            if (c < 0) continue;
            const Node& child = nodes_[size_t(c)];
            n.count += child.count;
            n.red += child.red;
            n.green += child.green;
            n.blue += child.blue;
            freeNode(c);
            c = -1;
            ++children;
        }
        n.leaf = true;
        leaves_ -= children - 1;
        return;
    }
    leaves_ = std::min(leaves_, maxLeaves_);  // only the root is left: nothing more to merge
}

void Octree::emit(int32_t node, std::vector<uint32_t>& out) const {
    const Node& n = nodes_[size_t(node)];
    if (n.leaf) {
        if (n.count == 0) return;
        out.push_back(0xFF000000u | uint32_t(n.red / n.count) << 16 | uint32_t(n.green / n.count) << 8 |
                      uint32_t(n.blue / n.count));
        return;
    }
    for (int32_t c : n.child)
        if (c >= 0) emit(c, out);
}

std::vector<uint32_t> Octree::palette() const {
    std::vector<uint32_t> out;
    out.reserve(size_t(leaves_));
    emit(root_, out);
    return out;
}

}  // namespace ts
