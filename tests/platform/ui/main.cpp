// The controls' tests run on real widgets under the offscreen platform, inside the program's
// own application object.
#include "platform/ui/application.h"
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Quiru"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
