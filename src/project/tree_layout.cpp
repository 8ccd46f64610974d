#include "project/tree_layout.h"

#include <unordered_map>

#include "project/element_table.h"
#include "project/element_types.h"

namespace ts {

int branchOfType(uint32_t type) {
    for (int b = 0; b < kBranchCount; ++b)
        if (kBranchTypes[size_t(b)] == type) return b;
    return -1;
}

namespace {

// The parent a record asks for before the passes know whether it exists: a branch or the top
// directly, or the folder record named (`folderIndex`, -1 when no folder has that name).
int wantedParent(const ElementRecord& record, const std::unordered_map<std::string, int>& folders, int& folderIndex) {
    folderIndex = -1;
    if (!record.inFolder()) {
        if (record.isFolder()) return kParentTop;
        int branch = branchOfType(record.type());
        return branch < 0 ? kNotShown : branchParent(branch);
    }
    int root = rootFolderType(record.folder);
    if (root == 0) return kParentTop;
    if (root > 0) {
        int branch = branchOfType(uint32_t(root));
        return branch < 0 ? kNotShown : branchParent(branch);
    }
    auto it = folders.find(record.folder);
    if (it != folders.end()) folderIndex = it->second;
    return kNotShown;
}

}  // namespace

TreeLayout layoutTree(const App& app) {
    const auto& records = elementTable(app).records;
    const int n = int(records.size());
    // The first folder record of each name stands for that name.
    std::unordered_map<std::string, int> folders;
    folders.reserve(64);
    for (int i = 0; i < n; ++i)
        if (records[size_t(i)].isFolder()) folders.emplace(records[size_t(i)].name, i);

    TreeLayout layout;
    layout.parent.assign(size_t(n), kNotShown);
    layout.order.reserve(size_t(n));
    std::vector<char> placed(size_t(n), 0);
    // What each record asks for: a fixed parent, or a folder record (-1: none, never shown).
    std::vector<int> fixedParent(size_t(n), kNotShown), folderOf(size_t(n), -1);
    for (int i = 0; i < n; ++i) fixedParent[size_t(i)] = wantedParent(records[size_t(i)], folders, folderOf[size_t(i)]);
    // Passes in table order until one inserts nothing; a record whose folder already has its node
    // (from this pass or an earlier one) is inserted under it.
    for (bool inserted = true; inserted;) {
        inserted = false;
        for (int i = 0; i < n; ++i) {
            if (placed[size_t(i)]) continue;
            int parent = fixedParent[size_t(i)];
            if (parent == kNotShown) {
                int folder = folderOf[size_t(i)];
                if (folder < 0 || folder == i || !placed[size_t(folder)]) continue;
                parent = folder;
            }
            layout.parent[size_t(i)] = parent;
            placed[size_t(i)] = 1;
            layout.order.push_back(i);
            inserted = true;
        }
    }
    return layout;
}

bool folderIsInside(const App& app, int folder, int ancestor) {
    const auto& records = elementTable(app).records;
    std::unordered_map<std::string, int> folders;
    for (int i = 0; i < int(records.size()); ++i)
        if (records[size_t(i)].isFolder()) folders.emplace(records[size_t(i)].name, i);
    // Walk up from `folder`; a loop in the folder fields ends the walk.
    for (int steps = 0; folder >= 0 && steps <= int(records.size()); ++steps) {
        if (folder == ancestor) return true;
        const ElementRecord& r = records[size_t(folder)];
        if (!r.inFolder()) return false;
        auto it = folders.find(r.folder);
        folder = it == folders.end() ? -1 : it->second;
    }
    return false;
}

}  // namespace ts
