#pragma once
// The "Defaults" button at the foot of the conversion pages, right-aligned, and the page's stretch
// below it.
#include <QBoxLayout>
#include <QPushButton>

#include "host/ui/qt_text.h"

namespace ts {

inline QPushButton* addDefaultsButton(QWidget* page, QBoxLayout* outer, const char* objectName) {
    auto* defaults = new QPushButton(qtr(T::ConvPageDefaults), page);
    defaults->setObjectName(objectName);
    defaults->setAccessibleName(qtr(T::ConvPageDefaults));
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    row->addWidget(defaults);
    outer->addLayout(row);
    outer->addStretch(1);
    return defaults;
}

}  // namespace ts
