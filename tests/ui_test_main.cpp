// The window tests' entry: a QApplication (offscreen, Fusion, Qt's texts in the edition's
// language as the program has them) before the tests run.
#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <gtest/gtest.h>

#include "host/ui/qt_translation.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    ts::installQtTranslation(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
