#pragma once
// The "I/O formats" dialog: the formats the project defines with their extensions; "Select"
// makes the chosen one the current format.
#include <QDialog>

class QTreeWidget;
class QLabel;

namespace ts {

struct App;

class FormatsDialog : public QDialog {
public:
    FormatsDialog(App& app, QWidget* parent);
    int chosenFormat() const;
    void chooseFormat(int index);
    // Makes the chosen format current.
    void selectChosen();

private:
    void showCurrent();
    App& app_;
    QTreeWidget* list_ = nullptr;
    QLabel* current_ = nullptr;
};

void showFormatsDialog(App& app, QWidget* parent);

}  // namespace ts
