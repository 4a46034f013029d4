// GoogleTest entry for logic that measures or draws text (the report layout): a
// QGuiApplication on the offscreen platform, fonts but no widgets.
#include <QGuiApplication>

#include "PrivateHome.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    luvir::test::usePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
