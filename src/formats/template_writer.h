#pragma once
// The output template writer. Templates and number formats are written into a TemplateOutput,
// a byte buffer with a write position: a backspace in a template moves the position one byte
// back, so the next byte written replaces the last one (a byte stepped over and never
// overwritten stays). The caller writes `bytes` to the data file at the end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/template_object_fields.h"

namespace ts {

struct App;

struct TemplateOutput {
    std::string bytes;    // everything written so far (the file's content)
    size_t position = 0;  // where the next byte goes (<= bytes.size())

    void put(char c) {
        if (position == bytes.size()) bytes.push_back(c);
        else bytes[position] = c;
        ++position;
    }
    void put(const char* text, size_t n) {
        if (position == bytes.size()) {
            bytes.append(text, n);
            position += n;
        } else {
            overwrite(text, n);
        }
    }
    void put(std::string_view text) { put(text.data(), text.size()); }
    void stepBack() { if (position > 0) --position; }
    void clear() { bytes.clear(); position = 0; }

private:
    void overwrite(const char* text, size_t n);  // put() after a step back
};

// Writes a template: variables expanded (`%name%`, `%$name%` hexadecimal, `%#N name%` N raw
// bytes, `%user[n]%`, `%null%`), `%+else%` skips to after the next `%+end...%`, other control
// words write nothing, a backspace steps back. Carriage returns are written only when
// keepCarriageReturns (data files keep them, the reference index file drops them). With an
// object, `%obj.<field>%` writes a field of that list entry. Unknown names are reported
// ("Error" box) and write nothing; the writer never stops.
void writeTemplate(App& app, TemplateOutput& out, std::string_view templ, bool keepCarriageReturns = true,
                   const ObjectFieldAccess* object = nullptr);

// Writes one value with a number format: `%i`, `%x`, `%X` with an optional width ("%04x",
// "%2i"), `%Nb` the low N bytes little-endian (N = 1, 2, 4); other characters as they stand.
void writeElement(App& app, TemplateOutput& out, std::string_view numberFormat, uint32_t value);

// A number format read once, for writing many values with it (writes exactly what
// writeElement with the format text writes, warnings included).
class NumberFormat {
public:
    explicit NumberFormat(std::string_view format);
    void write(App& app, TemplateOutput& out, uint32_t value) const {
        if (value < cachedCount_) {
            out.put(cachedTexts_.data() + cachedEnds_[value], cachedEnds_[value + 1] - cachedEnds_[value]);
            return;
        }
        writeSteps(app, out, value);
    }
    // For writers of many small values (pixels of up to 8 bits): the texts of the values below
    // `count` (at most 256) are made once. A format that reports an error is never cached.
    void cacheValuesBelow(App& app, uint32_t count);

private:
    void writeSteps(App& app, TemplateOutput& out, uint32_t value) const;

    enum class Kind : uint8_t { Literal, Number, Bytes, BadBytes };
    struct Step {
        Kind kind;
        char letter;       // Number: 'i', 'x' or 'X'
        bool zeroPad;
        uint8_t width;     // Number: minimum width; Bytes: 1, 2 or 4
        uint32_t begin;    // Literal: its text in literals_
        uint32_t length;
    };
    std::string literals_;
    std::vector<Step> steps_;
    uint32_t cachedCount_ = 0;
    std::string cachedTexts_;
    std::vector<uint32_t> cachedEnds_;  // text of value v: [cachedEnds_[v], cachedEnds_[v + 1])
};

// Convenience for small texts and tests: expands a template into a new string.
std::string expandTemplate(App& app, std::string_view templ, bool keepCarriageReturns = true,
                           const ObjectFieldAccess* object = nullptr);

}  // namespace ts
