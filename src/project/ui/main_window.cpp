#include "project/ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "host/host_services.h"
#include "host/ui/qt_text.h"
#include "project/element_table.h"
#include "project/project_paths.h"
#include "project/tree_layout.h"
#include "project/ui/project_tree.h"
#include "script/script_state.h"

namespace ts {

MainWindow::MainWindow(App& app, PanelFactories panels) : app_(app), panels_(std::move(panels)) {
    setObjectName("main-window");
    setAccessibleName("Tilesmithery");
    setAcceptDrops(true);
    resize(960, 640);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("main-splitter");
    splitter->setAccessibleName("Tilesmithery");
    tree_ = new ProjectTree(app_, splitter);
    panel_ = new QWidget(splitter);
    panel_->setObjectName("right-panel");
    panel_->setAccessibleName(qtr(T::PanelAccessibleName));
    panelLayout_ = new QVBoxLayout(panel_);
    panelLayout_->setContentsMargins(8, 8, 8, 8);
    splitter->addWidget(tree_);
    splitter->addWidget(panel_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 700});
    setCentralWidget(splitter);

    status_ = new QLabel(this);
    status_->setObjectName("status-text");
    status_->setAccessibleName(qtr(T::StatusAccessibleName));
    status_->setContentsMargins(6, 0, 6, 0);  // clear of the window's left edge
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(true);
    setStatusText(ts::tr(T::StatusWelcome));

    buildMenus();
    updateTitle();
    wireTree();
    if (panels_.attachWindow) panels_.attachWindow(app_, this);
    showPanelForSelection();
}

MainWindow::~MainWindow() = default;

void MainWindow::setStatusText(const std::string& text) {
    statusText_ = text;
    if (busyDepth_ == 0) status_->setText(toQt(text));
}

std::string MainWindow::statusText() const { return fromQt(status_->text()); }

void MainWindow::setBusy(bool busy) {
    busyDepth_ = busy ? busyDepth_ + 1 : std::max(0, busyDepth_ - 1);
    status_->setText(busyDepth_ > 0 ? qtr(T::PleaseWait) : toQt(statusText_));
    // The strip is drawn at once: a long operation does not return to the event loop.
    status_->repaint();
}

void MainWindow::updateTitle() {
    const std::string& path = projectPaths(app_).projectPath;
    char title[1200];
    std::snprintf(title, sizeof title, ts::tr(T::WindowTitle), path.empty() ? ts::tr(T::WindowTitleUntitled) : path.c_str());
    setWindowTitle(toQt(title));
}

void MainWindow::refreshTree() {
    tree_->rebuild();
    showPanelForSelection();
}

void MainWindow::setPanelContent(QWidget* content) {
    if (panelContent_) {
        panelLayout_->removeWidget(panelContent_);
        panelContent_->hide();
        panelContent_->deleteLater();
    }
    panelContent_ = content;
    content->setParent(panel_);
    panelLayout_->addWidget(content);
    content->show();
}

namespace {

QWidget* textPanel(const QString& text, const char* objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

}  // namespace

void MainWindow::showBranch(int branch) {
    tree_->selectBranch(branch);
    showPanelForSelection(true);
}

void MainWindow::showPanelForSelection(bool force) {
    // While a script runs, selection changes do not rebuild the panel.
    if (!force && !scriptState(app_).treeRefreshGate && panelContent_) return;
    const int record = tree_->currentRecord();
    const int branch = tree_->currentBranch();
    QWidget* content = nullptr;
    if (record >= 0) {
        const ElementRecord& r = elementTable(app_).records[size_t(record)];
        if (r.isFolder()) {
            char text[200];
            std::snprintf(text, sizeof text, ts::tr(T::PanelFolderText), r.name.c_str());
            content = textPanel(toQt(text), "panel-folder", panel_);
            std::snprintf(text, sizeof text, ts::tr(T::PreviewFolder), r.name.c_str());
            setStatusText(text);
        } else if (panels_.preview) {
            content = panels_.preview(app_, record, panel_);
        }
    } else if (branch >= 0) {
        switch (kBranchTypes[size_t(branch)]) {
            case TYPE_MOSAIQUE: if (panels_.tilemapForm) content = panels_.tilemapForm(app_, panel_); break;
            case TYPE_CARTE: if (panels_.giantMapForm) content = panels_.giantMapForm(app_, panel_); break;
            case TYPE_LISTE: if (panels_.objectListForm) content = panels_.objectListForm(app_, panel_); break;
            case TYPE_BITMAP: if (panels_.simpleImageForm) content = panels_.simpleImageForm(app_, panel_); break;
            case TYPE_PALETTE:
                // No form: the status strip must not keep the text of the form shown before.
                content = textPanel(qtr(T::PanelPalettesText), "panel-palettes", panel_);
                setStatusText(ts::tr(T::PanelPalettesText));
                break;
        }
    }
    if (!content) content = textPanel(qtr(T::PanelWelcome), "panel-welcome", panel_);
    setPanelContent(content);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeApproved_ || confirmClose()) {
        closeApproved_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    event->acceptProposedAction();
    addDroppedFiles(files);
}

}  // namespace ts
