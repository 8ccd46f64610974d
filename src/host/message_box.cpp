#include "host/message_box.h"

#include <cstdarg>
#include <cstdio>

namespace ts {

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(size_t(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(size_t(n));
    }
    va_end(args);
    return out;
}

std::string formatWithoutValues(const char* format) {
    std::string out;
    for (const char* p = format; p && *p; ++p) {
        out += *p;
        if (p[0] == '%' && p[1] == '%') ++p;
    }
    return out;
}

Answer showBox(HostServices& host, const std::string& caption, const std::string& text, Icon icon,
               Buttons buttons, Answer defaultAnswer, bool owned) {
    MessageBoxRequest r;
    r.caption = caption;
    r.text = text;
    r.icon = icon;
    r.buttons = buttons;
    r.defaultAnswer = defaultAnswer;
    r.owned = owned;
    return host.messageBox(r);
}

}  // namespace ts
