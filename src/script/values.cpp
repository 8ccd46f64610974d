#include "script/values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ts {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
// Leading decimal digits, wrapping like a 32-bit accumulator would.
uint32_t decimalDigits(const char* p) {
    uint32_t v = 0;
    while (isDigit(*p)) v = v * 10u + uint32_t(*p++ - '0');
    return v;
}

// rgb(...) may nest inside rgb(...), each level reading two of its parts again: past this depth
// the inner value counts as 0, so reading a value stays linear in its length.
constexpr int kMaxValueNesting = 4;

int32_t parseValueAt(const char* text, int depth);
}  // namespace

int32_t parseValue(const char* text) { return parseValueAt(text, 0); }

namespace {
int32_t parseValueAt(const char* text, int depth) {
    if (!text) return 0;
    const char* p = text;
    if (isDigit(*p)) {
        if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0) {
            uint32_t v = 0;
            for (p += 2; hexDigit(*p) >= 0; ++p) v = (v << 4) | uint32_t(hexDigit(*p));
            return int32_t(v);
        }
        if (p[0] == '0' && (p[1] == 'b' || p[1] == 'B') && (p[2] == '0' || p[2] == '1')) {
            uint32_t v = 0;
            for (p += 2; *p == '0' || *p == '1'; ++p) v = (v << 1) | uint32_t(*p - '0');
            return int32_t(v);
        }
        return int32_t(decimalDigits(p));
    }
    if (*p == 't' || *p == 'v') return 1;
    if (*p == 'f') return 0;
    if (std::strncmp(p, "rgb", 3) == 0) {
        if (depth >= kMaxValueNesting) return 0;
        const char* q = std::strchr(p, '(');
        if (!q) return 0;
        ++q;
        while (*q == ' ' || *q == '\t') ++q;
        uint32_t r = uint32_t(parseValueAt(q, depth + 1)) % 256u;
        q = nextArgument(q);
        uint32_t g = decimalDigits(q) % 256u;
        q = nextArgument(q);
        uint32_t b = uint32_t(parseValueAt(q, depth + 1)) % 256u;
        return int32_t(r + 256u * g + 65536u * b);
    }
    return 0;
}
}  // namespace

const char* nextArgument(const char* cursor) {
    const char* p = cursor;
    int depth = 0;
    while (*p) {
        if (*p == '(') {
            ++depth;
        } else if (*p == ')') {
            if (depth == 0) break;
            --depth;
        } else if ((*p == ',' || *p == ' ') && depth == 0) {
            break;
        }
        ++p;
    }
    if (*p) ++p;
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

char* readQuotedString(char*& cursor) {
    char q = *cursor;
    if (q != '"' && q != '\'' && q != '*') return nullptr;
    char* start = cursor + 1;
    char* end = std::strchr(start, q);
    if (!end) return nullptr;
    *end = 0;
    cursor = end + 1;
    return start;
}

bool quotedArgument(char*& cursor, std::string& out, size_t max) {
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
    char* text = readQuotedString(cursor);
    if (!text) return false;
    out.assign(text, std::min(std::strlen(text), max));
    return true;
}

const char* readEscapedString(std::string& dest, const char* src, size_t size) {
    char q = *src;
    if (q != '"' && q != '\'' && q != '*') return src;
    dest.clear();
    const char* p = src + 1;
    size_t limit = size ? size - 1 : 0;
    while (*p && *p != q) {
        char c = *p++;
        if (c == '\\' && *p) {
            char e = *p++;
            if (e == 'n') {
                if (dest.size() < limit) dest += '\r';
                if (dest.size() < limit) dest += '\n';
                continue;
            }
            c = (e == 'b') ? '\b' : e;
        }
        if (dest.size() < limit) dest += c;
    }
    if (*p == q) ++p;
    return p;
}

std::string quoteString(const std::string& src, char quote, size_t size) {
    std::string out(1, quote);
    size_t limit = size >= 2 ? size - 2 : 0;
    for (char c : src) {
        std::string piece;
        if (c == '\\') piece = "\\\\";
        else if (c == '\n') piece = "\\n";
        else if (c == quote) piece = std::string("\\") + quote;
        else piece = std::string(1, c);
        if (out.size() + piece.size() > limit) break;
        out += piece;
    }
    out += quote;
    return out;
}

std::string settingsPath(const std::string& dataFile) {
    std::string s = dataFile;
    int dots = 0;
    for (size_t i = 1; i < s.size(); ++i)
        if (s[i] == '.') ++dots;
    if (dots >= 2) s.erase(s.rfind('.'));
    return s + ".spt";
}

double parseDouble(const char* text, const char** end) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    // Only the usual decimal syntax: sign, digits, fraction, exponent (no hex, inf or nan).
    const char* q = p;
    if (*q == '+' || *q == '-') ++q;
    bool digits = false;
    while (isDigit(*q)) { ++q; digits = true; }
    if (*q == '.') {
        ++q;
        while (isDigit(*q)) { ++q; digits = true; }
    }
    if (!digits) {
        if (end) *end = text;
        return 0.0;
    }
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (*e == '+' || *e == '-') ++e;
        if (isDigit(*e)) {
            while (isDigit(*e)) ++e;
            q = e;
        }
    }
    std::string number(p, q);
    if (end) *end = q;
    double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

uint32_t parseSize(const char* text) {
    const char* after = nullptr;
    double number = parseDouble(text, &after);
    std::string rest;
    for (const char* p = after; *p; ++p) rest += char(std::tolower((unsigned char)*p));
    const char letters[] = {'t', 'g', 'm', 'k', 'o'};
    const int powers[] = {4, 3, 2, 1, 0};
    double size = number;
    for (int k = 0; k < 5; ++k) {
        if (rest.find(letters[k]) != std::string::npos) {
            int i = powers[k];
            if (i > 0) size = number * std::pow(1024.0, i) + std::pow(1024.0, i - 1);
            break;
        }
    }
    if (!(size >= 0) || size >= 4294967296.0) return 0;
    return uint32_t(size);
}

std::string formatSize(uint32_t size) {
    static const char* const units[] = {"B", "kB", "MB", "GB", "TB"};
    char buffer[64];
    int i = 0;
    for (; i <= 4; ++i)
        if (double(size) < 1000.0 * std::pow(1024.0, i)) break;
    if (i > 4) {
        std::snprintf(buffer, sizeof buffer, "%i %s", int(size / (1024.0 * 1024 * 1024 * 1024)), units[4]);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%f", double(size) / std::pow(1024.0, i));
    std::string number = buffer;
    size_t dot = number.find('.');
    if (dot != std::string::npos) {
        number.erase(std::min(number.size(), dot + 4));
        while (number.back() == '0') number.pop_back();
        if (number.back() == '.') number.pop_back();
    }
    return number + " " + units[i];
}

}  // namespace ts
