#include "formats/ui/platform_options_panel.h"

#include "formats/ui/platform_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "formats/gb_driver.h"
#include "formats/gba_driver.h"
#include "formats/platform.h"
#include "formats/platform_state.h"
#include "host/ui/qt_text.h"

namespace ts {

namespace {

QCheckBox* box(QWidget* parent, QVBoxLayout* layout, const char* name, T text, bool checked) {
    auto* b = new QCheckBox(qtr(text), parent);
    b->setObjectName(name);
    b->setAccessibleName(qtr(text));
    b->setChecked(checked);
    layout->addWidget(b);
    return b;
}

}  // namespace

bool platformHasOptionsPanel(App& app, int pageKind, int platformIndex) {
    const PlatformRecord& record =
        platformIndex >= 0 && platformIndex < kPlatformCount ? platformState(app).records[size_t(platformIndex)]
                                                             : currentPlatform(app);
    return record.createOptionsPanel && record.createOptionsPanel(app, 0x8000 | (pageKind & 0x7000), nullptr) != 0;
}

PlatformOptionsPanel::PlatformOptionsPanel(App& app, int platformIndex, int pageKind, QWidget* parent)
    : QWidget(parent), app_(app), platform_(platformIndex) {
    setObjectName("platform-options-panel");
    setAccessibleName(toQt(platformState(app).records[size_t(platformIndex)].name));
    auto* layout = new QVBoxLayout(this);
    if (platformIndex == kPlatformGba) {
        const GbaPanelState s = gbaPanelState(app);
        align_ = box(this, layout, "gba-align", T::GbaAlign, s.align);
        revColor_ = box(this, layout, "gba-revcolororder", T::GbaRevColor, s.revColorOrder);
        if ((pageKind & 0x7000) == 0x1000) {
            mirror_ = box(this, layout, "gba-mirrormask", T::GbaMirrorBits, s.mirrorMask);
            palette_ = box(this, layout, "gba-palettemask", T::GbaPaletteBits, s.paletteMask);
        }
    } else {
        const GameBoyPanelState s = gameBoyPanelState(app);
        dmg_ = box(this, layout, "gbc-dmgmode", T::GbDmgMode, s.dmgMode);
        auto* label = new QLabel(qtr(T::GbDmgPalette), this);
        label->setObjectName("gbc-palette-label");
        layout->addWidget(label);
        preset_ = new QComboBox(this);
        preset_->setObjectName("gbc-dmgpalette");
        preset_->setAccessibleName(qtr(T::GbDmgPalette));
        preset_->addItem(qtr(T::GbChoose));
        for (const char* name : kDmgPresetNames) preset_->addItem(QString::fromLatin1(name));
        label->setBuddy(preset_);
        layout->addWidget(preset_);
    }
    layout->addStretch(1);
}

PlatformOptionsPanel::~PlatformOptionsPanel() { store(); }

void PlatformOptionsPanel::store() {
    if (platform_ == kPlatformGba) {
        GbaPanelState s = gbaPanelState(app_);
        s.align = align_->isChecked();
        s.revColorOrder = revColor_->isChecked();
        if (mirror_) s.mirrorMask = mirror_->isChecked();
        if (palette_) s.paletteMask = palette_->isChecked();
        storeGbaPanelState(app_, s);
    } else {
        GameBoyPanelState s;
        s.dmgMode = dmg_->isChecked();
        s.preset = preset_->currentIndex() - 1;
        storeGameBoyPanelState(app_, s);
        preset_->setCurrentIndex(0);
    }
}

}  // namespace ts
