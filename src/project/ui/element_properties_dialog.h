#pragma once
// "Element properties": file name, base file, short name, folder and element type of a record.
#include <QDialog>

#include "project/element_properties.h"

class QComboBox;
class QLineEdit;

namespace ts {

struct App;

class ElementPropertiesDialog : public QDialog {
public:
    ElementPropertiesDialog(const ElementPropertiesState& state, QWidget* parent);
    ElementPropertiesState state() const;

private:
    ElementPropertiesState state_;
    QLineEdit *file_, *baseFile_, *name_;
    QComboBox *folder_, *type_;
};

// Shows the dialog for a record and applies it on OK. True when it was applied.
bool runElementPropertiesDialog(App& app, int index, QWidget* parent);

}  // namespace ts
