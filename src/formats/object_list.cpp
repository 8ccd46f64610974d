#include "formats/object_list.h"

#include <algorithm>
#include <cstring>

#include "formats/model.h"
#include "host/message_box.h"
#include "resources/texts.h"
#include "formats/format_state.h"
#include "host/host_services.h"
#include "script/settings.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr size_t kWorkingTextMax = 1000;
constexpr size_t kFieldNameMax = 99;

uint8_t* entryAt(ObjectList& list, int i) { return list.entries.data() + size_t(i) * size_t(list.entrySize); }
const uint8_t* entryAt(const ObjectList& list, int i) {
    return list.entries.data() + size_t(i) * size_t(list.entrySize);
}

int32_t readInt(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void writeInt(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }

bool validEntry(const ObjectList& list, int i) {
    return i >= 0 && i < list.count && list.entrySize >= kListEntryHeader &&
           list.entries.size() >= size_t(i + 1) * size_t(list.entrySize);
}

// A parameter's field inside an entry: offset and size, or false when it does not fit.
bool paramField(const ObjectList& list, int paramIndex, int& offset, int& size) {
    offset = paramOffset(list.model, paramIndex);
    if (offset < 0) return false;
    size = list.model.params[size_t(paramIndex)].size;
    return offset + size <= list.entrySize;
}

// The part of a parameter name that names its field: cut at "<".
std::string_view fieldNameOf(std::string_view name) {
    size_t cut = name.find('<');
    return cut == std::string_view::npos ? name : name.substr(0, cut);
}

// The text after ">" of a parameter name, placed after its field in the working text.
std::string_view afterBracketOf(std::string_view name) {
    size_t open = name.find('<');
    if (open == std::string_view::npos) return {};
    size_t close = name.find('>', open);
    return close == std::string_view::npos ? std::string_view() : name.substr(close + 1);
}

// A working text split into fixed texts and field names: fixed[0] name[0] fixed[1] ... fixed[n].
struct WorkingText {
    std::vector<std::string> fixed;
    std::vector<std::string> names;
};

WorkingText splitWorkingText(const std::string& text) {
    WorkingText parts;
    std::string current;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '#') {
            size_t close = text.find('#', i + 1);
            if (close == std::string::npos) {
                current.append(text, i, std::string::npos);
                break;
            }
            parts.fixed.push_back(current);
            current.clear();
            parts.names.push_back(text.substr(i + 1, std::min(close - i - 1, kFieldNameMax)));
            i = close + 1;
            continue;
        }
        current += text[i++];
    }
    parts.fixed.push_back(current);
    return parts;
}

size_t findIn(const char* data, size_t length, size_t from, const std::string& what) {
    if (from > length) return std::string_view::npos;
    return std::string_view(data, length).find(what, from);
}

std::string_view trimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A decimal integer, optionally signed. Strict: nothing else may stand there. Tolerant: the
// digits at the start count, and a text without any keeps `ok` false.
bool parseDecimal(std::string_view text, bool strict, int32_t& value) {
    std::string_view s = trimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int64_t v = 0;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (v < (int64_t(1) << 32)) v = v * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0) return false;
    if (strict && i != s.size()) return false;
    value = int32_t(uint32_t(negative ? -v : v));
    return true;
}

// Assigns a captured value to the field `name` of entry i. False when an integer field does not
// hold an integer (strict) or holds none (tolerant).
bool assignField(ObjectList& list, int i, std::string_view name, std::string_view value, bool strict) {
    int32_t number = 0;
    if (name == "type" || name == "x" || name == "y") {
        if (!parseDecimal(value, strict, number)) return false;
        uint8_t* entry = entryAt(list, i);
        writeInt(entry + (name == "x" ? 0 : name == "y" ? 4 : 8), number);
        return true;
    }
    int param = findParam(list.model, name);
    if (param < 0) return true;  // unknown names are ignored
    if (list.model.params[size_t(param)].kind == ParamRaw) {
        setEntryRawParam(list, i, param, value);
        return true;
    }
    if (!parseDecimal(value, strict, number)) return false;
    setEntryIntParam(list, i, param, number);
    return true;
}

}  // namespace

void resetObjectList(ObjectList& list, const Model& model) {
    list.model = model;
    recomputeEntrySize(list.model);
    list.entrySize = list.model.entrySize;
    list.entries.clear();
    list.count = 0;
}

int maxListEntries(const App& app) { return std::max<int32_t>(systemSettings(app).maxObjects, 3); }

bool addListEntry(App& app, ObjectList& list, int32_t x, int32_t y, int32_t type) {
    if (list.count >= maxListEntries(app)) {
        showBox(hostServices(app), tr(T::CaptionError), tr(T::ListFull), Icon::Warning);
        return false;
    }
    if (list.entrySize < kListEntryHeader) list.entrySize = kListEntryHeader;
    list.entries.resize(size_t(list.count + 1) * size_t(list.entrySize), 0);
    int i = list.count++;
    setEntryDefaults(list, i);
    setEntryPosition(list, i, x, y);
    setEntryType(list, i, type);
    return true;
}

