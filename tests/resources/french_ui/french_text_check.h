#pragma once
// The check that a window of the French program says nothing in English: every accessible name,
// window title, menu, button, tab and label text must be a text of the French table (a format
// filled in, or several texts side by side), a name from the user's data, or a number.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "resources/texts.h"

namespace ts {

class FrenchTextCheck {
public:
    FrenchTextCheck() {
        for (int i = 0; i < int(T::Count_); ++i)
            if (const char* text = frenchTextOrNull(T(i))) addTableText(QString::fromLatin1(text));
        std::sort(pieces_.begin(), pieces_.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }

    // A name from the user's data (an element, a format, a model, a platform, a file).
    void allowData(const std::string& cp1252) {
        const QString name = QString::fromLatin1(cp1252.c_str()).trimmed();
        if (name.isEmpty()) return;
        data_.insert(name);
        if (name.size() >= 2) dataPieces_.push_back(name);
    }

    // True when `text` says nothing but French texts, data names and numbers.
    bool accepts(const QString& raw) const {
        const QString text = clean(raw);
        if (text.isEmpty() || whole_.count(text) || data_.count(text)) return true;
        for (const QRegularExpression& p : patterns_)
            if (p.match(text).hasMatch()) return true;
        // Texts put side by side ("Fichier source Parcourir...", "OK / Annuler"): take out every
        // French text and data name found as whole words; no word may be left.
        QString rest = text;
        rest.replace(QRegularExpression("0x[0-9A-Fa-f]+"), " ");
        auto takeOut = [&rest](const QString& piece) {
            if (!rest.contains(piece)) return;
            rest.replace(QRegularExpression("(?<![\\p{L}])" + QRegularExpression::escape(piece) + "(?![\\p{L}])"), " ");
        };
        for (const QString& piece : dataPieces_) takeOut(piece);
        for (const QString& piece : pieces_) takeOut(piece);
        return !rest.contains(QRegularExpression("\\p{L}{2,}"));
    }

    // The texts under `root` (itself included) that fail, as "object name: text" lines.
    std::vector<std::string> englishIn(QWidget& root) const {
        std::vector<std::string> out;
        auto check = [&](const QObject* o, const QString& what, const QString& text) {
            if (!accepts(text))
                out.push_back(std::string(o->metaObject()->className()) + " '" + o->objectName().toStdString() + "' " +
                              what.toStdString() + ": \"" + text.toStdString() + "\"");
        };
        std::vector<QWidget*> widgets{&root};
        for (QWidget* w : root.findChildren<QWidget*>()) widgets.push_back(w);
        for (QWidget* w : widgets) {
            if (qtsOwn(w, &root)) continue;
            check(w, "accessible name", w->accessibleName());
            if (w->isWindow()) check(w, "title", w->windowTitle());
            if (auto* button = qobject_cast<QAbstractButton*>(w)) check(w, "text", button->text());
            if (auto* label = qobject_cast<QLabel*>(w)) check(w, "text", label->text());
            if (auto* menu = qobject_cast<QMenu*>(w)) check(w, "title", menu->title());
            if (auto* tabs = qobject_cast<QTabWidget*>(w))
                for (int i = 0; i < tabs->count(); ++i) check(w, "tab", tabs->tabText(i));
            if (auto* tree = qobject_cast<QTreeWidget*>(w))
                for (int i = 0; i < tree->columnCount(); ++i) check(w, "column", tree->headerItem()->text(i));
            if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i) check(w, "item", combo->itemText(i));
        }
        for (QAction* a : root.findChildren<QAction*>()) {
            if (a->objectName().startsWith("qt_")) continue;
            check(a, "action", a->text());
        }
        return out;
    }

private:
    // Accelerator marks out, the key after a tab out, blanks at the ends out.
    static QString clean(QString text) {
        text.replace("&&", "\x01");
        text.remove('&');
        text.replace("\x01", "&");
        const int tab = text.indexOf('\t');
        if (tab >= 0) text = text.left(tab);
        return text.trimmed();
    }

    // Parts that Qt builds inside its own widgets and names itself (the tab bar's scroll
    // buttons): their names are Qt's, not the program's.
    static bool qtsOwn(const QWidget* w, const QWidget* root) {
        if (w == root) return false;
        if (w->objectName().startsWith("qt_") && w->accessibleName().isEmpty()) return true;
        for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
            if (qobject_cast<const QTabBar*>(p)) return true;
        return qobject_cast<const QTabBar*>(w) != nullptr;
    }

    void addTableText(const QString& raw) {
        const QString text = clean(raw);
        if (text.isEmpty()) return;
        static const QRegularExpression placeholder("%[-+ #0]*[0-9*]*(\\.[0-9*]+)?(hh|h|ll|l|z)?[diouxXcsfeEgGp]");
        if (text.contains(placeholder)) {
            // A format: its fixed parts around the values, numbers where the format says so.
            // Its longer fixed parts may also stand side by side with other texts.
            QString pattern;
            QString letters;
            int at = 0;
            for (auto it = placeholder.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                const QString fixed = text.mid(at, m.capturedStart() - at).replace("%%", "%");
                pattern += QRegularExpression::escape(fixed) + valuePattern(m.captured(0).back());
                letters += fixed;
                addPiece(fixed.trimmed());
                at = int(m.capturedEnd());
            }
            const QString tail = text.mid(at).replace("%%", "%");
            pattern += QRegularExpression::escape(tail);
            letters += tail;
            addPiece(tail.trimmed());
            // A format of values alone ("%s") would pass anything.
            if (letters.contains(QRegularExpression("\\p{L}{3,}")))
                patterns_.emplace_back(QRegularExpression::anchoredPattern(pattern),
                                       QRegularExpression::DotMatchesEverythingOption);
            return;
        }
        const QString plain = QString(text).replace("%%", "%");
        for (QString variant : {plain, QString(plain).remove(QRegularExpression("\\s*:$")),
                                QString(plain).remove(QRegularExpression("\\.\\.\\.$"))}) {
            whole_.insert(variant);
            addPiece(variant, 2);
        }
    }

    static QString valuePattern(QChar letter) {
        switch (letter.toLatin1()) {
            case 'd': case 'i': case 'u': return "-?[0-9]+";
            case 'x': case 'X': case 'o': return "[0-9A-Fa-f]+";
            case 'c': return ".";
            case 'e': case 'E': case 'f': case 'g': case 'G': return "[-+0-9.eE]+";
            default: return ".*";
        }
    }

    // Pieces are taken out as whole words only; still, a format's short fixed parts ("de") would
    // take words out of English texts, so only whole texts may be as short as two letters ("OK").
    void addPiece(const QString& piece, int shortest = 3) {
        if (piece.size() >= shortest && piece.contains(QRegularExpression("\\p{L}"))) pieces_.push_back(piece);
    }

    std::set<QString> whole_;
    std::set<QString> data_;
    std::vector<QRegularExpression> patterns_;
    std::vector<QString> pieces_;
    std::vector<QString> dataPieces_;
};

}  // namespace ts
