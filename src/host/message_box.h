#pragma once
// Helpers for showing the program's messages through the host services.
#include <string>

#include "host/host_services.h"

namespace ts {

// printf into a std::string (the format and arguments are Windows-1252 text).
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A message of the text table that takes no value, as printf would print it: "%%" becomes "%",
// anything else stays as written (no conversion is ever read, whatever the table holds).
std::string formatWithoutValues(const char* format);

Answer showBox(HostServices& host, const std::string& caption, const std::string& text,
               Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
               Answer defaultAnswer = Answer::Ok, bool owned = true);

}  // namespace ts
