// Script rows of the map editor's objects: maps/fonds, modehexa, editor/editeur, specimen, bits.
#include "editor/editor_document.h"
#include "editor/editor_settings.h"
#include "editor/editor_settings_script.h"
#include "script/identifier_rows.h"

namespace ts {

namespace {
using K = IdentifierKind;

// Maps.Visible[n], one element per plane slot.
const ScriptArrayDef kVisible{MaxPlanes, K::IntVariable,
                              [](App& a, int i) -> void* { return &editorDocument(a).planes[size_t(i)].visible; }};

#define TS_OPTION(field) TS_FIELD(editorDocument, options.field)
}  // namespace

std::vector<ExportedRow> editorScriptRows() {
    return {
        {"maps", {"alphapremplan", "alphaforeground", variableRow(K::IntVariable, TS_OPTION(alphaForeground))}},
        {"maps", {"proprepalette", "multipalettes", variableRow(K::IntVariable, TS_FIELD(editorSettings, mapsMultiPalettes))}},
        {"maps", {"transparence", "transparency", variableRow(K::IntVariable, TS_OPTION(transparency))}},
        {"maps", {"alphahex", "alphahex", variableRow(K::IntVariable, TS_OPTION(alphaHex))}},
        {"maps", {"alphagfx", "alphagfx", variableRow(K::IntVariable, TS_OPTION(alphaGfx))}},
        {"maps", {"visible", "visible", arrayRow(kVisible)}},
        {"maps", {"ajoute", "add", commandRow(cmdMapsAdd)}},
        {"maps", {"reinit", "reset", commandRow(cmdMapsReset)}},
        {"maps", {"liemap", "link", commandRow(cmdMapsLink)}},
        {"maps", {"vitessedefil", "scrollrate", commandRow(cmdMapsScrollRate)}},
        {"maps", {"ajcondition", "addcondition", commandRow(cmdMapsAddCondition)}},
        {"maps", {"grille", "grid", commandRow(cmdMapsGrid)}},
        {"maps", {{}, "stepping", commandRow(cmdMapsGrid)}},
        {"maps", {"emulgba", "emulgba", commandRow(cmdMapsEmulGba)}},

        {"modehexa", {"actif", "enabled", variableRow(K::IntVariable, TS_OPTION(hexMode))}},
        {"modehexa", {"comblezeros", "fillzeros", variableRow(K::IntVariable, TS_OPTION(fillZeros))}},
        {"modehexa", {"fondactif", "activemap", variableRow(K::IntVariable, TS_OPTION(hexActiveMap))}},

        {"editor", {"popupinfos", "popupinfos", variableRow(K::IntVariable, TS_OPTION(popupInfos))}},
        {"editor", {"tempspopup", "popuptime", variableRow(K::IntVariable, TS_OPTION(popupTime))}},
        {"editor", {"blocinvisible", "invisibleblock", variableRow(K::IntVariable, TS_OPTION(invisibleBlock))}},
        {"editor", {"zoomprecis", "precisezoom", variableRow(K::IntVariable, TS_OPTION(preciseZoom))}},
        {"editor", {"grille", "grid", variableRow(K::IntVariable, TS_OPTION(gridShown))}},
        {"editor", {"couleurgrille", "gridcolor", variableRow(K::IntVariable, TS_OPTION(gridColor))}},
        {"editor", {"alphagrille", "alphagrid", variableRow(K::IntVariable, TS_OPTION(alphaGrid))}},
        {"editor", {"masquezero", "zeromask", variableRow(K::IntVariable, TS_OPTION(zeroMask))}},
        {"editor", {"timing", "timing", variableRow(K::IntVariable, TS_FIELD(editorSettings, timing))}},
        {"editor", {"deplace", "move", commandRow(cmdEditorMove)}},
        {"editor", {"zoom", "zoom", commandRow(cmdEditorZoom)}},

        {"specimen", {"affiche", "show", commandRow(cmdSpecimenShow)}},
        {"specimen", {"ajoutemap", "addmap", commandRow(cmdSpecimenAddMap)}},
        {"specimen", {"deplace", "move", commandRow(cmdSpecimenMove)}},

        {"bits", {"affiche", "show", commandRow(cmdBitsShow)}},
        {"bits", {"textebit", "bittext", commandRow(cmdBitsBitText)}},
        {"bits", {"bitactif", "bitenabled", commandRow(cmdBitsBitEnabled)}},
        {"bits", {"masquezero", "zeromask", variableRow(K::IntVariable, TS_OPTION(bitsZeroMask))}},
        {"bits", {"deplace", "move", commandRow(cmdBitsMove)}},
    };
}

}  // namespace ts
