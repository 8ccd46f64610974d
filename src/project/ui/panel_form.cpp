#include "project/ui/panel_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "convert/conversion_form.h"
#include "formats/ui/platform_options_dialog.h"
#include "host/file_system.h"
#include "host/ui/qt_text.h"
#include "project/ui/main_window.h"
#include "project/ui/panel_form_host.h"

namespace ts {

PanelForm::PanelForm(App& app, const std::string& title, const char* objectName, QWidget* parent)
    : QWidget(parent), app_(app), status_(title) {
    setObjectName(objectName);
    setAccessibleName(toQt(title));
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(toQt(title), this);
    heading->setObjectName("form-title");
    heading->setAccessibleName(toQt(title));
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    heading->setFont(font);
    outer->addWidget(heading);
    grid_ = new QGridLayout();
    grid_->setColumnStretch(1, 1);
    outer->addLayout(grid_);
    outer->addStretch(1);
    if (MainWindow* w = mainWindow()) {
        PanelFormHost* host = PanelFormHost::of(app_, w);
        host->setForm(this);
        w->setStatusText(status_);
    }
}

PanelForm::~PanelForm() {
    if (MainWindow* w = mainWindow())
        if (auto* host = w->findChild<PanelFormHost*>("panel-form-host", Qt::FindDirectChildrenOnly))
            if (host->form() == this) host->setForm(nullptr);
}

MainWindow* PanelForm::mainWindow() const { return dynamic_cast<MainWindow*>(window()); }

void PanelForm::registerForm(bool shown) {
    MainWindow* w = mainWindow();
    if (!w) return;
    PanelFormHost* host = PanelFormHost::of(app_, w);
    if (shown) host->setForm(this);
    else if (host->form() == this) host->setForm(nullptr);
}

void PanelForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    registerForm(true);
}

void PanelForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Only an explicit hide (another panel content) takes the form away from the scripts; a hidden
    // main window (`visible 0`) keeps it.
    if (!event->spontaneous() && !window()->isHidden()) registerForm(false);
}

void PanelForm::setStatus(const std::string& text) {
    status_ = text;
    if (MainWindow* w = mainWindow()) w->setStatusText(text);
}

void PanelForm::setBusy(bool busy) {
    if (MainWindow* w = mainWindow()) w->setBusy(busy);
}

QLineEdit* PanelForm::makeEdit(const char* objectName, const QString& accessible) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setAccessibleName(accessible);
    return edit;
}

QComboBox* PanelForm::makeCombo(const char* objectName, const QString& accessible, const QStringList& items) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(objectName);
    combo->setAccessibleName(accessible);
    combo->addItems(items);
    return combo;
}

QCheckBox* PanelForm::makeCheck(const char* objectName, const QString& text, bool tristate) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(objectName);
    box->setAccessibleName(text);
    box->setTristate(tristate);
    return box;
}

QPushButton* PanelForm::makeButton(const char* objectName, const QString& text, const QString& accessible) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAccessibleName(accessible);
    return button;
}

void PanelForm::addRow(const QString& label, QWidget* field, QWidget* button) {
    if (!label.isEmpty()) {
        auto* text = new QLabel(label, this);
        text->setObjectName(field->objectName() + "-label");
        text->setAccessibleName(label);
        text->setBuddy(field);
        grid_->addWidget(text, row_, 0);
    }
    grid_->addWidget(field, row_, 1, 1, button ? 1 : 2);
    if (button) grid_->addWidget(button, row_, 2);
    ++row_;
}

void PanelForm::addCheckRow(QWidget* check, QWidget* field) {
    grid_->addWidget(check, row_, 0);
    if (field) grid_->addWidget(field, row_, 1, 1, 2);
    ++row_;
}

void PanelForm::browseDataFile(QPushButton* browse, QLineEdit* file) {
    connect(browse, &QPushButton::clicked, this, [this, file] {
        const QString filter = qtr(T::FormDataFilter) + " (*)";
        const QString path = chooseFile ? chooseFile(accessibleName(), filter)
                                        : QFileDialog::getSaveFileName(this, accessibleName(), QString(), filter,
                                                                       nullptr, QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty()) file->setText(toQt(relativeFormPath(fromQt(path), currentDirectory())));
    });
}

void PanelForm::addButtons(int platformPage) {
    auto* row = new QHBoxLayout();
    more_ = makeButton("more", qtr(T::FormMore), qtr(T::FormMore));
    ok_ = makeButton("ok", qtr(T::FormOk), qtr(T::FormOk));
    ok_->setDefault(true);
    more_->setEnabled(platformHasOptionsPanel(app_, platformPage));
    row->addStretch(1);
    row->addWidget(more_);
    row->addWidget(ok_);
    grid_->addLayout(row, row_++, 0, 1, 3);
    connect(more_, &QPushButton::clicked, this, [this, platformPage] { showPlatformOptions(app_, platformPage, this); });
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
}

}  // namespace ts
