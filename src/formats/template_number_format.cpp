// Number formats: how one element value is written ("0x%04x, ") and read back.
#include <algorithm>
#include <cstring>

#include "formats/template_reader.h"
#include "formats/template_writer.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

// A conversion after '%': optional width ("0" and a digit, or a digit 1-9) and its letter.
struct Conversion {
    bool zeroPad = false;
    int width = 0;
    char letter = 0;  // 0 when the format ended before the letter
    size_t next = 0;  // format position after the letter
};

Conversion parseConversion(std::string_view format, size_t i) {
    Conversion c;
    const size_t n = format.size();
    if (i < n && format[i] == '0') {
        c.zeroPad = true;
        ++i;
        if (i < n && format[i] >= '0' && format[i] <= '9') c.width = format[i++] - '0';
    } else if (i < n && format[i] >= '1' && format[i] <= '9') {
        c.width = format[i++] - '0';
    }
    if (i < n) c.letter = format[i++];
    c.next = i;
    return c;
}

// Appends the digits of `value` padded to the width, as printf's %i, %x or %X would.
size_t formatNumber(char* out, const Conversion& c, uint32_t value) {
    char digits[16];
    size_t count = 0;
    bool negative = false;
    if (c.letter == 'i') {
        int32_t v = int32_t(value);
        negative = v < 0;
        uint32_t magnitude = negative ? 0u - value : value;
        do {
            digits[count++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
    } else {
        const char* table = c.letter == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        do {
            digits[count++] = table[value & 15];
            value >>= 4;
        } while (value);
    }
    size_t length = count + (negative ? 1 : 0);
    size_t pad = size_t(c.width) > length ? size_t(c.width) - length : 0;
    size_t k = 0;
    if (!c.zeroPad)
        for (size_t p = 0; p < pad; ++p) out[k++] = ' ';
    if (negative) out[k++] = '-';
    if (c.zeroPad)
        for (size_t p = 0; p < pad; ++p) out[k++] = '0';
    while (count) out[k++] = digits[--count];
    return k;
}

int hexDigit(char c, char letter) {
    if (c >= '0' && c <= '9') return c - '0';
    if (letter == 'x' && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (letter == 'X' && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

uint32_t rawValue(const char* bytes, int width) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    switch (width) {
        case 1: return uint32_t(int32_t(int8_t(b[0])));
        case 2: return uint32_t(int32_t(int16_t(uint16_t(b[0] | (b[1] << 8)))));
        default: return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
}

}  // namespace

NumberFormat::NumberFormat(std::string_view format) {
    auto literal = [&](const char* text, size_t n) {
        if (!steps_.empty() && steps_.back().kind == Kind::Literal) {
            steps_.back().length += uint32_t(n);
        } else {
            steps_.push_back(Step{Kind::Literal, 0, false, 0, uint32_t(literals_.size()), uint32_t(n)});
        }
        literals_.append(text, n);
    };
    size_t i = 0;
    const size_t n = format.size();
    while (i < n) {
        if (format[i] != '%') {
            size_t j = i + 1;
            while (j < n && format[j] != '%') ++j;
            literal(format.data() + i, j - i);
            i = j;
            continue;
        }
        Conversion c = parseConversion(format, i + 1);
        i = c.next;
        switch (c.letter) {
            case 'i':
            case 'x':
            case 'X': steps_.push_back(Step{Kind::Number, c.letter, c.zeroPad, uint8_t(c.width), 0, 0}); break;
            case 'b':
                if (c.width != 1 && c.width != 2 && c.width != 4)
                    steps_.push_back(Step{Kind::BadBytes, 0, false, 0, 0, 0});
                else
                    steps_.push_back(Step{Kind::Bytes, 0, false, uint8_t(c.width), 0, 0});
                break;
            case '%': literal("%", 1); break;
            default: break;  // an unknown conversion writes nothing
        }
    }
}

void NumberFormat::cacheValuesBelow(App& app, uint32_t count) {
    count = std::min<uint32_t>(count, 256);
    if (count <= cachedCount_) return;
    for (const Step& step : steps_)
        if (step.kind == Kind::BadBytes) return;
    TemplateOutput texts;
    std::vector<uint32_t> ends{0};
    for (uint32_t v = 0; v < count; ++v) {
        writeSteps(app, texts, v);
        ends.push_back(uint32_t(texts.bytes.size()));
    }
    cachedTexts_ = std::move(texts.bytes);
    cachedEnds_ = std::move(ends);
    cachedCount_ = count;
}

void NumberFormat::writeSteps(App& app, TemplateOutput& out, uint32_t value) const {
    char buffer[64];
    size_t used = 0;
    auto flush = [&] {
        out.put(buffer, used);
        used = 0;
    };
    for (const Step& step : steps_) {
        switch (step.kind) {
            case Kind::Literal:
                if (used + step.length > sizeof buffer) {
                    flush();
                    if (step.length > sizeof buffer) {
                        out.put(literals_.data() + step.begin, step.length);
                        break;
                    }
                }
                // Literals are a few bytes: a plain loop beats a call to memcpy.
                for (uint32_t k = 0; k < step.length; ++k) buffer[used++] = literals_[step.begin + k];
                break;
            case Kind::Number: {
                if (used > sizeof buffer - 20) flush();
                Conversion c;
                c.zeroPad = step.zeroPad;
                c.width = step.width;
                c.letter = step.letter;
                used += formatNumber(buffer + used, c, value);
                break;
            }
            case Kind::Bytes:
                if (used > sizeof buffer - 20) flush();
                for (int k = 0; k < step.width; ++k) buffer[used++] = char((value >> (8 * k)) & 0xFF);
                break;
            case Kind::BadBytes:
                flush();
                showBox(hostServices(app), tr(T::CaptionError), formatWithoutValues(tr(T::TemplateBinaryTypeError)),
                        Icon::Warning);
                break;
        }
    }
    flush();
}

void writeElement(App& app, TemplateOutput& out, std::string_view format, uint32_t value) {
    NumberFormat(format).write(app, out, value);
}

size_t readElement(App& app, const char* data, size_t length, size_t position, std::string_view format,
                   uint32_t& value) {
    value = 0;
    if (position >= length) return length + 1;
    size_t p = position;
    size_t i = 0;
    const size_t n = format.size();
    while (i < n && p <= length) {
        char ch = format[i];
        if (ch != '%') {
            if (p >= length || data[p] != ch) break;
            ++p;
            ++i;
            continue;
        }
        Conversion c = parseConversion(format, i + 1);
        i = c.next;
        if (c.letter == 'i') {
            uint32_t v = 0;
            size_t start = p;
            while (p < length && data[p] >= '0' && data[p] <= '9') v = v * 10 + uint32_t(data[p++] - '0');
            if (p > start) value = v;
        } else if (c.letter == 'x' || c.letter == 'X') {
            uint32_t v = 0;
            size_t start = p;
            int d;
            while (p < length && (d = hexDigit(data[p], c.letter)) >= 0) {
                v = (v << 4) | uint32_t(d);
                ++p;
            }
            if (p > start) value = v;
        } else if (c.letter == 'b') {
            size_t available = length - p;
            if (c.width != 1 && c.width != 2 && c.width != 4) {
                showBox(hostServices(app), tr(T::CaptionDebugging), tr(T::ReaderBinaryTipingError));
                p += std::min(size_t(c.width), available);
                continue;
            }
            if (available < size_t(c.width)) break;
            value = rawValue(data + p, c.width);
            p += size_t(c.width);
        }
        // Any other conversion letter is skipped.
    }
    if (p == position) return length + 1;
    return p;
}

}  // namespace ts
