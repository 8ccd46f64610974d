#include "formats/ui/formats_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "formats/format_state.h"
#include "formats/format_table.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"

namespace ts {

FormatsDialog::FormatsDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("formats-dialog");
    setWindowTitle(qtr(T::FormatsCaption));
    setAccessibleName(qtr(T::FormatsCaption));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(qtr(T::FormatsPrompt), this);
    prompt->setObjectName("formats-prompt");
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    list_ = new QTreeWidget(this);
    list_->setObjectName("formats-list");
    list_->setAccessibleName(qtr(T::FormatsCaption));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({qtr(T::FormatsName), qtr(T::FormatsExtensions)});
    for (const FormatRecord& format : formatState(app).records) {
        QStringList exts;
        for (int s : {kSectionBitmap, kSectionPalette, kSectionTileset, kSectionMap, kSectionList})
            exts << toQt(format.sections[size_t(s)].ext);
        list_->addTopLevelItem(new QTreeWidgetItem({toQt(format.name), exts.join("  ")}));
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(list_);
    current_ = new QLabel(this);
    current_->setObjectName("formats-current");
    layout->addWidget(current_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName("formats-buttons");
    auto* select = buttons->addButton(qtr(T::FormatsSelect), QDialogButtonBox::ApplyRole);
    select->setObjectName("formats-select");
    select->setAccessibleName(qtr(T::FormatsSelect));
    auto* close = buttons->addButton(qtr(T::FormatsClose), QDialogButtonBox::RejectRole);
    close->setObjectName("formats-close");
    close->setAccessibleName(qtr(T::FormatsClose));
    layout->addWidget(buttons);
    connect(select, &QPushButton::clicked, this, [this] { selectChosen(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { selectChosen(); });
    chooseFormat(formatState(app).currentIndex);
    showCurrent();
    resize(520, 300);
}

int FormatsDialog::chosenFormat() const { return list_->indexOfTopLevelItem(list_->currentItem()); }

void FormatsDialog::chooseFormat(int index) {
    if (QTreeWidgetItem* item = list_->topLevelItem(index)) list_->setCurrentItem(item);
}

void FormatsDialog::selectChosen() {
    const int index = chosenFormat();
    if (index < 0 || index >= int(formatState(app_).records.size())) return;
    applyFormat(app_, index);
    showCurrent();
}

void FormatsDialog::showCurrent() {
    current_->setText(toQt(formatText(ts::tr(T::FormatsCurrent), formatState(app_).currentName.c_str())));
}

void showFormatsDialog(App& app, QWidget* parent) {
    FormatsDialog dialog(app, parent);
    dialog.exec();
}

}  // namespace ts
