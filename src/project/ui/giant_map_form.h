#pragma once
// "Create a new table to use as a giant map" (Maps branch): an empty map written through the current
// platform. The rules live in project/creation_forms.h.
#include <functional>

#include "project/creation_forms.h"
#include "project/ui/panel_form.h"

class QComboBox;
class QLineEdit;

namespace ts {

class GiantMapForm : public PanelForm {
public:
    GiantMapForm(App& app, QWidget* parent);
    GiantMapFormState state() const;
    void accept() override;

private:
    QLineEdit* file_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QComboBox* tileset_ = nullptr;
    QComboBox* palette_ = nullptr;
    QComboBox* blocks_ = nullptr;
    QComboBox* mapType_ = nullptr;
};

}  // namespace ts
