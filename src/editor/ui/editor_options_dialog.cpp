// The editor's "Options" sheet: the general page shared with the main window, then Shortcuts,
// Planes, View and Specimen. OK checks the number fields, then every page applies its values;
// Cancel discards them (the Shortcuts buttons act at once, as their dialogs do).
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/plane_property_rules.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "host/message_box.h"
#include "editor/surface.h"
#include "project/element_record.h"
#include "project/ui/element_properties_dialog.h"
#include "project/ui/general_page.h"

namespace ts {

namespace {

constexpr double kMinZoom = 1.0;  // the wheel's range of zooms
constexpr double kMaxZoom = 4.0;

void paintSwatch(QPushButton* button, uint32_t colorref) {
    uint32_t rgb = colorrefToPixel(colorref);
    button->setStyleSheet(QString("background-color: #%1;").arg(rgb, 6, 16, QChar('0')));
}

// The project element a plane was opened from, or -1.
int elementIndexOf(App& app, const ElementRecord& element) {
    const auto& records = elementTable(app).records;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].name == element.name && records[i].type() == element.type() && records[i].file == element.file)
            return int(i);
    return -1;
}

class EditorOptionsDialog : public QDialog {
public:
    EditorOptionsDialog(App& app, EditorSession& session, QWidget* parent)
        : QDialog(parent), app_(app), session_(session) {
        named(this, "editor-options", qtr(T::EditorOptionsTitle));
        setWindowTitle(qtr(T::EditorOptionsTitle));
        const EditorDocument& doc = editorDocument(app);
        auto* layout = new QVBoxLayout(this);
        tabs_ = named(new QTabWidget(this), "editor-options-pages", qtr(T::EditorOptionsTitle));
        general_ = new GeneralPage(app, tabs_);
        general_->editorOpen = [] { return true; };
        tabs_->addTab(general_, qtr(T::EditorPageOptions));
        tabs_->addTab(shortcutsPage(), qtr(T::EditorPageShortcuts));
        tabs_->addTab(planesPage(doc.options), qtr(T::EditorPagePlanes));
        tabs_->addTab(viewPage(doc.options), qtr(T::EditorPageView));
        tabs_->addTab(specimenPage(doc), qtr(T::EditorPageSpecimen));
        layout->addWidget(tabs_);
        layout->addWidget(okCancel(this, "editor-options"));
        setMinimumWidth(480);  // all five tabs in view
    }

    bool changed = false;

    void accept() override {
        int64_t alpha[4] = {};
        bool empty = false;
        QLineEdit* alphaFields[] = {alphaGrid_, alphaForeground_, alphaGfx_, alphaHex_};
        const EditorOptions& o = editorDocument(app_).options;
        const int32_t old[] = {o.alphaGrid, o.alphaForeground, o.alphaGfx, o.alphaHex};
        for (int i = 0; i < 4; ++i) {
            if (!integerField(app_, alphaFields[i], alpha[i], empty)) return;
            if (empty) alpha[i] = old[i];
            if (alpha[i] < 0) {
                refuseRange(app_, alphaFields[i]);
                return;
            }
            alpha[i] = std::min<int64_t>(alpha[i], 255);  // an opacity above 255 is stored as 255
        }
        double zoom = 0;
        if (!decimalField(app_, zoom_, zoom, empty)) return;
        if (empty) zoom = o.zoom;
        if (zoom != o.zoom && (zoom < kMinZoom || zoom > kMaxZoom)) {
            refuse(app_, ts::tr(T::OptionsZoomRefused));
            zoom_->setFocus();
            return;
        }
        general_->apply();
        EditorDocument& doc = editorDocument(app_);
        applyPlanesOptions(app_, grid_->isChecked(), gridColor_, int32_t(alpha[0]), int32_t(alpha[1]),
                           int32_t(alpha[2]), int32_t(alpha[3]));
        doc.options.zoom = zoom;
        doc.options.preciseZoom = bilinear_->isChecked() ? 1 : 0;
        // Specimen planes: those taken out first, then the new ones in the order listed.
        std::vector<int> wanted = specimen_;
        for (int s : std::vector<int>(doc.specimenPlanes))
            if (std::find(wanted.begin(), wanted.end(), s) == wanted.end()) removeSpecimenPlane(app_, s);
        for (int s : wanted) addSpecimenPlane(app_, s);
        changed = true;
        QDialog::accept();
    }

private:
    QWidget* shortcutsPage() {
        auto* page = named(new QWidget(this), "editor-page-shortcuts", qtr(T::EditorPageShortcuts));
        auto* layout = new QVBoxLayout(page);
        auto* map = button(page, "shortcut-current-map", T::ShortcutCurrentMap);
        auto* blocks = button(page, "shortcut-blocks-format", T::ShortcutBlocksFormat);
        auto* props = button(page, "shortcut-plane-properties", T::ShortcutPlaneProperties);
        layout->addWidget(map);
        layout->addWidget(blocks);
        layout->addWidget(props);
        layout->addStretch();
        connect(map, &QPushButton::clicked, this, [this] {
            EditorDocument& doc = editorDocument(app_);
            if (!planeOpen(doc, doc.active)) return;
            int index = elementIndexOf(app_, doc.planes[size_t(doc.active)].element);
            if (index >= 0) runElementPropertiesDialog(app_, index, this);
        });
        connect(blocks, &QPushButton::clicked, this, [this] { changed |= showTileSize(this, app_, session_); });
        connect(props, &QPushButton::clicked, this, [this] {
            changed |= showPlaneProperties(this, app_, session_, editorDocument(app_).active);
        });
        return page;
    }

