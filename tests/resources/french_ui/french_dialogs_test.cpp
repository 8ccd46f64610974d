// The French program's dialogs: titles and tabs from the widgets, nothing cut off, screenshots.
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "formats/ui/formats_dialog.h"
#include "formats/ui/platforms_dialog.h"
#include "project/ui/add_folder_dialog.h"
#include "project/ui/element_properties_dialog.h"
#include "project/ui/execute_script_dialog.h"
#include "project/ui/options_sheet.h"
#include "../../project/ui/window_test_support.h"
#include "cut_off_check.h"

namespace ts {
namespace {

QString latin(const char* cp1252) { return QString::fromLatin1(cp1252); }

// Runs `step` on the modal dialog once it shows, then closes it.
void whenModal(std::function<void(QDialog*)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(dialog);
        dialog->reject();
    });
}

struct FrenchDialogs : ::testing::Test, test::WindowProject {};

// Qt's own texts (file dialogs, the menus of text fields) come from Qt's French translation, which
// the program installs as this test program does.
TEST(FrenchQtTexts, QtsOwnTextsAreFrench) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"), "Cop&ier");
}

TEST_F(FrenchDialogs, OptionsSheetPages) {
    OptionsSheet sheet(app, nullptr);
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(sheet.windowTitle(), "Options");
    ASSERT_EQ(sheet.tabs()->count(), 4);
    const char* tabs[] = {"G\xE9n\xE9ral", "Conversion", "Mod\xE8les", "Conversion (+1)"};
    const char* shots[] = {"fr-options-general", "fr-options-conversion", "fr-options-models", "fr-options-conversion-plus"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sheet.tabs()->tabText(i), latin(tabs[i]));
        sheet.tabs()->setCurrentIndex(i);
        expectNothingCutOff(sheet, shots[i]);
        test::saveScreenshot(sheet, shots[i]);
    }
}

TEST_F(FrenchDialogs, PlatformsAndFormats) {
    PlatformsDialog platforms(app, nullptr);
    platforms.show();
    EXPECT_EQ(platforms.windowTitle(), "Plates-formes");
    expectNothingCutOff(platforms, "platforms");
    test::saveScreenshot(platforms, "fr-dialog-platforms");
    FormatsDialog formats(app, nullptr);
    formats.show();
    EXPECT_EQ(formats.windowTitle(), "Formats d'E/S");
    expectNothingCutOff(formats, "formats");
    test::saveScreenshot(formats, "fr-dialog-formats");
}

TEST_F(FrenchDialogs, WindowDialogs) {
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Ajouter dossier");
        expectNothingCutOff(*d, "add folder");
        test::saveScreenshot(*d, "fr-dialog-add-folder");
    });
    runAddFolderDialog(app, nullptr);

    std::string remembered;
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), latin("Ex\xE9" "cuter (script)"));
        expectNothingCutOff(*d, "execute");
        test::saveScreenshot(*d, "fr-dialog-execute-script");
    });
    askScriptInvite(nullptr, remembered);

    int index = element("ship", 3, "ship.til.c");
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), latin("Propri\xE9t\xE9s de l'\xE9l\xE9ment"));
        expectNothingCutOff(*d, "properties");
        test::saveScreenshot(*d, "fr-dialog-properties");
    });
    runElementPropertiesDialog(app, index, nullptr);
}

}  // namespace
}  // namespace ts
