#include "project/ui/panel_factories.h"

#include "project/ui/main_window.h"
#include "project/ui/panel_form_host.h"
#include "project/ui/panel_widgets.h"

namespace ts {

PanelFactories defaultPanelFactories() {
    PanelFactories panels;
    addPanelWidgets(panels);
    // The script's form controls reach the window's forms; `tree-...` selects a branch and shows
    // its form even while a script runs.
    panels.attachWindow = [](App& app, QWidget* window) {
        PanelFormHost* host = PanelFormHost::of(app, window);
        if (auto* main = dynamic_cast<MainWindow*>(window); host && main)
            host->selectBranch = [main](int branch) { main->showBranch(branch); };
    };
    return panels;
}

}  // namespace ts
