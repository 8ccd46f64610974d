#include "editor/ui/editor_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "editor/editor_settings.h"
#include "editor/tool_overlay.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/map_view_widget.h"
#include "editor/ui/pattern_panel_widget.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "host/ui/qt_text.h"

namespace ts {

namespace {

constexpr int kButtonWidth = 60;    // "Cancel", "Redo", "Menu", "Paste"
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 4;
constexpr int kMemoryTextWidth = 110;

QScrollBar* makeBar(QWidget* parent, Qt::Orientation o, const char* name, T accessible) {
    auto* bar = new QScrollBar(o, parent);
    bar->setObjectName(name);
    bar->setAccessibleName(qtr(accessible));
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

QPushButton* makeButton(QWidget* parent, T text, const char* name) {
    auto* b = new QPushButton(qtr(text), parent);
    b->setObjectName(name);
    b->setAccessibleName(qtr(text));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

const PlaneRecord* activePlane(const EditorDocument& doc) {
    return planeOpen(doc, doc.active) ? &doc.planes[size_t(doc.active)] : nullptr;
}

}  // namespace

QImage viewOfSurface(const Surface& s) {
    if (s.empty()) return QImage();
    // The words 0x00RRGGBB are what a 32-bit RGB picture holds (its top byte is ignored): the
    // picture reads the surface's rows in place when they lie top-down one stride apart.
    if (s.height == 1 || s.row(1) == s.row(0) + s.stride)
        return QImage(reinterpret_cast<const uchar*>(s.row(0)), s.width, s.height, qsizetype(s.stride) * 4,
                      QImage::Format_RGB32);
    return imageOfSurface(s);
}

QImage imageOfSurface(const Surface& s) {
    if (s.empty()) return QImage();
    QImage image(s.width, s.height, QImage::Format_RGB32);
    for (int y = 0; y < s.height; ++y) {
        const uint32_t* src = s.row(y);
        auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < s.width; ++x) dst[x] = 0xFF000000u | (src[x] & 0xFFFFFFu);
    }
    return image;
}

EditorWindow::EditorWindow(App& app, QWidget* owner) : QWidget(owner, Qt::Window), app_(app), owner_(owner) {
    setObjectName("editor-window");
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kMinClientSide, kMinClientSide);
    buildChildren();
    // The view's background is the window's own colour.
    const QColor back = palette().color(QPalette::Window);
    editorDocument(app_).background = uint32_t(back.red()) << 16 | uint32_t(back.green()) << 8 | uint32_t(back.blue());
    if (owner) owner->installEventFilter(this);
    connect(&timer_, &QTimer::timeout, this, &EditorWindow::tick);
}

EditorWindow::~EditorWindow() {
    if (owner_) owner_->removeEventFilter(this);
    timer_.stop();
    // The tool windows hold the session and the widgets read the surfaces: they go first.
    delete bits_;
    delete specimen_;
    bits_ = nullptr;
    specimen_ = nullptr;
    view_->setFrame(QImage(), false);
    panel_->setFrame(QImage());
    // A window destroyed without its close (the program ends) leaves no open editor behind.
    EditorDocument& doc = editorDocument(app_);
    if (doc.open && !closing_) {
        resetPlanes(app_);
        doc.open = false;
    }
}

void EditorWindow::buildChildren() {
    view_ = new MapViewWidget(*this);
    panel_ = new PatternPanelWidget(*this);
    hbar_ = makeBar(this, Qt::Horizontal, "editor-scroll-x", T::EditorViewScrollX);
    vbar_ = makeBar(this, Qt::Vertical, "editor-scroll-y", T::EditorViewScrollY);
    panelBar_ = makeBar(this, Qt::Vertical, "editor-panel-scroll", T::EditorPanelScroll);
    undo_ = makeButton(this, T::EditorButtonUndo, "editor-undo");
    redo_ = makeButton(this, T::EditorButtonRedo, "editor-redo");
    menuButton_ = makeButton(this, T::EditorButtonMenu, "editor-menu-button");
    paste_ = makeButton(this, T::EditorButtonPaste, "editor-paste");
    memory_ = new QLabel(this);
    memory_->setObjectName("editor-memory");
    memory_->setAccessibleName(qtr(T::EditorMemoryName));
    status_ = new QLabel(this);
    status_->setObjectName("editor-status");
    status_->setAccessibleName(qtr(T::EditorStatusName));

    connect(undo_, &QPushButton::clicked, this, &EditorWindow::undoAction);
    connect(redo_, &QPushButton::clicked, this, &EditorWindow::redoAction);
    connect(paste_, &QPushButton::clicked, this, &EditorWindow::pasteAction);
    connect(menuButton_, &QPushButton::clicked, this,
            [this] { showContextMenu(menuButton_->mapToGlobal(QPoint(0, menuButton_->height()))); });
    auto scrolled = [this] {
        EditorDocument& doc = editorDocument(app_);
        scrollTo(doc, hbar_->value(), vbar_->value());
    };
    connect(hbar_, &QScrollBar::valueChanged, this, scrolled);
    connect(vbar_, &QScrollBar::valueChanged, this, scrolled);
    connect(panelBar_, &QScrollBar::valueChanged, this, [this](int v) { session_.panelScrollRows = v; });
}

void EditorWindow::start() {
    lastActive_ = editorDocument(app_).active;
    lastCount_ = editorDocument(app_).count;
    placeOnScreen();
    documentChanged();
    redraw();
    timer_.start(std::max(1, editorSettings(app_).timing));
    lastTickMs_ = now();
}

uint64_t EditorWindow::now() const { return hostServices(app_).milliseconds(); }

double EditorWindow::viewZoom() const {
    // A script may set any zoom; a small one would ask for a surface larger than the program
    // makes, so the view then shrinks only as far as a surface allows.
    double zoom = editorDocument(app_).options.zoom;
    if (!(zoom > 0.0) || !std::isfinite(zoom)) zoom = 1.0;
    zoom = std::clamp(zoom, 1.0 / 64, 64.0);
    const int w = std::max(view_->width(), panel_->width()), h = std::max(view_->height(), 1);
    while (zoom < 1.0 && !surfaceSizeAllowed(int64_t(w / zoom), int64_t(h / zoom))) zoom *= 2;
    return zoom;
}

int EditorWindow::surfaceWidth() const { return std::clamp(int(view_->width() / viewZoom()), 1, kMaxSurfaceSide); }

int EditorWindow::surfaceHeight() const { return std::clamp(int(view_->height() / viewZoom()), 1, kMaxSurfaceSide); }

int EditorWindow::toSurfaceX(int viewX) const {
    const int64_t v = int64_t(viewX) * surfaceWidth();
    const int64_t w = std::max(view_->width(), 1);
    return int(v >= 0 ? v / w : -((-v + w - 1) / w));
}

int EditorWindow::toSurfaceY(int viewY) const {
    const int64_t v = int64_t(viewY) * surfaceHeight();
    const int64_t h = std::max(view_->height(), 1);
    return int(v >= 0 ? v / h : -((-v + h - 1) / h));
}

// ---- layout ----

void EditorWindow::layoutChildren() {
    const EditorDocument& doc = editorDocument(app_);
    const int cw = width(), ch = height();
    const int panelWidth = std::clamp(doc.options.panelWidth, kMinPanelWidth, std::max(kMinPanelWidth, cw - kPanelRightRoom));
    const int vw = std::max(cw - panelWidth - kViewRightGap, 16);
    const int vh = std::max(ch - kViewBottomGap, 16);
    view_->setGeometry(kViewMargin, kViewMargin, vw, vh);
    vbar_->setGeometry(kViewMargin + vw, kViewMargin, kScrollBarSide, vh);
    hbar_->setGeometry(kViewMargin, kViewMargin + vh, vw, kScrollBarSide);
    // The panel's width is a whole number of blocks as shown (at least one). Starting 44 pixels
    // right of the view, the full panel width would end 10 pixels beyond the window: the panel
    // keeps to the room left for it and its scroll bar.
    const PlaneRecord* plane = activePlane(doc);
    const int block = std::max(1, int((plane ? plane->blockWidth : 8) * viewZoom()));
    const int room = std::min(panelWidth, cw - (vw + kPanelGap) - kScrollBarSide - 2);
    const int pw = std::max(block, room / block * block);
    panel_->setGeometry(vw + kPanelGap, kViewMargin, pw, vh);
    panelBar_->setGeometry(vw + kPanelGap + pw, kViewMargin, kScrollBarSide, vh);
    const int by = ch - kViewBottomGap + kViewMargin + kScrollBarSide + kButtonGap;
    int x = kViewMargin;
    for (QPushButton* b : {undo_, redo_, menuButton_, paste_}) {
        b->setGeometry(x, by, kButtonWidth, kButtonHeight);
        x += kButtonWidth + kButtonGap;
    }
    memory_->setGeometry(x + kButtonGap, by, kMemoryTextWidth, kButtonHeight);
    x += kButtonGap + kMemoryTextWidth;
    status_->setGeometry(x, by, std::max(cw - x - kViewMargin, 0), kButtonHeight);
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
    syncScrollBars();
    if (timer_.isActive()) redraw();
}

// ---- the timer ----

void EditorWindow::tick() {
    EditorDocument& doc = editorDocument(app_);
    if (!doc.open || closing_) return;
    // "Timer editor" may have changed in the options.
    const int interval = std::max(1, editorSettings(app_).timing);
    if (timer_.isActive() && timer_.interval() != interval) timer_.setInterval(interval);
    const uint64_t t = now();
    const int elapsed = int(std::min<uint64_t>(t >= lastTickMs_ ? t - lastTickMs_ : 0, 1000));
    lastTickMs_ = t;
    animatePanel(doc, session_, elapsed);
    if (dragScroll(app_, session_, t, (lastModifiers & Qt::ShiftModifier) != 0)) syncScrollBars();
    if (doc.active != lastActive_ || doc.count != lastCount_) documentChanged();
    syncChrome();
    syncToolWindows();
    const uint64_t overlay = overlayState(doc, session_, t);
    if (clock_.frameDiffers(doc, t, toolsAnimating(doc, session_, t), overlay, surfaceWidth(), surfaceHeight()))
        composeFrame(t, overlay);
    if (specimen_ && specimen_->isVisible()) specimen_->tick(t);
}

void EditorWindow::redraw() {
    const uint64_t t = now();
    composeFrame(t, overlayState(editorDocument(app_), session_, t));
}

void EditorWindow::composeFrame(uint64_t t, uint64_t overlay) {
    EditorDocument& doc = editorDocument(app_);
    const int sw = surfaceWidth(), sh = surfaceHeight();
    if (viewSurface_.width != sw || viewSurface_.height != sh) {
        // The widgets read the surfaces in place: they let go of them before the memory changes.
        view_->setFrame(QImage(), false);
        if (!createSurface(viewSurface_, sw, sh)) return;
    }
    session_.viewWidth = sw;
    session_.viewHeight = sh;
    const PlatformRecord* platform = &currentPlatform(app_);
    const OverlayPainter painter = [&](Surface& target) { drawToolOverlay(target, doc, session_, t, platform); };
    const ObjectHighlight highlight{&session_.selectedObjects, session_.currentObject, t};
    clock_.compose(viewSurface_, doc, editorSettings(app_).mapsMultiPalettes != 0, painter, highlight, t, overlay,
                   platform);
    const double zoom = viewZoom();
    const bool smooth = doc.options.preciseZoom && zoom != 1.0;
    view_->setFrame(viewOfSurface(viewSurface_), smooth);

    // The panel at the view's zoom; in hex mode it is left empty.
    const int pw = std::clamp(int(panel_->width() / zoom), 1, kMaxSurfaceSide);
    const int ph = std::clamp(int(panel_->height() / zoom), 1, kMaxSurfaceSide);
    if (panelSurface_.width != pw || panelSurface_.height != ph) {
        panel_->setFrame(QImage());
        createSurface(panelSurface_, pw, ph);
    }
    if (!panelSurface_.empty()) {
        if (doc.options.hexMode) {
            for (int y = 0; y < ph; ++y) std::fill_n(panelSurface_.row(y), pw, doc.background);
        } else {
            drawPatternPanel(panelSurface_, doc, session_, t, platform);
        }
        panel_->setFrame(viewOfSurface(panelSurface_));
    }
    ++framesDrawn_;
}

// ---- texts, buttons, scroll bars ----

void EditorWindow::syncChrome() {
    const EditorDocument& doc = editorDocument(app_);
    // The texts are converted only when they change (this runs on every tick).
    if (shownTitle_ != doc.title) {
        shownTitle_ = doc.title;
        setWindowTitle(toQt(doc.title));
    }
    if (shownMemory_ != doc.memoryText) {
        shownMemory_ = doc.memoryText;
        memory_->setText(toQt(doc.memoryText));
    }
    if (shownStatus_ != doc.statusText) {
        shownStatus_ = doc.statusText;
        status_->setText(toQt(doc.statusText));
    }
    if (undo_->isEnabled() != doc.undoEnabled) undo_->setEnabled(doc.undoEnabled);
    if (redo_->isEnabled() != doc.redoEnabled) redo_->setEnabled(doc.redoEnabled);
    const PlaneRecord* plane = activePlane(doc);
    const bool canPaste = plane && plane->kind == PlaneMap && !doc.store.empty() &&
                          int64_t(doc.store.width) * doc.store.height > 1;
    if (paste_->isEnabled() != canPaste) paste_->setEnabled(canPaste);
    if (hbar_->value() != doc.scrollX || vbar_->value() != doc.scrollY) syncScrollBars();
}

void EditorWindow::syncScrollBars() {
    const EditorDocument& doc = editorDocument(app_);
    const PlaneRecord* plane = activePlane(doc);
    const QSignalBlocker bx(hbar_), by(vbar_), bp(panelBar_);
    if (!plane) {
        hbar_->setRange(0, 0);
        vbar_->setRange(0, 0);
        panelBar_->setRange(0, 0);
        return;
    }
    const int sw = surfaceWidth(), sh = surfaceHeight();
    const int64_t pixelsX = int64_t(plane->width) * plane->blockWidth, pixelsY = int64_t(plane->height) * plane->blockHeight;
    // The far end also reaches a scroll position set by a script beyond the map.
    const int maxX = int(std::clamp<int64_t>(std::max<int64_t>(pixelsX - sw, doc.scrollX), 0, 1 << 30));
    const int maxY = int(std::clamp<int64_t>(std::max<int64_t>(pixelsY - sh, doc.scrollY), 0, 1 << 30));
    hbar_->setRange(0, maxX);
    vbar_->setRange(0, maxY);
    hbar_->setSingleStep(std::max(plane->scrollStepX, 1));
    vbar_->setSingleStep(std::max(plane->scrollStepY, 1));
    hbar_->setPageStep(std::max(sw, 1));
    vbar_->setPageStep(std::max(sh, 1));
    hbar_->setValue(doc.scrollX);
    vbar_->setValue(doc.scrollY);
    // The panel scrolls by rows of blocks.
    const int bw = std::max(plane->blockWidth, 1), bh = std::max(plane->blockHeight, 1);
    const double zoom = viewZoom();
    const int pw = std::max(1, int(panel_->width() / zoom));
    const int perRow = std::max(pw / bw, 1);
    const int rows = int((int64_t(std::max(plane->tileCount - plane->tileOffset, 0)) + perRow - 1) / perRow);
    const int shown = std::max(1, int(panel_->height() / zoom) / bh);
    panelBar_->setRange(0, std::max(rows - shown, 0));
    panelBar_->setPageStep(shown);
    session_.panelScrollRows = std::clamp(session_.panelScrollRows, 0, panelBar_->maximum());
    panelBar_->setValue(session_.panelScrollRows);
}

void EditorWindow::documentChanged() {
    EditorDocument& doc = editorDocument(app_);
    if (doc.active != lastActive_) activeChanged();
    lastActive_ = doc.active;
    lastCount_ = doc.count;
    syncToolWindows();
    if (bits_) bits_->showValue(uint32_t(session_.bitsValue));
    if (specimen_) specimen_->rebuild();
    layoutChildren();
    syncScrollBars();
    syncChrome();
}

void EditorWindow::activeChanged() {
    session_.panelScrollRows = 0;
    session_.currentObject = -1;
    session_.selectedObjects.clear();
    if (bits_) bits_->rebuild();
}

// ---- closing ----

void EditorWindow::closeEvent(QCloseEvent* event) {
    EditorDocument& doc = editorDocument(app_);
    if (doc.open) {
        storePlaces();
        timer_.stop();
        if (!closeEditor(app_)) {
            // Cancel: everything stays as it was.
            timer_.start(std::max(1, editorSettings(app_).timing));
            event->ignore();
            return;
        }
    }
    closing_ = true;
    timer_.stop();
    if (bits_) bits_->hide();
    if (specimen_) specimen_->hide();
    event->accept();
    if (owner_) owner_->activateWindow();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The main window closes the editor first; a Cancel there keeps both open.
    if (watched == owner_ && event->type() == QEvent::Close && !closing_ && editorDocument(app_).open) {
        if (!close()) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditorWindow::mousePressEvent(QMouseEvent* event) {
    // A right click outside the view and the panel opens the context menu.
    if (event->button() == Qt::RightButton) {
        showContextMenu(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void EditorWindow::afterDialog(bool changed) {
    // Dialogs may change planes, options, bit labels and the store; the next tick shows them.
    if (changed && bits_) bits_->rebuild();
    documentChanged();
}

}  // namespace ts
