// The French table, built by id from texts/fr/*.inc. Those files hold TS_TEXT(Id, "texte") lines
// with the English files' ids in any order; an id they do not give yet falls back to English.
#include <array>
#include <cstddef>

#include "resources/texts.h"

namespace ts {
namespace {

struct FrenchRow {
    T id;
    const char* text;
};

constexpr FrenchRow kRows[] = {
#define TS_TEXT(id, text) {T::id, text},
#include "resources/fr_text_files.inc"
#undef TS_TEXT
    {T::Count_, nullptr}  // keeps the array non-empty whatever the files hold
};

constexpr std::size_t kCount = std::size_t(T::Count_);

constexpr std::array<const char*, kCount> kTable = [] {
    std::array<const char*, kCount> table{};
    for (const FrenchRow& row : kRows)
        if (std::size_t(row.id) < kCount) table[std::size_t(row.id)] = row.text;
    return table;
}();

constexpr std::array<unsigned char, kCount> kRowCounts = [] {
    std::array<unsigned char, kCount> counts{};
    for (const FrenchRow& row : kRows)
        if (std::size_t(row.id) < kCount && counts[std::size_t(row.id)] < 255) ++counts[std::size_t(row.id)];
    return counts;
}();

}  // namespace

const char* frenchTextOrNull(T id) {
    std::size_t i = std::size_t(id);
    return i < kCount ? kTable[i] : nullptr;
}

const char* frenchText(T id) {
    const char* text = frenchTextOrNull(id);
    return text ? text : englishText(id);
}

int frenchRowCount(T id) {
    std::size_t i = std::size_t(id);
    return i < kCount ? kRowCounts[i] : 0;
}

}  // namespace ts
