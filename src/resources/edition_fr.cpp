// The French edition: linked into build/tilesmithery-fr and its window module.
#include "resources/texts.h"

namespace ts {

const char* tr(T id) { return frenchText(id); }

Edition edition() { return Edition::French; }

}  // namespace ts
