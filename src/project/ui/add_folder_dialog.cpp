#include "project/ui/add_folder_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "host/ui/qt_text.h"
#include "project/element_commands.h"
#include "project/element_table.h"
#include "project/element_types.h"

namespace ts {

AddFolderState addFolderStateFor(const App& app) {
    AddFolderState state;
    state.places = {ts::tr(T::FolderRoot)};
    for (uint32_t type : {3u, 1u, 6u, 4u, 7u}) state.places.push_back(rootFolderName(type, false));
    for (const auto& r : elementTable(app).records)
        if (r.isFolder()) state.places.push_back(r.name);
    state.place = state.places.front();
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
    place_->setCurrentText(toQt(state.place));
    layout->addRow(qtr(T::AddFolderPlaceInto), place_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("folder-ok");
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(qtr(T::DlgOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("folder-cancel");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(qtr(T::DlgCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
    setMinimumWidth(360);
}

AddFolderState AddFolderDialog::state() const {
    AddFolderState state = state_;
    state.name = fromQt(name_->text());
    state.place = fromQt(place_->currentText());
    return state;
}

bool runAddFolderDialog(App& app, QWidget* parent) {
    AddFolderState state = addFolderStateFor(app);
    for (;;) {
        AddFolderDialog dialog(state, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
        state = dialog.state();
        // "root" stands for the top in either edition.
        const std::string place = state.place == ts::tr(T::FolderRoot) ? "root" : state.place;
        if (addFolderRecord(app, state.name, place) >= 0) return true;
    }
}

}  // namespace ts
