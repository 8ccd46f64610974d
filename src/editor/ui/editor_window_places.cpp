// Opening the editor window, its place on the screens (Editor.Move, Specimen.Move, Bits.Move) and
// its two tool windows, the bits display and the specimen map.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "editor/ui/editor_dialogs.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/map_view_widget.h"
#include "editor/ui/window_places.h"

namespace ts {

namespace {

// The screens' available rectangles, as the settings script checks places against them.
std::vector<WindowPlace> screenPlaces() {
    std::vector<WindowPlace> out;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        out.push_back(WindowPlace{r.x(), r.y(), r.width(), r.height(), false});
    }
    if (out.empty()) out.push_back(WindowPlace{0, 0, 1024, 768, false});
    return out;
}

}  // namespace

void EditorWindow::placeOnScreen() {
    const EditorDocument& doc = editorDocument(app_);
    placeWindow(*this, doc.editorPlace, true);
    if (doc.editorPlace.maximized) showMaximized();
    else show();
    raise();
    activateWindow();
    view_->setFocus();
}

void EditorWindow::storePlaces() {
    EditorDocument& doc = editorDocument(app_);
    if (isVisible()) doc.editorPlace = placeOf(*this);
    if (specimen_) doc.specimenPlace = placeOf(*specimen_);
    if (bits_ && bits_->isVisible()) {
        const WindowPlace p = placeOf(*bits_);
        doc.bitsPlace.left = p.left;
        doc.bitsPlace.top = p.top;
    }
}

void EditorWindow::setBitsShown(bool shown) {
    editorDocument(app_).bitsShown = shown;
    syncToolWindows();
}

void EditorWindow::setSpecimenShown(bool shown) {
    editorDocument(app_).specimenShown = shown;
    syncToolWindows();
}

void EditorWindow::syncToolWindows() {
    EditorDocument& doc = editorDocument(app_);
    if (doc.bitsShown && !bits_) {
        bits_ = new BitsDisplayWindow(app_, session_, this);
        connect(bits_, &BitsDisplayWindow::changed, this, [this] { documentChanged(); });
        connect(bits_, &BitsDisplayWindow::closedByUser, this, [this] { editorDocument(app_).bitsShown = false; });
        bits_->rebuild();
        // The window takes its stored place itself; one never placed opens beside the editor.
        if (doc.bitsPlace.left == 0 && doc.bitsPlace.top == 0) bits_->move(mapToGlobal(QPoint(width(), 0)));
    }
    if (bits_ && bits_->isVisible() != doc.bitsShown) {
        if (doc.bitsShown) {
            bits_->showCurrent();
            bits_->show();
        } else {
            bits_->hide();
        }
    }
    // The specimen window exists once specimen planes are chosen.
    if (!specimen_ && !doc.specimenPlanes.empty()) {
        specimen_ = new SpecimenWindow(app_, session_, this);
        doc.specimenExists = true;
        connect(specimen_, &SpecimenWindow::changed, this, [this] { documentChanged(); });
        connect(specimen_, &SpecimenWindow::closedByUser, this, [this] { editorDocument(app_).specimenShown = false; });
        specimen_->rebuild();
        if (doc.specimenPlace.width <= 0) specimen_->move(mapToGlobal(QPoint(0, height())));
    }
    if (specimen_) {
        const bool show = doc.specimenShown && !doc.specimenPlanes.empty();
        if (specimen_->isVisible() != show) specimen_->setVisible(show);
    }
}

EditorWindow* findEditorWindow(App& app) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* editor = dynamic_cast<EditorWindow*>(w);
        if (editor && &editor->app() == &app && editorDocument(app).open) return editor;
    }
    return nullptr;
}

EditorWindow* openEditorWindow(App& app, const ElementRecord& element, QWidget* owner) {
    EditorDocument& doc = editorDocument(app);
    if (EditorWindow* open = findEditorWindow(app)) {
        // One editor: another map joins it as a plane; one that is already a plane comes forward.
        openPlane(app, element);
        open->documentChanged();
        if (open->isMinimized()) open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    if (doc.open) {
        // An editor left open without its window (a script run): start again from nothing.
        resetPlanes(app);
        doc.open = false;
    }
    doc.screens = screenPlaces();
    auto* window = new EditorWindow(app, owner);
    if (!openEditor(app, element)) {
        delete window;
        return nullptr;
    }
    window->start();
    return window;
}

}  // namespace ts
