// The reader of definefmt / defformat blocks: one statement per line, sections in braces,
// `field = value` lines, `user[n]` texts.
#include <cstring>
#include <string>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "host/message_box.h"
#include "host/text_file.h"
#include "formats/format_state.h"
#include "host/host_services.h"
#include "resources/texts.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr size_t kDefinitionLineMax = 4096;
constexpr size_t kFieldNameMax = 99;
constexpr size_t kFormatTextMax = 0x100000;  // the text pool of one format

// Field names, English then French; indices 0-9 are section fields, 10-15 global texts.
const char* const kEnglishFields[16] = {"declaration", "n_every", "every_x", "element", "element2", "element3",
                                        "line", "end", "ext", "ref_info", "type8", "type16", "type32",
                                        "bits4", "bits8", "typesd"};
const char* const kFrenchFields[16] = {"declaration", "n_chaque", "chaque_x", "element", "element2", "element3",
                                       "ligne", "fin", "ext", "ref_declaration", "type8", "type16", "type32",
                                       "bits4", "bits8", "typesd"};

int fieldIndex(const std::string& name) {
    for (int i = 0; i < 16; ++i)
        if (name == kEnglishFields[i]) return i;
    for (int i = 0; i < 16; ++i)
        if (name == kFrenchFields[i]) return i;
    return -1;
}

int sectionIndex(const std::string& name) {
    if (name == "empty" || name == "vide") return kSectionEmpty;
    if (name == "bitmap") return kSectionBitmap;
    if (name == "palette") return kSectionPalette;
    if (name == "tileset") return kSectionTileset;
    if (name == "map") return kSectionMap;
    if (name == "list" || name == "liste") return kSectionList;
    return -1;
}

void debugBox(App& app, const std::string& text) { showBox(hostServices(app), tr(T::CaptionDebugging), text); }

// Reads one line of at most kDefinitionLineMax - 1 bytes; the rest of a longer line is dropped
// so that it is not taken for further statements. False at the end of the file.
bool readDefinitionLine(TextFile& file, std::string& line) {
    if (!file.readLine(line, kDefinitionLineMax)) return false;
    if (!line.empty() && line.back() != '\n') {
        std::string rest;
        while (!file.eof() && file.readLine(rest, kDefinitionLineMax))
            if (!rest.empty() && rest.back() == '\n') break;
    }
    return true;
}

// Outside quoted text: letters lowered, tabs made blanks, the line cut at '#' or its end.
std::string normaliseLine(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    char quote = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (quote) {
            out += c;
            if (c == quote && raw[i - 1] != '\\') quote = 0;
            continue;
        }
        if (c == '\n' || c == '\r' || c == '#' || c == '\0') break;
        if (c == '"' || c == '\'') quote = c;
        else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        else if (c == '\t') c = ' ';
        out += c;
    }
    // A quoted text left open runs to the line end, which is not part of it.
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '[' || c == ']';
}

struct BlockState {
    FormatRecord* record = nullptr;
    int section = -1;  // open section, -1 when none
    bool ended = false;
};

// Stores `value` into a text field: a quoted text with the escapes \n (CR LF) and \b.
bool quotedValue(const char* value, std::string& out) {
    if (*value != '"' && *value != '\'' && *value != '*') return false;
    readEscapedString(out, value, kFormatTextMax);
    return true;
}

void defineField(App& app, BlockState& state, const std::string& name, const char* value) {
    FormatRecord& record = *state.record;
    int user = -1;
    if (name.compare(0, 5, "user[") == 0) {
        std::string after = name.substr(5);
        int n = 0;
        size_t i = 0;
        while (i < after.size() && after[i] >= '0' && after[i] <= '9' && n < 1000) n = n * 10 + (after[i++] - '0');
        if (i == 0 || n < 1 || n > kUserTextCount) {
            debugBox(app, formatText(tr(T::FormatInvalidField), after.c_str()));
            return;
        }
        user = n - 1;
    }
    int field = user >= 0 ? -1 : fieldIndex(name);
    if (user < 0 && field < 0) {
        debugBox(app, formatText(tr(T::FormatInvalidField), name.c_str()));
        return;
    }
    if (field >= 0 && field < kSectionFieldCount && state.section < 0) {
        debugBox(app, formatText(tr(T::FormatFieldOutsideSection), name.c_str(), value));
        return;
    }
    if (field == kFieldNEvery) {
        record.sections[size_t(state.section)].nEvery = parseValue(value);
        return;
    }
    std::string text;
    if (!quotedValue(value, text)) {
        debugBox(app, formatText(tr(T::FormatFieldNeedsQuotedText), name.c_str(), value));
        return;
    }
    if (user >= 0) {
        record.user[size_t(user)] = std::move(text);
        return;
    }
    std::string* target = nullptr;
    switch (field) {
        case 10: target = &record.type8; break;
        case 11: target = &record.type16; break;
        case 12: target = &record.type32; break;
        case 13: target = &record.bits4; break;
        case 14: target = &record.bits8; break;
        case 15: target = &record.typesd; break;
        default: target = record.sections[size_t(state.section)].textField(field); break;
    }
    if (target) *target = std::move(text);
}

void defineLine(App& app, BlockState& state, const std::string& line) {
    const char* p = line.c_str();
    while (*p == ' ') ++p;
    std::string name;
    while (isNameChar(*p) && name.size() < kFieldNameMax) name += *p++;
    while (*p == ' ') ++p;
    char c = *p;
    if (c == '=') {
        ++p;
        while (*p == ' ') ++p;
        defineField(app, state, name, p);
    } else if (c == '{') {
        if (name.empty() && state.section < 0) return;  // the block's own opening brace
        int section = sectionIndex(name);
        if (section < 0) {
            // Its fields go to the ignored section so that its closing brace stays paired.
            debugBox(app, formatText(tr(T::FormatUnknownSection), name.c_str()));
            section = kSectionEmpty;
        }
        state.section = section;
    } else if (c == '}') {
        if (state.section >= 0) state.section = -1;
        else state.ended = true;
    } else if (c != 0) {
        debugBox(app, formatText(tr(T::FormatUnexpectedCharacter), c));
    }
}

}  // namespace

void defineFormatBlock(App& app, TextFile& file, const std::string& rawName) {
    std::string name = rawName.substr(0, kFormatNameMax);
    FormatState& formats = formatState(app);
    int index = findFormat(app, name);
    if (index < 0) {
        // A new format starts as the current one, so a definition names only what differs.
        FormatRecord record = formats.current;
        record.name = name;
        record.sections[kSectionEmpty] = FormatSection{};
        formats.records.push_back(std::move(record));
        index = int(formats.records.size()) - 1;
    }
    BlockState state;
    state.record = &formats.records[size_t(index)];
    std::string raw;
    while (!state.ended && readDefinitionLine(file, raw)) defineLine(app, state, normaliseLine(raw));
}

}  // namespace ts
