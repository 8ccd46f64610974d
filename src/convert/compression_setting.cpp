#include "convert/compression_setting.h"

#include <string>

#include "formats/compression.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

void cmdCompression(App& app, char* args) {
    std::string value(args ? args : "");
    size_t start = value.find_first_not_of(" \t=");
    value = start == std::string::npos ? std::string() : value.substr(start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' || value.back() == '\n'))
        value.pop_back();
    for (char& c : value)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    Packing packing = Packing::None;
    if (value == "0" || value == "none" || value == "aucune") packing = Packing::None;
    else if (value == "1") packing = Packing::Lz77;
    else if (value == "2") packing = Packing::Rle;
    else if (!packingFromName(value, packing)) {
        showBox(hostServices(app), tr(T::CaptionScriptError), formatText(tr(T::ConvertCompressionUnknown), value.c_str()),
                Icon::Error);
        return;
    }
    convertSettings(app).compression = int32_t(packing);
}

}  // namespace ts
