#pragma once
// The check that no text of a window is cut off by its widget.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

namespace ts {

// Every visible label, button, check box and combo box under `root` is at least as wide as its
// text needs.
inline void expectNothingCutOff(QWidget& root, const std::string& where) {
    QApplication::processEvents();
    for (QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()) continue;
            text = label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty()) continue;
            text = button->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            text = combo->currentText();
            if (text.isEmpty()) continue;
        } else {
            continue;
        }
        EXPECT_GE(w->width(), w->minimumSizeHint().width())
            << where << ": " << w->objectName().toStdString() << " \"" << text.toStdString() << "\" is "
            << w->width() << " pixels wide and needs " << w->minimumSizeHint().width();
    }
}

}  // namespace ts
