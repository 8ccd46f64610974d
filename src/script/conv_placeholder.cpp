#include "script/conv_placeholder.h"

#include "host/message_box.h"
#include "project/app_state.h"
#include "resources/texts.h"

namespace ts {
void cmdConvPlaceholder(App& app, char* args) {
    showBox(app.host, tr(T::CaptionDebugging), formatText(tr(T::ConvNotAvailable), args));
}
}  // namespace ts
