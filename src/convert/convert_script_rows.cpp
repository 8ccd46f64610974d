// Script rows of the conversion: `conv`, `effects` and the `convert` object.
#include "convert/compression_setting.h"
#include "convert/conv_command.h"
#include "convert/convert_commands.h"
#include "convert/convert_settings.h"
#include "script/identifier_rows.h"

namespace ts {

std::vector<ExportedRow> convertScriptRows() {
    using K = IdentifierKind;
    return {
        {"", {"effets", "effects", commandRow(cmdLighting)}},
        {"", {{}, "conv", commandRow(cmdConv)}},

        {"convert", {"couleurmasque", "maskcolor", commandRow(cmdMaskColor)}},
        {"convert", {"couleurzero", "zerocolor", commandRow(cmdZeroColor)}},
        {"convert", {"utilmaxcoul", "usemaxcolors", variableRow(K::IntVariable, TS_FIELD(convertSettings, useMaxColors))}},
        {"convert", {"luminosite", "lighting", commandRow(cmdLighting)}},
        {"convert", {"nuances", "shades", commandRow(cmdShades)}},
        {"convert", {"nuancesavant", "shadesbefore", commandRow(cmdShadesBefore)}},
        {"convert", {"mode", "quantization", commandRow(cmdQuantization)}},
        {"convert", {"diffusion", "dither", commandRow(cmdDither)}},
        {"convert", {"tronquer", "truncate", commandRow(cmdTruncate)}},
        {"convert", {"precisionmax", "maxprecision", variableRow(K::IntVariable, TS_FIELD(convertSettings, maxPrecision))}},
        {"convert", {"colorisation", "colorization", variableRow(K::IntVariable, TS_FIELD(convertSettings, colorization))}},
        {"convert", {"premtilevide", "firsttileempty", variableRow(K::IntVariable, TS_FIELD(convertSettings, firstTileEmpty))}},
        {"convert", {"reducpalrapide", "fastpalreduction", variableRow(K::IntVariable, TS_FIELD(convertSettings, fastPalReduction))}},
        {"convert", {"reducpalpost", "palreducpost", variableRow(K::IntVariable, TS_FIELD(convertSettings, palReducPost))}},
        {"convert", {"empaquetageexact", "exactpacking", variableRow(K::IntVariable, TS_FIELD(convertSettings, exactPacking))}},
        {"convert", {"fusionmiroirs", "flipmerge", variableRow(K::IntVariable, TS_FIELD(convertSettings, flipMerge))}},
        {"convert", {{}, "tilex", variableRow(K::IntVariable, TS_FIELD(convertSettings, tileX))}},
        {"convert", {{}, "tiley", variableRow(K::IntVariable, TS_FIELD(convertSettings, tileY))}},
        {"convert", {"compactage", "compression", commandRow(cmdCompression)}},
    };
}

}  // namespace ts
