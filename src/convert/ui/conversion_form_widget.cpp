#include "convert/ui/conversion_form_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "formats/platform.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/ui/qt_text.h"
#include "project/element_record.h"

namespace ts {

namespace {


int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked: return ExistingReuse;
        case Qt::PartiallyChecked: return ExistingAppend;
        default: return ExistingOff;
    }
}

Qt::CheckState checkState(int value) {
    return value == ExistingReuse ? Qt::Checked : value == ExistingAppend ? Qt::PartiallyChecked : Qt::Unchecked;
}

}  // namespace

ConversionFormWidget::ConversionFormWidget(App& app, ConversionFormKind kind, QWidget* parent)
    : PanelForm(app, ts::tr(kind == ConversionFormKind::Tilemap ? T::FormTilemapTitle : T::FormImageTitle),
                kind == ConversionFormKind::Tilemap ? "form-tilemap" : "form-image", parent),
      kind_(kind) {
    const bool tilemap = kind == ConversionFormKind::Tilemap;
    source_ = makeEdit("text-source", qtr(T::FormSourceFile));
    auto* browseSourceButton = makeButton("browse-source", qtr(T::FormBrowse), qtr(T::FormSourceFile) + " " + qtr(T::FormBrowse));
    addRow(qtr(T::FormSourceFile), source_, browseSourceButton);
    const QString destLabel = qtr(tilemap ? T::FormDestTileset : T::FormDestBitmap);
    destination_ = makeEdit("text-dest", destLabel);
    auto* browseDest = makeButton("browse-dest", qtr(T::FormBrowse), destLabel + " " + qtr(T::FormBrowse));
    addRow(destLabel, destination_, browseDest);
    palette_ = makeEdit("text-palette", qtr(T::FormDestPalette));
    auto* browsePalette = makeButton("browse-palette", qtr(T::FormBrowse), qtr(T::FormDestPalette) + " " + qtr(T::FormBrowse));
    addRow(qtr(T::FormDestPalette), palette_, browsePalette);
    if (tilemap) {
        map_ = makeEdit("text-map", qtr(T::FormDestMap));
        auto* browseMap = makeButton("browse-map", qtr(T::FormBrowse), qtr(T::FormDestMap) + " " + qtr(T::FormBrowse));
        addRow(qtr(T::FormDestMap), map_, browseMap);
        mapType_ = makeCombo("combo-maptype", qtr(T::FormMapTypeLabel),
                             {qtr(T::FormMapTypeRotation), qtr(T::FormMapTypeText), qtr(T::FormMapTypeExtended)});
        addRow(qtr(T::FormMapTypeLabel), mapType_);
        connect(browseMap, &QPushButton::clicked, this, [this] { browseOther(map_); });
    }
    depth_ = makeCombo("combo-depth", qtr(T::FormDepth), toQtList(depthNames(app)));
    addRow(qtr(T::FormDepth), depth_);
    colors_ = makeEdit("text-colors", qtr(T::FormColors));
    addRow(qtr(T::FormColors), colors_);

    const auto palettes = toQtList(elementNamesOfType(app, TYPE_PALETTE));
    existingPalette_ = makeCheck("check-palette", qtr(T::FormExistingPalette), true);
    paletteList_ = makeCombo("combo-palette", qtr(T::FormExistingPalette), palettes);
    existingPalette_->setEnabled(!palettes.isEmpty());
    addCheckRow(existingPalette_, paletteList_);
    if (tilemap) {
        const auto tilesets = toQtList(elementNamesOfType(app, TYPE_MOSAIQUE));
        existingTileset_ = makeCheck("check-tileset", qtr(T::FormExistingTileset), true);
        tilesetList_ = makeCombo("combo-tileset", qtr(T::FormExistingTileset), tilesets);
        existingTileset_->setEnabled(!tilesets.isEmpty());
        addCheckRow(existingTileset_, tilesetList_);
        makeMap_ = makeCheck("check-map", qtr(T::FormGenerateMap));
        addCheckRow(makeMap_);
        mapSize_ = makeCombo("combo-size", qtr(T::FormMapSize),
                             {qtr(T::FormMapSizeOptimized), qtr(T::FormMapSize128), qtr(T::FormMapSize256),
                              qtr(T::FormMapSize512), qtr(T::FormMapSize1024)});
        mapSize_->setEnabled(currentPlatform(app).capabilityFlag != 0);
        addRow(qtr(T::FormMapSize), mapSize_);
        optimize_ = makeCheck("check-optimize", qtr(T::FormOptimizedTileset));
        tileSize_ = makeCombo("combo-tiles", qtr(T::FormTileSize),
                              {qtr(T::FormTiles8), qtr(T::FormTiles16), qtr(T::FormTiles32), qtr(T::FormTilesCustom)});
        addCheckRow(optimize_, tileSize_);
        connect(makeMap_, &QCheckBox::stateChanged, this, [this] { updateDependents(); });
    }
    addButtons(0x2000);

    connect(browseSourceButton, &QPushButton::clicked, this, [this] { browseSource(); });
    connect(browseDest, &QPushButton::clicked, this, [this] { browseDestination(); });
    connect(browsePalette, &QPushButton::clicked, this, [this] { browseOther(palette_); });
    connect(existingPalette_, &QCheckBox::stateChanged, this, [this] { updateDependents(); });
    if (existingTileset_) connect(existingTileset_, &QCheckBox::stateChanged, this, [this] { updateDependents(); });
    connect(depth_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const PlatformRecord& platform = currentPlatform(this->app());
        if (index >= 0 && index < platform.depthCount) colors_->setText(QString::number(platform.depths[index].colorsPerTile));
    });
    setState(defaultConversionForm(app, kind));
}

