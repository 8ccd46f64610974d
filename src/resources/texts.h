#pragma once
// The one table of user-visible texts. Each subsystem keeps its rows in texts/<subsystem>.inc as
// TS_TEXT(Id, "English text") lines; the French edition is a second table built from the same ids.
// Texts are Windows-1252 byte strings (spell accented letters as \xE9) and printf-style formats.

namespace ts {

enum class T : int {
#define TS_TEXT(id, text) id,
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
    Count_
};

// The text of an id in this edition.
const char* tr(T id);

}  // namespace ts
