#pragma once
// The creation forms of the main window's right-hand panel, as script rows see them. While no form
// shows a control its handle is 0 and an assignment changes nothing: without a window no host is
// set and every control counts as absent.
#include <string>

#include "script/identifier.h"

namespace ts {

class FormControlHost {
public:
    virtual ~FormControlHost() = default;
    virtual bool hasControl(FormControl control) = 0;
    virtual void selectTreeBranch(FormControl control) = 0;
    virtual void setText(FormControl control, const std::string& text) = 0;
    // Sets the check state and updates the controls that depend on it.
    virtual void setChecked(FormControl control, int value) = 0;
    // Selects the first entry equal to the text, letter case ignored; false when there is none.
    virtual bool selectComboText(FormControl control, const std::string& text) = 0;
    // Presses the shown form's "Ok!" button (nothing when no form is shown).
    virtual void pressOk() = 0;
};

}  // namespace ts
