#pragma once
// The "Element properties" dialog's rules, without the dialog.
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

struct App;

struct ElementPropertiesState {
    std::string file;       // "File name"
    std::string baseFile;   // "Base file"
    std::string name;       // "Short name"
    std::string folder;     // "" for none
    uint32_t type = 0;      // element type code
    std::vector<std::string> folders;  // the folders offered (table order)
};

ElementPropertiesState elementPropertiesOf(const App& app, int index);

// Applies the dialog's values to the record: a new type only after the warning is answered Yes;
// a new data file must exist, and the user is asked whether the old one goes to the trash; a
// new name goes through the table's unique names. Returns the record's index afterwards (-1
// when the record is gone).
int applyElementProperties(App& app, int index, const ElementPropertiesState& state);

}  // namespace ts
