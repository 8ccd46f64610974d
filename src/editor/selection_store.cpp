#include "editor/selection_store.h"

#include <algorithm>
#include <new>

namespace ts {

bool allocateStore(SelectionStore& store) {
    if (store.allocated()) return true;
    try {
        store.cells.assign(size_t(kStoreLayers) * kStoreSide * kStoreSide, 0u);
    } catch (const std::bad_alloc&) {
        store.cells.clear();
        return false;
    }
    return true;
}

void emptyStore(SelectionStore& store) {
    store.layerCount = 0;
    store.width = 0;
    store.height = 0;
    store.layerFilled.fill(false);
    for (StoredObjects& objects : store.objects) {
        objects.count = 0;
        objects.records.clear();
    }
}

int storeLayerOf(const SelectionStore& store, std::span<const uint8_t> ownerGroup, int slot) {
    if (store.layerCount < 2) return 0;
    for (size_t k = 0; k < ownerGroup.size() && ownerGroup[k] != 255; ++k) {
        if (ownerGroup[k] != slot) continue;
        if (int(k) >= store.layerCount || k >= size_t(kStoreCopyLayers) || !store.layerFilled[k])
            return kStoreZeroLayer;
        return int(k);
    }
    return 0;
}

}  // namespace ts
