#include "resources/texts.h"

namespace ts {
namespace {
const char* const kTexts[] = {
#define TS_TEXT(id, text) text,
#include "resources/texts/common.inc"
#include "resources/texts/startup.inc"
#include "resources/texts/script.inc"
#include "resources/texts/project.inc"
#include "resources/texts/formats.inc"
#include "resources/texts/platforms.inc"
#include "resources/texts/images.inc"
#include "resources/texts/convert.inc"
#include "resources/texts/editor.inc"
#include "resources/texts/compression.inc"
#include "resources/texts/editor_document.inc"
#include "resources/texts/editor_view.inc"
#include "resources/texts/forms.inc"
#include "resources/texts/window.inc"
#include "resources/texts/editor_window.inc"
#include "resources/texts/editor_dialogs.inc"
#undef TS_TEXT
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == int(T::Count_), "text table out of step");
}  // namespace

const char* tr(T id) {
    int i = int(id);
    return (i >= 0 && i < int(T::Count_)) ? kTexts[i] : "";
}

}  // namespace ts
