#include "formats/ui/platform_options_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "formats/platform.h"
#include "formats/ui/platform_options_panel.h"
#include "host/ui/qt_text.h"
#include "host/ui/standard_buttons.h"

namespace ts {

void showPlatformOptions(App& app, int pageKind, QWidget* parent, int platformIndex) {
    if (platformIndex < 0) platformIndex = currentPlatformIndex(app);
    if (!platformHasOptionsPanel(app, pageKind, platformIndex)) return;
    QDialog dialog(parent);
    dialog.setObjectName("platform-options-dialog");
    dialog.setWindowTitle(qtr(T::FormMoreCaption));
    dialog.setAccessibleName(qtr(T::FormMoreCaption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* panel = new PlatformOptionsPanel(app, platformIndex, pageKind, &dialog);
    layout->addWidget(panel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    labelStandardButtons(*buttons);
    buttons->setObjectName("platform-options-buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("platform-options-ok");
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    dialog.exec();
}

}  // namespace ts
