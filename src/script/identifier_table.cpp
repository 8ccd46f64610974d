#include "script/identifier_table.h"

#include "project/app_state.h"
#include "convert/conv_command.h"
#include "convert/convert_commands.h"
#include "formats/format_commands.h"
#include "formats/platform_commands.h"
#include "project/project_commands.h"
#include "script/script_commands.h"

namespace ts {

namespace {

using K = IdentifierKind;
using C = FormControl;

ScriptIdentifier command(std::string_view name, CommandHandler handler) {
    ScriptIdentifier r;
    r.name = name;
    r.kind = K::Command;
    r.command = handler;
    return r;
}

ScriptIdentifier variable(std::string_view name, K kind, void* (*accessor)(App&)) {
    ScriptIdentifier r;
    r.name = name;
    r.kind = kind;
    r.variable = accessor;
    return r;
}

ScriptIdentifier control(std::string_view name, K kind, C which) {
    ScriptIdentifier r;
    r.name = name;
    r.kind = kind;
    r.control = which;
    return r;
}

ScriptIdentifier object(std::string_view name, const ScriptObjectDef& def) {
    ScriptIdentifier r;
    r.name = name;
    r.kind = K::ScriptObject;
    r.object = &def;
    return r;
}

ScriptIdentifier array(std::string_view name, const ScriptArrayDef& def) {
    ScriptIdentifier r;
    r.name = name;
    r.kind = K::ScriptArray;
    r.array = &def;
    return r;
}

#define TS_VAR(field) [](App& a) -> void* { return &(a.field); }

// A row under its French and its English name (the same name when both languages share it).
struct Bilingual {
    std::string_view french, english;
    ScriptIdentifier row;
};

ScriptIdentifier named(ScriptIdentifier row, std::string_view name) {
    row.name = name;
    return row;
}

// Member lists hold the English row, then the French one when its name differs.
std::vector<ScriptIdentifier> members(std::initializer_list<Bilingual> rows) {
    std::vector<ScriptIdentifier> out;
    for (const auto& r : rows) {
        out.push_back(named(r.row, r.english));
        if (!r.french.empty() && r.french != r.english) out.push_back(named(r.row, r.french));
    }
    return out;
}

// ---- arrays and objects ----
// The default folders are written from 1 (deffolder[t] for element type code t) and held from 0.

const ScriptArrayDef kDefFolders{kDefaultFolderCount, K::StringVariable,
                                 [](App& a, int i) -> void* { return &a.system.defFolders[size_t(i)]; }};

const ScriptObjectDef kFolders{members({
    {"cartes", "maps", variable({}, K::StringVariable, TS_VAR(system.defFolders[0]))},
    {"mosaiques", "tilesets", variable({}, K::StringVariable, TS_VAR(system.defFolders[2]))},
    {"bitmaps", "bitmaps", variable({}, K::StringVariable, TS_VAR(system.defFolders[3]))},
    {"palettes", "palettes", variable({}, K::StringVariable, TS_VAR(system.defFolders[5]))},
    {"listes", "lists", variable({}, K::StringVariable, TS_VAR(system.defFolders[6]))},
    {"dossier", "folder", array({}, kDefFolders)},
})};

const ScriptObjectDef kSystem{members({
    {"r\xE9pertoire", "directory", variable({}, K::StringVariable, TS_VAR(system.directory))},
    {"objetsmax", "maxobjects", command({}, cmdMaxObjects)},
    {"sauverparamsmaps", "savemapsparams", variable({}, K::IntVariable, TS_VAR(system.saveMapsParams))},
    {"sauverparamsmapsauto", "savemapsparamsauto", variable({}, K::IntVariable, TS_VAR(system.saveMapsParamsAuto))},
    {"memoiremax", "maxmemory", command({}, cmdSystemMaxMemory)},
    {"selectionformatauto", "autoformatselection", variable({}, K::IntVariable, TS_VAR(system.autoFormatSelection))},
    {{}, "emulgba", command({}, cmdSystemEmulGba)},
})};

const ScriptObjectDef kConvert{members({
    {"couleurmasque", "maskcolor", command({}, cmdMaskColor)},
    {"couleurzero", "zerocolor", command({}, cmdZeroColor)},
    {"utilmaxcoul", "usemaxcolors", variable({}, K::IntVariable, TS_VAR(convert.useMaxColors))},
    {"luminosite", "lighting", command({}, cmdLighting)},
    {"nuances", "shades", command({}, cmdShades)},
    {"nuancesavant", "shadesbefore", command({}, cmdShadesBefore)},
    {"mode", "quantization", command({}, cmdQuantization)},
    {"tronquer", "truncate", command({}, cmdTruncate)},
    {"precisionmax", "maxprecision", variable({}, K::IntVariable, TS_VAR(convert.maxPrecision))},
    {"colorisation", "colorization", variable({}, K::IntVariable, TS_VAR(convert.colorization))},
    {"premtilevide", "firsttileempty", variable({}, K::IntVariable, TS_VAR(convert.firstTileEmpty))},
    {"reducpalrapide", "fastpalreduction", variable({}, K::IntVariable, TS_VAR(convert.fastPalReduction))},
    {"reducpalpost", "palreducpost", variable({}, K::IntVariable, TS_VAR(convert.palReducPost))},
    {{}, "tilex", variable({}, K::IntVariable, TS_VAR(convert.tileX))},
    {{}, "tiley", variable({}, K::IntVariable, TS_VAR(convert.tileY))},
})};

const ScriptObjectDef kList{members({
    {"reinitparams", "resetparams", command({}, cmdListResetParams)},
    {"ajparam", "addparam", command({}, cmdListAddParam)},
})};

// The creation-form controls, in the same order in both halves of the table.
const Bilingual kControls[] = {
    {"arbre-mosaiques", "tree-tilesets", control({}, K::TreeItemControl, C::TreeTilesets)},
    {"arbre-cartes", "tree-maps", control({}, K::TreeItemControl, C::TreeMaps)},
    {"arbre-bitmaps", "tree-bitmaps", control({}, K::TreeItemControl, C::TreeBitmaps)},
    {"texte-01", "text-01", control({}, K::TextControl, C::Text01)},
    {"texte-source", "text-source", control({}, K::TextControl, C::Text01)},
    {"texte-02", "text-02", control({}, K::TextControl, C::Text02)},
    {"texte-dest", "text-dest", control({}, K::TextControl, C::Text02)},
    {"texte-tileset", "text-tileset", control({}, K::TextControl, C::Text02)},
    {"texte-taillex", "text-sizex", control({}, K::TextControl, C::Text02)},
    {"texte-03", "text-03", control({}, K::TextControl, C::Text03)},
    {"texte-palette", "text-palette", control({}, K::TextControl, C::Text03)},
    {"texte-tailley", "text-sizey", control({}, K::TextControl, C::Text03)},
    {"texte-04", "text-04", control({}, K::TextControl, C::Text04)},
    {"texte-map", "text-map", control({}, K::TextControl, C::Text04)},
    {"texte-05", "text-05", control({}, K::TextControl, C::Text05)},
    {"texte-couleurs", "text-colors", control({}, K::TextControl, C::Text05)},
    {"check-palette", "check-palette", control({}, K::CheckControl, C::CheckPalette)},
    {"check-tileset", "check-tileset", control({}, K::CheckControl, C::CheckTileset)},
    {"check-map", "check-map", control({}, K::CheckControl, C::CheckMap)},
    {"check-optimise", "check-optimize", control({}, K::CheckControl, C::CheckOptimize)},
    {"check-16", "check-16", control({}, K::CheckControl, C::Check16)},
    {"radio-texte", "radio-text", control({}, K::RadioControl, C::RadioText)},
    {"radio-rotation", "radio-rotation", control({}, K::RadioControl, C::RadioRotation)},
    {"combo-palette", "combo-palette", control({}, K::ComboControl, C::ComboPalette)},
    {"combo-tileset", "combo-tileset", control({}, K::ComboControl, C::ComboTileset)},
    {"combo-taille", "combo-size", control({}, K::ComboControl, C::ComboSize)},
    {"combo-tiles", "combo-tiles", control({}, K::ComboControl, C::ComboTiles)},
    {"combo-map", "combo-map", control({}, K::ComboControl, C::ComboMap)},
};

// Commands and variables that both halves of the table list, in the same order.
const Bilingual kCommandsAndVariables[] = {
    {"ok", "ok", command({}, cmdOk)},
    {"msgbox", "msgbox", command({}, cmdMsgBox)},
    {"visible", "visible", command({}, cmdVisible)},
    {"quitte", "quit", command({}, cmdQuit)},
    {"fin", "end", command({}, cmdEnd)},
    {"exec", "exec", command({}, cmdExec)},
    {"goto", "goto", command({}, cmdGoto)},
    {"retour", "return", command({}, cmdReturn)},
    {"effets", "effects", command({}, cmdLighting)},
    {"defformat", "definefmt", command({}, cmdDefineFormat)},
    {"defmodele", "definemodel", command({}, cmdDefineModel)},
    {"format", "format", command({}, cmdFormat)},
    {"modele", "model", command({}, cmdModel)},
    {"selformat", "setformat", command({}, cmdSetFormat)},
    {"selmodele", "setmodel", command({}, cmdSetModel)},
    {"inclure", "include", command({}, cmdInclude)},
    {"faire", "do", command({}, cmdDo)},
    {"plateforme", "platform", command({}, cmdPlatform)},
    {"messages", "messages", variable({}, K::IntVariable, TS_VAR(system.messages))},
    {"r\xE9pertoire", "directory", variable({}, K::StringVariable, TS_VAR(system.directory))},
    {"script", "script", variable({}, K::StringVariable, TS_VAR(system.scriptName))},
    {"aideperso", "userhelp", variable({}, K::StringVariable, TS_VAR(system.userHelp))},
    {"dossiers", "folders", object({}, kFolders)},
    {"dossierd\xE9" "f", "deffolder", array({}, kDefFolders)},
};

std::vector<ScriptIdentifier> buildTable() {
    std::vector<ScriptIdentifier> t;
    // French half: controls, then commands and variables.
    for (const auto& c : kControls) t.push_back(named(c.row, c.french));
    for (const auto& c : kCommandsAndVariables) t.push_back(named(c.row, c.french));
    // English half, then the names common to both languages.
    for (const auto& c : kControls) t.push_back(named(c.row, c.english));
    for (const auto& c : kCommandsAndVariables) t.push_back(named(c.row, c.english));
    t.push_back(command("conv", cmdConv));
    t.push_back(command("nettoie-projet", cmdCleanProject));
    t.push_back(command("clean-project", cmdCleanProject));
    t.push_back(object("system", kSystem));
    t.push_back(object("convert", kConvert));
    t.push_back(object("liste", kList));
    t.push_back(object("list", kList));
    return t;
}

}  // namespace

const std::vector<ScriptIdentifier>& builtinIdentifiers() {
    static const std::vector<ScriptIdentifier> table = buildTable();
    return table;
}

}  // namespace ts
