#pragma once
// Pieces of the template syntax shared by the writer and the reader: the text between two '%'
// (a directive), control words, the `$` / `#N` prefix of variable references, and skipping
// forward to a given control word.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/format_state.h"

namespace ts {

// A directive starting at templ[open] == '%'. `text` is at most kDirectiveMax characters;
// `next` is the template position after its closing '%' (the template's end when unclosed).
struct Directive {
    std::string_view text;
    size_t next = 0;
};

inline Directive directiveAt(std::string_view templ, size_t open) {
    size_t start = open + 1;
    if (start > templ.size()) start = templ.size();
    size_t close = templ.find('%', start);
    size_t end = close == std::string_view::npos ? templ.size() : close;
    Directive d;
    d.text = templ.substr(start, end - start);
    if (d.text.size() > kDirectiveMax) d.text = d.text.substr(0, kDirectiveMax);
    d.next = close == std::string_view::npos ? templ.size() : close + 1;
    return d;
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

inline bool isControlWord(std::string_view directive) { return !directive.empty() && directive[0] == '+'; }

// Moves from template position `from` (outside any directive) to just after the next directive
// whose text starts with `prefix`; the template's end when there is none.
inline size_t skipPastDirective(std::string_view templ, size_t from, std::string_view prefix) {
    size_t pos = from;
    while (pos < templ.size()) {
        size_t open = templ.find('%', pos);
        if (open == std::string_view::npos) break;
        Directive d = directiveAt(templ, open);
        if (startsWith(d.text, prefix)) return d.next;
        pos = d.next;
    }
    return templ.size();
}

// The control word that opens a branch written and read only for packed data (a tileset, map or
// bitmap written with LZ77 or run-length packing). A false branch ends at the next `+else` or
// `+end`, whichever comes first.
constexpr std::string_view kIfPacked = "+ifpacked";

// Moves from `from` to just after the next directive that starts with "+else" or "+end".
inline size_t skipPastBranch(std::string_view templ, size_t from) {
    size_t pos = from;
    while (pos < templ.size()) {
        size_t open = templ.find('%', pos);
        if (open == std::string_view::npos) break;
        Directive d = directiveAt(templ, open);
        if (startsWith(d.text, "+else") || startsWith(d.text, "+end")) return d.next;
        pos = d.next;
    }
    return templ.size();
}

enum class ValuePrefix { Decimal, Hex, Binary };

// A variable reference split into its prefix and name ("$gfxmask", "#2 size", "name").
struct VariableReference {
    ValuePrefix prefix = ValuePrefix::Decimal;
    int width = 0;  // byte count of a binary reference
    std::string_view name;
};

inline VariableReference parseVariableReference(std::string_view directive) {
    VariableReference r;
    size_t k = 0;
    if (!directive.empty() && directive[0] == '$') {
        r.prefix = ValuePrefix::Hex;
        k = 1;
    } else if (directive.size() >= 2 && directive[0] == '#' && directive[1] >= '0' && directive[1] <= '9') {
        r.prefix = ValuePrefix::Binary;
        r.width = directive[1] - '0';
        k = 2;
    }
    while (k < directive.size() && (directive[k] == ' ' || directive[k] == '\t')) ++k;
    r.name = directive.substr(k);
    return r;
}

}  // namespace ts
