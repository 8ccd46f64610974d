// The right-hand panel in the window: the creation forms filled by hand and by scripts, the
// preview of each element kind, copy and export, and screenshots of each.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "../../convert/conv_test_helpers.h"
#include "convert/conv_command.h"
#include "convert/ui/conversion_blocks.h"
#include "convert/ui/conversion_form_widget.h"
#include "convert/ui/conversion_progress.h"
#include "formats/platform.h"
#include "host/ui/window_host.h"
#include "project/element_table.h"
#include "project/ui/main_window.h"
#include "project/ui/panel_factories.h"
#include "project/ui/panel_widgets.h"
#include "project/ui/preview_panel.h"
#include "project/ui/project_tree.h"
#include "script/interpreter.h"
#include "window_test_support.h"

namespace ts {
namespace {

struct PanelFormsTest : ::testing::Test, test::WindowProject {
    std::unique_ptr<MainWindow> window;
    void open() {
        PanelFactories panels = defaultPanelFactories();
        addPanelWidgets(panels);
        window = std::make_unique<MainWindow>(app, panels);
        window->askSaveName = [] { return std::string(); };
        window->resize(900, 560);
        window->show();
        QApplication::processEvents();
    }
    void selectBranch(int branch) {
        window->tree()->selectBranch(branch);
        QApplication::processEvents();
    }
    void selectRecord(int index) {
        window->tree()->selectRecord(index);
        QApplication::processEvents();
    }
    template <typename W>
    W* find(const char* name) {
        return window->panelContent()->findChild<W*>(name);
    }
    void writeShip(const std::string& name, int w, int h) {
        ASSERT_TRUE(test::writePicture(dir.file(name), w, h, [](int x, int y) {
            return test::bitPattern(uint64_t(x / 8 + 7 * (y / 8) + 1) * 0x9E3779B97F4A7C15ull, x, y) ^
                   uint32_t(((x / 8) * 0x301000 + (y / 8) * 0x000040) & 0xFFFFFF);
        }));
    }
    void run(const std::string& text) { runScriptText(app, text); QApplication::processEvents(); }
    void convertShip() {
        writeShip("ship.png", 64, 48);
        runConversion(app, "tset src=ship col=16");
        ASSERT_EQ(elementTable(app).count(), 3) << host.lastText();
    }
};

TEST_F(PanelFormsTest, TilemapFormDefaultsAndObjectNames) {
    open();
    selectBranch(0);
    auto* form = dynamic_cast<ConversionFormWidget*>(window->panelContent());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(window->statusText(), "Create a tilemap");
    for (const char* name : {"text-source", "text-dest", "text-palette", "text-map", "text-colors", "check-palette",
                             "check-tileset", "check-map", "check-optimize", "combo-size", "combo-tiles", "ok", "more"}) {
        QWidget* w = form->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
    }
    EXPECT_FALSE(find<QCheckBox>("check-palette")->isEnabled());  // no palette in the project
    EXPECT_TRUE(find<QCheckBox>("check-map")->isChecked());
    EXPECT_EQ(find<QComboBox>("combo-size")->currentText(), "Optimized");
    EXPECT_EQ(find<QComboBox>("combo-maptype")->currentText(), "Text (16 bits)");
    EXPECT_EQ(find<QComboBox>("combo-tiles")->currentText(), "8x8");
    test::saveScreenshot(*window, "form-tilemap");

    // Browsing the source fills the destinations from its base name.
    form->chooseFile = [this](const QString&, const QString&) { return QString::fromStdString(dir.path() + "/old.files/hero.png"); };
    QTest::mouseClick(find<QPushButton>("browse-source"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("text-source")->text(), "old.files/hero.png");
    EXPECT_EQ(find<QLineEdit>("text-dest")->text(), "old.files/hero.til.c");
    EXPECT_EQ(find<QLineEdit>("text-map")->text(), "old.files/hero.map.c");
    // "Generate a map" off disables the map's destination.
    find<QCheckBox>("check-map")->setChecked(false);
    EXPECT_FALSE(find<QLineEdit>("text-map")->isEnabled());
}

TEST_F(PanelFormsTest, DestinationBrowseTakesANewFileName) {
    open();
    selectBranch(0);
    auto* form = dynamic_cast<ConversionFormWidget*>(window->panelContent());
    ASSERT_NE(form, nullptr);
    // The real dialogs: the destination is a file to write, so a name that does not exist yet is taken.
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool seen = false;
    auto answer = [&](const std::string& file) {
        QTimer::singleShot(0, [&, file] {
            for (int i = 0; i < 200 && !qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); ++i)
                QTest::qWait(5);
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = true;
            mode = dialog->acceptMode();
            if (mode != QFileDialog::AcceptSave) {
                static_cast<QDialog*>(dialog)->reject();  // an open dialog would refuse the new name
                return;
            }
            dialog->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(dialog)->accept();
        });
    };
    answer(dir.file("level1.til.c"));
    QTest::mouseClick(find<QPushButton>("browse-dest"), Qt::LeftButton);
    ASSERT_TRUE(seen);
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(find<QLineEdit>("text-dest")->text(), "level1.til.c");
    EXPECT_EQ(find<QLineEdit>("text-palette")->text(), "level1.pal.c");
    EXPECT_EQ(find<QLineEdit>("text-map")->text(), "level1.map.c");
    EXPECT_FALSE(fileExists(dir.file("level1.til.c")));
    seen = false;
    answer(dir.file("other.map.c"));
    QTest::mouseClick(find<QPushButton>("browse-map"), Qt::LeftButton);
    ASSERT_TRUE(seen);
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(find<QLineEdit>("text-map")->text(), "other.map.c");
    EXPECT_EQ(find<QLineEdit>("text-palette")->text(), "level1.pal.c");
}

TEST_F(PanelFormsTest, ScriptFillsTheTilemapFormAndPressesOk) {
    writeShip("ship.png", 100, 60);
    open();
    run("tree-tilesets");
    ASSERT_NE(dynamic_cast<ConversionFormWidget*>(window->panelContent()), nullptr);
    run("text-source \"ship.png\";text-dest \"ship.til.c\";text-palette \"ship.pal.c\";text-map \"ship.map.c\";"
        "combo-size \"256X256\";check-optimize 1;ok");
    EXPECT_EQ(find<QComboBox>("combo-size")->currentIndex(), 2);
    ASSERT_EQ(elementTable(app).count(), 3) << host.lastText();
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();  // a fixed map size asks nothing
    MapData map;
    ASSERT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map,
                                           elementTable(app).records[size_t(TrouveElement(app, TYPE_CARTE, "ship"))]), 1);
    EXPECT_EQ(map.width, 32);
    // The new elements are in the tree.
    EXPECT_NE(window->tree()->itemOfRecord(0), nullptr);
}

