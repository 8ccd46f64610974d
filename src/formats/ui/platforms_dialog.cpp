#include "formats/ui/platforms_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "convert/colour_effects.h"
#include "formats/platform.h"
#include "formats/platform_state.h"
#include "formats/ui/platform_options_dialog.h"
#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"

namespace ts {

PlatformsDialog::PlatformsDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("platforms-dialog");
    setWindowTitle(qtr(T::PlatformsCaption));
    setAccessibleName(qtr(T::PlatformsCaption));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(qtr(T::PlatformsPrompt), this);
    prompt->setObjectName("platforms-prompt");
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    list_ = new QListWidget(this);
    list_->setObjectName("platforms-list");
    list_->setAccessibleName(qtr(T::PlatformsCaption));
    for (const PlatformRecord& record : platformState(app).records) list_->addItem(toQt(record.name));
    prompt->setBuddy(list_);
    layout->addWidget(list_);
    auto* row = new QHBoxLayout();
    auto* options = new QPushButton(qtr(T::PlatformsOptions), this);
    options->setObjectName("platforms-options");
    options->setAccessibleName(qtr(T::PlatformsOptions));
    row->addWidget(options);
    row->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    labelStandardButtons(*buttons);
    buttons->setObjectName("platforms-buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("platforms-ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("platforms-cancel");
    row->addWidget(buttons);
    layout->addLayout(row);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    auto updateOptions = [this, options] {
        const int p = chosenPlatform();
        options->setEnabled(p >= 0 && (platformHasOptionsPanel(app_, 0x1000, p) || platformHasOptionsPanel(app_, 0x2000, p)));
    };
    connect(list_, &QListWidget::currentRowChanged, this, updateOptions);
    connect(options, &QPushButton::clicked, this, [this] { showPlatformOptions(app_, 0x1000, this, chosenPlatform()); });
    choosePlatform(currentPlatformIndex(app));
    updateOptions();
    resize(420, 260);
}

int PlatformsDialog::chosenPlatform() const { return list_->currentRow(); }

void PlatformsDialog::choosePlatform(int index) { list_->setCurrentRow(index); }

void PlatformsDialog::accept() {
    const int p = chosenPlatform();
    if (p >= 0 && p < kPlatformCount && p != currentPlatformIndex(app_)) {
        selectPlatform(app_, p);
        rebuildEffectTables(app_);
    }
    QDialog::accept();
}

void showPlatformsDialog(App& app, QWidget* parent) {
    PlatformsDialog dialog(app, parent);
    dialog.exec();
}

}  // namespace ts
