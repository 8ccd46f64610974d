#pragma once
// "Models" page of the options sheet: the parameter models of object lists. It edits a working copy
// (formats/model_rules.h) that OK stores.
#include <functional>

#include "formats/model_rules.h"
#include "project/ui/options_page.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace ts {

struct App;

class ModelsPage : public OptionsPage {
public:
    ModelsPage(App& app, QWidget* parent);
    const ModelsPageState& state() const { return state_; }
    void apply() override;
    void discard() override;
    // Told when the list of models changed (names, model to select); the sheet passes it on.
    std::function<void(const std::vector<std::string>&, int)> onModelsChanged;

    // The buttons, for the tests and the keyboard.
    void addOrUpdate();
    void deleteModel();
    void newModel();

private:
    void refresh();
    void notifyModels();
    App& app_;
    ModelsPageState state_;
    bool applied_ = false;
    QComboBox* model_ = nullptr;
    QTreeWidget* params_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* default_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* size_ = nullptr;
    QLineEdit* newName_ = nullptr;
};

}  // namespace ts
