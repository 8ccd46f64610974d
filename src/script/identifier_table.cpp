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

// ---- arrays and objects ----
// The default folders are written from 1 (deffolder[t] for element type code t) and held from 0.

const ScriptArrayDef kDefFolders{kDefaultFolderCount, K::StringVariable,
                                 [](App& a, int i) -> void* { return &a.system.defFolders[size_t(i)]; }};

const ScriptObjectDef kFolders{{
    variable("maps", K::StringVariable, TS_VAR(system.defFolders[0])),
    variable("cartes", K::StringVariable, TS_VAR(system.defFolders[0])),
    variable("tilesets", K::StringVariable, TS_VAR(system.defFolders[2])),
    variable("mosaiques", K::StringVariable, TS_VAR(system.defFolders[2])),
    variable("bitmaps", K::StringVariable, TS_VAR(system.defFolders[3])),
    variable("palettes", K::StringVariable, TS_VAR(system.defFolders[5])),
    variable("lists", K::StringVariable, TS_VAR(system.defFolders[6])),
    variable("listes", K::StringVariable, TS_VAR(system.defFolders[6])),
    array("folder", kDefFolders),
    array("dossier", kDefFolders),
}};

const ScriptObjectDef kList{{
    command("resetparams", cmdListResetParams),
    command("reinitparams", cmdListResetParams),
    command("addparam", cmdListAddParam),
    command("ajparam", cmdListAddParam),
}};

const ScriptObjectDef kSystem{{
    variable("directory", K::StringVariable, TS_VAR(system.directory)),
    variable("r\xE9pertoire", K::StringVariable, TS_VAR(system.directory)),
    command("maxobjects", cmdMaxObjects),
    command("objetsmax", cmdMaxObjects),
    variable("savemapsparams", K::IntVariable, TS_VAR(system.saveMapsParams)),
    variable("sauverparamsmaps", K::IntVariable, TS_VAR(system.saveMapsParams)),
    variable("savemapsparamsauto", K::IntVariable, TS_VAR(system.saveMapsParamsAuto)),
    variable("sauverparamsmapsauto", K::IntVariable, TS_VAR(system.saveMapsParamsAuto)),
    command("maxmemory", cmdSystemMaxMemory),
    command("memoiremax", cmdSystemMaxMemory),
    variable("autoformatselection", K::IntVariable, TS_VAR(system.autoFormatSelection)),
    variable("selectionformatauto", K::IntVariable, TS_VAR(system.autoFormatSelection)),
    command("emulgba", cmdSystemEmulGba),
}};

const ScriptObjectDef kConvert{{
    command("maskcolor", cmdMaskColor),
    command("couleurmasque", cmdMaskColor),
    command("zerocolor", cmdZeroColor),
    command("couleurzero", cmdZeroColor),
    variable("usemaxcolors", K::IntVariable, TS_VAR(convert.useMaxColors)),
    variable("utilmaxcoul", K::IntVariable, TS_VAR(convert.useMaxColors)),
    command("lighting", cmdLighting),
    command("luminosite", cmdLighting),
    command("shades", cmdShades),
    command("nuances", cmdShades),
    command("shadesbefore", cmdShadesBefore),
    command("nuancesavant", cmdShadesBefore),
    command("quantization", cmdQuantization),
    command("mode", cmdQuantization),
    command("truncate", cmdTruncate),
    command("tronquer", cmdTruncate),
    variable("maxprecision", K::IntVariable, TS_VAR(convert.maxPrecision)),
    variable("precisionmax", K::IntVariable, TS_VAR(convert.maxPrecision)),
    variable("colorization", K::IntVariable, TS_VAR(convert.colorization)),
    variable("colorisation", K::IntVariable, TS_VAR(convert.colorization)),
    variable("firsttileempty", K::IntVariable, TS_VAR(convert.firstTileEmpty)),
    variable("premtilevide", K::IntVariable, TS_VAR(convert.firstTileEmpty)),
    variable("fastpalreduction", K::IntVariable, TS_VAR(convert.fastPalReduction)),
    variable("reducpalrapide", K::IntVariable, TS_VAR(convert.fastPalReduction)),
    variable("palreducpost", K::IntVariable, TS_VAR(convert.palReducPost)),
    variable("reducpalpost", K::IntVariable, TS_VAR(convert.palReducPost)),
    variable("tilex", K::IntVariable, TS_VAR(convert.tileX)),
    variable("tiley", K::IntVariable, TS_VAR(convert.tileY)),
}};

