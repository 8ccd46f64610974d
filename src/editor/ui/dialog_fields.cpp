#include "editor/ui/dialog_fields.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "host/ui/standard_buttons.h"

namespace ts {

QLineEdit* lineEdit(QWidget* parent, const char* objectName, const QString& accessibleName, const QString& text) {
    auto* edit = named(new QLineEdit(text, parent), objectName, accessibleName);
    return edit;
}

QCheckBox* checkBox(QWidget* parent, const char* objectName, T text, bool checked) {
    auto* box = named(new QCheckBox(qtr(text), parent), objectName, qtr(text));
    box->setChecked(checked);
    return box;
}

QPushButton* button(QWidget* parent, const char* objectName, T text) {
    return named(new QPushButton(qtr(text), parent), objectName, qtr(text));
}

QLabel* label(QWidget* parent, const char* objectName, const QString& text, bool wrap) {
    auto* l = named(new QLabel(text, parent), objectName, text);
    l->setWordWrap(wrap);
    return l;
}

QDialogButtonBox* okCancel(QDialog* dialog, const std::string& prefix) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QString::fromStdString(prefix + "-buttons"));
    buttons->setAccessibleName(qtr(T::DlgOk) + " / " + qtr(T::DlgCancel));
    labelStandardButtons(*buttons);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::fromStdString(prefix + "-ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::fromStdString(prefix + "-cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void refuse(App& app, const std::string& text) {
    showBox(hostServices(app), ts::tr(T::CaptionError), text, Icon::Warning);
}

void refuseRange(App& app, QLineEdit* field) {
    refuse(app, formatText(ts::tr(T::FieldOutOfRange), fromQt(field->text().left(60)).c_str()));
    field->setFocus();
    field->selectAll();
}

namespace {
void refuseField(App& app, QLineEdit* field) {
    refuse(app, formatText(ts::tr(T::PlaneNumberRefused), fromQt(field->text().left(60)).c_str()));
    field->setFocus();
    field->selectAll();
}
}  // namespace

bool integerField(App& app, QLineEdit* field, int64_t& value, bool& empty) {
    FieldRead r = readIntegerField(fromQt(field->text()), value);
    empty = r == FieldRead::Empty;
    if (r == FieldRead::Refused) {
        refuseField(app, field);
        return false;
    }
    return true;
}

bool decimalField(App& app, QLineEdit* field, double& value, bool& empty) {
    FieldRead r = readDecimalField(fromQt(field->text()), value);
    empty = r == FieldRead::Empty;
    if (r == FieldRead::Refused) {
        refuseField(app, field);
        return false;
    }
    return true;
}

void showOutcome(App& app, const DialogOutcome& outcome) {
    if (outcome.text.empty()) return;
    showBox(hostServices(app), outcome.caption, outcome.text, outcome.exclamation ? Icon::Warning : Icon::Error);
}

uint32_t storeOrPatternValue(App& app) {
    const EditorDocument& doc = editorDocument(app);
    const SelectionStore& store = doc.store;
    if (!store.allocated() || store.empty()) return doc.currentPattern;
    int owner = std::clamp(store.ownerPlane, 0, MaxPlanes - 1);
    return store.row(storeLayerOf(store, doc.links[size_t(owner)].members, doc.active), 0)[0];
}

void noteShownValue(App& app, EditorSession& session) { session.bitsValue = int(storeOrPatternValue(app)); }

QString hexText(uint32_t value) { return QString("0x%1").arg(value, 0, 16); }

}  // namespace ts
