#include "project/ui/options_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "convert/ui/conversion_page.h"
#include "convert/ui/conversion_plus_page.h"
#include "formats/ui/models_page.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"
#include "project/ui/general_page.h"
#include "project/options_rules.h"

namespace ts {

OptionsSheet::OptionsSheet(App& app, QWidget* parent, std::function<bool()> editorOpen)
    : QDialog(parent), app_(app), editorOpen_(std::move(editorOpen)) {
    if (!editorOpen_) editorOpen_ = [&app] { return editorHasPlanes(app); };
    setObjectName("options-sheet");
    setWindowTitle(qtr(T::OptionsCaption));
    setAccessibleName(qtr(T::OptionsCaption));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("options-tabs");
    tabs_->setAccessibleName(qtr(T::OptionsCaption));
    general_ = new GeneralPage(app, tabs_);
    general_->editorOpen = editorOpen_;
    auto* models = new ModelsPage(app, tabs_);
    pages_ = {general_, new ConversionPage(app, tabs_), models, new ConversionPlusPage(app, tabs_)};
    const T titles[] = {T::OptionsTabGeneral, T::OptionsTabConversion, T::OptionsTabModels, T::OptionsTabConversionPlus};
    for (size_t i = 0; i < pages_.size(); ++i) tabs_->addTab(pages_[i], qtr(titles[i]));
    models->onModelsChanged = [this](const std::vector<std::string>& names, int index) {
        for (OptionsPage* page : pages_) page->modelsChanged(names, index);
    };
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    labelStandardButtons(*buttons);
    buttons->setObjectName("options-buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("options-ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("options-cancel");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 2 && editorOpen_ && editorOpen_()) {
            showBox(hostServices(app_), ts::tr(T::CaptionError), ts::tr(T::OptionsModelsEditorOpen), Icon::Error);
            pages_[2]->setEnabled(false);
        } else {
            pages_[2]->setEnabled(true);
        }
        lastTab_ = index;
    });
    resize(560, 480);
}

void OptionsSheet::accept() {
    for (OptionsPage* page : pages_) page->apply();
    general_->applyModelChoice();
    QDialog::accept();
}

void OptionsSheet::reject() {
    for (OptionsPage* page : pages_) page->discard();
    QDialog::reject();
}

void showOptionsSheet(App& app, QWidget* parent) {
    OptionsSheet sheet(app, parent);
    sheet.exec();
}

}  // namespace ts
