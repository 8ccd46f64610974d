#include "project/ui/giant_map_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

#include "convert/conversion_form.h"
#include "host/file_system.h"
#include "host/ui/qt_text.h"
#include "project/element_record.h"

namespace ts {

GiantMapForm::GiantMapForm(App& app, QWidget* parent)
    : PanelForm(app, ts::tr(T::FormGiantMapTitle), "form-giant-map", parent) {
    file_ = makeEdit("text-source", qtr(T::FormFileToCreate));
    auto* browse = makeButton("browse-source", qtr(T::FormBrowse), qtr(T::FormFileToCreate) + " " + qtr(T::FormBrowse));
    addRow(qtr(T::FormFileToCreate), file_, browse);
    auto* sizes = new QWidget(this);
    sizes->setObjectName("table-size");
    sizes->setAccessibleName(qtr(T::FormTableSize));
    auto* sizeRow = new QHBoxLayout(sizes);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    width_ = makeEdit("text-sizex", qtr(T::FormTableSize));
    height_ = makeEdit("text-sizey", qtr(T::FormTableSize));
    width_->setText("1");
    height_->setText("1");
    sizeRow->addWidget(width_);
    sizeRow->addWidget(height_);
    addRow(qtr(T::FormTableSize), sizes);
    tileset_ = makeCombo("combo-tileset", qtr(T::FormTilesetToUse), toQtList(elementNamesOfType(app, TYPE_MOSAIQUE)));
    addRow(qtr(T::FormTilesetToUse), tileset_);
    palette_ = makeCombo("combo-palette", qtr(T::FormPaletteToUse), toQtList(elementNamesOfType(app, TYPE_PALETTE)));
    addRow(qtr(T::FormPaletteToUse), palette_);
    blocks_ = makeCombo("combo-tiles", qtr(T::FormBlocksSize),
                        {qtr(T::FormTiles8), qtr(T::FormTiles16), qtr(T::FormTiles32), qtr(T::FormTilesCustom)});
    blocks_->setCurrentIndex(1);
    addRow(qtr(T::FormBlocksSize), blocks_);
    mapType_ = makeCombo("combo-maptype", qtr(T::FormMapTypeLabel),
                         {qtr(T::FormMapTypeRotation), qtr(T::FormMapTypeText), qtr(T::FormMapTypeExtended)});
    mapType_->setCurrentIndex(1);
    addRow(qtr(T::FormMapTypeLabel), mapType_);
    addButtons(0x1000);
    browseDataFile(browse, file_);
}

GiantMapFormState GiantMapForm::state() const {
    GiantMapFormState s;
    s.file = fromQt(file_->text());
    s.width = fromQt(width_->text());
    s.height = fromQt(height_->text());
    s.tilesetChoice = tileset_->currentIndex();
    s.paletteChoice = palette_->currentIndex();
    s.blockSize = blocks_->currentIndex();
    s.mapType = mapType_->currentIndex();
    return s;
}

void GiantMapForm::accept() {
    const GiantMapFormState s = state();
    setBusy(true);
    runGiantMapForm(app(), s);
    setBusy(false);
}

}  // namespace ts
