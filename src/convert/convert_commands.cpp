#include "convert/convert_commands.h"

#include <cctype>
#include <cstring>

#include "convert/colour_effects.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"
#include "script/values.h"

namespace ts {

namespace {

void reportScriptError(App& app, const std::string& text) {
    showBox(hostServices(app), tr(T::CaptionScriptError), text, Icon::Error);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
const char* skipBlanks(const char* p) {
    while (isBlank(*p)) ++p;
    return p;
}

// Optional blanks, "=" and blanks between a keyword (or a property name) and its value.
const char* skipAssignment(const char* p) {
    p = skipBlanks(p);
    if (*p == '=') ++p;
    return skipBlanks(p);
}

bool startsWithNoCase(const char* p, const char* word) {
    for (; *word; ++p, ++word)
        if (std::tolower(static_cast<unsigned char>(*p)) != *word) return false;
    return true;
}

// A real number; a "%" before the next blank, tab, comma, ")" or the end makes it a percentage
// of 255.
double readLightingNumber(const char* p) {
    double value = parseDouble(p);
    for (const char* q = p; *q && !isBlank(*q) && *q != ',' && *q != ')'; ++q) {
        if (*q == '%') {
            value = value * 255.0 / 100.0;
            break;
        }
    }
    return value;
}

// Reads a colour triple at p into out[3]. Returns the position after it, or null on a syntax
// error.
const char* readTriple(const char* p, double out[3]) {
    if (std::isdigit(static_cast<unsigned char>(*p))) {
        out[0] = out[1] = out[2] = readLightingNumber(p);
        while (*p && !isBlank(*p)) ++p;
        return skipBlanks(p);
    }
    if (startsWithNoCase(p, "rgb")) {
        p = skipBlanks(p + 3);
        if (*p == '(') ++p;
        p = skipBlanks(p);
        for (int i = 0; i < 3; ++i) {
            out[i] = readLightingNumber(p);
            p = nextArgument(p);
        }
        return p;
    }
    return nullptr;
}


struct MethodName {
    const char* name;
    int code;
};
constexpr MethodName kMethodNames[] = {
    {"initial", 0}, {"normal", 0}, {"halftone", 1}, {"tram\xE9", 1}, {"optimal", 2}, {"meilleur", 2},
    {"accurate", 3}, {"pr\xE9" "cis", 3},
};

}  // namespace

void cmdLighting(App& app, char* args) {
    const char* p = skipBlanks(args);
    ConvertSettings& c = convertSettings(app);
    while (*p) {
        double* target = nullptr;
        bool isGamma = false;
        if (startsWithNoCase(p, "gamma")) {
            target = c.gamma;
            isGamma = true;
            p += 5;
        } else if (startsWithNoCase(p, "add")) {
            target = c.add;
            p += 3;
        } else if (startsWithNoCase(p, "alpha")) {
            target = c.alpha;
            p += 5;
        } else {
            reportScriptError(app, tr(T::ImgLightingUnknownParameter));
            break;
        }
        p = skipAssignment(p);
        double values[3];
        const char* next = readTriple(p, values);
        if (!next) {
            reportScriptError(app, formatText(tr(T::ImgLightingParseError), p));
            break;
        }
        for (int i = 0; i < 3; ++i) target[i] = isGamma ? 1.0 / values[i] : values[i];
        p = skipBlanks(next);
    }
    rebuildEffectTables(app);
}

void cmdShades(App& app, char* args) {
    const int32_t shades = parseValue(skipAssignment(args));
    if (shades < 2 || shades > 256) {
        // One shade would blacken every colour and zero would divide by zero.
        reportScriptError(app, formatText(tr(T::ImgShadesOutOfRange), shades));
        return;
    }
    convertSettings(app).shades = shades - 1;
    rebuildEffectTables(app);
}

void cmdShadesBefore(App& app, char* args) {
    convertSettings(app).shadesBefore = parseValue(skipAssignment(args));
    rebuildEffectTables(app);
}

void cmdTruncate(App& app, char* args) {
    convertSettings(app).truncate = parseValue(skipAssignment(args));
    rebuildEffectTables(app);
}

void cmdQuantization(App& app, char* args) {
    const char* p = skipAssignment(args);
    if (*p >= '0' && *p <= '3') {
        convertSettings(app).quantization = *p - '0';
        return;
    }
    std::string name(p);
    while (!name.empty() && (isBlank(name.back()) || name.back() == '\r' || name.back() == '\n'))
        name.pop_back();
    for (const MethodName& m : kMethodNames) {
        if (name == m.name) {
            convertSettings(app).quantization = m.code;
            return;
        }
    }
    reportScriptError(app, formatText(tr(T::ImgQuantizationNotFound), name.c_str()));
}

void cmdDither(App& app, char* args) {
    const int32_t value = parseValue(skipAssignment(args));
    if (value != 0 && value != 1) {
        reportScriptError(app, formatText(tr(T::ImgDitherOutOfRange), value));
        return;
    }
    convertSettings(app).dither = value;
}

void cmdMaskColor(App& app, char* args) {
    const uint32_t v = uint32_t(parseValue(skipAssignment(args)));
    convertSettings(app).maskRed = uint8_t(v & 0xFF);
    convertSettings(app).maskGreen = uint8_t((v >> 8) & 0xFF);
    convertSettings(app).maskBlue = uint8_t((v >> 16) & 0xFF);
}

void cmdZeroColor(App& app, char* args) {
    const uint32_t v = uint32_t(parseValue(skipAssignment(args)));
    convertSettings(app).zeroRed = uint8_t((v & 0xFF) / 8);
    convertSettings(app).zeroGreen = uint8_t(((v >> 8) & 0xFF) / 8);
    convertSettings(app).zeroBlue = uint8_t(((v >> 16) & 0xFF) / 8);
}

const char* quantizationName(int code) {
    switch (code) {
        case 0: return "initial";
        case 1: return "halftone";
        case 2: return "optimal";
        case 3: return "accurate";
        default: return "";
    }
}

}  // namespace ts
