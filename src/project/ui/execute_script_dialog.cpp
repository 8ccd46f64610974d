#include "project/ui/execute_script_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"
#include "project/script_invite.h"

namespace ts {

ExecuteScriptDialog::ExecuteScriptDialog(const std::string& previous, QWidget* parent) : QDialog(parent) {
    setObjectName("execute-script-dialog");
    setWindowTitle(qtr(T::ExecuteTitle));
    setAccessibleName(qtr(T::ExecuteTitle));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(qtr(T::ExecutePrompt), this);
    prompt->setObjectName("execute-prompt");
    prompt->setAccessibleName(qtr(T::ExecutePrompt));
    layout->addWidget(prompt);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName("execute-text");
    edit_->setAccessibleName(qtr(T::ExecutePrompt));
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    edit_->setFont(fixed);
    edit_->setPlainText(toQt(previous));
    edit_->selectAll();
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    labelStandardButtons(*buttons);
    buttons->setObjectName("execute-buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("execute-ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("execute-cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Enter starts a new line of the script; Ctrl+Enter runs it as OK does. The text field itself
    // watches for it, so it works whether or not the dialog is the active window.
    edit_->installEventFilter(this);
    resize(520, 320);
}

bool ExecuteScriptDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::string ExecuteScriptDialog::text() const {
    std::string text = fromQt(edit_->toPlainText());
    if (text.size() > kScriptInviteMax) text.resize(kScriptInviteMax);
    return text;
}

bool askScriptInvite(QWidget* parent, std::string& remembered) {
    ExecuteScriptDialog dialog(remembered, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    remembered = dialog.text();
    return true;
}

}  // namespace ts
