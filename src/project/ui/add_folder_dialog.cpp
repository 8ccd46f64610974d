#include "project/ui/add_folder_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"
#include "project/element_commands.h"
#include "project/element_table.h"
#include "project/element_types.h"

namespace ts {

AddFolderState addFolderStateFor(const App& app) {
    AddFolderState state;
    for (uint32_t type : {0u, 3u, 1u, 6u, 4u, 7u}) {
        state.places.push_back(rootFolderLabel(type));
        state.placeValues.push_back(rootFolderName(type, false));
    }
    for (const auto& r : elementTable(app).records)
        if (r.isFolder()) {
            state.places.push_back(r.name);
            state.placeValues.push_back(r.name);
        }
    state.place = state.placeValues.front();
    return state;
}

AddFolderDialog::AddFolderDialog(const AddFolderState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("add-folder-dialog");
    setWindowTitle(qtr(T::AddFolderTitle));
    setAccessibleName(qtr(T::AddFolderTitle));
    auto* layout = new QFormLayout(this);
    name_ = new QLineEdit(toQt(state.name), this);
    name_->setObjectName("folder-name");
    name_->setAccessibleName(qtr(T::AddFolderName));
    name_->setMaxLength(int(kElementNameMax));
    layout->addRow(qtr(T::AddFolderName), name_);
    place_ = new QComboBox(this);
    place_->setObjectName("folder-place");
    place_->setAccessibleName(qtr(T::AddFolderPlaceInto));
    for (const auto& p : state.places) place_->addItem(toQt(p));
    for (size_t i = 0; i < state.placeValues.size(); ++i)
        if (state.placeValues[i] == state.place) place_->setCurrentIndex(int(i));
    layout->addRow(qtr(T::AddFolderPlaceInto), place_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    labelStandardButtons(*buttons);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("folder-ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("folder-cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
    setMinimumWidth(360);
}

AddFolderState AddFolderDialog::state() const {
    AddFolderState state = state_;
    state.name = fromQt(name_->text());
    const int index = place_->currentIndex();
    if (index >= 0 && size_t(index) < state.placeValues.size()) state.place = state.placeValues[size_t(index)];
    return state;
}

bool runAddFolderDialog(App& app, QWidget* parent) {
    AddFolderState state = addFolderStateFor(app);
    for (;;) {
        AddFolderDialog dialog(state, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
        state = dialog.state();
        if (addFolderRecord(app, state.name, state.place) >= 0) return true;
    }
}

}  // namespace ts
