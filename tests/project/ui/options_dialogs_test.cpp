// The options sheet, the Platforms dialog and the I/O formats dialog: their fields, rules and looks.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "editor/editor_document.h"
#include "formats/platform.h"
#include "formats/ui/formats_dialog.h"
#include "formats/ui/models_page.h"
#include "formats/ui/platform_options_panel.h"
#include "formats/ui/platforms_dialog.h"
#include "project/ui/options_sheet.h"
#include "window_test_support.h"

namespace ts {
namespace {

struct OptionsDialogsTest : ::testing::Test, test::WindowProject {
    template <typename W>
    static W* child(QWidget& parent, const char* name) {
        W* w = parent.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

TEST_F(OptionsDialogsTest, GeneralPageRulesThroughTheSheet) {
    OptionsSheet sheet(app, nullptr);
    sheet.show();
    ASSERT_EQ(sheet.tabs()->count(), 4);
    EXPECT_EQ(sheet.tabs()->tabText(0), "General");
    EXPECT_EQ(sheet.tabs()->tabText(3), "Conversion (+1)");
    test::saveScreenshot(sheet, "options-general");
    child<QLineEdit>(sheet, "options-maxobjects")->setText("2");
    child<QComboBox>(sheet, "options-maxmemory")->setCurrentText("Max.");
    child<QLineEdit>(sheet, "options-timing")->setText("abc");
    auto* save = child<QCheckBox>(sheet, "options-savemapsparams");
    auto* autoSave = child<QCheckBox>(sheet, "options-savemapsparamsauto");
    autoSave->setChecked(true);
    save->setChecked(false);
    EXPECT_FALSE(autoSave->isChecked());
    EXPECT_FALSE(autoSave->isEnabled());
    EXPECT_FALSE(autoSave->toolTip().isEmpty());
    sheet.accept();
    EXPECT_EQ(app.system.maxObjects, 3);
    EXPECT_EQ(app.system.maxMemory, 0u);
    EXPECT_EQ(app.editor.timing, 0);
    EXPECT_EQ(app.system.saveMapsParams, 0);

    OptionsSheet again(app, nullptr);
    EXPECT_EQ(child<QComboBox>(again, "options-maxmemory")->currentText(), "Max.");
    EXPECT_EQ(child<QLineEdit>(again, "options-maxobjects")->text(), "3");
    child<QLineEdit>(again, "options-maxobjects")->setText("0");
    child<QComboBox>(again, "options-maxmemory")->setCurrentText("64 MB");
    again.accept();
    EXPECT_EQ(app.system.maxObjects, 3);
    OptionsSheet third(app, nullptr);
    EXPECT_EQ(child<QComboBox>(third, "options-maxmemory")->currentText(), "64 MB");
    third.reject();
}

TEST_F(OptionsDialogsTest, ListSizeAndModelsRefusedWhileTheEditorHasPlanes) {
    // The editor's document with a plane open, as the map editor leaves it while it shows.
    EditorDocument& doc = editorDocument(app);
    doc.open = true;
    doc.count = 1;
    {
        OptionsSheet sheet(app, nullptr);
        child<QLineEdit>(sheet, "options-maxobjects")->setText("50");
        child<QLineEdit>(sheet, "options-timing")->setText("40");
        sheet.tabs()->setCurrentIndex(2);
        EXPECT_EQ(host.lastCaption(), "Error");
        EXPECT_EQ(host.lastText(), "Impossible to work on parameters while the editor is open. Please close it before.");
        EXPECT_FALSE(sheet.tabs()->widget(2)->isEnabled());
        sheet.accept();
        EXPECT_EQ(host.lastText(),
                  "Impossible to modify the number of elements in a list while the editor is open. Please close it.");
        EXPECT_EQ(app.system.maxObjects, 1024);
        EXPECT_EQ(app.editor.timing, 40);  // the other fields still apply
    }
    // Closed again: both are taken.
    doc.count = 0;
    doc.open = false;
    host.clear();
    OptionsSheet sheet(app, nullptr);
    child<QLineEdit>(sheet, "options-maxobjects")->setText("50");
    sheet.tabs()->setCurrentIndex(2);
    EXPECT_TRUE(sheet.tabs()->widget(2)->isEnabled());
    sheet.accept();
    EXPECT_TRUE(host.boxes.empty()) << host.lastText();
    EXPECT_EQ(app.system.maxObjects, 50);
}

TEST_F(OptionsDialogsTest, ConversionPagesAndDefaults) {
    OptionsSheet sheet(app, nullptr);
    sheet.show();
    sheet.tabs()->setCurrentIndex(1);
    test::saveScreenshot(sheet, "options-conversion");
    child<QSlider>(sheet, "conversion-gamma")->setValue(150);
    child<QSlider>(sheet, "conversion-shades")->setValue(32);
    child<QAbstractButton>(sheet, "conversion-optimal")->setChecked(true);
    sheet.tabs()->setCurrentIndex(3);
    test::saveScreenshot(sheet, "options-conversion-plus");
    child<QCheckBox>(sheet, "conversion-shadesbefore")->setChecked(true);
    child<QLineEdit>(sheet, "conversion-maxprecision")->setText("abc");
    sheet.accept();
    EXPECT_EQ(app.convert.shades, 31);
    EXPECT_EQ(app.convert.quantization, 2);
    EXPECT_EQ(app.convert.shadesBefore, 1);
    EXPECT_EQ(app.convert.maxPrecision, 512);

    OptionsSheet again(app, nullptr);
    QTest::mouseClick(child<QPushButton>(again, "conversion-defaults"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(again, "conversion-plus-defaults"), Qt::LeftButton);
    again.accept();
    EXPECT_EQ(app.convert.shades, 255);
    EXPECT_EQ(app.convert.quantization, 0);
    EXPECT_EQ(app.convert.shadesBefore, 0);
}

TEST_F(OptionsDialogsTest, LightingLeftAsShownKeepsComponentsAScriptSetApart) {
    // A project script gave each component its own lighting (the gamma kept as its inverse).
    const double gammas[3] = {1 / 1.234, 1.0, 1 / 0.8};
    for (int i = 0; i < 3; ++i) {
        app.convert.gamma[i] = gammas[i];
        app.convert.add[i] = 10.0 * (i - 1);
        app.convert.alpha[i] = i == 1 ? 5 : 0;
    }
    {
        // OK given for another page leaves the lighting alone.
        OptionsSheet sheet(app, nullptr);
        child<QLineEdit>(sheet, "options-timing")->setText("20");
        sheet.accept();
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(app.convert.gamma[i], gammas[i]) << i;
        EXPECT_DOUBLE_EQ(app.convert.add[i], 10.0 * (i - 1)) << i;
    }
    EXPECT_EQ(app.editor.timing, 20);
    {
        // Moving one slider sets that value for the three components, and only that one.
        OptionsSheet sheet(app, nullptr);
        child<QSlider>(sheet, "conversion-add")->setValue(40);
        sheet.accept();
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(app.convert.add[i], 40) << i;
        EXPECT_DOUBLE_EQ(app.convert.gamma[i], gammas[i]) << i;
        EXPECT_DOUBLE_EQ(app.convert.alpha[i], i == 1 ? 5 : 0) << i;
    }
    {
        // "Defaults" resets everything, even what it shows unchanged.
        OptionsSheet sheet(app, nullptr);
        QTest::mouseClick(child<QPushButton>(sheet, "conversion-defaults"), Qt::LeftButton);
        sheet.accept();
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(app.convert.gamma[i], 1.0) << i;
        EXPECT_DOUBLE_EQ(app.convert.add[i], 0) << i;
        EXPECT_DOUBLE_EQ(app.convert.alpha[i], 0) << i;
    }
}

TEST_F(OptionsDialogsTest, ModelsPageAddsParametersAndTellsTheGeneralPage) {
    OptionsSheet sheet(app, nullptr);
    sheet.show();
    sheet.tabs()->setCurrentIndex(2);
    child<QLineEdit>(sheet, "models-new-name")->setText("Enemies");
    QTest::mouseClick(child<QPushButton>(sheet, "models-new"), Qt::LeftButton);
    EXPECT_EQ(child<QComboBox>(sheet, "options-model")->count(), 2);
    child<QLineEdit>(sheet, "models-param-name")->setText("speed");
    child<QLineEdit>(sheet, "models-param-size")->setText("3");
    QTest::mouseClick(child<QPushButton>(sheet, "models-add"), Qt::LeftButton);
    EXPECT_EQ(host.lastText(), "The size must be at least 4 bytes.");
    child<QLineEdit>(sheet, "models-param-size")->setText("4");
    QTest::mouseClick(child<QPushButton>(sheet, "models-add"), Qt::LeftButton);
    EXPECT_EQ(child<QTreeWidget>(sheet, "models-params")->topLevelItemCount(), 1);
    test::saveScreenshot(sheet, "options-models");
    sheet.accept();
    ASSERT_EQ(app.models.models.size(), 2u);
    EXPECT_EQ(app.models.models[1].params.size(), 1u);
}

TEST_F(OptionsDialogsTest, PlatformsDialogSelectsAndShowsOptions) {
    PlatformsDialog dialog(app, nullptr);
    dialog.show();
    auto* list = child<QListWidget>(dialog, "platforms-list");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(dialog.chosenPlatform(), 0);
    test::saveScreenshot(dialog, "platforms-dialog");
    dialog.choosePlatform(1);
    dialog.accept();
    EXPECT_EQ(currentPlatformIndex(app), 1);

    // The GBA's panel for map forms has four boxes that are stored back when it goes away.
    {
        PlatformOptionsPanel panel(app, kPlatformGba, 0x1000, nullptr);
        panel.show();
        test::saveScreenshot(panel, "platform-options-gba");
        child<QCheckBox>(panel, "gba-align")->setChecked(true);
        child<QCheckBox>(panel, "gba-mirrormask")->setChecked(false);
    }
    EXPECT_EQ(app.platforms.gba.align, 4);
    EXPECT_EQ(app.platforms.gba.mirrorMask, 0);
    {
        PlatformOptionsPanel panel(app, kPlatformGba, 0x2000, nullptr);
        EXPECT_EQ(panel.findChild<QCheckBox*>("gba-mirrormask"), nullptr);
    }
    {
        PlatformOptionsPanel panel(app, kPlatformGameBoy, 0x2000, nullptr);
        panel.show();
        test::saveScreenshot(panel, "platform-options-gb");
        child<QCheckBox>(panel, "gbc-dmgmode")->setChecked(true);
    }
    EXPECT_EQ(app.platforms.gbc.dmgMode, 1);
}

TEST_F(OptionsDialogsTest, FormatsDialogSelectsAFormat) {
    FormatsDialog dialog(app, nullptr);
    dialog.show();
    auto* list = child<QTreeWidget>(dialog, "formats-list");
    ASSERT_GE(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Standard");
    EXPECT_NE(list->topLevelItem(0)->text(1).indexOf(".map.c"), -1);
    test::saveScreenshot(dialog, "formats-dialog");
    dialog.chooseFormat(0);
    dialog.selectChosen();
    EXPECT_EQ(app.formats.currentName, "Standard");
}

}  // namespace
}  // namespace ts
