#pragma once
// The selection store: the editor's copy buffer. Up to five layers of map cells (one per plane of
// the owner's link group) plus a sixth layer that nothing fills and that stays zero, each
// 1024 x 1024 cells (a block of width w uses the first w cells of each row); for object-list
// planes one object layer per plane. One store per program: allocated when the editor first
// opens and kept afterwards.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace ts {

constexpr int kStoreSide = 1024;       // cells per layer row and rows per layer
constexpr int kStoreLayers = 6;        // five filled by copies and one of zeros
constexpr int kStoreCopyLayers = 5;    // most layers one copy fills
constexpr int kStoreZeroLayer = 5;     // the layer that nothing fills

// A rectangle in pixels, both corners inside it (right and bottom inclusive).
struct StoreRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Objects copied from an object-list plane, positions relative to the copied rectangle.
struct StoredObjects {
    int recordSize = 0;
    int count = 0;
    std::vector<uint8_t> records;  // count * recordSize bytes
};

struct SelectionStore {
    std::vector<uint32_t> cells;  // kStoreLayers * kStoreSide * kStoreSide words once allocated
    int layerCount = 0;           // layers filled by the last copy (0 to 5)
    int width = 0;                // block size in cells (0 x 0 = empty)
    int height = 0;
    StoreRect rect;               // the selection rectangle the view frames, in pixels
    int ownerPlane = -1;          // the active plane when the store was filled
    // Layer k was filled from a map (false: the k-th plane was a list or its copy failed).
    std::array<bool, kStoreCopyLayers> layerFilled{};
    std::array<StoredObjects, kStoreCopyLayers> objects;

    bool allocated() const { return !cells.empty(); }
    bool empty() const { return width <= 0 || height <= 0; }
    // Row y of a layer; layer in 0..kStoreLayers-1, y in 0..kStoreSide-1, store allocated.
    uint32_t* row(int layer, int y) { return cells.data() + (size_t(layer) * kStoreSide + size_t(y)) * kStoreSide; }
    const uint32_t* row(int layer, int y) const {
        return cells.data() + (size_t(layer) * kStoreSide + size_t(y)) * kStoreSide;
    }
};

// Allocates the layers (all zero) unless already done. False when memory is short.
bool allocateStore(SelectionStore& store);

// Empties the store: size 0 x 0, no layers, no objects. The memory stays.
void emptyStore(SelectionStore& store);

// The layer that belongs to the plane in slot `slot`: when the store holds at least two layers and
// the slot stands in `ownerGroup` (the owner's link list), its position there (or the zero layer
// when that position was not filled from a map); otherwise layer 0.
int storeLayerOf(const SelectionStore& store, std::span<const uint8_t> ownerGroup, int slot);

}  // namespace ts
