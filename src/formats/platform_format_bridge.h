#pragma once
// What the platform operations need from the format subsystem, in one place.
#include <string>

namespace ts {

struct App;

// Sets user text n (1-8) of the current format.
void setFormatUserText(App& app, int n, const std::string& text);

}  // namespace ts
