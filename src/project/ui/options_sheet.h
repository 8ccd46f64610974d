#pragma once
// The "Options" sheet: "General", "Conversion", "Models" and "Conversion (+1)". OK applies every
// page in order, Cancel discards. The "Models" tab is refused while the map editor is open.
#include <QDialog>
#include <functional>
#include <vector>

class QTabWidget;

namespace ts {

struct App;
class OptionsPage;
class GeneralPage;

class OptionsSheet : public QDialog {
public:
    OptionsSheet(App& app, QWidget* parent, std::function<bool()> editorOpen = {});
    QTabWidget* tabs() const { return tabs_; }
    void accept() override;
    void reject() override;

private:
    App& app_;
    QTabWidget* tabs_ = nullptr;
    std::vector<OptionsPage*> pages_;
    GeneralPage* general_ = nullptr;
    std::function<bool()> editorOpen_;
    int lastTab_ = 0;
};

// "Options..." of the main window.
void showOptionsSheet(App& app, QWidget* parent);

}  // namespace ts
