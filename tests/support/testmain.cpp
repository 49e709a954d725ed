// Test entry point: an application object on the offscreen platform, so
// widget tests run without a display, then GoogleTest.
#include "tests/support/testrun.h"

#include <QByteArray>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return RunTestsInPrivateHome(argc, argv);
}
