// Widget tests run headless with a real application object.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/qt_translation.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    kelm::InstallQtRussian(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
