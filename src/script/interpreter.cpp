#include "script/interpreter.h"

#include <cstring>

#include "host/message_box.h"
#include "host/text_file.h"
#include "host/host_services.h"
#include "script/script_state.h"
#include "script/settings.h"
#include "resources/texts.h"
#include "script/form_controls.h"
#include "script/identifier_table.h"
#include "script/values.h"

namespace ts {

namespace {

constexpr size_t kFileLineLimit = 1000;   // bytes per line read from a file, terminator included
constexpr size_t kTextStatementMax = 999;  // characters per statement of a text run
constexpr int kMaxRunDepth = 64;           // runs inside runs (include/do chains)

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

// Lower-cases letters outside quoted parts, cuts comments and the final line break.
void normaliseLine(std::string& line) {
    char quote = 0;
    size_t cut = std::string::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quote) {
            if (c == quote && (i == 0 || line[i - 1] != '\\')) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'' || c == '*') {
            quote = c;
        } else if (c == '#' || c == ';') {
            cut = i;
            break;
        } else {
            line[i] = lower(c);
        }
    }
    if (cut != std::string::npos) {
        while (cut > 0 && isBlank(line[cut - 1])) --cut;
        line.erase(cut);
    } else if (!line.empty()) {
        line.pop_back();
    }
}

const ScriptIdentifier* findRow(const std::vector<ScriptIdentifier>& rows, std::string_view name) {
    for (const auto& row : rows)
        if (row.name == name) return &row;
    return nullptr;
}

const ScriptIdentifier* lookupTopLevel(App& app, std::string_view name) {
    if (const ScriptIdentifier* row = findRow(builtinIdentifiers(), name)) return row;
    return findRow(scriptState(app).registered, name);
}

void assignString(App& app, std::string* target, char* args, std::string_view name) {
    std::string value;
    if (!quotedArgument(args, value)) {
        scriptError(app, formatText(tr(T::ScriptMissingArguments), std::string(name).c_str()));
        return;
    }
    *target = value;
}

void actOnControl(App& app, const ScriptIdentifier& row, char* args) {
    FormControlHost* forms = scriptState(app).forms;
    std::string name(row.name);
    switch (row.kind) {
        case IdentifierKind::TreeItemControl:
            if (forms && forms->hasControl(row.control)) forms->selectTreeBranch(row.control);
            return;
        case IdentifierKind::TextControl:
        case IdentifierKind::ComboControl: {
            std::string text;
            if (!quotedArgument(args, text)) {
                scriptError(app, formatText(tr(T::ScriptMissingArguments), name.c_str()));
                return;
            }
            if (!forms || !forms->hasControl(row.control)) return;
            if (row.kind == IdentifierKind::TextControl) {
                forms->setText(row.control, text);
            } else if (!forms->selectComboText(row.control, text)) {
                scriptError(app, formatText(tr(T::ScriptComboTextNotFound), name.c_str(), text.c_str()));
            }
            return;
        }
        case IdentifierKind::CheckControl:
        case IdentifierKind::RadioControl:
            if (forms && forms->hasControl(row.control)) forms->setChecked(row.control, parseValue(args));
            return;
        default:
            return;
    }
}

void actOnArray(App& app, const ScriptIdentifier& row, const std::string& objectName, char* args) {
    const ScriptArrayDef& array = *row.array;
    int index = scriptState(app).currentIndex;
    std::string name(row.name);
    if (index < 0 || index >= array.count) {
        scriptError(app, formatText(tr(T::ScriptArrayOutOfBounds), name.c_str(), objectName.c_str(), index + 1));
        return;
    }
    void* element = array.element(app, index);
    switch (array.elementKind) {
        case IdentifierKind::IntVariable:
            *static_cast<int32_t*>(element) = parseValue(args);
            break;
        case IdentifierKind::StringVariable:
            assignString(app, static_cast<std::string*>(element), args, row.name);
            break;
        case IdentifierKind::DoubleVariable:
            *static_cast<double*>(element) = parseDouble(args);
            break;
        default:
            scriptError(app, formatText(tr(T::ScriptArrayUnknownType), name.c_str(), objectName.c_str()));
    }
}

