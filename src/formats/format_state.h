#pragma once
// The format table, the current format and the template variables.
#include <string>
#include <vector>

namespace ts {

struct FormatState {
    // Filled by the formats subsystem.
    std::string currentName = "Standard";
};

}  // namespace ts
