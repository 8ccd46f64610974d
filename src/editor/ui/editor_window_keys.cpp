// The editor window's keys and the actions they share with the buttons and the menu.
#include <QKeyEvent>

#include "editor/object_tools.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/editor_window.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/project_paths.h"
#include "project/ui/main_window.h"
#include "resources/texts.h"
#include "script/settings.h"

namespace ts {

namespace {

constexpr int kPlaneKeys = 10;  // Ctrl+1 ... Ctrl+9, Ctrl+0

bool activeIsList(const EditorDocument& doc) {
    return planeOpen(doc, doc.active) && doc.planes[size_t(doc.active)].kind == PlaneList;
}

}  // namespace

void EditorWindow::undoAction() {
    undoGroup(app_);
    documentChanged();
}

void EditorWindow::redoAction() {
    redoGroup(app_);
    documentChanged();
}

void EditorWindow::pasteAction() {
    pasteStore(app_, session_);
    documentChanged();
}

void EditorWindow::saveAction() {
    storePlaces();
    saveCommand(app_);
    documentChanged();
}

void EditorWindow::addPlaneAction() {
    EditorDocument& doc = editorDocument(app_);
    if (doc.count >= MaxPlanes) {
        showBox(hostServices(app_), ts::tr(T::CaptionError), ts::tr(T::BackgroundLimit), Icon::Error);
        return;
    }
    afterDialog(showAddPlane(this, app_, session_));
}

void EditorWindow::activatePlaneAction(int slot) {
    EditorDocument& doc = editorDocument(app_);
    if (!planeOpen(doc, slot)) {
        // A key for a plane that is not open changes nothing; the status line says why.
        doc.statusText = formatText(ts::tr(T::EditorPlaneNotOpen), slot + 1);
        syncChrome();
        return;
    }
    activatePlane(app_, slot);
    documentChanged();
}

void EditorWindow::setHexModeAction(bool on) {
    setHexMode(editorDocument(app_), on);
    documentChanged();
}

void EditorWindow::editObjectAction(int index) {
    afterDialog(showObjectParameters(this, app_, session_, index));
}

void EditorWindow::runHelp(bool projectHelp) {
    HostServices& host = hostServices(app_);
    if (projectHelp) {
        const std::string& help = systemSettings(app_).userHelp;
        if (help.empty() || !fileExists(help)) {
            showBox(host, ts::tr(T::CaptionOops), ts::tr(T::UserHelpMissing), Icon::Information);
            return;
        }
        host.openFile(absolutePath(help));
        return;
    }
    const std::string manual = projectPaths(app_).programDirectory + "/" + kManualFileName;
    if (!fileExists(manual)) {
        showBox(host, ts::tr(T::CaptionError), formatText(ts::tr(T::ManualMissing), manual.c_str()), Icon::Error);
        return;
    }
    host.openFile(manual);
}

bool EditorWindow::handleKey(int key, Qt::KeyboardModifiers mods) {
    EditorDocument& doc = editorDocument(app_);
    if (!doc.open) return false;
    const bool ctrl = (mods & Qt::ControlModifier) != 0;
    if (ctrl) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            const int slot = key == Qt::Key_0 ? kPlaneKeys - 1 : key - Qt::Key_1;
            activatePlaneAction(slot);
            return true;
        }
        switch (key) {
            case Qt::Key_Z: undoAction(); return true;
            case Qt::Key_Y: redoAction(); return true;
            case Qt::Key_S: saveAction(); return true;
            case Qt::Key_M: addPlaneAction(); return true;
            case Qt::Key_H: setHexModeAction(!doc.options.hexMode); return true;
            case Qt::Key_P: setSpecimenShown(!doc.specimenShown); return true;
            case Qt::Key_I: afterDialog(showExecuteScript(this, app_, session_)); return true;
            case Qt::Key_Space: afterDialog(showEditorOptions(this, app_, session_)); return true;
            case Qt::Key_C:
                if (activeIsList(doc)) copyObjects(app_, session_);
                return true;
            case Qt::Key_X:
                if (activeIsList(doc)) cutObjects(app_, session_);
                documentChanged();
                return true;
            case Qt::Key_V:
                if (activeIsList(doc)) pasteObjects(app_, session_, session_.hoverCell);
                else pasteStore(app_, session_);
                documentChanged();
                return true;
            default: break;
        }
    }
    switch (key) {
        case Qt::Key_Delete:
            if (activeIsList(doc)) deleteObjects(app_, session_);
            documentChanged();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (activeIsList(doc) && session_.currentObject >= 0) editObjectAction(session_.currentObject);
            return true;
        case Qt::Key_Plus: stepGrid(doc, true); return true;
        case Qt::Key_Minus: stepGrid(doc, false); return true;
        case Qt::Key_Left: scrollByStep(doc, -1, 0); syncChrome(); return true;
        case Qt::Key_Right: scrollByStep(doc, 1, 0); syncChrome(); return true;
        case Qt::Key_Up: scrollByStep(doc, 0, -1); syncChrome(); return true;
        case Qt::Key_Down: scrollByStep(doc, 0, 1); syncChrome(); return true;
        case Qt::Key_F1: runHelp(false); return true;
        case Qt::Key_F3: runHelp(true); return true;
        default: return false;
    }
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

}  // namespace ts
