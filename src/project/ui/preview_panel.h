#pragma once
// The right-hand panel's preview of the selected element: the picture in a 256 x 256 scrolled
// window, its label ("Size: %ix%i", "%i colors", ...), "Options" (palette columns, tileset width),
// "Edit" and "Config." for maps, the texts under the mouse, and "Copy preview" / "Export (image)".
#include <QWidget>
#include <functional>

#include "project/element_preview.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace ts {

struct App;
class PreviewCanvas;

class PreviewPanel : public QWidget {
public:
    PreviewPanel(App& app, int index, QWidget* parent);

    const ElementPreview& preview() const { return preview_; }
    int element() const { return index_; }
    // Draws the element again with new settings ("Options").
    void rebuild();
    void setPaletteColumns(int columns);
    void setTilesetWidth(int width);

    // "Copy preview" and "Export (image)": false when there is nothing to give or the user stopped.
    bool copyToClipboard();
    bool exportImage(const std::string& path = std::string());
    // "Config." of a map: its settings script in the desktop's text editor, or to the trash (then
    // the button is disabled). False when that failed (the user was told).
    bool openSettingsScript();
    bool deleteSettingsScript();
    // Tests replace the save dialog.
    std::function<QString()> chooseExportFile;

private:
    void showMouseTexts(const std::vector<std::string>& texts);
    bool confirmPartial();
    // Whether a picture in the screen's colour format keeps this colour (0x00RRGGBB) exactly.
    bool screenKeepsColour(uint32_t colour) const;
    PreviewSettings& settings();
    void showOptionsMenu();
    void showConfigMenu();

    App& app_;
    int index_;
    PreviewSettings localSettings_;
    ElementPreview preview_;
    QLabel* label_ = nullptr;
    QLabel* mouse_ = nullptr;
    QPushButton* options_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* config_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PreviewCanvas* canvas_ = nullptr;
};

}  // namespace ts
