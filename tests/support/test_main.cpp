// Shared entry of the test executables: the program's own application set-up (locale, fonts,
// translations), offscreen, around GoogleTest. A test folder that defines its own main() simply
// never pulls this file in.
#include "app/app_setup.h"
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setUpApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
