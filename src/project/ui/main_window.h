#pragma once
// The main window: the project tree on the left, the right-hand panel (creation forms or the
// selected element's preview), the status strip and the menu bar.
#include <QMainWindow>
#include <functional>
#include <string>

#include "project/ui/panel_factories.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QVBoxLayout;

namespace ts {

struct App;
class ProjectTree;

// Command identifiers of the menu bar and of the window's keys.
enum MainCommand : int {
    CmdQuitWithoutSaving = 40001, CmdNew = 40002, CmdOpen = 40003, CmdSave = 40004, CmdSaveAs = 40005,
    CmdRefreshTree = 40007, CmdAbout = 40010, CmdDocumentation = 40011, CmdFocusNext = 40012,
    CmdFocusPrevious = 40013, CmdEscape = 40016, CmdEnter = 40017, CmdProceduresNone = 40018,
    CmdAddFolder = 40028, CmdScriptInvite = 40030, CmdUserHelp = 40031, CmdOptions = 40032,
    CmdFileFormats = 40038, CmdCopyPreview = 40039, CmdExportImage = 40045, CmdCleanProject = 40051,
    CmdPlatform = 40054,
    CmdProcedureNoScript = 16383, CmdProcedureFirst = 16384,
};

// The program's manual in the program's folder (F1).
constexpr const char* kManualFileName = "manual.html";

class MainWindow : public QMainWindow {
public:
    MainWindow(App& app, PanelFactories panels = defaultPanelFactories());
    ~MainWindow() override;

    App& app() { return app_; }
    ProjectTree* tree() { return tree_; }
    // The widget shown in the right-hand panel (never null).
    QWidget* panelContent() { return panelContent_; }
    // The menu action of a command identifier, or null.
    QAction* action(int command) const;
    QMenu* proceduresMenu() const { return procedures_; }

    // Runs a command of the menu bar or of the window's keys. False for an unknown identifier.
    bool runCommand(int command);

    // The end of the window's initialisation: runs "onstart", selects the format and model the
    // project names, fills the Procedures menu and turns messages on. False when "onstart"
    // closed the window (the close has run by then).
    bool start();

    // The status strip: the current text, and "Please wait..." while `busy`.
    void setStatusText(const std::string& text);
    std::string statusText() const;
    void setBusy(bool busy);

    // Rebuilds the tree from the element table (F5 and structural changes) and the panel.
    void refreshTree();
    // Shows in the right-hand panel what the tree's current node asks for. While a script runs
    // the panel stays as it is unless `force`.
    void showPanelForSelection(bool force = false);
    // Selects a branch and shows its form (the script's `tree-...` controls).
    void showBranch(int branch);
    void setPanelContent(QWidget* content);

    // Fills the Procedures menu from the project script's underscore labels.
    void rebuildProceduresMenu();

    // Closing the window: "onquit" (a `return 0` cancels), then the project is saved (a name is
    // asked for when it has none; none given keeps the window open). True when the window may close.
    bool confirmClose();
    // Asks for a project file name to save under ("" when the user cancels). Tests replace it.
    std::function<std::string()> askSaveName;
    // Asks for a project file to open ("" when the user cancels). Tests replace it.
    std::function<std::string()> askOpenName;
    // Opens the map editor on a map or list element; while the editor is open the element joins
    // it as a plane (or the editor comes forward when it already shows it).
    void openMapEditor(int index);
    // Whether the map editor is open (the options sheet and the tree ask).
    bool mapEditorOpen() const;

    // The text last typed into "Execute (script)", shown again the next time.
    std::string scriptInviteText;
    // The note about moving an element onto its own branch shows once per run.
    bool defaultFolderNoteShown = false;

    // Tree commands on a record: double click, Delete, Duplicate (then the rename of the copy).
    void openElement(int index);
    void deleteElement(int index);
    void duplicateElement(int index);
    // Files dropped from the file manager: each added as an element by its extension.
    void addDroppedFiles(const QStringList& files);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter and Escape that no control took: the panel's default button and leaving the panel.
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void wireTree();
    QAction* addCommand(QMenu* menu, int command, const QString& text, const QString& objectName,
                        const QKeySequence& key = QKeySequence());
    void updateTitle();
    bool saveProject(bool askName);
    bool askSaveFirst();
    // Closes the map editor when it is open; false when the user cancelled there.
    bool closeMapEditorFirst();
    void runProcedure(const std::string& label);
    void showUserHelp();
    void showDocumentation();
    // Enter with the focus in the panel: the focused push button, else the form's "Ok!".
    void pressPanelDefault();

    App& app_;
    PanelFactories panels_;
    ProjectTree* tree_ = nullptr;
    QWidget* panel_ = nullptr;
    QVBoxLayout* panelLayout_ = nullptr;
    QWidget* panelContent_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* procedures_ = nullptr;
    std::string statusText_;
    int busyDepth_ = 0;
    bool closing_ = false;
    bool closeApproved_ = false;
};

}  // namespace ts
