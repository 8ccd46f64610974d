#include "project/ui/preview_panel.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <chrono>

#include "convert/convert_settings.h"
#include "convert/image_file.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"
#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/panel_form_host.h"
#include "project/ui/preview_canvas.h"

namespace ts {

PreviewPanel::PreviewPanel(App& app, int index, QWidget* parent) : QWidget(parent), app_(app), index_(index) {
    setObjectName("panel-preview");
    setAccessibleName(qtr(T::PreviewExportTitle));
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    label_ = new QLabel(this);
    label_->setObjectName("preview-label");
    top->addWidget(label_);
    top->addStretch(1);
    auto button = [this, top](const char* name, T text) {
        auto* b = new QPushButton(qtr(text), this);
        b->setObjectName(name);
        b->setAccessibleName(qtr(text));
        b->hide();
        top->addWidget(b);
        return b;
    };
    options_ = button("preview-options", T::PreviewOptions);
    edit_ = button("preview-edit", T::PreviewEdit);
    config_ = button("preview-config", T::PreviewConfig);
    outer->addLayout(top);
    auto* middle = new QHBoxLayout();
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("preview-scroll");
    scroll_->setAccessibleName(qtr(T::PreviewExportTitle));
    scroll_->setFixedSize(kPreviewWindow + 2 * scroll_->frameWidth() + 16, kPreviewWindow + 2 * scroll_->frameWidth() + 16);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    middle->addWidget(scroll_, 0, Qt::AlignTop);
    mouse_ = new QLabel(this);
    mouse_->setObjectName("preview-mouse");
    mouse_->setAccessibleName(qtr(T::PreviewMouseAccessibleName));
    mouse_->setMinimumWidth(110);
    mouse_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mouse_->setAutoFillBackground(true);
    middle->addWidget(mouse_, 0, Qt::AlignTop);
    middle->addStretch(1);
    outer->addLayout(middle);
    outer->addStretch(1);

    connect(options_, &QPushButton::clicked, this, [this] { showOptionsMenu(); });
    connect(edit_, &QPushButton::clicked, this, [this] {
        if (auto* w = dynamic_cast<MainWindow*>(window())) w->openMapEditor(index_);
    });
    connect(config_, &QPushButton::clicked, this, [this] { showConfigMenu(); });

    // The status text is the element's data file.
    const auto& records = elementTable(app).records;
    if (auto* w = dynamic_cast<MainWindow*>(window()))
        w->setStatusText(index >= 0 && index < int(records.size()) ? records[size_t(index)].file : ts::tr(T::PreviewInternalError));
    rebuild();
}

PreviewSettings& PreviewPanel::settings() {
    if (auto* w = dynamic_cast<MainWindow*>(window())) return PanelFormHost::of(app_, w)->previewSettings;
    return localSettings_;
}

void PreviewPanel::rebuild() {
    const QColor background = palette().color(QPalette::Window);
    buildPreview(app_, index_, settings(), background.rgb() & 0xFFFFFF, preview_);
    // The mouse texts are drawn in the inverse of the background colour.
    QPalette mousePalette = mouse_->palette();
    mousePalette.setColor(QPalette::WindowText, QColor(255 - background.red(), 255 - background.green(), 255 - background.blue()));
    mouse_->setPalette(mousePalette);
    label_->setText(toQt(preview_.label));
    options_->setVisible(preview_.mode == PreviewMode::Palette || preview_.mode == PreviewMode::Tileset);
    const bool isMap = index_ >= 0 && index_ < elementTable(app_).count() &&
                       elementTable(app_).records[size_t(index_)].type() == TYPE_CARTE &&
                       !elementTable(app_).records[size_t(index_)].isFolder();
    edit_->setVisible(isMap);
    config_->setVisible(isMap);
    config_->setEnabled(preview_.settingsScriptExists);
    delete canvas_;
    canvas_ = new PreviewCanvas(preview_, scroll_);
    canvas_->mouseTexts = [this](const std::vector<std::string>& texts) { showMouseTexts(texts); };
    scroll_->setWidget(canvas_);
    scroll_->setVisible(preview_.mode != PreviewMode::None);
}

void PreviewPanel::setPaletteColumns(int columns) {
    settings().paletteColumns = columns;
    rebuild();
}

void PreviewPanel::setTilesetWidth(int width) {
    if (width < 8) return;  // too narrow for one tile
    settings().tilesetWidth = width;
    rebuild();
}

void PreviewPanel::showMouseTexts(const std::vector<std::string>& texts) {
    QStringList lines;
    for (const auto& t : texts) lines << toQt(t);
    mouse_->setText(lines.join('\n'));
}

void PreviewPanel::showOptionsMenu() {
    QMenu menu(this);
    menu.setObjectName("preview-options-menu");
    if (preview_.mode == PreviewMode::Palette) {
        for (int columns : kPaletteColumnChoices) {
            QAction* a = menu.addAction(QString::number(columns), this, [this, columns] { setPaletteColumns(columns); });
            a->setCheckable(true);
            a->setChecked(settings().paletteColumns == columns);
        }
    } else {
        for (int width : kTilesetWidthChoices) {
            QAction* a = menu.addAction(QString::number(width), this, [this, width] { setTilesetWidth(width); });
            a->setCheckable(true);
            a->setChecked(settings().tilesetWidth == width);
        }
    }
    menu.exec(options_->mapToGlobal(QPoint(0, options_->height())));
}

void PreviewPanel::showConfigMenu() {
    QMenu menu(this);
    menu.setObjectName("preview-config-menu");
    QAction* open = menu.addAction(qtr(T::PreviewConfigOpen), this, [this] { openSettingsScript(); });
    open->setObjectName("preview-config-open");
    QAction* remove = menu.addAction(qtr(T::PreviewConfigDelete), this, [this] { deleteSettingsScript(); });
    remove->setObjectName("preview-config-delete");
    menu.exec(config_->mapToGlobal(QPoint(0, config_->height())));
}

bool PreviewPanel::openSettingsScript() {
    if (!preview_.settingsScriptExists) return false;
    // The desktop's program for the script (a text editor), as for the element's own data file.
    if (hostServices(app_).openFile(absolutePath(preview_.settingsScript))) return true;
    showBox(hostServices(app_), ts::tr(T::CaptionError),
            formatText(ts::tr(T::ErrorOpenFailed), preview_.settingsScript.c_str()), Icon::Error);
    return false;
}

bool PreviewPanel::deleteSettingsScript() {
    if (!preview_.settingsScriptExists) return false;
    if (!hostServices(app_).moveToTrash(preview_.settingsScript)) {
        showBox(hostServices(app_), ts::tr(T::CaptionError),
                formatText(ts::tr(T::ErrorTrashFailed), preview_.settingsScript.c_str()), Icon::Error);
        return false;
    }
    preview_.settingsScriptExists = false;
    config_->setEnabled(false);
    return true;
}

bool PreviewPanel::confirmPartial() {
    if (!preview_.partial) return true;
    Answer a = showBox(hostServices(app_), ts::tr(T::CaptionWarning),
                       formatText(ts::tr(T::PreviewNotComplete), previewMegabytesNeeded(preview_)), Icon::Warning,
                       Buttons::OkCancel, Answer::Ok);
    return a != Answer::Cancel;
}

bool PreviewPanel::copyToClipboard() {
    if (preview_.mode == PreviewMode::None || preview_.surface.empty()) return false;
    if (!confirmPartial()) return false;
    const ConvertSettings& c = convertSettings(app_);
    const uint32_t mask = uint32_t(c.maskRed) << 16 | uint32_t(c.maskGreen) << 8 | c.maskBlue;
    // The background becomes the mask colour on the clipboard, so that the picture converts back
    // with its transparent parts; the preview keeps its background.
    Surface copy;
    if (!copySurface(copy, preview_.surface)) return false;
    replacePixels(copy, preview_.background, mask);
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(copy.width) * size_t(copy.height));
    for (int y = 0; y < copy.height; ++y) pixels.insert(pixels.end(), copy.row(y), copy.row(y) + copy.width);
    if (!hostServices(app_).copyImageToClipboard(copy.width, copy.height, pixels)) return false;
    // A screen of fewer colours loses the mask colour (and so the transparency) on the way.
    if (!screenKeepsColour(mask))
        showBox(hostServices(app_), ts::tr(T::CaptionAttention), ts::tr(T::PreviewScreenColors), Icon::Warning);
    return true;
}

