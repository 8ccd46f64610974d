#include "resources/texts.h"

namespace ts {
namespace {
const char* const kTexts[] = {
#define TS_TEXT(id, text) text,
#include "resources/text_files.inc"
#undef TS_TEXT
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == int(T::Count_), "text table out of step");

const char* const kIdNames[] = {
#define TS_TEXT(id, text) #id,
#include "resources/text_files.inc"
#undef TS_TEXT
};
}  // namespace

const char* englishText(T id) {
    int i = int(id);
    return (i >= 0 && i < int(T::Count_)) ? kTexts[i] : "";
}

const char* textIdName(T id) {
    int i = int(id);
    return (i >= 0 && i < int(T::Count_)) ? kIdNames[i] : "";
}

}  // namespace ts
