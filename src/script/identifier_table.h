#pragma once
// The built-in identifier table of the script language, French rows first, then the English ones
// and the names common to both languages.
#include <vector>

#include "script/identifier.h"

namespace ts {

const std::vector<ScriptIdentifier>& builtinIdentifiers();

}  // namespace ts
