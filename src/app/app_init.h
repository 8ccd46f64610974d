#pragma once
namespace ts {
struct App;
// Start-up defaults of every subsystem: settings, platforms (GBA selected), the format table with
// "Standard", the model table with "Default", the colour tables of the conversion and the
// template variables.
void initializeApp(App& app);
}  // namespace ts
