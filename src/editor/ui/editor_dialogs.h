#pragma once
// The map editor's dialogs and its two tool windows. The editor window calls them from its
// context menu and keys; each dialog gathers its fields, hands them to the editor's rules and
// shows the returned message through the host services. Every dialog function returns true when
// the document (a map, a plane's settings or the store) changed, so the caller redraws.
#include <QWidget>

#include <string>

#include "editor/specimen_view.h"

class QCheckBox;
class QScrollBar;
class QVBoxLayout;

namespace ts {

struct App;
struct EditorSession;

// "Properties of plane %s": General, Properties, Advanced, Conditions, Bits of the plane in `slot`.
bool showPlaneProperties(QWidget* parent, App& app, EditorSession& session, int slot);

// "Options": the general options page shared with the main window, Shortcuts, Planes, View and
// Specimen. The Shortcuts page opens the element's properties, "Tile size setting" and the
// active plane's property sheet.
bool showEditorOptions(QWidget* parent, App& app, EditorSession& session);

// "Links": the plane numbers the active plane is linked with.
bool showLinks(QWidget* parent, App& app, EditorSession& session);

// "Select a background map...": a project element opened as a new plane.
bool showAddPlane(QWidget* parent, App& app, EditorSession& session);

// "Tile size setting": the block size the active map's values are written in; converts the map
// to the editor's block size.
bool showTileSize(QWidget* parent, App& app, EditorSession& session);

// "Operations on selection": rewrites the values in the selection store. Stays open on a message.
bool showSelectionOperations(QWidget* parent, App& app, EditorSession& session);

// "Blocks copy" (the context menu's "Moving..."): copies, moves or fills blocks by typed
// coordinates. Stays open on a message.
bool showBlocksCopy(QWidget* parent, App& app, EditorSession& session);

// "Execute (script)": script lines typed by the user, run with the editor open.
bool showExecuteScript(QWidget* parent, App& app, EditorSession& session);

// "Object parameters": the fields of object `index` of the active object-list plane, laid out by
// the list's parameter model (Enter or a double click on an object).
bool showObjectParameters(QWidget* parent, App& app, EditorSession& session, int index);

// "Bits display": one check box per shown bit of the active plane, bit 31 at the top. Toggling a
// box changes the store's active layer (or the current pattern) and emits changed().
class BitsDisplayWindow : public QWidget {
    Q_OBJECT
public:
    BitsDisplayWindow(App& app, EditorSession& session, QWidget* parent = nullptr);
    // Builds the boxes again for the active plane's bit table (the active plane changed).
    void rebuild();
    // Ticks the boxes after the bits of a value (a value was picked or copied).
    void showValue(uint32_t value);
    // The boxes follow the store's first cell of the active layer, or the current pattern.
    void showCurrent();

signals:
    // The store or the current pattern changed through a box.
    void changed();
    // The window was closed by the user (it only hides; Bits.Show is cleared).
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void toggled(int bit, bool on);
    void storeGeometry();

    App& app_;
    EditorSession& session_;
    QVBoxLayout* layout_ = nullptr;
    QCheckBox* boxes_[32] = {};
    bool updating_ = false;
};

class SpecimenCanvas;

// "Specimen map": the first specimen plane drawn into its own surface, with its own scroll bars;
// a rectangle dragged with either button copies blocks of every specimen map into the store.
class SpecimenWindow : public QWidget {
    Q_OBJECT
public:
    SpecimenWindow(App& app, EditorSession& session, QWidget* parent = nullptr);
    ~SpecimenWindow() override;
    // The specimen planes or the active plane changed: sizes, scroll ranges and the frame again.
    void rebuild();
    // Called on the editor's timer: auto-scroll while a drag is outside, then redraw if needed.
    void tick(uint64_t nowMs);
    // The canvas (tests drive the mouse on it and compare its frame).
    QWidget* canvas() const;
    // The frame the canvas shows now (0x00RRGGBB, canvas size), as drawn by the core.
    QImage frame() const;
    // The view's scroll position and pick rectangle.
    const SpecimenView& view() const;

signals:
    // The store changed through a pick.
    void changed();
    // The window was closed by the user (it only hides; Specimen.Show is cleared).
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class SpecimenCanvas;
    void scrolled();
    void storeGeometry();

    App& app_;
    EditorSession& session_;
    SpecimenCanvas* canvas_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    bool updatingBars_ = false;
};

}  // namespace ts
