#include "project/ui/general_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "formats/model_table.h"
#include "host/ui/qt_text.h"

namespace ts {

namespace {

template <typename W>
W* named(W* widget, const char* name, const QString& accessible, const QString& tip = QString()) {
    widget->setObjectName(name);
    widget->setAccessibleName(accessible);
    if (!tip.isEmpty()) widget->setToolTip(tip);
    return widget;
}

// A size as the project file writes it ("64 MB", "Max.") in the units of this edition ("64 Mo").
// Both read back alike: the size reader knows the French units too.
QString editionSize(const std::string& size) {
    if (size == kMaxMemoryEntries.back()) return qtr(T::OptionsMaxMemoryNoLimit);
    const std::pair<const char*, T> units[] = {{"B", T::SizeUnitBytes}, {"kB", T::SizeUnitKilo}, {"MB", T::SizeUnitMega},
                                               {"GB", T::SizeUnitGiga}, {"TB", T::SizeUnitTera}};
    const size_t space = size.rfind(' ');
    if (space != std::string::npos)
        for (const auto& [unit, text] : units)
            if (size.compare(space + 1, std::string::npos, unit) == 0) return toQt(size.substr(0, space + 1)) + qtr(text);
    return toQt(size);
}

}  // namespace

GeneralPage::GeneralPage(App& app, QWidget* parent) : OptionsPage(parent), app_(app) {
    setObjectName("options-general");
    setAccessibleName(qtr(T::OptionsTabGeneral));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    maxObjects_ = named(new QLineEdit(this), "options-maxobjects", qtr(T::OptionsMaxListElements));
    form->addRow(qtr(T::OptionsMaxListElements), maxObjects_);
    saveParams_ = named(new QCheckBox(qtr(T::OptionsSaveMapParams), this), "options-savemapsparams",
                        qtr(T::OptionsSaveMapParams), qtr(T::OptionsTipSaveMapParams));
    form->addRow(saveParams_);
    autoSave_ = named(new QCheckBox(qtr(T::OptionsAutoSave), this), "options-savemapsparamsauto",
                      qtr(T::OptionsAutoSave), qtr(T::OptionsTipAutoSave));
    form->addRow(autoSave_);
    model_ = named(new QComboBox(this), "options-model", qtr(T::OptionsDefaultModel));
    form->addRow(qtr(T::OptionsDefaultModel), model_);
    timer_ = named(new QLineEdit(this), "options-timing", qtr(T::OptionsTimerEditor), qtr(T::OptionsTipTimer));
    form->addRow(qtr(T::OptionsTimerEditor), timer_);
    memory_ = named(new QComboBox(this), "options-maxmemory", qtr(T::OptionsMaxMemory));
    memory_->setEditable(true);
    for (const char* entry : kMaxMemoryEntries) memory_->addItem(editionSize(entry));
    form->addRow(qtr(T::OptionsMaxMemory), memory_);
    autoFormat_ = named(new QCheckBox(qtr(T::OptionsAutoFormat), this), "options-autoformat",
                        qtr(T::OptionsAutoFormat), qtr(T::OptionsTipAutoFormat));
    form->addRow(autoFormat_);
    outer->addLayout(form);
    outer->addStretch(1);
    auto* note = new QLabel(qtr(T::OptionsNote), this);
    note->setObjectName("options-note");
    note->setWordWrap(true);
    outer->addWidget(note);
    // Form labels carry the fields' accessible names.
    for (int row = 0; row < form->rowCount(); ++row)
        if (auto* item = form->itemAt(row, QFormLayout::LabelRole))
            if (auto* label = qobject_cast<QLabel*>(item->widget())) label->setObjectName(QString("options-label-%1").arg(row));
    connect(saveParams_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) autoSave_->setChecked(false);
        autoSave_->setEnabled(on);
    });
    setState(loadGeneralOptions(app));
}

GeneralOptionsState GeneralPage::state() const {
    GeneralOptionsState s;
    s.maxObjects = fromQt(maxObjects_->text());
    s.saveMapsParams = saveParams_->isChecked();
    s.saveMapsParamsAuto = autoSave_->isChecked();
    s.model = model_->currentIndex();
    s.timer = fromQt(timer_->text());
    s.maxMemory = fromQt(memory_->currentText());
    s.autoFormat = autoFormat_->isChecked();
    return s;
}

void GeneralPage::setState(const GeneralOptionsState& s) {
    maxObjects_->setText(toQt(s.maxObjects));
    saveParams_->setChecked(s.saveMapsParams);
    autoSave_->setChecked(s.saveMapsParamsAuto);
    autoSave_->setEnabled(s.saveMapsParams);
    model_->clear();
    for (const auto& name : modelNames(app_)) model_->addItem(toQt(name));
    model_->setCurrentIndex(s.model);
    timer_->setText(toQt(s.timer));
    memory_->setCurrentText(editionSize(s.maxMemory));
    autoFormat_->setChecked(s.autoFormat);
}

void GeneralPage::apply() { applyGeneralOptions(app_, state(), editorOpen && editorOpen()); }

void GeneralPage::modelsChanged(const std::vector<std::string>& names, int index) {
    // The models page keeps its own copy until OK; the list shows the names it will store.
    model_->clear();
    for (const auto& name : names) model_->addItem(toQt(name));
    model_->setCurrentIndex(index);
}

void GeneralPage::applyModelChoice() {
    ModelTable& models = modelTable(app_);
    const int index = model_->currentIndex();
    if (index >= 0 && index < int(models.models.size())) models.current = index;
}

}  // namespace ts
