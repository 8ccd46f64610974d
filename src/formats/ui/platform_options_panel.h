#pragma once
// The options panel a platform offers for a page kind (0x1000 map forms, 0x2000 conversion forms):
// the GBA's attribute, colour-order and map-bit boxes, or the Game Boy's monochrome mode and DMG
// palette. The boxes show the current settings and are stored back when the panel goes away.
#include <QWidget>

class QCheckBox;
class QComboBox;

namespace ts {

struct App;

class PlatformOptionsPanel : public QWidget {
public:
    PlatformOptionsPanel(App& app, int platformIndex, int pageKind, QWidget* parent);
    ~PlatformOptionsPanel() override;
    // Stores the boxes into the platform's options now.
    void store();

private:
    App& app_;
    int platform_;
    QCheckBox* align_ = nullptr;
    QCheckBox* revColor_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QCheckBox* palette_ = nullptr;
    QCheckBox* dmg_ = nullptr;
    QComboBox* preset_ = nullptr;
};

}  // namespace ts
