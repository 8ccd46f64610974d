#pragma once
// Parameter models of object lists.
#include <string>
#include <vector>

namespace ts {

struct ModelTable {
    // Filled by the object-list subsystem.
    int current = 0;
};

}  // namespace ts
