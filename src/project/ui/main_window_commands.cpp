// The main window's menu commands, its start and its closing.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "editor/ui/editor_window.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "project/ui/add_folder_dialog.h"
#include "project/ui/execute_script_dialog.h"
#include "project/ui/main_window.h"
#include "project/ui/project_tree.h"
#include "project/script_invite.h"
#include "project/window_session.h"
#include "formats/format_commands.h"
#include "formats/platform_commands.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "script/settings.h"

namespace ts {
namespace {

Answer ask(App& app, T caption, const std::string& text, Icon icon, Buttons buttons, Answer preselected) {
    return showBox(hostServices(app), tr(caption), text, icon, buttons, preselected);
}

std::string format(T id, const std::string& argument) {
    std::vector<char> buffer(std::strlen(tr(id)) + argument.size() + 16);
    std::snprintf(buffer.data(), buffer.size(), tr(id), argument.c_str());
    return buffer.data();
}

}  // namespace

bool MainWindow::start() {
    setStatusText(ts::tr(T::StatusWelcome));
    if (runStartHook(app_)) {
        close();
        return false;
    }
    // The format and the model that the project names.
    selectRememberedFormat(app_);
    if (!systemSettings(app_).modelToSelect.empty()) ChoisitModele(app_, systemSettings(app_).modelToSelect);
    systemSettings(app_).messages = 1;
    rebuildProceduresMenu();
    showPanelForSelection();
    activateWindow();
    tree_->setFocus();
    return true;
}

void MainWindow::rebuildProceduresMenu() {
    procedures_->clear();
    ProcedureList list = buildProceduresMenu(app_, systemSettings(app_).scriptName);
    scriptState(app_).treeRefreshGate = true;
    auto greyed = [&](T text) {
        QAction* a = procedures_->addAction(qtr(text));
        a->setObjectName("menu-procedures-none");
        a->setProperty("commandId", CmdProcedureNoScript);
        a->setEnabled(false);
    };
    if (list.status == 1) return greyed(T::ProceduresNoScriptSpecified);
    if (list.status == 2) return greyed(T::ProceduresNoScript);
    if (list.labels.empty()) return greyed(T::ProceduresNone);
    for (size_t n = 0; n < list.labels.size(); ++n) {
        const std::string label = list.labels[n];
        // A "&" in a label is shown as itself, not as the underline of the next letter.
        QAction* a = procedures_->addAction(toQt(label).replace('&', "&&"));
        a->setObjectName(toQt("procedure-" + label));
        a->setProperty("commandId", int(CmdProcedureFirst + n));
        a->setProperty("label", toQt(label));
        connect(a, &QAction::triggered, this, [this, label] { runProcedure(label); });
    }
}

void MainWindow::runProcedure(const std::string& label) {
    setBusy(true);
    ts::runProcedure(app_, label);
    setBusy(false);
    if (scriptState(app_).stopRequest == 2) close();
    else refreshTree();
}

bool MainWindow::closeMapEditorFirst() {
    // The editor's planes belong to the project open now: it closes (asking about unsaved
    // planes) before another project takes the current directory their file names are read in.
    EditorWindow* editor = findEditorWindow(app_);
    return !editor || editor->close();
}

bool MainWindow::askSaveFirst() {
    Answer answer = ask(app_, T::CaptionQuestion, ts::tr(T::AskSaveFirst), Icon::Question, Buttons::YesNoCancel, Answer::Yes);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Yes) return saveProject(false);
    return true;
}

bool MainWindow::saveProject(bool askName) {
    auto asker = askSaveName ? askSaveName : [this] {
        QString name = QFileDialog::getSaveFileName(this, qtr(T::SaveProjectCaption), QString(),
                                                    qtr(T::ProjectFileFilter).replace("*.tsp", "(*.tsp)"));
        return fromQt(name);
    };
    setBusy(true);
    bool saved = saveProjectAs(app_, askName, asker);
    setBusy(false);
    updateTitle();
    return saved;
}

bool MainWindow::confirmClose() {
    if (closing_) return false;
    closing_ = true;
    auto asker = askSaveName ? askSaveName : [this] {
        return fromQt(QFileDialog::getSaveFileName(this, qtr(T::SaveProjectCaption), QString(),
                                                   qtr(T::ProjectFileFilter).replace("*.tsp", "(*.tsp)")));
    };
    bool ok = closeProject(app_, true, asker);
    closing_ = false;
    return ok;
}

void MainWindow::showDocumentation() {
    const std::string manual = projectPaths(app_).programDirectory + "/" + kManualFileName;
    if (!fileExists(manual)) {
        ask(app_, T::CaptionError, format(T::ManualMissing, manual), Icon::Error, Buttons::Ok, Answer::Ok);
        return;
    }
    hostServices(app_).openFile(manual);
}

