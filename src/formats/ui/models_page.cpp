#include "formats/ui/models_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "host/ui/qt_text.h"

namespace ts {

namespace {

template <typename W>
W* named(W* w, const char* name, const QString& accessible) {
    w->setObjectName(name);
    w->setAccessibleName(accessible);
    return w;
}

}  // namespace

ModelsPage::ModelsPage(App& app, QWidget* parent) : OptionsPage(parent), app_(app), state_(loadModelsPage(app)) {
    setObjectName("options-models");
    setAccessibleName(qtr(T::OptionsTabModels));
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    auto* modelLabel = new QLabel(qtr(T::ModelsModel), this);
    modelLabel->setObjectName("models-model-label");
    model_ = named(new QComboBox(this), "models-model", qtr(T::ModelsModel));
    modelLabel->setBuddy(model_);
    auto* remove = named(new QPushButton(qtr(T::ModelsDeleteModel), this), "models-delete", qtr(T::ModelsDeleteModel));
    top->addWidget(modelLabel);
    top->addWidget(model_, 1);
    top->addWidget(remove);
    outer->addLayout(top);
    auto* newRow = new QHBoxLayout();
    newName_ = named(new QLineEdit(this), "models-new-name", qtr(T::ModelsNewModel));
    newName_->setPlaceholderText(qtr(T::ModelsNewModel));
    auto* add = named(new QPushButton(qtr(T::ModelsNewModel), this), "models-new", qtr(T::ModelsNewModel));
    newRow->addWidget(newName_, 1);
    newRow->addWidget(add);
    outer->addLayout(newRow);
    params_ = named(new QTreeWidget(this), "models-params", qtr(T::ModelsParamName));
    params_->setRootIsDecorated(false);
    params_->setHeaderLabels({qtr(T::ModelsParamName), qtr(T::ModelsType), qtr(T::ModelsSize), qtr(T::ModelsDefault)});
    params_->header()->resizeSection(0, 160);
    outer->addWidget(params_, 1);
    auto* fields = new QGridLayout();
    name_ = named(new QLineEdit(this), "models-param-name", qtr(T::ModelsParamName));
    name_->setMaxLength(int(kModelParamNameMax));
    default_ = named(new QLineEdit(this), "models-param-default", qtr(T::ModelsDefault));
    default_->setMaxLength(int(kModelParamDefaultMax));
    kind_ = named(new QComboBox(this), "models-param-type", qtr(T::ModelsType));
    kind_->addItems({qtr(T::ModelsInteger), qtr(T::ModelsRaw)});
    size_ = named(new QLineEdit("4", this), "models-param-size", qtr(T::ModelsSize));
    const std::pair<T, QWidget*> cells[] = {{T::ModelsParamName, name_}, {T::ModelsDefault, default_},
                                            {T::ModelsType, kind_}, {T::ModelsSize, size_}};
    int column = 0;
    for (auto [label, field] : cells) {
        auto* text = new QLabel(qtr(label), this);
        text->setObjectName(field->objectName() + "-label");
        text->setBuddy(field);
        fields->addWidget(text, 0, column);
        fields->addWidget(field, 1, column++);
    }
    auto* addParam = named(new QPushButton(qtr(T::ModelsAdd), this), "models-add", qtr(T::ModelsAdd));
    auto* update = named(new QPushButton(qtr(T::ModelsUpdate), this), "models-update", qtr(T::ModelsUpdate));
    auto* removeParam =
        named(new QPushButton(qtr(T::ModelsDeleteParam), this), "models-delete-param", qtr(T::ModelsDeleteParam));
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(addParam);
    buttons->addWidget(update);
    buttons->addWidget(removeParam);
    outer->addLayout(fields);
    outer->addLayout(buttons);

    connect(model_, &QComboBox::activated, this, [this](int index) {
        state_.shown = index;
        refresh();
    });
    connect(params_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!item) return;
        name_->setText(item->text(0));
        kind_->setCurrentIndex(item->text(1) == qtr(T::ModelsRaw) ? 1 : 0);
        size_->setText(item->text(2));
        default_->setText(item->text(3));
    });
    connect(addParam, &QPushButton::clicked, this, [this] { addOrUpdate(); });
    connect(update, &QPushButton::clicked, this, [this] { addOrUpdate(); });
    connect(removeParam, &QPushButton::clicked, this, [this] {
        if (deleteParam(state_, params_->indexOfTopLevelItem(params_->currentItem()))) refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this] { deleteModel(); });
    connect(add, &QPushButton::clicked, this, [this] { newModel(); });
    refresh();
}

void ModelsPage::refresh() {
    model_->clear();
    for (const Model& m : state_.models) model_->addItem(toQt(m.name));
    model_->setCurrentIndex(state_.shown);
    params_->clear();
    if (state_.shown < 0 || state_.shown >= int(state_.models.size())) return;
    for (const ModelParam& p : state_.models[size_t(state_.shown)].params)
        params_->addTopLevelItem(new QTreeWidgetItem({toQt(p.name), qtr(p.kind == ParamRaw ? T::ModelsRaw : T::ModelsInteger),
                                                      QString::number(p.size), toQt(p.defaultText)}));
}

void ModelsPage::notifyModels() {
    std::vector<std::string> names;
    for (const Model& m : state_.models) names.push_back(m.name);
    if (onModelsChanged) onModelsChanged(names, state_.current);
}

void ModelsPage::addOrUpdate() {
    if (addOrUpdateParam(app_, state_, fromQt(name_->text()), kind_->currentIndex(), fromQt(size_->text()),
                         fromQt(default_->text())))
        refresh();
}

void ModelsPage::deleteModel() {
    if (!deleteShownModel(app_, state_)) return;
    refresh();
    notifyModels();
}

void ModelsPage::newModel() {
    if (!addModel(app_, state_, fromQt(newName_->text()))) return;
    newName_->clear();
    refresh();
    notifyModels();
}

void ModelsPage::apply() {
    if (state_.changed) applyModelsPage(app_, state_);
    applied_ = true;
}

void ModelsPage::discard() {
    // Closing the sheet with edits not stored: the user may still keep them.
    if (!applied_) confirmModelsClose(app_, state_);
}

}  // namespace ts
