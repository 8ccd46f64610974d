#include "formats/platform_format_bridge.h"

#include "formats/format_state.h"

namespace ts {

void setFormatUserText(App& app, int n, const std::string& text) {
    if (n < 1 || n > kUserTextCount) return;
    formatState(app).current.user[size_t(n - 1)] = text.substr(0, kUserTextMax);
}

}  // namespace ts
