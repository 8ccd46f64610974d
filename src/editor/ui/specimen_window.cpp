// "Specimen map": the first specimen plane drawn by the editor's renderer into the window's own
// surface, with its own scroll bars; a rectangle dragged with either button picks blocks into
// the store. A timer runs only while a drag is outside the view (auto-scroll).
#include <QCloseEvent>
#include <QGuiApplication>
#include <QGridLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/specimen_view.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/ui/window_places.h"
#include "formats/platform.h"
#include "host/host_services.h"

namespace ts {

namespace {
constexpr int kDefaultSpecimenWidth = 320;  // first size of the window
constexpr int kDefaultSpecimenHeight = 240;
constexpr int kFallbackTickMs = 20;         // auto-scroll check while a drag is outside
}  // namespace

class SpecimenCanvas : public QWidget {
public:
    SpecimenCanvas(SpecimenWindow& window, App& app) : QWidget(&window), window_(window), app_(app) {
        named(this, "specimen-canvas", qtr(T::SpecimenCanvasName));
        setMouseTracking(false);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(64, 64);
        timer_.setInterval(kFallbackTickMs);
        connect(&timer_, &QTimer::timeout, this, [this] {
            shift_ = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
            window_.tick(nowMs());
        });
    }

    SpecimenView view;
    Surface surface;
    bool dirty = true;

    QImage frame() {
        render();
        QImage image(surface.width, surface.height, QImage::Format_RGB32);
        for (int y = 0; y < surface.height; ++y)
            std::copy_n(surface.row(y), surface.width, reinterpret_cast<uint32_t*>(image.scanLine(y)));
        return image;
    }

    void render() {
        const int w = std::max(width(), 1), h = std::max(height(), 1);
        if (surface.width != w || surface.height != h) {
            if (!createSurface(surface, w, h)) return;
            dirty = true;
        }
        view.viewWidth = w;
        view.viewHeight = h;
        if (!dirty) return;
        drawSpecimen(surface, editorDocument(app_), view, &currentPlatform(app_));
        dirty = false;
    }

    uint64_t nowMs() const { return hostServices(app_).milliseconds(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image = frame();
        QPainter painter(this);
        painter.drawImage(0, 0, image);
        if (!specimenPlane(editorDocument(app_))) {
            // Nothing to pick from yet: say where specimen planes come from.
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, qtr(T::SpecimenEmpty));
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        view.viewWidth = width();
        view.viewHeight = height();
        dirty = true;
        window_.scrolled();
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
        QPoint p = event->position().toPoint();
        specimenPress(editorDocument(app_), view, p.x(), p.y());
        view.lastScrollMs = 0;
        timer_.start();
        dirty = true;
        update();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (view.mark != SpecimenMark::Dragging) return;
        QPoint p = event->position().toPoint();
        specimenMove(editorDocument(app_), view, p.x(), p.y());
        shift_ = event->modifiers() & Qt::ShiftModifier;
        dirty = true;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (view.mark != SpecimenMark::Dragging) return;
        timer_.stop();
        QPoint p = event->position().toPoint();
        bool picked = specimenRelease(app_, view, p.x(), p.y());
        dirty = true;
        update();
        if (!picked) return;
        noteShownValue(app_, window_.session_);  // the bits display shows the block's first value
        emit window_.changed();
    }

public:
    bool shift_ = false;

private:
    SpecimenWindow& window_;
    App& app_;
    QTimer timer_;
};

SpecimenWindow::SpecimenWindow(App& app, EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool), app_(app), session_(session) {
    named(this, "specimen-window", qtr(T::SpecimenTitle));
    setWindowTitle(qtr(T::SpecimenTitle));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    canvas_ = new SpecimenCanvas(*this, app);
    hbar_ = named(new QScrollBar(Qt::Horizontal, this), "specimen-scroll-x", qtr(T::SpecimenScrollX));
    vbar_ = named(new QScrollBar(Qt::Vertical, this), "specimen-scroll-y", qtr(T::SpecimenScrollY));
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->setSingleStep(kSpecimenLineCells);
        bar->setPageStep(kSpecimenPageCells);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (updatingBars_) return;
            EditorDocument& doc = editorDocument(app_);
            if (specimenScrollTo(doc, canvas_->view, hbar_->value(), vbar_->value())) {
                canvas_->dirty = true;
                canvas_->update();
            }
        });
    }
    grid->addWidget(canvas_, 0, 0);
    grid->addWidget(vbar_, 0, 1);
    grid->addWidget(hbar_, 1, 0);
    EditorDocument& doc = editorDocument(app);
    doc.specimenExists = true;
    resize(kDefaultSpecimenWidth, kDefaultSpecimenHeight);
    // A place from Specimen.Move (or an earlier opening); a window never placed stays where the
    // editor puts it.
    if (doc.specimenPlace.width > 0 && doc.specimenPlace.height > 0) placeWindow(*this, doc.specimenPlace, true);
    rebuild();
}

SpecimenWindow::~SpecimenWindow() = default;

void SpecimenWindow::rebuild() {
    canvas_->dirty = true;
    scrolled();
    canvas_->update();
}

void SpecimenWindow::scrolled() {
    // Scroll bar ranges follow the plane and the view size; the view keeps within them.
    EditorDocument& doc = editorDocument(app_);
    SpecimenView& view = canvas_->view;
    view.viewWidth = canvas_->width();
    view.viewHeight = canvas_->height();
    specimenScrollTo(doc, view, view.firstCol, view.firstRow);
    updatingBars_ = true;
    hbar_->setRange(0, specimenMaxCol(doc, view));
    vbar_->setRange(0, specimenMaxRow(doc, view));
    hbar_->setValue(view.firstCol);
    vbar_->setValue(view.firstRow);
    updatingBars_ = false;
}

void SpecimenWindow::tick(uint64_t nowMs) {
    SpecimenView& view = canvas_->view;
    if (!specimenDragScroll(editorDocument(app_), view, nowMs, canvas_->shift_)) return;
    scrolled();
    canvas_->dirty = true;
    canvas_->update();
}

QWidget* SpecimenWindow::canvas() const { return canvas_; }

QImage SpecimenWindow::frame() const { return canvas_->frame(); }

const SpecimenView& SpecimenWindow::view() const { return canvas_->view; }

void SpecimenWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    editorDocument(app_).specimenShown = false;
    emit closedByUser();
}

void SpecimenWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    storeGeometry();
}

void SpecimenWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    storeGeometry();
}

void SpecimenWindow::storeGeometry() { rememberPlace(*this, editorDocument(app_).specimenPlace); }

}  // namespace ts