TEST_F(PanelFormsTest, AssignmentsWithoutAFormChangeNothing) {
    open();
    selectBranch(3);  // Palettes: a text, no form
    run("text-source \"ship.png\";ok");
    EXPECT_EQ(elementTable(app).count(), 0);
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    selectBranch(1);  // Maps without tilesets: no form, the status text says why
    EXPECT_EQ(window->statusText(), "You must at least have one tileset and one palette to create a map!");
    EXPECT_EQ(find<QLineEdit>("text-source"), nullptr);
    run("text-source \"x.map.c\";ok");
    EXPECT_EQ(elementTable(app).count(), 0);
    selectBranch(2);
    EXPECT_EQ(window->statusText(), "You must at leaste have a tileset to create a list!");
}

TEST_F(PanelFormsTest, GiantMapAndListFormsCreateElements) {
    convertShip();
    open();
    selectBranch(1);
    EXPECT_EQ(window->statusText(), "Create a new table to use as a giant map");
    EXPECT_EQ(find<QLineEdit>("text-sizex")->text(), "1");
    EXPECT_EQ(find<QComboBox>("combo-tiles")->currentText(), "16x16");
    test::saveScreenshot(*window, "form-giant-map");
    run("text-source \"world.map.c\";text-sizex \"64\";text-sizey \"32\";combo-tiles \"8x8\";ok");
    EXPECT_NE(TrouveElement(app, TYPE_CARTE, "world.map.c"), kElementNotFound) << host.lastText();

    // The same name again: asked first, No keeps the file.
    const std::string before = dir.read("world.map.c");
    host.answers = {Answer::No};
    run("text-sizex \"2\";ok");
    EXPECT_EQ(host.lastCaption(), "Question");
    EXPECT_EQ(dir.read("world.map.c"), before);

    selectBranch(2);
    EXPECT_EQ(window->statusText(), "Create a new object list");
    ASSERT_NE(find<QComboBox>("combo-model"), nullptr);
    test::saveScreenshot(*window, "form-object-list");
    run("text-source \"foes.lst.c\";ok");
    EXPECT_NE(TrouveElement(app, TYPE_LISTE, "foes.lst.c"), kElementNotFound) << host.lastText();
}

