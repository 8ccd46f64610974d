#pragma once
// "Add a folder": a name and the place to put it.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace ts {

struct App;

struct AddFolderState {
    std::string name;
    std::string place;                 // "root", a branch's root name or a folder's name
    std::vector<std::string> places;   // what "Place into:" offers
};

// The places offered: "root", "tilesets", "maps", "palettes", "bitmaps", "lists", then every
// folder of the project in table order.
AddFolderState addFolderStateFor(const App& app);

class AddFolderDialog : public QDialog {
public:
    AddFolderDialog(const AddFolderState& state, QWidget* parent);
    AddFolderState state() const;

private:
    AddFolderState state_;
    QLineEdit* name_;
    QComboBox* place_;
};

// Shows the dialog until a folder is added or the user cancels. True when a folder was added.
bool runAddFolderDialog(App& app, QWidget* parent);

}  // namespace ts
