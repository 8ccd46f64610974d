#pragma once
// "Blocks copy" (the context menu's "Moving..."): copy a block of the maps into the selection
// store, move a block, or fill a rectangle with the store's content, by typed coordinates.
#include <string>

#include "editor/selection_operations.h"

namespace ts {

struct App;

constexpr int kStarSize = 1024;  // what a size field holding "*" means

// The dialog's fields as typed (cells, decimal; a size may be "*").
struct BlocksCopyFields {
    std::string sourceX, sourceY;
    std::string width, height;
    std::string destinationX, destinationY;
    bool onlyActive = false;  // "Only on the active plane"
};

// The dialog's OK. Changes end with a group snapshot; a message keeps the dialog open.
DialogOutcome runBlocksCopy(App& app, const BlocksCopyFields& fields);

}  // namespace ts