TEST_F(PanelFormsTest, FrenchControlNamesReachTheSameFields) {
    writeShip("ship.png", 100, 60);
    open();
    run("arbre-mosaiques");
    ASSERT_NE(dynamic_cast<ConversionFormWidget*>(window->panelContent()), nullptr);
    run("texte-source \"ship.png\";texte-dest \"ship.til.c\";texte-palette \"ship.pal.c\";texte-map \"ship.map.c\";"
        "texte-couleurs \"16\";combo-taille \"128x128\";check-optimise 0;check-map 1");
    EXPECT_EQ(find<QLineEdit>("text-colors")->text(), "16");
    EXPECT_EQ(find<QComboBox>("combo-size")->currentIndex(), 1);
    EXPECT_FALSE(find<QCheckBox>("check-optimize")->isChecked());
    run("ok");
    ASSERT_EQ(elementTable(app).count(), 3) << host.lastText();

    // The giant map form: the table size fields are the second and third text slots.
    run("arbre-cartes");
    ASSERT_NE(find<QLineEdit>("text-sizex"), nullptr);
    run("texte-01 \"world.map.c\";texte-taillex \"5\";texte-tailley \"3\";combo-tiles \"8X8\";ok");
    const int world = TrouveElement(app, TYPE_CARTE, "world.map.c");
    ASSERT_NE(world, kElementNotFound) << host.lastText();
    MapData map;
    ASSERT_EQ(currentPlatform(app).loadMap(app, 0, nullptr, nullptr, map, elementTable(app).records[size_t(world)]), 1);
    EXPECT_EQ(map.width, 5);
    EXPECT_EQ(map.height, 3);
}

TEST_F(PanelFormsTest, EnterInTheFormPressesOkAndEscapeLeavesForTheTree) {
    convertShip();
    open();
    window->activateWindow();
    selectBranch(2);
    auto* source = find<QLineEdit>("text-source");
    ASSERT_NE(source, nullptr);
    source->setText("foes.lst.c");
    source->setFocus();
    QApplication::processEvents();
    // Enter in the tree is the tree's: no list is made.
    window->tree()->setFocus();
    QTest::keyClick(window->tree(), Qt::Key_Return);
    EXPECT_EQ(TrouveElement(app, TYPE_LISTE, "foes.lst.c"), kElementNotFound);
    // Escape in the form leaves it for the tree; Enter in a field presses "Ok!".
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Escape);
    EXPECT_TRUE(window->tree()->hasFocus());
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Return);
    EXPECT_NE(TrouveElement(app, TYPE_LISTE, "foes.lst.c"), kElementNotFound) << host.lastText();
}

TEST_F(PanelFormsTest, ImageFormShowsItsControls) {
    open();
    selectBranch(4);
    EXPECT_EQ(window->statusText(), "Create a simple image");
    EXPECT_NE(find<QLineEdit>("text-dest"), nullptr);
    EXPECT_EQ(find<QLineEdit>("text-map"), nullptr);
    EXPECT_EQ(find<QCheckBox>("check-tileset"), nullptr);
    test::saveScreenshot(*window, "form-image");
}

