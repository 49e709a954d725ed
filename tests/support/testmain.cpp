// Test entry point: an application object on the offscreen platform, so
// widget tests run without a display, then GoogleTest.
#include "app/application.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    UseTestHome(home.path());
    ZeloApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
