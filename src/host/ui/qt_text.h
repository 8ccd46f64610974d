#pragma once
// Texts between the core (Windows-1252 bytes) and Qt (Unicode).
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "host/text_encoding.h"
#include "resources/texts.h"

namespace ts {

inline QString toQt(const std::string& cp1252) { return QString::fromUtf8(toUtf8(cp1252)); }
inline std::string fromQt(const QString& text) { return fromUtf8(text.toUtf8().toStdString()); }
// A list of core texts, for combo boxes and list widgets.
inline QStringList toQtList(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& item : items) out << toQt(item);
    return out;
}
// A text of the table, for a widget.
inline QString qtr(T id) { return toQt(tr(id)); }
// A menu text of the table: the part before the tab (the key is shown by the shortcut itself).
inline QString qmenu(T id) {
    QString text = qtr(id);
    int tab = text.indexOf('\t');
    return tab < 0 ? text : text.left(tab);
}

}  // namespace ts