TEST_F(PanelFormsTest, PreviewOfEachKind) {
    convertShip();
    writeShip("title.png", 48, 32);
    runConversion(app, "bmp src=title col=16");
    open();
    const char* shots[] = {"preview-tileset", "preview-palette", "preview-map"};
    const uint32_t types[] = {TYPE_MOSAIQUE, TYPE_PALETTE, TYPE_CARTE};
    for (int i = 0; i < 3; ++i) {
        const int index = TrouveElement(app, types[i], "ship");
        selectRecord(index);
        auto* panel = dynamic_cast<PreviewPanel*>(window->panelContent());
        ASSERT_NE(panel, nullptr) << shots[i];
        EXPECT_NE(panel->preview().mode, PreviewMode::None) << shots[i] << " " << host.lastText();
        EXPECT_EQ(window->statusText(), elementTable(app).records[size_t(index)].file);
        test::saveScreenshot(*window, shots[i]);
    }
    // A map without its settings script: "Config." is there but disabled.
    selectRecord(TrouveElement(app, TYPE_CARTE, "ship"));
    EXPECT_TRUE(find<QPushButton>("preview-edit")->isVisibleTo(window.get()));
    EXPECT_FALSE(find<QPushButton>("preview-config")->isEnabled());
    EXPECT_EQ(find<QLabel>("preview-label")->text(), "Size: 8x6 blocks");
    dir.write("ship.map.spt", "# settings\r\n");
    selectBranch(0);
    selectRecord(TrouveElement(app, TYPE_CARTE, "ship"));
    EXPECT_TRUE(find<QPushButton>("preview-config")->isEnabled());
    {
        // "Open" hands the script to the desktop's editor; a failed "Delete" keeps the button.
        auto* panel = dynamic_cast<PreviewPanel*>(window->panelContent());
        ASSERT_TRUE(panel->openSettingsScript());
        ASSERT_EQ(host.opened.size(), 1u);
        EXPECT_EQ(host.opened[0], absolutePath("ship.map.spt"));
        EXPECT_TRUE(host.started.empty());
        host.trashSucceeds = false;
        EXPECT_FALSE(panel->deleteSettingsScript());
        EXPECT_EQ(host.lastCaption(), "Error");
        EXPECT_TRUE(find<QPushButton>("preview-config")->isEnabled());
        host.trashSucceeds = true;
        EXPECT_TRUE(panel->deleteSettingsScript());
        EXPECT_FALSE(find<QPushButton>("preview-config")->isEnabled());
        EXPECT_FALSE(fileExists(dir.file("ship.map.spt")));
    }

    selectRecord(TrouveElement(app, TYPE_BITMAP, "title"));
    EXPECT_EQ(find<QLabel>("preview-label")->text(), "Size: 48x32");
    test::saveScreenshot(*window, "preview-bitmap");

    // Copy puts the preview with the mask colour as background on the clipboard.
    selectRecord(TrouveElement(app, TYPE_MOSAIQUE, "ship"));
    auto* panel = dynamic_cast<PreviewPanel*>(window->panelContent());
    ASSERT_TRUE(window->runCommand(CmdCopyPreview));
    EXPECT_EQ(host.clipboardWidth, panel->preview().surface.width);
    const uint32_t mask = 0xFF00FE;
    bool maskSeen = false;
    for (uint32_t p : host.clipboardPixels) maskSeen = maskSeen || p == mask;
    EXPECT_TRUE(maskSeen);  // the tileset's last row is not full
    EXPECT_TRUE(panel->exportImage(dir.file("tiles.png")));
    EXPECT_TRUE(fileExists(dir.file("tiles.png")));
}