int32_t entryX(const ObjectList& list, int i) { return validEntry(list, i) ? readInt(entryAt(list, i)) : 0; }
int32_t entryY(const ObjectList& list, int i) { return validEntry(list, i) ? readInt(entryAt(list, i) + 4) : 0; }
int32_t entryType(const ObjectList& list, int i) { return validEntry(list, i) ? readInt(entryAt(list, i) + 8) : 0; }

void setEntryPosition(ObjectList& list, int i, int32_t x, int32_t y) {
    if (!validEntry(list, i)) return;
    writeInt(entryAt(list, i), x);
    writeInt(entryAt(list, i) + 4, y);
}

void setEntryType(ObjectList& list, int i, int32_t type) {
    if (validEntry(list, i)) writeInt(entryAt(list, i) + 8, type);
}

int paramOffset(const Model& model, int paramIndex) {
    if (paramIndex < 0 || paramIndex >= int(model.params.size())) return -1;
    int offset = kListEntryHeader;
    for (int k = 0; k < paramIndex; ++k) offset += std::max(model.params[size_t(k)].size, 0);
    return offset;
}

int findParam(const Model& model, std::string_view name) {
    for (size_t k = 0; k < model.params.size(); ++k)
        if (model.params[k].name == name) return int(k);
    for (size_t k = 0; k < model.params.size(); ++k)
        if (fieldNameOf(model.params[k].name) == name) return int(k);
    return -1;
}

int32_t entryIntParam(const ObjectList& list, int i, int paramIndex) {
    int offset, size;
    if (!validEntry(list, i) || !paramField(list, paramIndex, offset, size)) return 0;
    uint8_t bytes[4] = {0, 0, 0, 0};
    std::memcpy(bytes, entryAt(list, i) + offset, size_t(std::min(size, 4)));
    return readInt(bytes);
}

std::string entryRawParam(const ObjectList& list, int i, int paramIndex) {
    int offset, size;
    if (!validEntry(list, i) || !paramField(list, paramIndex, offset, size)) return {};
    const char* p = reinterpret_cast<const char*>(entryAt(list, i) + offset);
    size_t n = 0;
    while (n < size_t(size) && p[n]) ++n;
    return std::string(p, n);
}

void setEntryIntParam(ObjectList& list, int i, int paramIndex, int32_t value) {
    int offset, size;
    if (!validEntry(list, i) || !paramField(list, paramIndex, offset, size)) return;
    uint8_t bytes[4];
    writeInt(bytes, value);
    std::memcpy(entryAt(list, i) + offset, bytes, size_t(std::min(size, 4)));
}

void setEntryRawParam(ObjectList& list, int i, int paramIndex, std::string_view text) {
    int offset, size;
    if (!validEntry(list, i) || !paramField(list, paramIndex, offset, size) || size <= 0) return;
    uint8_t* p = entryAt(list, i) + offset;
    std::memset(p, 0, size_t(size));
    std::memcpy(p, text.data(), std::min(text.size(), size_t(size - 1)));
}

void setEntryDefaults(ObjectList& list, int i) {
    if (!validEntry(list, i)) return;
    std::memset(entryAt(list, i), 0, size_t(list.entrySize));
    for (size_t k = 0; k < list.model.params.size(); ++k) {
        const ModelParam& param = list.model.params[k];
        if (param.kind == ParamRaw) {
            setEntryRawParam(list, i, int(k), param.defaultText);
        } else {
            setEntryIntParam(list, i, int(k), parseValue(param.defaultText.c_str()));
        }
    }
}

std::string expandParamPlaceholder(const App& app, const std::string& elementText, const Model& model) {
    std::string text = elementText.substr(0, kWorkingTextMax);
    if (formatState(app).currentIndex != 0) return text;
    static const std::string kTag = "#+param:";
    size_t start = text.find(kTag);
    if (start == std::string::npos) return text;
    // Two quoted texts A and B, then the closing "#".
    size_t p = start + kTag.size();
    auto quoted = [&](std::string& out) {
        while (p < text.size() && text[p] != '"' && text[p] != '\'') ++p;
        if (p >= text.size()) return false;
        char q = text[p];
        size_t close = text.find(q, p + 1);
        if (close == std::string::npos) return false;
        out = text.substr(p + 1, close - p - 1);
        p = close + 1;
        return true;
    };
    std::string before, after;
    if (!quoted(before) || !quoted(after)) return text;
    size_t end = text.find('#', p);
    if (end == std::string::npos) return text;
    std::string expansion;
    for (const ModelParam& param : model.params) {
        expansion += before;
        expansion += '#';
        expansion += fieldNameOf(param.name);
        expansion += '#';
        expansion += afterBracketOf(param.name);
        expansion += after;
    }
    std::string result = text.substr(0, start) + expansion + text.substr(end + 1);
    if (result.size() > kWorkingTextMax) result.resize(kWorkingTextMax);
    return result;
}

