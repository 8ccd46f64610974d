#pragma once
// "Conversion (+1)" page of the options sheet: the advanced conversion switches, the standard
// method's precision bound, the multi-palette colourization and "Defaults".
#include "convert/conversion_options.h"
#include "project/ui/options_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace ts {

struct App;

class ConversionPlusPage : public OptionsPage {
public:
    ConversionPlusPage(App& app, QWidget* parent);
    ConversionPlusPageState state() const;
    void setState(const ConversionPlusPageState& state);
    void apply() override;

private:
    App& app_;
    QCheckBox* shadesBefore_ = nullptr;
    QCheckBox* fastPal_ = nullptr;
    QCheckBox* palReducPost_ = nullptr;
    QCheckBox* truncate_ = nullptr;
    QCheckBox* useMaxColors_ = nullptr;
    QCheckBox* firstTileEmpty_ = nullptr;
    QLineEdit* maxPrecision_ = nullptr;
    QSlider* colorization_ = nullptr;
    QLabel* colorizationValue_ = nullptr;
};

}  // namespace ts
