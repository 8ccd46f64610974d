#pragma once
// The platform table and the current platform's shared values.
#include <string>

namespace ts {

struct PlatformState {
    // Filled by the platforms subsystem.
    int current = 0;
};

}  // namespace ts