void writeEntryText(const ObjectList& list, int i, const std::string& workingText, std::string& out) {
    WorkingText parts = splitWorkingText(workingText);
    for (size_t k = 0; k < parts.names.size(); ++k) {
        out += parts.fixed[k];
        const std::string& name = parts.names[k];
        if (name == "type") out += std::to_string(entryType(list, i));
        else if (name == "x") out += std::to_string(entryX(list, i));
        else if (name == "y") out += std::to_string(entryY(list, i));
        else {
            int param = findParam(list.model, name);
            if (param < 0) continue;
            if (list.model.params[size_t(param)].kind == ParamRaw) out += entryRawParam(list, i, param);
            else out += std::to_string(entryIntParam(list, i, param));
        }
    }
    out += parts.fixed.back();
}

size_t readEntryText(App& app, ObjectList& list, int i, const std::string& workingText, const char* data,
                     size_t length, size_t position, bool tolerant, const std::string& terminator, bool& damaged) {
    const size_t npos = std::string_view::npos;
    WorkingText parts = splitWorkingText(workingText);
    auto strictFailure = [&](T text) {
        showBox(hostServices(app), tr(T::CaptionDebugging), tr(text));
        damaged = true;
        return length + 1;
    };

    size_t pos = position;
    const std::string& lead = parts.fixed[0];
    if (!lead.empty()) {
        size_t found = findIn(data, length, pos, lead);
        if (found == npos) {
            if (tolerant) {
                damaged = true;
                return length + 1;
            }
            return strictFailure(T::ListFormatFatal);
        }
        pos = found + lead.size();
    }
    // Tolerant mode: the entry ends at its terminator.
    size_t limit = length;
    size_t terminatorAt = npos;
    if (tolerant && !terminator.empty()) {
        terminatorAt = findIn(data, length, pos, terminator);
        if (terminatorAt != npos) limit = terminatorAt;
    }

    for (size_t k = 0; k < parts.names.size(); ++k) {
        const std::string& fixed = parts.fixed[k + 1];
        size_t valueEnd;
        size_t next;
        if (!fixed.empty()) {
            // Tolerant mode looks no further than the entry's terminator.
            size_t window = tolerant ? std::min(length, limit + fixed.size()) : length;
            size_t found = findIn(data, window, pos, fixed);
            if (tolerant && (found == npos || found > limit)) {
                assignField(list, i, parts.names[k], std::string_view(data + pos, limit - std::min(pos, limit)), false);
                damaged = true;
                pos = limit;
                break;
            }
            if (found == npos) return strictFailure(T::ListFormatFatal);
            valueEnd = found;
            next = found + fixed.size();
        } else {
            // Nothing delimits the value: it runs to the line end (or the entry's end).
            valueEnd = pos;
            while (valueEnd < limit && data[valueEnd] != '\r' && data[valueEnd] != '\n') ++valueEnd;
            next = valueEnd;
        }
        std::string_view value(data + pos, valueEnd - pos);
        if (!assignField(list, i, parts.names[k], value, !tolerant)) {
            if (!tolerant) return strictFailure(T::ListFormatMismatch);
            damaged = true;
        }
        pos = next;
    }
    if (tolerant && terminatorAt != npos) pos = std::max(pos, terminatorAt + terminator.size());
    return pos;
}

ObjectFieldAccess entryFieldAccess(ObjectList& list, int i) {
    ObjectFieldAccess access;
    access.read = [&list, i](std::string_view field, ObjectFieldValue& value) {
        value = ObjectFieldValue{};
        if (field == "x") value.integer = entryX(list, i);
        else if (field == "y") value.integer = entryY(list, i);
        else if (field == "type") value.integer = entryType(list, i);
        else {
            int param = findParam(list.model, field);
            if (param < 0) return false;
            if (list.model.params[size_t(param)].kind == ParamRaw) {
                value.isInteger = false;
                value.text = entryRawParam(list, i, param);
            } else {
                value.integer = entryIntParam(list, i, param);
            }
        }
        return true;
    };
    access.assign = [&list, i](std::string_view field, std::string_view text, int32_t integer) {
        if (field == "x" || field == "y") {
            setEntryPosition(list, i, field == "x" ? integer : entryX(list, i), field == "y" ? integer : entryY(list, i));
            return true;
        }
        if (field == "type") {
            setEntryType(list, i, integer);
            return true;
        }
        int param = findParam(list.model, field);
        if (param < 0) return false;
        if (list.model.params[size_t(param)].kind == ParamRaw) setEntryRawParam(list, i, param, text);
        else setEntryIntParam(list, i, param, integer);
        return true;
    };
    return access;
}

}  // namespace ts
