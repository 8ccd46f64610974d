// Script rows of the project: the creation-form controls and `clean-project`.
#include "project/project_commands.h"
#include "script/identifier_rows.h"

namespace ts {

std::vector<ExportedRow> projectScriptRows() {
    using K = IdentifierKind;
    using C = FormControl;
    return {
        {"", {"arbre-mosaiques", "tree-tilesets", controlRow(K::TreeItemControl, C::TreeTilesets)}},
        {"", {"arbre-cartes", "tree-maps", controlRow(K::TreeItemControl, C::TreeMaps)}},
        {"", {"arbre-bitmaps", "tree-bitmaps", controlRow(K::TreeItemControl, C::TreeBitmaps)}},
        {"", {"texte-01", "text-01", controlRow(K::TextControl, C::Text01)}},
        {"", {"texte-source", "text-source", controlRow(K::TextControl, C::Text01)}},
        {"", {"texte-02", "text-02", controlRow(K::TextControl, C::Text02)}},
        {"", {"texte-dest", "text-dest", controlRow(K::TextControl, C::Text02)}},
        {"", {"texte-tileset", "text-tileset", controlRow(K::TextControl, C::Text02)}},
        {"", {"texte-taillex", "text-sizex", controlRow(K::TextControl, C::Text02)}},
        {"", {"texte-03", "text-03", controlRow(K::TextControl, C::Text03)}},
        {"", {"texte-palette", "text-palette", controlRow(K::TextControl, C::Text03)}},
        {"", {"texte-tailley", "text-sizey", controlRow(K::TextControl, C::Text03)}},
        {"", {"texte-04", "text-04", controlRow(K::TextControl, C::Text04)}},
        {"", {"texte-map", "text-map", controlRow(K::TextControl, C::Text04)}},
        {"", {"texte-05", "text-05", controlRow(K::TextControl, C::Text05)}},
        {"", {"texte-couleurs", "text-colors", controlRow(K::TextControl, C::Text05)}},
        {"", {"check-palette", "check-palette", controlRow(K::CheckControl, C::CheckPalette)}},
        {"", {"check-tileset", "check-tileset", controlRow(K::CheckControl, C::CheckTileset)}},
        {"", {"check-map", "check-map", controlRow(K::CheckControl, C::CheckMap)}},
        {"", {"check-optimise", "check-optimize", controlRow(K::CheckControl, C::CheckOptimize)}},
        {"", {"check-16", "check-16", controlRow(K::CheckControl, C::Check16)}},
        {"", {"radio-texte", "radio-text", controlRow(K::RadioControl, C::RadioText)}},
        {"", {"radio-rotation", "radio-rotation", controlRow(K::RadioControl, C::RadioRotation)}},
        {"", {"combo-palette", "combo-palette", controlRow(K::ComboControl, C::ComboPalette)}},
        {"", {"combo-tileset", "combo-tileset", controlRow(K::ComboControl, C::ComboTileset)}},
        {"", {"combo-taille", "combo-size", controlRow(K::ComboControl, C::ComboSize)}},
        {"", {"combo-tiles", "combo-tiles", controlRow(K::ComboControl, C::ComboTiles)}},
        {"", {"combo-map", "combo-map", controlRow(K::ComboControl, C::ComboMap)}},
        {"", {"nettoie-projet", "clean-project", commandRow(cmdCleanProject)}},
        {"", {"exporteimage", "exportimage", commandRow(cmdExportImage)}},
    };
}

}  // namespace ts