    QWidget* planesPage(const EditorOptions& o) {
        auto* page = named(new QWidget(this), "editor-page-planes", qtr(T::EditorPagePlanes));
        auto* layout = new QVBoxLayout(page);
        auto* grid = named(new QGroupBox(qtr(T::OptionsGrid), page), "options-grid-group", qtr(T::OptionsGrid));
        auto* gg = new QGridLayout(grid);
        grid_ = checkBox(grid, "options-grid-shown", T::OptionsDisplayGrid, o.gridShown != 0);
        gg->addWidget(grid_, 0, 0, 1, 2);
        gg->addWidget(label(grid, "options-grid-color-label", qtr(T::OptionsGridColor)), 1, 0);
        gridColor_ = o.gridColor;
        colorButton_ = button(grid, "options-grid-color", T::OptionsGridColor);
        colorButton_->setText(QString());
        colorButton_->setFixedSize(48, 22);
        paintSwatch(colorButton_, gridColor_);
        connect(colorButton_, &QPushButton::clicked, this, [this] {
            uint32_t rgb = colorrefToPixel(gridColor_);
            QColor chosen = QColorDialog::getColor(QColor::fromRgb(rgb), this, qtr(T::OptionsGridColor));
            if (!chosen.isValid()) return;
            gridColor_ = pixelToColorref(chosen.rgb() & 0xFFFFFF);
            paintSwatch(colorButton_, gridColor_);
        });
        gg->addWidget(colorButton_, 1, 1, Qt::AlignLeft);
        gg->addWidget(label(grid, "options-grid-alpha-label", qtr(T::OptionsOpacity)), 2, 0);
        alphaGrid_ = lineEdit(grid, "options-alpha-grid", qtr(T::OptionsOpacity), QString::number(o.alphaGrid));
        gg->addWidget(alphaGrid_, 2, 1);
        layout->addWidget(grid);
        auto* transparency = named(new QGroupBox(qtr(T::OptionsTransparency), page), "options-transparency-group",
                                   qtr(T::OptionsTransparency));
        auto* tg = new QGridLayout(transparency);
        alphaForeground_ = lineEdit(transparency, "options-alpha-foreground", qtr(T::OptionsForeground),
                                    QString::number(o.alphaForeground));
        alphaGfx_ = lineEdit(transparency, "options-alpha-gfx", qtr(T::OptionsBackgrounds), QString::number(o.alphaGfx));
        alphaHex_ = lineEdit(transparency, "options-alpha-hex", qtr(T::OptionsHexaPlanes), QString::number(o.alphaHex));
        tg->addWidget(label(transparency, "options-foreground-label", qtr(T::OptionsForeground)), 0, 0);
        tg->addWidget(alphaForeground_, 0, 1);
        tg->addWidget(label(transparency, "options-backgrounds-label", qtr(T::OptionsBackgrounds)), 1, 0);
        tg->addWidget(alphaGfx_, 1, 1);
        tg->addWidget(label(transparency, "options-hexa-label", qtr(T::OptionsHexaPlanes)), 2, 0);
        tg->addWidget(alphaHex_, 2, 1);
        layout->addWidget(transparency);
        layout->addStretch();
        return page;
    }

