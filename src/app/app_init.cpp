#include "app/app_init.h"

#include "app/app_state.h"
#include "formats/platform.h"
#include "formats/format_commands.h"
#include "convert/colour_effects.h"

namespace ts {

void initializeApp(App& app) {
    app.system = SystemSettings{};
    app.convert = ConvertSettings{};
    app.editor = EditorSettings{};
    app.elements.records.clear();
    // The subsystems' start-up steps, in start-up order.
    initFormats(app);          // format table with "Standard" selected; template variables
    initializePlatforms(app);  // both platform records, GBA selected; the model table
    rebuildEffectTables(app);  // the colour effect tables for the selected depth
}

}  // namespace ts
