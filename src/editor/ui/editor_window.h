#pragma once
// The map editor's window: the view of the planes, the pattern panel beside it, their scroll
// bars, the "Cancel", "Redo", "Menu" and "Paste" buttons, the memory text and the status line.
// A timer at editor.timing asks the core whether the next frame differs and only then draws it;
// mouse, wheel and keys become the core's plain calls. One editor window per program.
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "editor/editor_session.h"
#include "editor/map_view_renderer.h"
#include "editor/surface.h"

class QLabel;

class QPushButton;
class QScrollBar;

namespace ts {

struct App;
struct ElementRecord;
class BitsDisplayWindow;
class SpecimenWindow;
class MapViewWidget;
class PatternPanelWidget;

// Room around the view (pixels of the window's client area).
constexpr int kViewMargin = 10;        // the view's top-left corner is at (10, 10)
constexpr int kViewRightGap = 44;      // view width = client width - panel width - 44
constexpr int kViewBottomGap = 60;     // view height = client height - 60
constexpr int kPanelGap = 54;          // the panel starts at view width + 54
constexpr int kMinClientSide = 256;    // the window never gets smaller than this
constexpr int kMinPanelWidth = 64;     // pattern panel width limits
constexpr int kPanelRightRoom = 128;   // the panel leaves this much of the window to the view
constexpr int kScrollBarSide = 16;     // thickness of the scroll bars

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    // A window for the editor of `app`; `owner` is the main window (the editor stays a window of
    // its own; the owner's closing first closes the editor). Call start() once the document is open.
    EditorWindow(App& app, QWidget* owner = nullptr);
    ~EditorWindow() override;

    App& app() { return app_; }
    EditorSession& session() { return session_; }
    MapViewWidget* view() const { return view_; }
    PatternPanelWidget* panel() const { return panel_; }
    BitsDisplayWindow* bitsWindow() const { return bits_; }
    SpecimenWindow* specimenWindow() const { return specimen_; }
    QScrollBar* horizontalBar() const { return hbar_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QScrollBar* panelBar() const { return panelBar_; }

    // Places the window where the settings script put it (on a screen where it fits), shows it
    // and starts the timer.
    void start();

    // One tick of the timer: auto-scroll of drags, the panel's fade, the texts and buttons, and a
    // new frame when the core says it differs. Tests call it instead of waiting for the timer.
    void tick();
    // Draws a frame now, whatever the core says (after a resize).
    void redraw();
    // Number of frames drawn so far (tests and the benchmark check that idle ticks draw nothing).
    int framesDrawn() const { return framesDrawn_; }
    // The timer's interval now (editor.timing).
    int timerInterval() const { return timer_.interval(); }

    // The view's surface size (view area / zoom) and the panel's.
    int surfaceWidth() const;
    int surfaceHeight() const;
    // The zoom the view is drawn at: the document's, kept within what a surface allows.
    double viewZoom() const;
    // The clock the tools use (the host's, so that tests can set it).
    uint64_t now() const;

    // The context menu, built for the present state (check marks, disabled entries); shown by the
    // "Menu" button and a right click outside the view and the panel.
    QMenu* buildContextMenu();
    void showContextMenu(const QPoint& globalPos);
    QMenu* contextMenu() const { return menu_; }

    // The keys of the editor (also reached from the view). True when the key was the editor's.
    bool handleKey(int key, Qt::KeyboardModifiers mods);

    // Actions of the menu, the keys and the buttons.
    void undoAction();
    void redoAction();
    void pasteAction();
    void saveAction();
    void addPlaneAction();
    void activatePlaneAction(int slot);
    void setHexModeAction(bool on);
    void setBitsShown(bool shown);
    void setSpecimenShown(bool shown);
    void editObjectAction(int index);

    // After the document changed outside the tools (a dialog, a script, a new plane): tool
    // windows, scroll bars, texts and layout follow.
    void documentChanged();

    // Writes the window's and the tool windows' places into the document (Editor.Move, ...).
    void storePlaces();

    // Mouse helpers of the view: view pixels to surface pixels (may lie outside the surface).
    int toSurfaceX(int viewX) const;
    int toSurfaceY(int viewY) const;
    // Modifiers of the last mouse event (Shift speeds up the drag's auto-scroll).
    Qt::KeyboardModifiers lastModifiers = Qt::NoModifier;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildChildren();
    void layoutChildren();
    void syncChrome();
    void syncScrollBars();
    void syncToolWindows();
    void composeFrame(uint64_t nowMs, uint64_t overlay);
    void activeChanged();
    void placeOnScreen();
    void runHelp(bool projectHelp);
    void afterDialog(bool changed);

    App& app_;
    EditorSession session_;
    ViewClock clock_;
    Surface viewSurface_;
    Surface panelSurface_;
    QTimer timer_;
    uint64_t lastTickMs_ = 0;
    int framesDrawn_ = 0;
    int lastActive_ = -1;
    int lastCount_ = 0;
    bool closing_ = false;
    std::string shownTitle_ = "\x01";   // the texts last put into the widgets (none yet)
    std::string shownMemory_ = "\x01";
    std::string shownStatus_ = "\x01";

    MapViewWidget* view_ = nullptr;
    PatternPanelWidget* panel_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* panelBar_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    QPushButton* menuButton_ = nullptr;
    QPushButton* paste_ = nullptr;
    QLabel* memory_ = nullptr;
    QLabel* status_ = nullptr;
    QPointer<QMenu> menu_;
    BitsDisplayWindow* bits_ = nullptr;
    SpecimenWindow* specimen_ = nullptr;
    QPointer<QWidget> owner_;
};

// The open editor window of `app`, or null.
EditorWindow* findEditorWindow(App& app);

// Opens the editor on a map or list element: while the editor is open the element joins it as a
// plane (or, when it already is one, the window comes forward). Null when the editor does not
// open (the reason was shown).
EditorWindow* openEditorWindow(App& app, const ElementRecord& element, QWidget* owner = nullptr);

// The surface as a picture (0x00RRGGBB pixels, top row first): a copy, and a picture that reads
// the surface's memory in place (valid while the surface keeps its size).
QImage imageOfSurface(const Surface& surface);
QImage viewOfSurface(const Surface& surface);

}  // namespace ts
