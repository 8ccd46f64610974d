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
    std::string place;                      // "root", a root's English name or a folder's name
    std::vector<std::string> places;        // what "Place into:" offers, as the user reads it
    std::vector<std::string> placeValues;   // the place each of them stands for
};

// The places offered: the top, the roots of tilesets, maps, palettes, bitmaps and lists (under
// their names in this edition), then every folder of the project in table order. The values are
// the names the project file keeps whatever the edition: "root", "tilesets", ..., a folder's name.
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