// The creation-form controls, in the same order in both halves of the table.
struct ControlNames {
    std::string_view french, english;
    K kind;
    C control;
};
const ControlNames kControls[] = {
    {"arbre-mosaiques", "tree-tilesets", K::TreeItemControl, C::TreeTilesets},
    {"arbre-cartes", "tree-maps", K::TreeItemControl, C::TreeMaps},
    {"arbre-bitmaps", "tree-bitmaps", K::TreeItemControl, C::TreeBitmaps},
    {"texte-01", "text-01", K::TextControl, C::Text01},
    {"texte-source", "text-source", K::TextControl, C::Text01},
    {"texte-02", "text-02", K::TextControl, C::Text02},
    {"texte-dest", "text-dest", K::TextControl, C::Text02},
    {"texte-tileset", "text-tileset", K::TextControl, C::Text02},
    {"texte-taillex", "text-sizex", K::TextControl, C::Text02},
    {"texte-03", "text-03", K::TextControl, C::Text03},
    {"texte-palette", "text-palette", K::TextControl, C::Text03},
    {"texte-tailley", "text-sizey", K::TextControl, C::Text03},
    {"texte-04", "text-04", K::TextControl, C::Text04},
    {"texte-map", "text-map", K::TextControl, C::Text04},
    {"texte-05", "text-05", K::TextControl, C::Text05},
    {"texte-couleurs", "text-colors", K::TextControl, C::Text05},
    {"check-palette", "check-palette", K::CheckControl, C::CheckPalette},
    {"check-tileset", "check-tileset", K::CheckControl, C::CheckTileset},
    {"check-map", "check-map", K::CheckControl, C::CheckMap},
    {"check-optimise", "check-optimize", K::CheckControl, C::CheckOptimize},
    {"check-16", "check-16", K::CheckControl, C::Check16},
    {"radio-texte", "radio-text", K::RadioControl, C::RadioText},
    {"radio-rotation", "radio-rotation", K::RadioControl, C::RadioRotation},
    {"combo-palette", "combo-palette", K::ComboControl, C::ComboPalette},
    {"combo-tileset", "combo-tileset", K::ComboControl, C::ComboTileset},
    {"combo-taille", "combo-size", K::ComboControl, C::ComboSize},
    {"combo-tiles", "combo-tiles", K::ComboControl, C::ComboTiles},
    {"combo-map", "combo-map", K::ComboControl, C::ComboMap},
};

std::vector<ScriptIdentifier> buildTable() {
    std::vector<ScriptIdentifier> t;
    // French half: controls, then commands and variables.
    for (const auto& c : kControls) t.push_back(control(c.french, c.kind, c.control));
    t.push_back(command("ok", cmdOk));
    t.push_back(command("msgbox", cmdMsgBox));
    t.push_back(command("visible", cmdVisible));
    t.push_back(command("quitte", cmdQuit));
    t.push_back(command("fin", cmdEnd));
    t.push_back(command("exec", cmdExec));
    t.push_back(command("goto", cmdGoto));
    t.push_back(command("retour", cmdReturn));
    t.push_back(command("effets", cmdLighting));
    t.push_back(command("defformat", cmdDefineFormat));
    t.push_back(command("defmodele", cmdDefineModel));
    t.push_back(command("format", cmdFormat));
    t.push_back(command("modele", cmdModel));
    t.push_back(command("selformat", cmdSetFormat));
    t.push_back(command("selmodele", cmdSetModel));
    t.push_back(command("inclure", cmdInclude));
    t.push_back(command("faire", cmdDo));
    t.push_back(command("plateforme", cmdPlatform));
    t.push_back(variable("messages", K::IntVariable, TS_VAR(system.messages)));
    t.push_back(variable("r\xE9pertoire", K::StringVariable, TS_VAR(system.directory)));
    t.push_back(variable("script", K::StringVariable, TS_VAR(system.scriptName)));
    t.push_back(variable("aideperso", K::StringVariable, TS_VAR(system.userHelp)));
    t.push_back(object("dossiers", kFolders));
    t.push_back(array("dossierd\xE9" "f", kDefFolders));

    // English half and the names common to both languages.
    for (const auto& c : kControls) t.push_back(control(c.english, c.kind, c.control));
    t.push_back(command("ok", cmdOk));
    t.push_back(command("msgbox", cmdMsgBox));
    t.push_back(command("visible", cmdVisible));
    t.push_back(command("quit", cmdQuit));
    t.push_back(command("end", cmdEnd));
    t.push_back(command("exec", cmdExec));
    t.push_back(command("goto", cmdGoto));
    t.push_back(command("return", cmdReturn));
    t.push_back(command("effects", cmdLighting));
    t.push_back(command("definefmt", cmdDefineFormat));
    t.push_back(command("definemodel", cmdDefineModel));
    t.push_back(command("format", cmdFormat));
    t.push_back(command("model", cmdModel));
    t.push_back(command("setformat", cmdSetFormat));
    t.push_back(command("setmodel", cmdSetModel));
    t.push_back(command("include", cmdInclude));
    t.push_back(command("do", cmdDo));
    t.push_back(command("platform", cmdPlatform));
    t.push_back(variable("messages", K::IntVariable, TS_VAR(system.messages)));
    t.push_back(variable("directory", K::StringVariable, TS_VAR(system.directory)));
    t.push_back(variable("script", K::StringVariable, TS_VAR(system.scriptName)));
    t.push_back(variable("userhelp", K::StringVariable, TS_VAR(system.userHelp)));
    t.push_back(object("folders", kFolders));
    t.push_back(array("deffolder", kDefFolders));
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
