#include "project/ui/element_properties_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"
#include "project/element_record.h"
#include "project/element_types.h"

namespace ts {
namespace {

QLineEdit* field(QWidget* parent, const std::string& text, const char* objectName, T label) {
    auto* edit = new QLineEdit(toQt(text), parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(qtr(label));
    return edit;
}

}  // namespace

ElementPropertiesDialog::ElementPropertiesDialog(const ElementPropertiesState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setObjectName("element-properties-dialog");
    setWindowTitle(qtr(T::PropertiesTitle));
    setAccessibleName(qtr(T::PropertiesTitle));
    auto* layout = new QFormLayout(this);
    file_ = field(this, state.file, "properties-file", T::PropertiesFile);
    file_->setMaxLength(int(kElementPathMax));
    baseFile_ = field(this, state.baseFile, "properties-base-file", T::PropertiesBaseFile);
    baseFile_->setMaxLength(int(kElementPathMax));
    name_ = field(this, state.name, "properties-name", T::PropertiesName);
    name_->setMaxLength(int(kElementNameMax));
    folder_ = new QComboBox(this);
    folder_->setObjectName("properties-folder");
    folder_->setAccessibleName(qtr(T::PropertiesFolder));
    folder_->addItem(qtr(T::PropertiesNoFolder), QString());
    for (const auto& f : state.folders) folder_->addItem(toQt(f), toQt(f));
    int at = folder_->findData(toQt(state.folder));
    if (at < 0 && !state.folder.empty()) {
        folder_->addItem(toQt(state.folder), toQt(state.folder));
        at = folder_->count() - 1;
    }
    folder_->setCurrentIndex(std::max(at, 0));
    type_ = new QComboBox(this);
    type_->setObjectName("properties-type");
    type_->setAccessibleName(qtr(T::PropertiesType));
    for (uint32_t t = 0; t < kElementTypeNameCount; ++t) type_->addItem(toQt(elementTypeName(t)), int(t));
    type_->setCurrentIndex(std::max(0, type_->findData(int(state.type))));
    layout->addRow(qtr(T::PropertiesFile), file_);
    layout->addRow(qtr(T::PropertiesBaseFile), baseFile_);
    layout->addRow(qtr(T::PropertiesName), name_);
    layout->addRow(qtr(T::PropertiesFolder), folder_);
    layout->addRow(qtr(T::PropertiesType), type_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    labelStandardButtons(*buttons);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("properties-ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("properties-cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
    setMinimumWidth(460);
}

ElementPropertiesState ElementPropertiesDialog::state() const {
    ElementPropertiesState state = state_;
    state.file = fromQt(file_->text());
    state.baseFile = fromQt(baseFile_->text());
    state.name = fromQt(name_->text());
    state.folder = fromQt(folder_->currentData().toString());
    state.type = uint32_t(type_->currentData().toInt());
    return state;
}

bool runElementPropertiesDialog(App& app, int index, QWidget* parent) {
    ElementPropertiesDialog dialog(elementPropertiesOf(app, index), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    applyElementProperties(app, index, dialog.state());
    return true;
}

}  // namespace ts
