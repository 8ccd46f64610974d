#pragma once
// "Create a new object list" (Lists branch): an empty list written through the current platform.
// The rules live in project/creation_forms.h.
#include <functional>

#include "project/creation_forms.h"
#include "project/ui/panel_form.h"

class QComboBox;
class QLineEdit;

namespace ts {

class ObjectListForm : public PanelForm {
public:
    ObjectListForm(App& app, QWidget* parent);
    ObjectListFormState state() const;
    void accept() override;

private:
    QLineEdit* file_ = nullptr;
    QComboBox* tileset_ = nullptr;
    QComboBox* model_ = nullptr;
    QComboBox* blocks_ = nullptr;
};

}  // namespace ts
