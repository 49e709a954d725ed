// Test entry point for the program's non-GUI code: a core application only,
// so these tests show that zelo_base builds and runs without any widget.
#include "tests/support/testhome.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    UseTestHome(home.path());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
