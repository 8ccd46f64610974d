#include "project/ui/panel_form_host.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "host/ui/qt_text.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "script/script_state.h"

namespace ts {

namespace {

constexpr const char* kText01[] = {"text-source", nullptr};
constexpr const char* kText02[] = {"text-dest", "text-sizex", nullptr};
constexpr const char* kText03[] = {"text-palette", "text-sizey", nullptr};
constexpr const char* kText04[] = {"text-map", nullptr};
constexpr const char* kText05[] = {"text-colors", nullptr};
constexpr const char* kCheckPalette[] = {"check-palette", nullptr};
constexpr const char* kCheckTileset[] = {"check-tileset", nullptr};
constexpr const char* kCheckMap[] = {"check-map", nullptr};
constexpr const char* kCheckOptimize[] = {"check-optimize", nullptr};
constexpr const char* kComboPalette[] = {"combo-palette", nullptr};
constexpr const char* kComboTileset[] = {"combo-tileset", nullptr};
constexpr const char* kComboSize[] = {"combo-size", nullptr};
constexpr const char* kComboTiles[] = {"combo-tiles", nullptr};
constexpr const char* kNone[] = {nullptr};

}  // namespace

const char* const* formControlNames(FormControl control) {
    switch (control) {
        case FormControl::Text01: return kText01;
        case FormControl::Text02: return kText02;
        case FormControl::Text03: return kText03;
        case FormControl::Text04: return kText04;
        case FormControl::Text05: return kText05;
        case FormControl::CheckPalette: return kCheckPalette;
        case FormControl::CheckTileset: return kCheckTileset;
        case FormControl::CheckMap: return kCheckMap;
        case FormControl::CheckOptimize: return kCheckOptimize;
        case FormControl::ComboPalette: return kComboPalette;
        case FormControl::ComboTileset: return kComboTileset;
        case FormControl::ComboSize: return kComboSize;
        case FormControl::ComboTiles: return kComboTiles;
        default: return kNone;
    }
}

PanelFormHost::PanelFormHost(App& app, QObject* parent) : QObject(parent), app_(app) {
    setObjectName("panel-form-host");
    scriptState(app_).forms = this;
}

PanelFormHost::~PanelFormHost() {
    if (scriptState(app_).forms == this) scriptState(app_).forms = nullptr;
}

PanelFormHost* PanelFormHost::of(App& app, QWidget* window) {
    if (!window) return nullptr;
    if (auto* host = window->findChild<PanelFormHost*>("panel-form-host", Qt::FindDirectChildrenOnly)) return host;
    auto* host = new PanelFormHost(app, window);
    if (auto* main = dynamic_cast<MainWindow*>(window)) {
        host->selectBranch = [main](int branch) {
            if (ProjectTree* tree = main->tree()) tree->selectBranch(branch);
        };
    }
    return host;
}

void PanelFormHost::setForm(QWidget* form) { form_ = form; }

QWidget* PanelFormHost::control(FormControl control) const {
    if (!form_) return nullptr;
    for (const char* const* name = formControlNames(control); *name; ++name)
        if (auto* w = form_->findChild<QWidget*>(QString::fromLatin1(*name))) return w;
    return nullptr;
}

bool PanelFormHost::hasControl(FormControl control) {
    switch (control) {
        case FormControl::TreeTilesets:
        case FormControl::TreeMaps:
        case FormControl::TreeBitmaps: return bool(selectBranch);
        default: return this->control(control) != nullptr;
    }
}

void PanelFormHost::selectTreeBranch(FormControl control) {
    if (!selectBranch) return;
    switch (control) {
        case FormControl::TreeTilesets: selectBranch(0); break;
        case FormControl::TreeMaps: selectBranch(1); break;
        case FormControl::TreeBitmaps: selectBranch(4); break;
        default: break;
    }
}

void PanelFormHost::setText(FormControl control, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(this->control(control))) edit->setText(toQt(text));
}

void PanelFormHost::setChecked(FormControl control, int value) {
    auto* box = qobject_cast<QCheckBox*>(this->control(control));
    if (!box) return;
    Qt::CheckState state = value == 0 ? Qt::Unchecked : value == 2 && box->isTristate() ? Qt::PartiallyChecked : Qt::Checked;
    box->setCheckState(state);  // the form's handlers update the controls that depend on it
}

bool PanelFormHost::selectComboText(FormControl control, const std::string& text) {
    auto* combo = qobject_cast<QComboBox*>(this->control(control));
    if (!combo) return false;
    const QString wanted = toQt(text);
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

void PanelFormHost::pressOk() {
    if (!form_) return;
    if (auto* ok = form_->findChild<QPushButton*>("ok")) {
        if (ok->isEnabled()) ok->click();
    }
}

}  // namespace ts
