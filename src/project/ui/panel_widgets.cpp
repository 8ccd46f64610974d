#include "project/ui/panel_widgets.h"

#include <QLabel>

#include "convert/ui/conversion_form_widget.h"
#include "formats/ui/formats_dialog.h"
#include "formats/ui/platforms_dialog.h"
#include "host/message_box.h"
#include "host/ui/qt_text.h"
#include "project/creation_forms.h"
#include "project/ui/giant_map_form.h"
#include "project/ui/main_window.h"
#include "project/ui/object_list_form.h"
#include "project/ui/options_sheet.h"
#include "project/ui/panel_factories.h"
#include "project/ui/preview_panel.h"

namespace ts {

namespace {

// An empty panel for a branch whose form cannot be shown; the status strip tells why.
QWidget* refusedForm(QWidget* parent, T status, const char* name) {
    auto* empty = new QWidget(parent);
    empty->setObjectName(name);
    empty->setAccessibleName(qtr(status));
    if (auto* w = dynamic_cast<MainWindow*>(parent ? parent->window() : nullptr)) w->setStatusText(tr(status));
    return empty;
}

PreviewPanel* previewOf(QWidget* content) {
    if (!content) return nullptr;
    if (auto* p = dynamic_cast<PreviewPanel*>(content)) return p;
    return content->findChild<PreviewPanel*>();
}

bool nothingToGive(App& app) {
    showBox(hostServices(app), ts::tr(T::CaptionNote), ts::tr(T::PreviewNothingToCopy), Icon::Information);
    return false;
}

}  // namespace

QWidget* makeTilemapForm(App& app, QWidget* parent) { return new ConversionFormWidget(app, ConversionFormKind::Tilemap, parent); }

QWidget* makeSimpleImageForm(App& app, QWidget* parent) { return new ConversionFormWidget(app, ConversionFormKind::Image, parent); }

QWidget* makeGiantMapForm(App& app, QWidget* parent) {
    if (!creationFormsAvailable(app)) return refusedForm(parent, T::FormMapNeedsTileset, "form-giant-map-refused");
    return new GiantMapForm(app, parent);
}

QWidget* makeObjectListForm(App& app, QWidget* parent) {
    if (!creationFormsAvailable(app)) return refusedForm(parent, T::FormListNeedsTileset, "form-object-list-refused");
    return new ObjectListForm(app, parent);
}

QWidget* makeElementPreview(App& app, int index, QWidget* parent) { return new PreviewPanel(app, index, parent); }

bool copyPanelPreview(App& app, QWidget* content) {
    PreviewPanel* preview = previewOf(content);
    if (!preview || preview->preview().mode == PreviewMode::None) return nothingToGive(app);
    return preview->copyToClipboard();
}

bool exportPanelPreview(App& app, QWidget* content) {
    PreviewPanel* preview = previewOf(content);
    if (!preview || preview->preview().mode == PreviewMode::None) return nothingToGive(app);
    return preview->exportImage();
}

void addPanelWidgets(PanelFactories& f) {
    f.tilemapForm = makeTilemapForm;
    f.simpleImageForm = makeSimpleImageForm;
    f.giantMapForm = makeGiantMapForm;
    f.objectListForm = makeObjectListForm;
    f.preview = makeElementPreview;
    f.copyPreview = copyPanelPreview;
    f.exportPreview = exportPanelPreview;
    f.optionsSheet = showOptionsSheet;
    f.platformsDialog = showPlatformsDialog;
    f.formatsDialog = showFormatsDialog;
}

}  // namespace ts