void MainWindow::pressPanelDefault() {
    // Enter in the tree is the tree's own; the form's button answers only inside the panel.
    QWidget* focus = QApplication::focusWidget();
    if (!panelContent_ || !focus || !panelContent_->isAncestorOf(focus)) return;
    auto* focused = qobject_cast<QPushButton*>(focus);
    if (focused && focused->isEnabled()) {
        focused->click();
        return;
    }
    auto* ok = panelContent_->findChild<QPushButton*>("ok");
    if (ok && ok->isEnabled() && ok->isVisible()) ok->click();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->modifiers() & ~Qt::KeypadModifier) break;
            runCommand(CmdEnter);
            return;
        case Qt::Key_Escape:
            if (event->modifiers()) break;
            runCommand(CmdEscape);
            return;
        default: break;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::showUserHelp() {
    const std::string& help = systemSettings(app_).userHelp;
    if (help.empty() || !fileExists(help)) {
        ask(app_, T::CaptionOops, ts::tr(T::UserHelpMissing), Icon::Information, Buttons::Ok, Answer::Ok);
        return;
    }
    hostServices(app_).openFile(absolutePath(help));
}

bool MainWindow::runCommand(int command) {
    switch (command) {
        case CmdNew:
            if (!closeMapEditorFirst() || !askSaveFirst()) return true;
            newProject(app_);
            updateTitle();
            refreshTree();
            return true;
        case CmdOpen: {
            if (!closeMapEditorFirst() || !askSaveFirst()) return true;
            std::string path = askOpenName ? askOpenName()
                                           : fromQt(QFileDialog::getOpenFileName(
                                                 this, qtr(T::OpenProjectCaption), QString(),
                                                 qtr(T::ProjectFileFilter).replace("*.tsp", "(*.tsp)")));
            if (path.empty()) return true;
            setBusy(true);
            openProject(app_, path);
            selectRememberedFormat(app_);
            setBusy(false);
            updateTitle();
            rebuildProceduresMenu();
            refreshTree();
            return true;
        }
        case CmdEnter: pressPanelDefault(); return true;
        case CmdEscape:
            // Leaves the panel's controls for the tree.
            if (tree_) tree_->setFocus(Qt::ShortcutFocusReason);
            return true;
        case CmdFocusNext: focusNextChild(); return true;
        case CmdFocusPrevious: focusPreviousChild(); return true;
        case CmdSave: saveProject(false); return true;
        case CmdSaveAs: saveProject(true); return true;
        case CmdQuitWithoutSaving:
            // The map editor closes first (it asks about its unsaved planes); "onquit" runs only
            // once it is closed, and a Cancel there keeps everything open.
            if (!closeMapEditorFirst()) return true;
            if (closeProject(app_, false, {})) {
                closeApproved_ = true;
                // A close refused after all leaves the next one to run "onquit" and save again.
                if (!close()) closeApproved_ = false;
            }
            return true;
        case CmdPlatform: if (panels_.platformsDialog) panels_.platformsDialog(app_, this); refreshTree(); return true;
        case CmdFileFormats: if (panels_.formatsDialog) panels_.formatsDialog(app_, this); return true;
        case CmdOptions: if (panels_.optionsSheet) panels_.optionsSheet(app_, this); showPanelForSelection(); return true;
        case CmdCopyPreview: if (panels_.copyPreview) panels_.copyPreview(app_, panelContent_); return true;
        case CmdExportImage: if (panels_.exportPreview) panels_.exportPreview(app_, panelContent_); return true;
        case CmdRefreshTree: refreshTree(); return true;
        case CmdAddFolder:
            if (runAddFolderDialog(app_, this)) refreshTree();
            return true;
        case CmdScriptInvite:
            // Only the text run now can close the window: a `quit` of an earlier run whose
            // closing was refused stays behind in the state.
            if (!askScriptInvite(this, scriptInviteText)) return true;
            setBusy(true);
            runScriptInvite(app_, scriptInviteText);
            setBusy(false);
            if (scriptState(app_).stopRequest == 2) close();
            else refreshTree();
            return true;
        case CmdCleanProject:
            if (ask(app_, T::CleanProjectCaption, ts::tr(T::CleanProjectQuestion), Icon::Question, Buttons::OkCancel,
                    Answer::Ok) == Answer::Ok) {
                setBusy(true);
                cleanProject(app_);
                setBusy(false);
                refreshTree();
            }
            return true;
        case CmdDocumentation: showDocumentation(); return true;
        case CmdUserHelp: showUserHelp(); return true;
        case CmdAbout:
            ask(app_, T::AboutCaption, format(T::AboutText, TS_VERSION), Icon::Information, Buttons::Ok, Answer::Ok);
            return true;
        default:
            if (command >= CmdProcedureFirst && procedures_) {
                for (QAction* a : procedures_->actions())
                    if (a->property("commandId").toInt() == command) {
                        runProcedure(fromQt(a->property("label").toString()));
                        return true;
                    }
            }
            return false;
    }
}

}  // namespace ts
