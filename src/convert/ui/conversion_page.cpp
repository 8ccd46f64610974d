#include "convert/ui/conversion_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "convert/ui/defaults_button.h"
#include "host/ui/qt_text.h"

namespace ts {

ConversionPage::ConversionPage(App& app, QWidget* parent) : OptionsPage(parent), app_(app) {
    setObjectName("options-conversion");
    setAccessibleName(qtr(T::OptionsTabConversion));
    auto* outer = new QVBoxLayout(this);
    auto* lighting = new QGroupBox(qtr(T::ConvPageLighting), this);
    lighting->setObjectName("conversion-lighting");
    grid_ = new QGridLayout(lighting);
    outer->addWidget(lighting);
    gamma_ = slider("conversion-gamma", T::ConvPageGamma, 0, kGammaSliderMax, &gammaValue_);
    add_ = slider("conversion-add", T::ConvPageAdd, kEffectSliderMin, kEffectSliderMax, &addValue_);
    alpha_ = slider("conversion-alpha", T::ConvPageAlpha, kEffectSliderMin, kEffectSliderMax, &alphaValue_);
    shades_ = slider("conversion-shades", T::ConvPageShades, kShadesMin, kShadesMax, &shadesValue_);
    connect(gamma_, &QSlider::valueChanged, this, [this](int v) { gammaValue_->setText(toQt(gammaText(v))); });

    auto* methods = new QGroupBox(qtr(T::ConvPageMethod), this);
    methods->setObjectName("conversion-method");
    auto* methodRow = new QHBoxLayout(methods);
    method_ = new QButtonGroup(this);
    const T names[kQuantizationMethods] = {T::ConvPageStandard, T::ConvPageDithered, T::ConvPageOptimal,
                                          T::ImgMethodAccurate};
    const char* objects[kQuantizationMethods] = {"conversion-standard", "conversion-dithered", "conversion-optimal",
                                                "conversion-accurate"};
    for (int i = 0; i < kQuantizationMethods; ++i) {
        auto* radio = new QRadioButton(qtr(names[i]), methods);
        radio->setObjectName(objects[i]);
        radio->setAccessibleName(qtr(names[i]));
        method_->addButton(radio, i);
        methodRow->addWidget(radio);
    }
    outer->addWidget(methods);
    auto* defaults = addDefaultsButton(this, outer, "conversion-defaults");
    connect(defaults, &QPushButton::clicked, this, [this] {
        setState(conversionPageDefaults());
        defaultsChosen_ = true;
    });
    shown_ = loadConversionPage(app);
    setState(shown_);
}

QSlider* ConversionPage::slider(const char* name, T label, int min, int max, QLabel** value) {
    const int row = grid_->rowCount();
    auto* text = new QLabel(qtr(label), this);
    text->setObjectName(QString(name) + "-label");
    auto* s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(name);
    s->setAccessibleName(qtr(label));
    s->setRange(min, max);
    s->setMinimumWidth(200);
    text->setBuddy(s);
    *value = new QLabel(this);
    (*value)->setObjectName(QString(name) + "-value");
    (*value)->setMinimumWidth(40);
    QLabel* shown = *value;
    connect(s, &QSlider::valueChanged, shown, [shown](int v) { shown->setNum(v); });
    grid_->addWidget(text, row, 0);
    grid_->addWidget(s, row, 1);
    grid_->addWidget(shown, row, 2);
    return s;
}

ConversionPageState ConversionPage::state() const {
    ConversionPageState s;
    s.gamma = gamma_->value();
    s.add = add_->value();
    s.alpha = alpha_->value();
    s.shades = shades_->value();
    s.method = method_->checkedId() < 0 ? 0 : method_->checkedId();
    return s;
}

void ConversionPage::setState(const ConversionPageState& s) {
    gamma_->setValue(s.gamma);
    gammaValue_->setText(toQt(gammaText(s.gamma)));
    add_->setValue(s.add);
    addValue_->setNum(s.add);
    alpha_->setValue(s.alpha);
    alphaValue_->setNum(s.alpha);
    shades_->setValue(s.shades);
    shadesValue_->setNum(s.shades);
    if (auto* b = method_->button(s.method)) b->setChecked(true);
}

void ConversionPage::apply() { applyConversionPage(app_, state(), defaultsChosen_ ? nullptr : &shown_); }

}  // namespace ts
