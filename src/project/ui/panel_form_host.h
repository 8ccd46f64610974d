#pragma once
// The script's hold on the right-hand panel: the form control rows (`text-source`, `check-map`,
// `combo-tileset`, ...) reach the widgets of the form that is shown, found by their object names,
// and `ok` presses its "Ok!" button. The tree rows select a branch of the project tree.
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "project/element_preview.h"
#include "script/form_controls.h"

class QWidget;

namespace ts {

struct App;

class PanelFormHost : public QObject, public FormControlHost {
public:
    PanelFormHost(App& app, QObject* parent);
    ~PanelFormHost() override;

    // The one host of a window (made on first use, a child of the window).
    static PanelFormHost* of(App& app, QWidget* window);

    // The form now shown (null: none). A form registers itself when it shows and leaves when it
    // is hidden or destroyed.
    void setForm(QWidget* form);
    QWidget* form() const { return form_; }
    // Selects a tree branch (0 Tilesets, 1 Maps, 2 Lists, 3 Palettes, 4 Bitmaps).
    std::function<void(int branch)> selectBranch;

    bool hasControl(FormControl control) override;
    void selectTreeBranch(FormControl control) override;
    void setText(FormControl control, const std::string& text) override;
    void setChecked(FormControl control, int value) override;
    bool selectComboText(FormControl control, const std::string& text) override;
    void pressOk() override;

    // What the preview remembers between selections (palette columns, tileset width).
    PreviewSettings previewSettings;

    // The widget of a control in the shown form, or null.
    QWidget* control(FormControl control) const;

private:
    App& app_;
    QPointer<QWidget> form_;
};

// Object names of a control slot, in the order they are looked for.
const char* const* formControlNames(FormControl control);

}  // namespace ts
