#include "tests/support/testrun.h"

#include "app/application.h"
#include "tests/support/testhome.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

int RunTestsInPrivateHome(int &argc, char **argv)
{
    QTemporaryDir home;
    UseTestHome(home.path());
    ZeloApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
