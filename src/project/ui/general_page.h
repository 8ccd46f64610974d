#pragma once
// "General" page of the options sheet: list size, map parameter saving, default model, editor
// timer, preview memory and automatic format selection (rules in project/options_rules.h).
#include <functional>

#include "project/options_rules.h"
#include "project/ui/options_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace ts {

struct App;

class GeneralPage : public OptionsPage {
public:
    GeneralPage(App& app, QWidget* parent);
    GeneralOptionsState state() const;
    void setState(const GeneralOptionsState& state);
    void apply() override;
    void modelsChanged(const std::vector<std::string>& names, int index) override;
    // Makes the chosen model current (again, after the models page stored its list).
    void applyModelChoice();
    // Whether the map editor is open (the list size is then refused).
    std::function<bool()> editorOpen;

private:
    App& app_;
    QLineEdit* maxObjects_ = nullptr;
    QCheckBox* saveParams_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QComboBox* model_ = nullptr;
    QLineEdit* timer_ = nullptr;
    QComboBox* memory_ = nullptr;
    QCheckBox* autoFormat_ = nullptr;
};

}  // namespace ts