TEST_F(PanelFormsTest, PreviewOptionsChangeColumnsAndWidthForTheNextSelectionsToo) {
    convertShip();  // 13 colours, 48 tiles of 8 x 8
    open();
    // Picks an entry of the "Options" menu as the user would.
    auto pick = [&](const char* entry) {
        QTimer::singleShot(0, [&, entry] {
            for (int i = 0; i < 200 && !qobject_cast<QMenu*>(QApplication::activePopupWidget()); ++i) QTest::qWait(5);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* a : menu->actions())
                if (a->text() == entry) a->trigger();
            menu->close();
        });
        QTest::mouseClick(find<QPushButton>("preview-options"), Qt::LeftButton);
        QApplication::processEvents();
    };
    selectRecord(TrouveElement(app, TYPE_PALETTE, "ship"));
    auto* panel = dynamic_cast<PreviewPanel*>(window->panelContent());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(find<QPushButton>("preview-options")->isVisibleTo(window.get()));
    EXPECT_EQ(panel->preview().columns, 16);
    // The mouse over a colour names it beside the preview.
    QWidget* canvas = panel->findChild<QWidget*>("preview-canvas");
    ASSERT_NE(canvas, nullptr);
    QTest::mouseMove(canvas, QPoint(17, 3));
    QApplication::processEvents();
    EXPECT_TRUE(find<QLabel>("preview-mouse")->text().startsWith("Idx: 01 hex\n")) << find<QLabel>("preview-mouse")->text().toStdString();
    pick("4");
    EXPECT_EQ(panel->preview().columns, 4);
    EXPECT_EQ(panel->preview().surface.width, 4 * 16);
    EXPECT_EQ(panel->preview().surface.height, 4 * 16);  // 13 colours in rows of 4

    selectRecord(TrouveElement(app, TYPE_MOSAIQUE, "ship"));
    panel = dynamic_cast<PreviewPanel*>(window->panelContent());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->preview().columns, 32);
    pick("128");  // not offered: nothing changes
    EXPECT_EQ(panel->preview().columns, 32);
    panel->setTilesetWidth(4);  // narrower than a tile: not taken
    EXPECT_EQ(panel->preview().columns, 32);
    pick("512");
    EXPECT_EQ(panel->preview().columns, 64);
    EXPECT_EQ(panel->preview().surface.height, 8);

    // The choices stay for the next previews.
    selectRecord(TrouveElement(app, TYPE_PALETTE, "ship"));
    panel = dynamic_cast<PreviewPanel*>(window->panelContent());
    EXPECT_EQ(panel->preview().columns, 4);
    EXPECT_FALSE(find<QPushButton>("preview-edit")->isVisibleTo(window.get()));
}

TEST_F(PanelFormsTest, PartialPreviewWarnsBeforeCopy) {
    convertShip();
    app.system.maxMemory = 64 * 4 * 8;  // eight rows of the tileset picture
    open();
    selectRecord(TrouveElement(app, TYPE_CARTE, "ship"));
    auto* panel = dynamic_cast<PreviewPanel*>(window->panelContent());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->preview().partial);
    host.answers = {Answer::Cancel};
    EXPECT_FALSE(panel->copyToClipboard());
    EXPECT_EQ(host.lastCaption(), "Warning");
    EXPECT_NE(host.lastText().find("at least 1 MB"), std::string::npos);
    EXPECT_EQ(host.clipboardWidth, 0);
    // Export asks the same; Cancel writes nothing, OK writes the part that was drawn.
    host.answers = {Answer::Cancel};
    EXPECT_FALSE(panel->exportImage(dir.file("part.png")));
    EXPECT_FALSE(fileExists(dir.file("part.png")));
    host.answers = {Answer::Ok};
    EXPECT_TRUE(panel->exportImage(dir.file("part.png")));
    EXPECT_EQ(host.lastCaption(), "Warning");
    EXPECT_TRUE(fileExists(dir.file("part.png")));
}

