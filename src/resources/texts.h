#pragma once
// The one table of user-visible texts. Each subsystem keeps its rows in texts/<subsystem>.inc as
// TS_TEXT(Id, "English text") lines; the French edition is a second table built from the same ids.
// Texts are Windows-1252 byte strings (spell accented letters as \xE9) and printf-style formats.

namespace ts {

enum class T : int {
#define TS_TEXT(id, text) id,
#include "resources/text_files.inc"
#undef TS_TEXT
    Count_
};

// The text of an id in this edition. The edition is chosen when the program is linked: the
// English program links edition_en.cpp, the French one edition_fr.cpp.
const char* tr(T id);

enum class Edition { English, French };
// The edition this program was linked with.
Edition edition();

// Both editions' tables, for the checks that compare them and for the tests.
const char* englishText(T id);
// The French text of an id, or nullptr while the French files do not hold it yet.
const char* frenchTextOrNull(T id);
// The French text of an id; the English one while no French text exists, so that a missing
// translation shows English instead of failing.
const char* frenchText(T id);
// How many lines of the French files give this id (1 when all is well).
int frenchRowCount(T id);
// The id's name as it is spelled in the text files ("MenuFile").
const char* textIdName(T id);

}  // namespace ts
