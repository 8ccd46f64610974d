// The built-in identifier table: the rows every subsystem exports, joined in the documented order.
#include "script/identifier_table.h"

#include <map>
#include <stdexcept>
#include <string>

#include "app/script_row_sources.h"

namespace ts {

namespace {

// Names in table order (English names; each row carries its French twin).
constexpr std::string_view kControls[] = {
    "tree-tilesets", "tree-maps", "tree-bitmaps", "text-01", "text-source", "text-02", "text-dest",
    "text-tileset", "text-sizex", "text-03", "text-palette", "text-sizey", "text-04", "text-map",
    "text-05", "text-colors", "check-palette", "check-tileset", "check-map", "check-optimize",
    "check-16", "radio-text", "radio-rotation", "combo-palette", "combo-tileset", "combo-size",
    "combo-tiles", "combo-map",
};
constexpr std::string_view kCommandsAndVariables[] = {
    "ok", "msgbox", "visible", "quit", "end", "exec", "goto", "return", "effects", "definefmt",
    "definemodel", "format", "model", "setformat", "setmodel", "include", "do", "platform",
    "messages", "directory", "script", "userhelp", "folders", "deffolder",
};
// Object members, in the order each object lists them.
constexpr std::string_view kFolderMembers[] = {"maps", "tilesets", "bitmaps", "palettes", "lists", "folder"};
constexpr std::string_view kSystemMembers[] = {"directory", "maxobjects", "savemapsparams", "savemapsparamsauto",
                                               "maxmemory", "autoformatselection", "emulgba"};
constexpr std::string_view kConvertMembers[] = {
    "maskcolor", "zerocolor", "usemaxcolors", "lighting", "shades", "shadesbefore", "quantization", "dither",
    "truncate", "maxprecision", "colorization", "firsttileempty", "fastpalreduction", "palreducpost",
    "tilex", "tiley", "exactpacking", "flipmerge", "compression",
};
constexpr std::string_view kListMembers[] = {"resetparams", "addparam"};
constexpr std::string_view kMapsMembers[] = {"alphaforeground", "multipalettes", "transparency", "alphahex",
                                             "alphagfx", "visible", "add", "reset", "link", "scrollrate",
                                             "addcondition", "grid", "stepping", "emulgba"};
constexpr std::string_view kHexModeMembers[] = {"enabled", "fillzeros", "activemap"};
constexpr std::string_view kEditorMembers[] = {"popupinfos", "popuptime", "invisibleblock", "precisezoom",
                                               "grid", "gridcolor", "alphagrid", "zeromask", "timing", "move",
                                               "zoom"};
constexpr std::string_view kSpecimenMembers[] = {"show", "addmap", "move"};
constexpr std::string_view kBitsMembers[] = {"show", "bittext", "bitenabled", "zeromask", "move"};

using Key = std::pair<std::string, std::string>;  // scope, English name

struct Pool {
    std::map<Key, Bilingual> rows;

    Pool() {
        for (auto source : scriptRowSources())
            for (const ExportedRow& r : source()) {
                auto [it, fresh] = rows.emplace(Key{std::string(r.scope), std::string(r.row.english)}, r.row);
                if (!fresh) throw std::logic_error("script row exported twice: " + std::string(r.row.english));
            }
    }
    const Bilingual& get(std::string_view scope, std::string_view english) const {
        auto it = rows.find(Key{std::string(scope), std::string(english)});
        if (it == rows.end()) throw std::logic_error("script row missing: " + std::string(english));
        return it->second;
    }
};

// Member lists hold the English row, then the French one when its name differs.
template <size_t N>
ScriptObjectDef objectOf(const Pool& pool, std::string_view scope, const std::string_view (&names)[N]) {
    ScriptObjectDef def;
    for (auto name : names) {
        const Bilingual& b = pool.get(scope, name);
        def.members.push_back(named(b.row, b.english));
        if (!b.french.empty() && b.french != b.english) def.members.push_back(named(b.row, b.french));
    }
    return def;
}

std::vector<ScriptIdentifier> buildTable() {
    static const Pool pool;
    static const ScriptObjectDef folders = objectOf(pool, "folders", kFolderMembers);
    static const ScriptObjectDef system = objectOf(pool, "system", kSystemMembers);
    static const ScriptObjectDef convert = objectOf(pool, "convert", kConvertMembers);
    static const ScriptObjectDef list = objectOf(pool, "list", kListMembers);
    static const ScriptObjectDef maps = objectOf(pool, "maps", kMapsMembers);
    static const ScriptObjectDef hexMode = objectOf(pool, "modehexa", kHexModeMembers);
    static const ScriptObjectDef editor = objectOf(pool, "editor", kEditorMembers);
    static const ScriptObjectDef specimen = objectOf(pool, "specimen", kSpecimenMembers);
    static const ScriptObjectDef bits = objectOf(pool, "bits", kBitsMembers);

    auto top = [&](std::string_view english) -> Bilingual {
        if (english == "folders") return {"dossiers", "folders", objectRow(folders)};
        return pool.get("", english);
    };
    auto french = [](const Bilingual& b) { return named(b.row, b.french.empty() ? b.english : b.french); };

    std::vector<ScriptIdentifier> t;
    // French half: controls, then commands and variables.
    for (auto n : kControls) t.push_back(french(top(n)));
    for (auto n : kCommandsAndVariables) t.push_back(french(top(n)));
    // English half, then the names common to both languages.
    for (auto n : kControls) t.push_back(named(top(n).row, n));
    for (auto n : kCommandsAndVariables) t.push_back(named(top(n).row, n));
    t.push_back(named(top("conv").row, "conv"));
    const Bilingual& clean = top("clean-project");
    t.push_back(named(clean.row, clean.french));
    t.push_back(named(clean.row, clean.english));
    const Bilingual& exportImage = top("exportimage");
    t.push_back(named(exportImage.row, exportImage.french));
    t.push_back(named(exportImage.row, exportImage.english));
    t.push_back(named(objectRow(maps), "fonds"));
    t.push_back(named(objectRow(hexMode), "modehexa"));
    t.push_back(named(objectRow(system), "system"));
    t.push_back(named(objectRow(convert), "convert"));
    t.push_back(named(objectRow(editor), "editeur"));
    t.push_back(named(objectRow(specimen), "specimen"));
    t.push_back(named(objectRow(bits), "bits"));
    t.push_back(named(objectRow(list), "liste"));
    t.push_back(named(objectRow(maps), "maps"));
    t.push_back(named(objectRow(editor), "editor"));
    t.push_back(named(objectRow(list), "list"));
    return t;
}

}  // namespace

const std::vector<ScriptIdentifier>& builtinIdentifiers() {
    static const std::vector<ScriptIdentifier> table = buildTable();
    return table;
}

}  // namespace ts
