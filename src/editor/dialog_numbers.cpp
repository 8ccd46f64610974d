#include "editor/dialog_numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace ts {

namespace {

std::string trimmed(const std::string& text) {
    size_t a = text.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    size_t b = text.find_last_not_of(" \t\r\n");
    return text.substr(a, b - a + 1);
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

FieldRead readIntegerField(const std::string& text, int64_t& value) {
    std::string s = trimmed(text);
    if (s.empty()) return FieldRead::Empty;
    size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
    int base = 10;
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) base = 16, i += 2;
    else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'b' || s[i + 1] == 'B')) base = 2, i += 2;
    if (i >= s.size()) return FieldRead::Refused;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        int d = digitValue(s[i]);
        if (d >= base) return FieldRead::Refused;
        if (v > (uint64_t(INT64_MAX) - uint64_t(d)) / uint64_t(base)) return FieldRead::Refused;
        v = v * uint64_t(base) + uint64_t(d);
    }
    value = negative ? -int64_t(v) : int64_t(v);
    return FieldRead::Number;
}

FieldRead readDecimalField(const std::string& text, double& value) {
    std::string s = trimmed(text);
    if (s.empty()) return FieldRead::Empty;
    if (s.back() == '%') s = trimmed(s.substr(0, s.size() - 1));
    if (s.empty()) return FieldRead::Refused;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == '+')) return FieldRead::Refused;
    for (char& c : s)
        if (c == ',') c = '.';
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return FieldRead::Refused;
    value = v;
    return FieldRead::Number;
}

bool planeNumberList(const std::string& text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == ',' || c == ' ' || c == '\t')) return false;
    return true;
}

}  // namespace ts
