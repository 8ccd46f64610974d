// Script rows of the interpreter's own commands and of the `system` settings.
#include "script/identifier_rows.h"
#include "script/script_commands.h"
#include "script/settings.h"

namespace ts {

namespace {
using K = IdentifierKind;

// The default folders are written from 1 (deffolder[t] for element type code t) and held from 0.
const ScriptArrayDef kDefFolders{kDefaultFolderCount, K::StringVariable,
                                 [](App& a, int i) -> void* { return &systemSettings(a).defFolders[size_t(i)]; }};
}  // namespace

std::vector<ExportedRow> scriptRows() {
    return {
        {"", {"ok", "ok", commandRow(cmdOk)}},
        {"", {"msgbox", "msgbox", commandRow(cmdMsgBox)}},
        {"", {"visible", "visible", commandRow(cmdVisible)}},
        {"", {"quitte", "quit", commandRow(cmdQuit)}},
        {"", {"fin", "end", commandRow(cmdEnd)}},
        {"", {"exec", "exec", commandRow(cmdExec)}},
        {"", {"goto", "goto", commandRow(cmdGoto)}},
        {"", {"retour", "return", commandRow(cmdReturn)}},
        {"", {"format", "format", commandRow(cmdFormat)}},
        {"", {"modele", "model", commandRow(cmdModel)}},
        {"", {"inclure", "include", commandRow(cmdInclude)}},
        {"", {"faire", "do", commandRow(cmdDo)}},
        {"", {"messages", "messages", variableRow(K::IntVariable, TS_FIELD(systemSettings, messages))}},
        {"", {"r\xE9pertoire", "directory", variableRow(K::StringVariable, TS_FIELD(systemSettings, directory))}},
        {"", {"script", "script", variableRow(K::StringVariable, TS_FIELD(systemSettings, scriptName))}},
        {"", {"aideperso", "userhelp", variableRow(K::StringVariable, TS_FIELD(systemSettings, userHelp))}},
        {"", {"dossierd\xE9" "f", "deffolder", arrayRow(kDefFolders)}},

        {"folders", {"cartes", "maps", variableRow(K::StringVariable, TS_FIELD(systemSettings, defFolders[0]))}},
        {"folders", {"mosaiques", "tilesets", variableRow(K::StringVariable, TS_FIELD(systemSettings, defFolders[2]))}},
        {"folders", {"bitmaps", "bitmaps", variableRow(K::StringVariable, TS_FIELD(systemSettings, defFolders[3]))}},
        {"folders", {"palettes", "palettes", variableRow(K::StringVariable, TS_FIELD(systemSettings, defFolders[5]))}},
        {"folders", {"listes", "lists", variableRow(K::StringVariable, TS_FIELD(systemSettings, defFolders[6]))}},
        {"folders", {"dossier", "folder", arrayRow(kDefFolders)}},

        {"system", {"r\xE9pertoire", "directory", variableRow(K::StringVariable, TS_FIELD(systemSettings, directory))}},
        {"system", {"sauverparamsmaps", "savemapsparams", variableRow(K::IntVariable, TS_FIELD(systemSettings, saveMapsParams))}},
        {"system", {"sauverparamsmapsauto", "savemapsparamsauto", variableRow(K::IntVariable, TS_FIELD(systemSettings, saveMapsParamsAuto))}},
        {"system", {"memoiremax", "maxmemory", commandRow(cmdSystemMaxMemory)}},
        {"system", {"selectionformatauto", "autoformatselection", variableRow(K::IntVariable, TS_FIELD(systemSettings, autoFormatSelection))}},
        {"system", {{}, "emulgba", commandRow(cmdSystemEmulGba)}},
    };
}

}  // namespace ts
