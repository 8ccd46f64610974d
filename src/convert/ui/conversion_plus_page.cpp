#include "convert/ui/conversion_plus_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "convert/ui/defaults_button.h"
#include "host/ui/qt_text.h"

namespace ts {

ConversionPlusPage::ConversionPlusPage(App& app, QWidget* parent) : OptionsPage(parent), app_(app) {
    setObjectName("options-conversion-plus");
    setAccessibleName(qtr(T::OptionsTabConversionPlus));
    auto* outer = new QVBoxLayout(this);
    auto check = [this, outer](const char* name, T text) {
        auto* b = new QCheckBox(qtr(text), this);
        b->setObjectName(name);
        b->setAccessibleName(qtr(text));
        outer->addWidget(b);
        return b;
    };
    shadesBefore_ = check("conversion-shadesbefore", T::ConvPlusShadesBefore);
    fastPal_ = check("conversion-fastpalreduction", T::ConvPlusFastPal);
    palReducPost_ = check("conversion-palreducpost", T::ConvPlusPalReducPost);
    truncate_ = check("conversion-truncate", T::ConvPlusTruncate);
    useMaxColors_ = check("conversion-usemaxcolors", T::ConvPlusUseMaxColors);
    firstTileEmpty_ = check("conversion-firsttileempty", T::ConvPlusFirstTileEmpty);
    auto* form = new QFormLayout();
    maxPrecision_ = new QLineEdit(this);
    maxPrecision_->setObjectName("conversion-maxprecision");
    maxPrecision_->setAccessibleName(qtr(T::ConvPlusMaxPrecision));
    form->addRow(qtr(T::ConvPlusMaxPrecision), maxPrecision_);
    auto* colorRow = new QHBoxLayout();
    colorization_ = new QSlider(Qt::Horizontal, this);
    colorization_->setObjectName("conversion-colorization");
    colorization_->setAccessibleName(qtr(T::ConvPlusColorization));
    colorization_->setRange(kColorizationMin, colorizationSliderMax(app));
    colorizationValue_ = new QLabel(this);
    colorizationValue_->setObjectName("conversion-colorization-value");
    colorizationValue_->setMinimumWidth(40);
    colorRow->addWidget(colorization_);
    colorRow->addWidget(colorizationValue_);
    form->addRow(qtr(T::ConvPlusColorization), colorRow);
    outer->addLayout(form);
    connect(colorization_, &QSlider::valueChanged, colorizationValue_, [this](int v) { colorizationValue_->setNum(v); });
    auto* defaults = addDefaultsButton(this, outer, "conversion-plus-defaults");
    connect(defaults, &QPushButton::clicked, this, [this] { setState(conversionPlusPageDefaults(app_)); });
    setState(loadConversionPlusPage(app));
}

ConversionPlusPageState ConversionPlusPage::state() const {
    ConversionPlusPageState s;
    s.shadesBefore = shadesBefore_->isChecked();
    s.fastPalReduction = fastPal_->isChecked();
    s.palReducPost = palReducPost_->isChecked();
    s.truncate = truncate_->isChecked();
    s.useMaxColors = useMaxColors_->isChecked();
    s.firstTileEmpty = firstTileEmpty_->isChecked();
    s.maxPrecision = fromQt(maxPrecision_->text());
    s.colorization = colorization_->value();
    return s;
}

void ConversionPlusPage::setState(const ConversionPlusPageState& s) {
    shadesBefore_->setChecked(s.shadesBefore);
    fastPal_->setChecked(s.fastPalReduction);
    palReducPost_->setChecked(s.palReducPost);
    truncate_->setChecked(s.truncate);
    useMaxColors_->setChecked(s.useMaxColors);
    firstTileEmpty_->setChecked(s.firstTileEmpty);
    maxPrecision_->setText(toQt(s.maxPrecision));
    colorization_->setValue(s.colorization);
    colorizationValue_->setNum(s.colorization);
}

void ConversionPlusPage::apply() { applyConversionPlusPage(app_, state()); }

}  // namespace ts
