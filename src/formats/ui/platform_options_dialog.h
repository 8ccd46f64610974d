#pragma once
// A small dialog around a platform's options panel ("More..." of the forms, "Options..." of the
// Platforms dialog).
class QWidget;

namespace ts {

struct App;

// Whether the current platform offers a panel for the page kind.
bool platformHasOptionsPanel(App& app, int pageKind, int platformIndex);
inline bool platformHasOptionsPanel(App& app, int pageKind) { return platformHasOptionsPanel(app, pageKind, -1); }
// Shows the panel of a platform (-1: the current one) for the page kind in a modal dialog; the
// boxes are stored when it closes.
void showPlatformOptions(App& app, int pageKind, QWidget* parent, int platformIndex = -1);

}  // namespace ts
