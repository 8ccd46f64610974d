#pragma once
// Small pieces the editor's dialogs share: naming controls, labelled rows, OK/Cancel buttons,
// reading number fields with a refusal for text, and showing a rule's outcome.
#include <QString>
#include <string>

#include "editor/dialog_numbers.h"
#include "editor/selection_operations.h"
#include "host/ui/qt_text.h"

class QCheckBox;
class QDialog;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ts {

struct App;
struct EditorSession;

// Gives a control its object name and its accessible name; returns it.
template <class W>
W* named(W* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLineEdit* lineEdit(QWidget* parent, const char* objectName, const QString& accessibleName,
                    const QString& text = {});
QCheckBox* checkBox(QWidget* parent, const char* objectName, T label, bool checked);
QPushButton* button(QWidget* parent, const char* objectName, T label);
QLabel* label(QWidget* parent, const char* objectName, const QString& text, bool wrap = false);

// OK and Cancel named "<prefix>-ok" and "<prefix>-cancel"; OK calls the dialog's accept(),
// Cancel its reject().
QDialogButtonBox* okCancel(QDialog* dialog, const std::string& prefix);

// Reads an integer field; text that is not a number is refused with a message (the field gets
// the focus) and false is returned. `empty` tells an empty field.
bool integerField(App& app, QLineEdit* field, int64_t& value, bool& empty);
bool decimalField(App& app, QLineEdit* field, double& value, bool& empty);

// Shows a refusal of the dialogs ("Error" caption, exclamation icon).
void refuse(App& app, const std::string& text);
// Refuses a number the field may not hold (negative size, too large) and gives it the focus.
void refuseRange(App& app, QLineEdit* field);

// Shows the message of an outcome that keeps a dialog open.
void showOutcome(App& app, const DialogOutcome& outcome);

// The value the bits display stands for (the first cell of the store's active layer, or the
// current pattern) becomes the session's: after a dialog copied or rewrote blocks.
uint32_t storeOrPatternValue(App& app);
void noteShownValue(App& app, EditorSession& session);

// "0x%x" of a value.
QString hexText(uint32_t value);

}  // namespace ts
