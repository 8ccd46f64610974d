#include "resources/printf_arguments.h"

#include <cstdlib>
#include <cstring>

namespace ts {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The kind of argument a conversion character reads, or "" when it is none.
std::string kindOf(char conversion) {
    switch (conversion) {
        case 'd': case 'i': return "d";
        case 'o': case 'u': case 'x': case 'X': return "u";
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': return "f";
        case 'c': return "c";
        case 's': return "s";
        case 'p': return "p";
        case 'n': return "n";
        default: return "";
    }
}

struct Conversion {
    int position = 0;  // 1-based when written "%N$", else 0
    std::vector<std::string> kinds;  // "*" widths first, then the conversion itself
};

}  // namespace

std::string PrintfArguments::summary() const {
    std::string s = "(";
    for (size_t i = 0; i < kinds.size(); ++i) s += (i ? " " : "") + kinds[i];
    return s + (valid ? ")" : ") [invalid]");
}

PrintfArguments printfArguments(const char* text) {
    PrintfArguments result;
    if (!text) return result;
    std::vector<Conversion> conversions;
    const size_t n = std::strlen(text);
    for (size_t i = 0; i < n; ++i) {
        if (text[i] != '%') continue;
        if (i + 1 >= n) {
            result.valid = false;  // printf would read past the text's end
            break;
        }
        if (text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        Conversion c;
        // "%N$" positional form.
        size_t k = j;
        while (k < n && isDigit(text[k])) ++k;
        if (k > j && k < n && text[k] == '$') {
            c.position = std::atoi(std::string(text + j, k - j).c_str());
            j = k + 1;
        }
        while (j < n && std::strchr("-+#0'", text[j])) ++j;  // flags (a blank is not taken as one)
        if (j < n && text[j] == '*') {
            c.kinds.push_back("d");
            ++j;
        }
        while (j < n && isDigit(text[j])) ++j;
        if (j < n && text[j] == '.') {
            ++j;
            if (j < n && text[j] == '*') {
                c.kinds.push_back("d");
                ++j;
            }
            while (j < n && isDigit(text[j])) ++j;
        }
        std::string length;
        while (j < n && std::strchr("hlLqjzt", text[j])) length += text[j++];
        const std::string kind = j < n ? kindOf(text[j]) : "";
        if (kind.empty()) {
            if (c.position) result.valid = false;  // "%1$" must be a conversion
            continue;                              // a plain percent sign
        }
        c.kinds.push_back(length + kind);
        conversions.push_back(c);
        i = j;
    }

    bool positional = false, plain = false;
    for (const Conversion& c : conversions) (c.position ? positional : plain) = true;
    if (positional && plain) {
        result.valid = false;
        return result;
    }
    if (!positional) {
        for (const Conversion& c : conversions)
            result.kinds.insert(result.kinds.end(), c.kinds.begin(), c.kinds.end());
        return result;
    }
    // Positional: argument N is read by every "%N$" conversion, each with one kind.
    for (const Conversion& c : conversions) {
        if (c.kinds.size() != 1 || c.position < 1 || c.position > 64) {
            result.valid = false;  // "*" in a positional conversion is not used by these texts
            continue;
        }
        if (size_t(c.position) > result.kinds.size()) result.kinds.resize(size_t(c.position));
        std::string& slot = result.kinds[size_t(c.position) - 1];
        if (!slot.empty() && slot != c.kinds[0]) result.valid = false;
        slot = c.kinds[0];
    }
    for (const std::string& k : result.kinds)
        if (k.empty()) result.valid = false;
    return result;
}

}  // namespace ts
