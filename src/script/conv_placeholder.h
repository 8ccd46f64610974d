#pragma once
namespace ts {
struct App;
// Stands for the conversion command until the conversion engine is linked in.
void cmdConvPlaceholder(App& app, char* args);
}  // namespace ts
