// The editor window's context menu: backgrounds, tools, options, operations on the selection and
// the blocks copy, with check marks and disabled entries for the present state.
#include <QMenu>

#include "editor/editor_settings.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/editor_window.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"

namespace ts {

namespace {

QAction* addEntry(QMenu* menu, T text, const char* name) {
    QAction* a = menu->addAction(qtr(text));
    a->setObjectName(name);
    return a;
}

QAction* addCheck(QMenu* menu, T text, const char* name, bool checked) {
    QAction* a = addEntry(menu, text, name);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

}  // namespace

QMenu* EditorWindow::buildContextMenu() {
    if (menu_) menu_->deleteLater();
    auto* menu = new QMenu(this);
    menu->setObjectName("editor-menu");
    menu->setAttribute(Qt::WA_DeleteOnClose, false);
    menu_ = menu;
    EditorDocument& doc = editorDocument(app_);

    QMenu* backgrounds = menu->addMenu(qtr(T::EditorMenuBackgrounds));
    backgrounds->setObjectName("editor-menu-backgrounds");
    QMenu* active = backgrounds->addMenu(qtr(T::EditorMenuActive));
    active->setObjectName("editor-menu-active");
    QMenu* properties = backgrounds->addMenu(qtr(T::EditorMenuProperties));
    properties->setObjectName("editor-menu-properties");
    for (int slot = 0; slot < doc.count; ++slot) {
        const QString label = toQt(formatText(ts::tr(T::EditorPlaneEntry), slot + 1,
                                              doc.planes[size_t(slot)].element.name.c_str()));
        QAction* a = active->addAction(label);
        a->setObjectName(QString("editor-menu-active-%1").arg(slot + 1));
        a->setCheckable(true);
        a->setChecked(slot == doc.active);
        connect(a, &QAction::triggered, this, [this, slot] { activatePlaneAction(slot); });
        QAction* p = properties->addAction(label);
        p->setObjectName(QString("editor-menu-properties-%1").arg(slot + 1));
        connect(p, &QAction::triggered, this,
                [this, slot] { afterDialog(showPlaneProperties(this, app_, session_, slot)); });
    }
    connect(addEntry(backgrounds, T::EditorMenuAddBackground, "editor-menu-add"), &QAction::triggered, this,
            &EditorWindow::addPlaneAction);
    connect(addEntry(backgrounds, T::EditorMenuLink, "editor-menu-link"), &QAction::triggered, this,
            [this] { afterDialog(showLinks(this, app_, session_)); });
    connect(addCheck(backgrounds, T::EditorMenuOnePalette, "editor-menu-one-palette",
                     editorSettings(app_).mapsMultiPalettes != 0),
            &QAction::toggled, this, [this](bool on) { editorSettings(app_).mapsMultiPalettes = on ? 1 : 0; });
    connect(addCheck(backgrounds, T::EditorMenuTransparent, "editor-menu-transparent", doc.options.transparency != 0),
            &QAction::toggled, this, [this](bool on) { editorDocument(app_).options.transparency = on ? 1 : 0; });

    QMenu* tools = menu->addMenu(qtr(T::EditorMenuTools));
    tools->setObjectName("editor-menu-tools");
    if (!doc.options.hexMode) {
        connect(addEntry(tools, T::EditorMenuHexMode, "editor-menu-hex"), &QAction::triggered, this,
                [this] { setHexModeAction(true); });
    } else {
        QMenu* hex = tools->addMenu(qtr(T::EditorMenuHexSub));
        hex->setObjectName("editor-menu-hex-sub");
        connect(addEntry(hex, T::EditorMenuHexCancel, "editor-menu-hex-cancel"), &QAction::triggered, this,
                [this] { setHexModeAction(false); });
        connect(addCheck(hex, T::EditorMenuAppendZeros, "editor-menu-append-zeros", doc.options.fillZeros != 0),
                &QAction::toggled, this, [this](bool on) { editorDocument(app_).options.fillZeros = on ? 1 : 0; });
        connect(addCheck(hex, T::EditorMenuGfxBackground, "editor-menu-gfx-background", doc.options.hexActiveMap != 0),
                &QAction::toggled, this, [this](bool on) { editorDocument(app_).options.hexActiveMap = on ? 1 : 0; });
    }
    connect(addCheck(tools, T::EditorMenuBitsDisplay, "editor-menu-bits", doc.bitsShown), &QAction::toggled, this,
            [this](bool on) { setBitsShown(on); });
    QAction* specimen = addCheck(tools, T::EditorMenuSpecimen, "editor-menu-specimen",
                                 specimen_ && doc.specimenShown && specimen_->isVisible());
    specimen->setEnabled(specimen_ != nullptr);
    connect(specimen, &QAction::toggled, this, [this](bool on) { setSpecimenShown(on); });

    connect(addEntry(menu, T::EditorMenuOptions, "editor-menu-options"), &QAction::triggered, this,
            [this] { afterDialog(showEditorOptions(this, app_, session_)); });
    QAction* operations = addEntry(menu, T::EditorMenuOperations, "editor-menu-operations");
    operations->setEnabled(!doc.store.empty());
    connect(operations, &QAction::triggered, this,
            [this] { afterDialog(showSelectionOperations(this, app_, session_)); });
    connect(addEntry(menu, T::EditorMenuMoving, "editor-menu-moving"), &QAction::triggered, this,
            [this] { afterDialog(showBlocksCopy(this, app_, session_)); });
    return menu;
}

void EditorWindow::showContextMenu(const QPoint& globalPos) {
    QMenu* menu = buildContextMenu();
    // Not modal: the timer keeps drawing while the menu is open.
    menu->popup(globalPos);
}

}  // namespace ts
