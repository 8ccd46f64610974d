#include "host/ui/standard_buttons.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>

#include "host/ui/qt_text.h"

namespace ts {
namespace {

void label(QAbstractButton* button, T text) {
    if (!button) return;
    button->setText(qtr(text));
    button->setAccessibleName(qtr(text).remove('&'));
}

}  // namespace

void labelStandardButtons(QDialogButtonBox& buttons) {
    label(buttons.button(QDialogButtonBox::Ok), T::DlgOk);
    label(buttons.button(QDialogButtonBox::Cancel), T::DlgCancel);
    label(buttons.button(QDialogButtonBox::Yes), T::DlgYes);
    label(buttons.button(QDialogButtonBox::No), T::DlgNo);
}

void labelStandardButtons(QMessageBox& box) {
    label(box.button(QMessageBox::Ok), T::DlgOk);
    label(box.button(QMessageBox::Cancel), T::DlgCancel);
    label(box.button(QMessageBox::Yes), T::DlgYes);
    label(box.button(QMessageBox::No), T::DlgNo);
}

}  // namespace ts
