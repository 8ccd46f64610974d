#pragma once
// Qt's own texts (file dialogs, the context menus of text fields) in the edition's language: the
// French edition loads Qt's French translation when the system has it (Debian installs it with
// qt6-translations-l10n); the English edition needs none.
class QCoreApplication;

namespace ts {

// True when a translation of Qt's texts was installed into `application`.
bool installQtTranslation(QCoreApplication& application);

}  // namespace ts
