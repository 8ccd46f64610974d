// Script rows of formats, platforms, parameter models and object lists.
#include "formats/format_commands.h"
#include "formats/platform_commands.h"
#include "script/identifier_rows.h"

namespace ts {

std::vector<ExportedRow> formatScriptRows() {
    return {
        {"", {"defformat", "definefmt", commandRow(cmdDefineFormat)}},
        {"", {"defmodele", "definemodel", commandRow(cmdDefineModel)}},
        {"", {"selformat", "setformat", commandRow(cmdSetFormat)}},
        {"", {"selmodele", "setmodel", commandRow(cmdSetModel)}},
        {"", {"plateforme", "platform", commandRow(cmdPlatform)}},
        {"system", {"objetsmax", "maxobjects", commandRow(cmdMaxObjects)}},
        {"list", {"reinitparams", "resetparams", commandRow(cmdListResetParams)}},
        {"list", {"ajparam", "addparam", commandRow(cmdListAddParam)}},
    };
}

}  // namespace ts
