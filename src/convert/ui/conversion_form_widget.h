#pragma once
// The "Create a tilemap" (Tilesets branch) and "Create a simple image" (Bitmaps branch) forms of
// the right-hand panel. The rules live in convert/conversion_form.h; this widget shows the state
// and hands it back.
#include <functional>

#include "convert/conversion_form.h"
#include "project/ui/panel_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ts {

class ConversionFormWidget : public PanelForm {
public:
    ConversionFormWidget(App& app, ConversionFormKind kind, QWidget* parent);

    // The state the controls hold, and showing a state in them.
    ConversionFormState state() const;
    void setState(const ConversionFormState& state);

    void accept() override;

    // Tests replace the file dialogs: given the filter, the chosen path ("" for none).
    std::function<QString(const QString& caption, const QString& filter)> chooseFile;

private:
    void browseSource();
    void browseDestination();
    void browseOther(QLineEdit* edit);
    void updateDependents();
    // An open dialog for the source; a save dialog (no overwrite question) for the files to write.
    QString askFile(const QString& filter, bool forWriting);

    ConversionFormKind kind_;
    QLineEdit* source_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QLineEdit* palette_ = nullptr;
    QLineEdit* map_ = nullptr;
    QLineEdit* colors_ = nullptr;
    QComboBox* mapType_ = nullptr;
    QComboBox* depth_ = nullptr;
    QCheckBox* existingPalette_ = nullptr;
    QComboBox* paletteList_ = nullptr;
    QCheckBox* existingTileset_ = nullptr;
    QComboBox* tilesetList_ = nullptr;
    QCheckBox* makeMap_ = nullptr;
    QComboBox* mapSize_ = nullptr;
    QCheckBox* optimize_ = nullptr;
    QComboBox* tileSize_ = nullptr;
};

}  // namespace ts
