#include "host/text_encoding.h"

#include <cstdint>

namespace ts {
namespace {
// Code points of bytes 0x80..0x9F in Windows-1252 (0 where the code page has no character).
const uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}
}  // namespace

std::string toUtf8(const std::string& in) {
    std::string out;
    out.reserve(in.size());
    for (unsigned char c : in) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0xA0) {
            uint16_t cp = kHigh[c - 0x80];
            appendUtf8(out, cp ? cp : c);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

std::string fromUtf8(const std::string& in) { return fromUtf8(in, nullptr); }

std::string fromUtf8(const std::string& in, bool* lossless) {
    if (lossless) *lossless = true;
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        unsigned char c = in[i];
        uint32_t cp = 0;
        size_t len = 0;
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        }
        bool valid = len != 0 && i + len <= in.size();
        for (size_t k = 1; valid && k < len; ++k) {
            unsigned char d = in[i + k];
            if ((d & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (d & 0x3F);
        }
        if (!valid) {  // not UTF-8: keep the byte as it is
            out += char(c);
            ++i;
            continue;
        }
        i += len;
        if (cp >= 0xA0 && cp <= 0xFF) {
            out += char(cp);
        } else {
            char mapped = '?';
            bool found = false;
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] && kHigh[k] == cp) {
                    mapped = char(0x80 + k);
                    found = true;
                }
            if (!found && lossless) *lossless = false;
            out += mapped;
        }
    }
    return out;
}

}  // namespace ts