    QWidget* viewPage(const EditorOptions& o) {
        auto* page = named(new QWidget(this), "editor-page-view", qtr(T::EditorPageView));
        auto* g = new QGridLayout(page);
        g->addWidget(label(page, "options-zoom-label", qtr(T::OptionsScreenZoom)), 0, 0);
        zoom_ = lineEdit(page, "options-zoom", qtr(T::OptionsScreenZoom), QString::number(o.zoom, 'f', 2));
        g->addWidget(zoom_, 0, 1);
        bilinear_ = checkBox(page, "options-bilinear", T::OptionsBilinearZoom, o.preciseZoom != 0);
        g->addWidget(bilinear_, 1, 0, 1, 2);
        g->setRowStretch(2, 1);
        return page;
    }

    QWidget* specimenPage(const EditorDocument& doc) {
        auto* page = named(new QWidget(this), "editor-page-specimen", qtr(T::EditorPageSpecimen));
        auto* g = new QGridLayout(page);
        specimen_ = doc.specimenPlanes;
        g->addWidget(label(page, "specimen-planes-label", qtr(T::OptionsSpecimenPlanes)), 0, 0, 1, 2);
        specimenList_ = named(new QListWidget(page), "specimen-planes", qtr(T::OptionsSpecimenPlanes));
        g->addWidget(specimenList_, 1, 0, 1, 2);
        g->addWidget(label(page, "specimen-select-label", qtr(T::OptionsSpecimenSelect)), 2, 0, 1, 2);
        choice_ = named(new QComboBox(page), "specimen-choice", qtr(T::OptionsSpecimenSelect));
        for (int s = 0; s < doc.count; ++s) choice_->addItem(planeName(doc, s), s);
        g->addWidget(choice_, 3, 0, 1, 2);
        auto* add = button(page, "specimen-add", T::PlaneAdd);
        auto* del = button(page, "specimen-delete", T::PlaneDelete);
        g->addWidget(add, 4, 0);
        g->addWidget(del, 4, 1);
        g->addWidget(label(page, "specimen-note", qtr(T::OptionsSpecimenNote), true), 5, 0, 1, 2);
        connect(add, &QPushButton::clicked, this, [this] {
            int s = choice_->currentData().toInt();
            if (choice_->currentIndex() < 0 || std::find(specimen_.begin(), specimen_.end(), s) != specimen_.end() ||
                int(specimen_.size()) >= kMaxSpecimenPlanes)
                return;
            specimen_.push_back(s);
            fillSpecimen();
        });
        connect(del, &QPushButton::clicked, this, [this] {
            int row = specimenList_->currentRow();
            if (row < 0 || size_t(row) >= specimen_.size()) return;
            specimen_.erase(specimen_.begin() + row);
            fillSpecimen();
        });
        fillSpecimen();
        return page;
    }

    QString planeName(const EditorDocument& doc, int s) const {
        return toQt(formatText(ts::tr(T::LinksEntry), s + 1, doc.planes[size_t(s)].element.name.c_str()));
    }

    void fillSpecimen() {
        const EditorDocument& doc = editorDocument(app_);
        specimenList_->clear();
        for (int s : specimen_)
            if (planeOpen(doc, s)) specimenList_->addItem(planeName(doc, s));
    }

    App& app_;
    EditorSession& session_;
    QTabWidget* tabs_;
    GeneralPage* general_;
    QCheckBox *grid_ = nullptr, *bilinear_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    uint32_t gridColor_ = kDefaultGridColor;
    QLineEdit *alphaGrid_ = nullptr, *alphaForeground_ = nullptr, *alphaGfx_ = nullptr, *alphaHex_ = nullptr;
    QLineEdit* zoom_ = nullptr;
    QListWidget* specimenList_ = nullptr;
    QComboBox* choice_ = nullptr;
    std::vector<int> specimen_;
};

}  // namespace

bool showEditorOptions(QWidget* parent, App& app, EditorSession& session) {
    EditorOptionsDialog dialog(app, session, parent);
    bool accepted = dialog.exec() == QDialog::Accepted;
    return accepted || dialog.changed;
}

}  // namespace ts
