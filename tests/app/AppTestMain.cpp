// Start-up tests run inside the program's own application object.
#include "LuvirApplication.h"
#include "PrivateHome.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    luvir::test::usePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    luvir::LuvirApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
