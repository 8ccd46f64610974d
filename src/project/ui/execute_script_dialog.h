#pragma once
// "Execute (script)": script lines typed by the user, run as a script file.
#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace ts {

struct App;

class ExecuteScriptDialog : public QDialog {
public:
    // Shows the text typed last time, selected.
    ExecuteScriptDialog(const std::string& previous, QWidget* parent);
    std::string text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* edit_;
};

// Shows the dialog with the text typed last time; on OK the new text is kept in `remembered`.
// True on OK (the caller then runs it with runScriptInvite).
bool askScriptInvite(QWidget* parent, std::string& remembered);

}  // namespace ts