ConversionFormState ConversionFormWidget::state() const {
    ConversionFormState s;
    s.kind = kind_;
    s.source = fromQt(source_->text());
    s.destination = fromQt(destination_->text());
    s.palette = fromQt(palette_->text());
    if (map_) s.map = fromQt(map_->text());
    s.colors = fromQt(colors_->text());
    if (mapType_) s.mapType = mapType_->currentIndex();
    s.depth = depth_->currentIndex();
    s.existingPalette = existingPalette_->isEnabled() ? checkValue(existingPalette_) : ExistingOff;
    s.paletteChoice = paletteList_->currentIndex();
    if (existingTileset_) {
        s.existingTileset = existingTileset_->isEnabled() ? checkValue(existingTileset_) : ExistingOff;
        s.tilesetChoice = tilesetList_->currentIndex();
        s.makeMap = makeMap_->isChecked();
        s.mapSize = mapSize_->currentIndex();
        s.optimize = optimize_->isChecked();
        s.tileSize = tileSize_->currentIndex();
    }
    return s;
}

void ConversionFormWidget::setState(const ConversionFormState& s) {
    source_->setText(toQt(s.source));
    destination_->setText(toQt(s.destination));
    palette_->setText(toQt(s.palette));
    if (map_) map_->setText(toQt(s.map));
    if (mapType_) mapType_->setCurrentIndex(s.mapType);
    depth_->setCurrentIndex(s.depth);
    colors_->setText(toQt(s.colors));
    existingPalette_->setCheckState(checkState(s.existingPalette));
    if (s.paletteChoice < paletteList_->count()) paletteList_->setCurrentIndex(s.paletteChoice);
    if (existingTileset_) {
        existingTileset_->setCheckState(checkState(s.existingTileset));
        if (s.tilesetChoice < tilesetList_->count()) tilesetList_->setCurrentIndex(s.tilesetChoice);
        makeMap_->setChecked(s.makeMap);
        mapSize_->setCurrentIndex(s.mapSize);
        optimize_->setChecked(s.optimize);
        tileSize_->setCurrentIndex(s.tileSize);
    }
    updateDependents();
}

void ConversionFormWidget::updateDependents() {
    paletteList_->setEnabled(existingPalette_->isEnabled() && existingPalette_->checkState() != Qt::Unchecked);
    if (existingTileset_) {
        tilesetList_->setEnabled(existingTileset_->isEnabled() && existingTileset_->checkState() != Qt::Unchecked);
        destination_->setEnabled(!tilesetList_->isEnabled());
        map_->setEnabled(makeMap_->isChecked());
    }
    palette_->setEnabled(!paletteList_->isEnabled());
}

QString ConversionFormWidget::askFile(const QString& filter, bool forWriting) {
    if (chooseFile) return chooseFile(accessibleName(), filter);
    // The files to write usually do not exist yet: an open dialog would not take their names.
    if (forWriting)
        return QFileDialog::getSaveFileName(this, accessibleName(), QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    return QFileDialog::getOpenFileName(this, accessibleName(), QString(), filter);
}

void ConversionFormWidget::browseSource() {
    const QString path =
        askFile(qtr(T::FormImageFilter) + " (*.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff)", false);
    if (path.isEmpty()) return;
    ConversionFormState s = state();
    applyBrowsedSource(app(), s, fromQt(path));
    setState(s);
}

void ConversionFormWidget::browseDestination() {
    const QString path = askFile(qtr(T::FormCodeFilter) + " (*.c)", true);
    if (path.isEmpty()) return;
    ConversionFormState s = state();
    applyBrowsedDestination(app(), s, fromQt(path));
    setState(s);
}

void ConversionFormWidget::browseOther(QLineEdit* edit) {
    const QString path = askFile(qtr(T::FormCodeFilter) + " (*.c)", true);
    if (path.isEmpty()) return;
    edit->setText(toQt(relativeFormPath(fromQt(path), currentDirectory())));
}

void ConversionFormWidget::accept() {
    const ConversionFormState s = state();
    setBusy(true);
    runConversionForm(app(), s);
    setBusy(false);
    setStatus(statusText());
}

}  // namespace ts
