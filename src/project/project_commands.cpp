#include "project/project_commands.h"

#include "project/element_table.h"

namespace ts {

void cmdCleanProject(App& app, char* /*args*/) { cleanProject(app); }

}  // namespace ts
