#include "formats/template_reader.h"

#include <cstring>
#include <string>

#include "formats/template_directive.h"
#include "formats/template_variables.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

constexpr size_t kNotFound = std::string_view::npos;
constexpr size_t kConditionMax = 99;
constexpr size_t kRecoveryMinimum = 4;  // shortest fixed text recovery may resynchronise on

void debugBox(App& app, const std::string& text) { showBox(hostServices(app), tr(T::CaptionDebugging), text); }

// First occurrence of `needle` in data[from..length); kNotFound when none. An empty needle is
// found at `from`.
size_t findText(const char* data, size_t length, size_t from, std::string_view needle) {
    if (from > length) return kNotFound;
    if (needle.empty()) return from;
    if (needle.size() > length - from) return kNotFound;
    const void* hit = memmem(data + from, length - from, needle.data(), needle.size());
    return hit ? size_t(static_cast<const char*>(hit) - data) : kNotFound;
}

bool dataStartsWith(const char* data, size_t length, size_t at, std::string_view text) {
    return at <= length && text.size() <= length - at && std::memcmp(data + at, text.data(), text.size()) == 0;
}

// The fixed text of the template from `t` up to the next '%' (or the end).
struct Segment {
    std::string_view text;
    size_t end = 0;             // template position of the '%' or the template's end
    bool followedByDirective = false;
};

Segment segmentAt(std::string_view templ, size_t t) {
    Segment s;
    if (t > templ.size()) t = templ.size();
    size_t e = templ.find('%', t);
    s.followedByDirective = e != std::string_view::npos;
    s.end = s.followedByDirective ? e : templ.size();
    s.text = templ.substr(t, s.end - t);
    return s;
}

// Recovery: the first later template position (directives skipped over) whose text up to the
// next '%' is at least kRecoveryMinimum characters long and occurs in the data at or after
// `from`. Gives the template position and the data position, or false.
bool findResynchronisation(std::string_view templ, size_t t, const char* data, size_t length, size_t from,
                           size_t& templatePos, size_t& dataPos) {
    size_t pos = t + 1;
    while (pos < templ.size()) {
        if (templ[pos] == '%') {
            pos = directiveAt(templ, pos).next;
            continue;
        }
        Segment s = segmentAt(templ, pos);
        if (s.text.size() < kRecoveryMinimum) {
            pos = s.end;
            continue;
        }
        // The candidates from this text are its tails, longest first. When a tail occurs, every
        // shorter one does too, so the longest occurring tail is found by bisection.
        size_t shortestHit = findText(data, length, from, s.text.substr(s.text.size() - kRecoveryMinimum));
        if (shortestHit == kNotFound) {
            pos = s.end;
            continue;
        }
        size_t good = kRecoveryMinimum, goodHit = shortestHit;  // longest tail known to occur
        size_t bad = s.text.size() + 1;                           // shortest tail known not to
        while (bad - good > 1) {
            size_t mid = good + (bad - good) / 2;
            size_t hit = findText(data, length, from, s.text.substr(s.text.size() - mid));
            if (hit != kNotFound) {
                good = mid;
                goodHit = hit;
            } else {
                bad = mid;
            }
        }
        templatePos = s.end - good;
        dataPos = goodHit;
        return true;
    }
    return false;
}

int32_t parseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = v * 10 + uint32_t(text[i++] - '0');
    return int32_t(negative ? 0u - v : v);
}

int32_t parseHex(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
    uint32_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) break;
        v = (v << 4) | uint32_t(d);
    }
    return int32_t(negative ? 0u - v : v);
}

// N raw bytes, little-endian; 1 and 2 bytes are signed. Missing bytes count as zero.
int32_t parseRaw(std::string_view text, int width) {
    unsigned char b[4] = {0, 0, 0, 0};
    for (int i = 0; i < width && size_t(i) < text.size(); ++i) b[i] = static_cast<unsigned char>(text[size_t(i)]);
    if (width == 1) return int8_t(b[0]);
    if (width == 2) return int16_t(uint16_t(b[0] | (b[1] << 8)));
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

}  // namespace

