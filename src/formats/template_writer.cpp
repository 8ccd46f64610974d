#include "formats/template_writer.h"

#include <cstring>

#include "formats/template_directive.h"
#include "formats/template_variables.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

void TemplateOutput::overwrite(const char* text, size_t n) {
    if (n == 0) return;
    size_t overlap = position < bytes.size() ? std::min(n, bytes.size() - position) : 0;
    if (overlap) std::memcpy(&bytes[position], text, overlap);
    if (overlap < n) bytes.append(text + overlap, n - overlap);
    position += n;
}

namespace {

void warn(App& app, const std::string& text) {
    showBox(hostServices(app), tr(T::CaptionError), text, Icon::Warning);
}

void putDecimal(TemplateOutput& out, int32_t value) {
    char buffer[16];
    char* end = buffer + sizeof buffer;
    char* p = end;
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) *--p = '-';
    out.put(p, size_t(end - p));
}

void putHex(TemplateOutput& out, uint32_t value) {
    static const char digits[] = "0123456789abcdef";
    char buffer[8];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = digits[value & 15];
        value >>= 4;
    } while (value);
    out.put(p, size_t(end - p));
}

void putInteger(App& app, TemplateOutput& out, const VariableReference& ref, int32_t value) {
    switch (ref.prefix) {
        case ValuePrefix::Decimal: putDecimal(out, value); break;
        case ValuePrefix::Hex: putHex(out, uint32_t(value)); break;
        case ValuePrefix::Binary:
            if (ref.width != 1 && ref.width != 2 && ref.width != 4) {
                warn(app, formatText(tr(T::TemplateBinaryTypingError), ref.width));
                break;
            }
            for (int i = 0; i < ref.width; ++i) out.put(char((uint32_t(value) >> (8 * i)) & 0xFF));
            break;
    }
}

void writeVariable(App& app, TemplateOutput& out, std::string_view directive, const ObjectFieldAccess* object) {
    VariableReference ref = parseVariableReference(directive);
    std::string name(ref.name);
    if (object && startsWith(ref.name, "obj.")) {
        ObjectFieldValue value;
        if (object->read && object->read(ref.name.substr(4), value)) {
            if (value.isInteger) putInteger(app, out, ref, value.integer);
            else out.put(value.text);
        } else {
            warn(app, formatText(tr(T::TemplateSymbolMissingForList), name.c_str()));
        }
        return;
    }
    int user = userIndexOf(ref.name);
    if (user >= 0) {
        if (const std::string* buffer = userBuffer(app, user)) out.put(*buffer);
        return;
    }
    if (ref.name == "null") return;
    const TemplateVariable* row = findTemplateVariable(app, ref.name);
    if (!row || (row->kind == TemplateVariableKind::Text && !row->textSet)) {
        warn(app, formatText(tr(T::TemplateSymbolMissing), name.c_str()));
        return;
    }
    if (row->kind == TemplateVariableKind::Text) out.put(row->text);
    else putInteger(app, out, ref, row->value());
}

}  // namespace

void writeTemplate(App& app, TemplateOutput& out, std::string_view templ, bool keepCarriageReturns,
                   const ObjectFieldAccess* object) {
    size_t i = 0;
    const size_t n = templ.size();
    while (i < n) {
        char c = templ[i];
        if (c == '\b') {
            out.stepBack();
            ++i;
        } else if (c == '\r') {
            if (keepCarriageReturns) out.put(c);
            ++i;
        } else if (c == '%') {
            Directive d = directiveAt(templ, i);
            i = d.next;
            if (isControlWord(d.text)) {
                // The writer always writes the first branch of a conditional, except the branch
                // of packed data, written only when the data are packed.
                if (d.text == "+else") i = skipPastDirective(templ, i, "+end");
                else if (d.text == kIfPacked && getTemplateText(app, "packing").empty()) i = skipPastBranch(templ, i);
            } else {
                writeVariable(app, out, d.text, object);
            }
        } else {
            size_t j = i + 1;
            while (j < n && templ[j] != '%' && templ[j] != '\b' && templ[j] != '\r') ++j;
            out.put(templ.data() + i, j - i);
            i = j;
        }
    }
}

std::string expandTemplate(App& app, std::string_view templ, bool keepCarriageReturns,
                           const ObjectFieldAccess* object) {
    TemplateOutput out;
    writeTemplate(app, out, templ, keepCarriageReturns, object);
    return out.bytes;
}

}  // namespace ts
