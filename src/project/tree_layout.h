#pragma once
// Where the main window's tree shows each record of the element table: the five branches, the
// folders and the elements, found in passes so that a record may lie in a folder defined later.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

struct App;

// The branches, in the order the tree shows them, and the element type each holds.
constexpr int kBranchCount = 5;
constexpr std::array<uint32_t, kBranchCount> kBranchTypes = {3, 1, 7, 6, 4};  // tilesets, maps, lists, palettes, bitmaps
// The branch of an element type, or -1 for a type without one.
int branchOfType(uint32_t type);

// A record's parent in the tree: the top, a branch, or a folder record.
constexpr int kParentTop = -1;
constexpr int kNotShown = -1000;
inline int branchParent(int branch) { return -2 - branch; }
inline bool isBranchParent(int parent) { return parent <= -2 && parent > -2 - kBranchCount; }
inline int branchOfParent(int parent) { return -2 - parent; }

struct TreeLayout {
    std::vector<int> parent;  // per record: kParentTop, branchParent(b), a folder record's index, or kNotShown
    std::vector<int> order;   // record indices in the order their nodes are inserted
};

// The tree as the passes build it: repeated passes over the table in table order until one
// inserts nothing; a record waits while its folder has no node; records whose folder never gets
// one stay out of the tree.
TreeLayout layoutTree(const App& app);

// True when `folder` is the folder record `ancestor` or lies (at any depth) inside it.
bool folderIsInside(const App& app, int folder, int ancestor);

}  // namespace ts
