#pragma once
// The subsystems whose script rows make up the identifier table.
#include <vector>

#include "script/identifier_rows.h"

namespace ts {

std::vector<ExportedRow> scriptRows();
std::vector<ExportedRow> convertScriptRows();
std::vector<ExportedRow> formatScriptRows();
std::vector<ExportedRow> projectScriptRows();
std::vector<ExportedRow> editorScriptRows();

using ScriptRowSource = std::vector<ExportedRow> (*)();
inline std::vector<ScriptRowSource> scriptRowSources() {
    return {scriptRows, convertScriptRows, formatScriptRows, projectScriptRows, editorScriptRows};
}

}  // namespace ts
