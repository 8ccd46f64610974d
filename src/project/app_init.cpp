#include "project/app_init.h"

#include "project/app_state.h"

namespace ts {

void initializeApp(App& app) {
    app.system = SystemSettings{};
    app.convert = ConvertSettings{};
    app.editor = EditorSettings{};
    app.elements.records.clear();
    // Each subsystem adds its start-up step below, in start-up order.
}

}  // namespace ts
