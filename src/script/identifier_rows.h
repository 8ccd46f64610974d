#pragma once
// Building blocks of the identifier table. Each subsystem exports the rows of its own commands,
// variables and object members; the program's table joins them in the documented order.
#include <string_view>
#include <vector>

#include "script/identifier.h"

namespace ts {

inline ScriptIdentifier commandRow(CommandHandler handler) {
    ScriptIdentifier r;
    r.kind = IdentifierKind::Command;
    r.command = handler;
    return r;
}

inline ScriptIdentifier variableRow(IdentifierKind kind, void* (*accessor)(App&)) {
    ScriptIdentifier r;
    r.kind = kind;
    r.variable = accessor;
    return r;
}

inline ScriptIdentifier controlRow(IdentifierKind kind, FormControl which) {
    ScriptIdentifier r;
    r.kind = kind;
    r.control = which;
    return r;
}

inline ScriptIdentifier objectRow(const ScriptObjectDef& def) {
    ScriptIdentifier r;
    r.kind = IdentifierKind::ScriptObject;
    r.object = &def;
    return r;
}

inline ScriptIdentifier arrayRow(const ScriptArrayDef& def) {
    ScriptIdentifier r;
    r.kind = IdentifierKind::ScriptArray;
    r.array = &def;
    return r;
}

// Address of a field of a subsystem's state, for variable rows: TS_FIELD(convertSettings, maxPrecision).
#define TS_FIELD(accessor, field) [](App& a) -> void* { return &(accessor(a).field); }

// A row under its French and its English name (the same name when both languages share it;
// an empty French name for rows that exist only under one name).
struct Bilingual {
    std::string_view french, english;
    ScriptIdentifier row;
};

// A row a subsystem exports. `scope` is "" for the top level of the table, otherwise the English
// name of the object it is a member of ("system", "convert", "folders", "list", ...).
struct ExportedRow {
    std::string_view scope;
    Bilingual row;
};

inline ScriptIdentifier named(ScriptIdentifier row, std::string_view name) {
    row.name = name;
    return row;
}

}  // namespace ts