bool PreviewPanel::screenKeepsColour(uint32_t colour) const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int depth = screen ? screen->depth() : 32;
    const QImage::Format format =
        depth >= 24 ? QImage::Format_RGB32 : depth >= 16 ? QImage::Format_RGB16 : QImage::Format_RGB444;
    QImage test(1, 1, format);
    test.setPixel(0, 0, 0xFF000000u | colour);
    return (test.pixel(0, 0) & 0xFFFFFFu) == (colour & 0xFFFFFFu);
}

bool PreviewPanel::exportImage(const std::string& chosen) {
    if (preview_.mode == PreviewMode::None || preview_.surface.empty()) return false;
    if (!confirmPartial()) return false;
    std::string path = chosen;
    if (path.empty()) {
        QString name = chooseExportFile ? chooseExportFile()
                                        : QFileDialog::getSaveFileName(this, qtr(T::PreviewExportTitle), QString(),
                                                                       qtr(T::PreviewExportFilter));
        if (name.isEmpty()) return false;
        path = fromQt(name);
    }
    if (!saveImageFile(preview_.surface, {}, path)) {
        showBox(hostServices(app_), ts::tr(T::CaptionError), formatText(ts::tr(T::PreviewExportFailed), path.c_str()), Icon::Error);
        return false;
    }
    return true;
}

}  // namespace ts