void assignTemplateVariable(App& app, std::string_view name, std::string_view captured,
                            const ObjectFieldAccess* object) {
    if (captured.size() > kCaptureMax) captured = captured.substr(0, kCaptureMax);
    VariableReference ref = parseVariableReference(name);
    int32_t value = 0;
    switch (ref.prefix) {
        case ValuePrefix::Decimal: value = parseDecimal(captured); break;
        case ValuePrefix::Hex: value = parseHex(captured); break;
        case ValuePrefix::Binary:
            if (ref.width != 1 && ref.width != 2 && ref.width != 4) {
                debugBox(app, tr(T::ReaderBinaryTipingError));
                return;
            }
            value = parseRaw(captured, ref.width);
            break;
    }
    if (object && startsWith(ref.name, "obj.")) {
        if (object->assign) object->assign(ref.name.substr(4), captured, value);
        return;
    }
    int user = userIndexOf(ref.name);
    if (user >= 0) {
        if (std::string* buffer = userBuffer(app, user)) buffer->assign(captured.substr(0, kUserTextMax));
        return;
    }
    if (ref.name == "null") return;
    for (TemplateVariable& row : formatState(app).variables) {
        if (row.name != ref.name) continue;
        switch (row.kind) {
            case TemplateVariableKind::Integer: row.integer = value; break;
            case TemplateVariableKind::ExternalInteger:
                if (row.external) *row.external = value;
                break;
            case TemplateVariableKind::Text:
                if (row.textSet) row.text.assign(captured);
                break;
        }
    }
}

size_t matchTemplate(App& app, const char* data, size_t length, size_t position, std::string_view templ,
                     const ObjectFieldAccess* object) {
    if (!data) length = 0;
    if (position > length) return length + 1;
    size_t t = 0;
    while (t < templ.size() && templ[t] == '\b') ++t;
    size_t p = position;

    // Whatever stands in front of the first fixed text is skipped.
    {
        size_t hit = findText(data, length, p, segmentAt(templ, t).text);
        p = hit == kNotFound ? length : hit;
    }

    // The first %+ifpacked% decides, from the data, whether they are packed; later ones repeat it.
    enum class PackedBranch { Undecided, Taken, Skipped } packedBranch = PackedBranch::Undecided;

    for (;;) {
        Segment fixed = segmentAt(templ, t);
        if (!fixed.followedByDirective) {
            // The template's last fixed text is not compared.
            p += fixed.text.size();
            return p > length ? length + 1 : p;
        }
        if (!dataStartsWith(data, length, p, fixed.text)) {
            debugBox(app, tr(T::ReaderFormatMismatch));
            return length + 1;
        }
        p += fixed.text.size();

        Directive d = directiveAt(templ, fixed.end);
        t = d.next;
        bool control = isControlWord(d.text);
        if (control) {
            if (d.text == kIfPacked) {
                if (packedBranch == PackedBranch::Undecided) {
                    std::string_view marker = segmentAt(templ, t).text;
                    bool packed = !marker.empty() && dataStartsWith(data, length, p, marker);
                    packedBranch = packed ? PackedBranch::Taken : PackedBranch::Skipped;
                }
                if (packedBranch == PackedBranch::Taken) continue;
                t = skipPastBranch(templ, t);
            } else if (startsWith(d.text, "+if")) {
                std::string_view rest = d.text.substr(3);
                bool condition = false;
                if (startsWith(rest, "=")) condition = dataStartsWith(data, length, p, rest.substr(1, kConditionMax));
                else if (startsWith(rest, "<>")) condition = !dataStartsWith(data, length, p, rest.substr(2, kConditionMax));
                if (condition) continue;  // the fixed text after a true condition must follow at once
                t = skipPastDirective(templ, t, "+else");
            } else if (d.text == "+else") {
                t = skipPastDirective(templ, t, "+end");
            } else if (d.text == "+noerror") {
                formatState(app).noError = true;
            } else if (d.text == "+endnoerror") {
                formatState(app).noError = false;
            }
        }

        VariableReference ref = control ? VariableReference{} : parseVariableReference(d.text);
        bool binary = !control && ref.prefix == ValuePrefix::Binary;
        Segment next = segmentAt(templ, t);
        if (!control && !binary && next.text.empty() && !next.followedByDirective) {
            debugBox(app, formatText(tr(T::ReaderEndsWithVariable), std::string(templ).c_str()));
            return p;
        }

        size_t hit = findText(data, length, p, next.text);
        if (hit == kNotFound) {
            if (!formatState(app).noError) debugBox(app, tr(T::ReaderRecovering));
            size_t templatePos = 0, dataPos = 0;
            if (!findResynchronisation(templ, t, data, length, p, templatePos, dataPos)) return p;
            if (!control) assignTemplateVariable(app, d.text, std::string_view(data + p, dataPos - p), object);
            p = dataPos;
            t = templatePos;
            continue;
        }
        std::string_view capture(data + p, hit - p);
        p = hit;
        if (!capture.empty()) {
            if (!control) assignTemplateVariable(app, d.text, capture, object);
        } else if (binary) {
            size_t width = size_t(ref.width);
            if (width != 1 && width != 2 && width != 4) {
                debugBox(app, tr(T::ReaderBinaryTipingError));
            } else {
                if (width > length - p) return length + 1;  // the data ends inside the value
                assignTemplateVariable(app, d.text, std::string_view(data + p, width), object);
                p += width;
            }
        }
    }
}

}  // namespace ts