// Reads a name at p: up to a blank, tab, ".", "=" or "["; after a tab, skips to the next
// ".", "=", blank or "[".
std::string readName(char*& p) {
    while (isBlank(*p)) ++p;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t' && *p != '.' && *p != '=' && *p != '[') ++p;
    std::string name(start, size_t(p - start));
    if (*p == '\t')
        while (*p && *p != '.' && *p != '=' && *p != ' ' && *p != '[') ++p;
    return name;
}

// Skips blanks, one point, "=" signs and "[index]" parts; sets the current index.
void skipSeparators(App& app, char*& p) {
    for (;;) {
        while (isBlank(*p)) ++p;
        if (*p == '.') ++p;
        if (*p == '=') {
            ++p;
            continue;
        }
        if (*p == '[') {
            scriptState(app).currentIndex = parseValue(p + 1) - 1;
            char* close = std::strchr(p, ']');
            p = close ? close + 1 : p + std::strlen(p);
            continue;
        }
        return;
    }
}

// Runs one normalised statement.
void executeStatement(App& app, std::string& statement) {
    std::vector<char> buffer(statement.begin(), statement.end());
    buffer.push_back(0);
    char* p = buffer.data();
    while (isBlank(*p)) ++p;
    scriptState(app).currentIndex = 0;

    std::string objectName;
    const std::vector<ScriptIdentifier>* members = nullptr;
    for (;;) {
        std::string name = readName(p);
        if (name.empty()) return;
        skipSeparators(app, p);
        const ScriptIdentifier* row = members ? findRow(*members, name) : lookupTopLevel(app, name);
        if (!row) {
            scriptError(app, formatText(tr(members ? T::ScriptUnknownProperty : T::ScriptUnknownIdentifier),
                                        name.c_str()));
            return;
        }
        switch (row->kind) {
            case IdentifierKind::ScriptObject:
                objectName = name;
                members = &row->object->members;
                continue;
            case IdentifierKind::Command:
                row->command(app, p);
                return;
            case IdentifierKind::IntVariable:
                *static_cast<int32_t*>(row->variable(app)) = parseValue(p);
                return;
            case IdentifierKind::StringVariable:
                assignString(app, static_cast<std::string*>(row->variable(app)), p, row->name);
                return;
            case IdentifierKind::DoubleVariable:
                *static_cast<double*>(row->variable(app)) = parseDouble(p);
                return;
            case IdentifierKind::ScriptArray:
                actOnArray(app, *row, objectName, p);
                return;
            default:
                actOnControl(app, *row, p);
                return;
        }
    }
}

// Handles one raw line; false when the run must end.
bool processLine(App& app, std::string& line) {
    normaliseLine(line);
    if (!line.empty() && line.back() == ':') {
        if (!scriptState(app).labelPending) return true;
        size_t start = 0;
        while (start < line.size() && isBlank(line[start])) ++start;
        if (start < line.size() && line[start] == '_') ++start;
        std::string_view label(line.data() + start, line.size() - 1 - start);
        if (label == scriptState(app).pendingLabel) {
            scriptState(app).labelPending = false;
            scriptState(app).pendingLabel.clear();
        }
        return true;
    }
    if (scriptState(app).labelPending) return true;
    executeStatement(app, line);
    return scriptState(app).stopRequest == 0;
}

struct RunScope {
    App& app;
    TextFile* savedFile;
    explicit RunScope(App& a, std::string_view label) : app(a), savedFile(scriptState(a).currentFile) {
        ++scriptState(app).runDepth;
        scriptState(app).stopRequest = 0;
        systemSettings(app).messages = 0;
        scriptState(app).treeRefreshGate = false;
        scriptState(app).returnValue = 1;
        scriptState(app).bitsChanged = false;
        scriptState(app).pendingLabel = lowerAscii(label);
        scriptState(app).labelPending = !label.empty();
    }
    ~RunScope() {
        --scriptState(app).runDepth;
        systemSettings(app).messages = 1;
        scriptState(app).treeRefreshGate = true;
        scriptState(app).currentFile = savedFile;
        hostServices(app).setMainWindowVisible(true);
    }
};

bool refuseDeepRun(App& app, const std::string& what) {
    if (scriptState(app).runDepth < kMaxRunDepth) return false;
    scriptError(app, formatText(tr(T::ScriptTooDeep), kMaxRunDepth, what.c_str()));
    scriptState(app).stopRequest = 1;
    return true;
}

}  // namespace

void scriptError(App& app, const std::string& text) {
    showBox(hostServices(app), tr(T::CaptionScriptError), text, Icon::Error);
}

void runScript(App& app, std::unique_ptr<TextFile> file, std::string_view label) {
    if (!file || refuseDeepRun(app, file->path().empty() ? std::string("text") : file->path())) return;
    RunScope scope(app, label);
    std::string line;
    for (;;) {
        file->readLine(line, kFileLineLimit);
        if (file->eof()) break;
        scriptState(app).currentFile = file.get();
        if (!processLine(app, line)) break;
    }
}

void runScriptText(App& app, std::string_view text, std::string_view label) {
    if (refuseDeepRun(app, "text")) return;
    RunScope scope(app, label);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(';', pos);
        size_t stop = end == std::string_view::npos ? text.size() : end;
        size_t length = std::min(stop - pos, kTextStatementMax);
        std::string line(text.substr(pos, length));
        pos += length;
        if (pos == stop && end != std::string_view::npos) ++pos;  // step over the ";"
        if (line.empty()) continue;
        line += '\n';
        scriptState(app).currentFile = nullptr;
        if (!processLine(app, line)) break;
    }
}

bool runScriptFile(App& app, const std::string& name, std::string_view label) {
    scriptState(app).returnValue = 1;
    if (name.empty()) return false;
    auto file = TextFile::open(name, "r");
    if (!file) return false;
    runScript(app, std::move(file), label);
    return true;
}

void registerIdentifier(App& app, const ScriptIdentifier& row) {
    for (const auto& r : scriptState(app).registered)
        if (r.name == row.name && r.kind == row.kind && r.variable == row.variable && r.command == row.command &&
            r.object == row.object && r.array == row.array)
            return;
    scriptState(app).registered.push_back(row);
}

ProcedureList buildProceduresMenu(App& app, const std::string& scriptName) {
    ProcedureList list;
    scriptState(app).treeRefreshGate = true;
    if (scriptName.empty()) {
        list.status = 1;
        return list;
    }
    auto file = TextFile::open(scriptName, "r");
    if (!file) {
        list.status = 2;
        return list;
    }
    std::string line;
    while (file->readLine(line, kFileLineLimit)) {
        size_t cut = line.find_first_of("#;");
        if (cut != std::string::npos) {
            while (cut > 0 && isBlank(line[cut - 1])) --cut;
            line.erase(cut);
        } else if (!line.empty()) {
            line.pop_back();
        }
        size_t start = 0;
        while (start < line.size() && isBlank(line[start])) ++start;
        if (line.size() > start + 1 && line.back() == ':' && line[start] == '_')
            list.labels.push_back(line.substr(start + 1, line.size() - start - 2));
    }
    return list;
}

}  // namespace ts
