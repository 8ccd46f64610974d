#pragma once
// Base of the right-hand panel's creation forms: registers the form with the script's form host
// while it is shown, gives the main window its status text, and holds the helpers every form
// uses to make its labelled controls.
#include <QWidget>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ts {

struct App;
class MainWindow;

class PanelForm : public QWidget {
public:
    PanelForm(App& app, const std::string& title, const char* objectName, QWidget* parent);
    ~PanelForm() override;

    App& app() { return app_; }
    // The status text the window shows while the form is shown.
    const std::string& statusText() const { return status_; }

    // "Ok!": runs the form's procedure.
    virtual void accept() = 0;

    // Chooses a file to create for the forms' "Browse" buttons; tests set it, the window asks
    // through the file dialog when it is empty.
    std::function<QString(const QString& caption, const QString& filter)> chooseFile;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // The main window that holds the panel, or null (tests may show a form alone).
    MainWindow* mainWindow() const;
    void setStatus(const std::string& text);
    void setBusy(bool busy);

    // Control makers: object name (the script name) and accessible name on every control.
    QLineEdit* makeEdit(const char* objectName, const QString& accessible);
    QComboBox* makeCombo(const char* objectName, const QString& accessible, const QStringList& items);
    QCheckBox* makeCheck(const char* objectName, const QString& text, bool tristate = false);
    QPushButton* makeButton(const char* objectName, const QString& text, const QString& accessible);
    // A titled row of the grid: label in column 0, the widget across the rest.
    void addRow(const QString& label, QWidget* field, QWidget* button = nullptr);
    // A row led by a check box in the label column, with an optional field across the rest.
    void addCheckRow(QWidget* check, QWidget* field = nullptr);
    // The "More..." and "Ok!" buttons at the bottom; "More..." shows the platform's options panel.
    void addButtons(int platformPage);
    // "Browse" beside a data file to create: the chosen file goes into `file`, relative to the
    // current folder where it lies below it.
    void browseDataFile(QPushButton* browse, QLineEdit* file);

    QGridLayout* grid_ = nullptr;
    QPushButton* more_ = nullptr;
    QPushButton* ok_ = nullptr;

private:
    void registerForm(bool shown);

    App& app_;
    std::string status_;
    int row_ = 0;
};

}  // namespace ts
