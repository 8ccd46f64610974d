#include "project/ui/object_list_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "convert/conversion_form.h"
#include "host/file_system.h"
#include "host/ui/qt_text.h"
#include "project/element_record.h"
#include "project/options_rules.h"

namespace ts {

ObjectListForm::ObjectListForm(App& app, QWidget* parent)
    : PanelForm(app, ts::tr(T::FormListTitle), "form-object-list", parent) {
    const ObjectListFormState defaults = defaultObjectListForm(app);
    file_ = makeEdit("text-source", qtr(T::FormFileToCreate));
    auto* browse = makeButton("browse-source", qtr(T::FormBrowse), qtr(T::FormFileToCreate) + " " + qtr(T::FormBrowse));
    addRow(qtr(T::FormFileToCreate), file_, browse);
    tileset_ = makeCombo("combo-tileset", qtr(T::FormTilesetToUse), toQtList(elementNamesOfType(app, TYPE_MOSAIQUE)));
    addRow(qtr(T::FormTilesetToUse), tileset_);
    model_ = makeCombo("combo-model", qtr(T::FormModelToUse), toQtList(modelNames(app)));
    model_->setCurrentIndex(defaults.modelChoice);
    addRow(qtr(T::FormModelToUse), model_);
    blocks_ = makeCombo("combo-tiles", qtr(T::FormBlocksSize),
                        {qtr(T::FormTiles8), qtr(T::FormTiles16), qtr(T::FormTiles32), qtr(T::FormTilesCustom)});
    blocks_->setCurrentIndex(defaults.blockSize);
    addRow(qtr(T::FormBlocksSize), blocks_);
    addButtons(0x1000);
    browseDataFile(browse, file_);
}

ObjectListFormState ObjectListForm::state() const {
    ObjectListFormState s;
    s.file = fromQt(file_->text());
    s.tilesetChoice = tileset_->currentIndex();
    s.modelChoice = model_->currentIndex();
    s.blockSize = blocks_->currentIndex();
    return s;
}

void ObjectListForm::accept() {
    const ObjectListFormState s = state();
    setBusy(true);
    runObjectListForm(app(), s);
    setBusy(false);
}

}  // namespace ts
