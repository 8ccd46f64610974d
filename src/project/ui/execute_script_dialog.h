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

private:
    QPlainTextEdit* edit_;
};

// Shows the dialog; on OK the text is remembered in `remembered` and run. True when it ran.
bool runExecuteScriptDialog(App& app, QWidget* parent, std::string& remembered);

}  // namespace ts
