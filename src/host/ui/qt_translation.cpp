#include "host/ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "resources/texts.h"

namespace ts {

bool installQtTranslation(QCoreApplication& application) {
    if (edition() != Edition::French) return false;
    auto* translator = new QTranslator(&application);
    if (!translator->load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace ts
