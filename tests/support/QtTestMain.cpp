// GoogleTest entry for tests that need a Qt application: windows run on the offscreen
// platform, in-process.
#include <QApplication>

#include "PrivateHome.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    luvir::test::usePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
