#include "project/ui/panel_factories.h"

namespace ts {

PanelFactories defaultPanelFactories() {
    PanelFactories panels;
    return panels;
}

}  // namespace ts
