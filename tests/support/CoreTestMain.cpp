// GoogleTest entry for tests of the logic libraries: a QCoreApplication and nothing of
// QtGui or QtWidgets, so a library that starts to need either fails to link here.
#include <QCoreApplication>

#include "PrivateHome.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    luvir::test::usePrivateHome();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
