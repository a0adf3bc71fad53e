// Shared entry of the test executables: a QApplication (offscreen) around GoogleTest. A test
// folder that defines its own main() simply never pulls this file in.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quiru"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
