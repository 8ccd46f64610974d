#pragma once
// "Conversion" page of the options sheet: gamma, add, alpha and shades sliders, the quantization
// method and "Defaults" (rules in convert/conversion_options.h).
#include "convert/conversion_options.h"
#include "project/ui/options_page.h"
#include "resources/texts.h"

class QButtonGroup;
class QGridLayout;
class QLabel;
class QSlider;

namespace ts {

struct App;

class ConversionPage : public OptionsPage {
public:
    ConversionPage(App& app, QWidget* parent);
    ConversionPageState state() const;
    void setState(const ConversionPageState& state);
    void apply() override;

private:
    // What the page showed when it opened; after "Defaults" every value is applied.
    ConversionPageState shown_;
    bool defaultsChosen_ = false;
    QSlider* slider(const char* name, T label, int min, int max, QLabel** value);
    App& app_;
    QSlider* gamma_ = nullptr;
    QSlider* add_ = nullptr;
    QSlider* alpha_ = nullptr;
    QSlider* shades_ = nullptr;
    QLabel* gammaValue_ = nullptr;
    QLabel* addValue_ = nullptr;
    QLabel* alphaValue_ = nullptr;
    QLabel* shadesValue_ = nullptr;
    QButtonGroup* method_ = nullptr;
    QGridLayout* grid_ = nullptr;
};

}  // namespace ts