TEST_F(PanelFormsTest, ConversionProgressInTheStatusStrip) {
    open();
    showConversionProgress(window.get(), "Building the palettes...", 0.5);
    auto* progress = window->findChild<ConversionProgress*>("conversion-progress");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->bar()->value(), 500);
    test::saveScreenshot(*window, "conversion-progress");
    showConversionProgress(window.get(), "Building the palettes...", 1.0);
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(PanelFormsTest, ConversionPalettesShownAsSwatches) {
    open();
    std::vector<std::vector<uint32_t>> rows(3);
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < 16; ++i) rows[size_t(g)].push_back(uint32_t(g * 80) << 16 | uint32_t(i * 16 + 4) << 8 | 0x44);
    showConversionPalettes(window.get(), rows);
    auto* palettes = window->findChild<ConversionPalettes*>("conversion-palettes");
    ASSERT_NE(palettes, nullptr);
    EXPECT_TRUE(palettes->isVisible());
    EXPECT_EQ(palettes->width(), 16 * ConversionPalettes::kSwatch + 2);
    EXPECT_EQ(palettes->height(), 3 * ConversionPalettes::kSwatch + 2);
    const QImage drawn = palettes->grab().toImage();
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(drawn.pixel(1 + i * 16 + 8, 1 + g * 16 + 8) & 0xFFFFFFu, rows[size_t(g)][size_t(i)]) << g << "," << i;
    test::saveScreenshot(*window, "conversion-palettes");
    showConversionPalettes(window.get(), {});
    EXPECT_FALSE(palettes->isVisible());
}

// A real multi-palette conversion's blocks, shown as the window host shows them: beside the
// swatches, the column wrapped to the window's height, each block's pixels where it belongs.
TEST_F(PanelFormsTest, ConversionBlocksShownInTheirColumn) {
    open();
    ASSERT_TRUE(test::writePicture(dir.file("tiles.png"), 128, 96, [](int x, int y) {
        const uint32_t mixed = uint32_t((x / 8) * 131 + (y / 8) * 71 + (x % 8) * 13 + (y % 8) * 29) * 2654435761u;
        const int set = (x / 8 + y / 8) % 4, c = int((mixed >> 16) % 15);
        return uint32_t(((set * 8 + c % 4) * 8) << 16 | ((c / 4) * 64) << 8 | (31 - set * 7) * 8);
    }));
    app.convert.exactPacking = 0;
    host.showProgress = true;
    runConversion(app, "tset src=tiles +16c col=64");
    ASSERT_GT(host.shownBlocks.size(), 100u) << host.lastText();
    showConversionPalettes(window.get(), host.largestPalettes);
    for (const ProgressBlock& block : host.shownBlocks) showConversionBlock(window.get(), block);
    auto* blocks = window->findChild<ConversionBlocks*>("conversion-blocks");
    auto* palettes = window->findChild<ConversionPalettes*>("conversion-palettes");
    ASSERT_NE(blocks, nullptr);
    ASSERT_NE(palettes, nullptr);
    EXPECT_TRUE(blocks->isVisible());
    EXPECT_FALSE(blocks->accessibleName().isEmpty());
    EXPECT_EQ(blocks->x(), palettes->geometry().right() + 1 + ConversionBlocks::kMargin);
    // Wrapped: more blocks than one column holds, and the widget inside the window.
    const int count = int(host.shownBlocks.size());
    EXPECT_LT(blocks->blocksPerColumn(), count);
    EXPECT_LE(blocks->geometry().bottom(), window->centralWidget()->geometry().bottom() - ConversionBlocks::kMargin);
    EXPECT_EQ(palettes->pos(), window->centralWidget()->geometry().topLeft() + QPoint(8, 8));
    const QImage drawn = blocks->grab().toImage();
    for (int i = 0; i < count; ++i) {
        const QPoint place = blocks->blockPlace(i);
        ASSERT_GE(place.x(), 0) << i;
        EXPECT_EQ(place.y(), (i % blocks->blocksPerColumn()) * 8);
        const ProgressBlock& block = host.shownBlocks[size_t(i)];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(drawn.pixel(place.x() + x, place.y() + y) & 0xFFFFFFu, block.pixels[size_t(y * 8 + x)])
                    << "block " << i << " at " << x << "," << y;
    }
    test::saveScreenshot(*window, "conversion-blocks");
    // The end of the conversion takes the display away (as the window's host is told it).
    WindowHost windowHost;
    EXPECT_FALSE(windowHost.showsProgress());
    windowHost.setOwner(window.get());
    EXPECT_TRUE(windowHost.showsProgress());
    windowHost.progressBlock(ProgressBlock{});
    windowHost.progressPalettes({});
    EXPECT_FALSE(blocks->isVisible());
    EXPECT_FALSE(palettes->isVisible());
}

}  // namespace
}  // namespace ts
