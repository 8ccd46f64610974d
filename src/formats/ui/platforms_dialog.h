#pragma once
// The "Platforms" dialog: the list of platforms, "Options..." for the chosen one's panel, and OK
// to make it the current platform.
#include <QDialog>

class QListWidget;

namespace ts {

struct App;

class PlatformsDialog : public QDialog {
public:
    PlatformsDialog(App& app, QWidget* parent);
    // The platform the list shows selected.
    int chosenPlatform() const;
    void choosePlatform(int index);
    void accept() override;

private:
    App& app_;
    QListWidget* list_ = nullptr;
};

// "Platform..." of the main window.
void showPlatformsDialog(App& app, QWidget* parent);

}  // namespace ts
