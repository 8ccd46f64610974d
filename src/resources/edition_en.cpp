// The English edition: linked into build/tilesmithery and its window module.
#include "resources/texts.h"

namespace ts {

const char* tr(T id) { return englishText(id); }

Edition edition() { return Edition::English; }

}  // namespace ts
