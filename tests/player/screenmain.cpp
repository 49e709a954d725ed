// Entry point of the on-screen player tests: an Xvfb of their own on a
// display it picks itself (-displayfd), the application on it through xcb,
// then GoogleTest. Without Xvfb every test skips itself.
#include "tests/player/screen.h"
#include "tests/support/testrun.h"

#include <QByteArray>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
pid_t g_server = -1;

// Starts Xvfb and returns its display number, or -1.
int startServer()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    g_server = fork();
    if (g_server == 0) {
        // The server goes with the tests, even when they crash.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-br", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    if (g_server < 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string number;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

void stopServer()
{
    if (g_server > 0) {
        kill(g_server, SIGTERM);
        waitpid(g_server, nullptr, 0);
    }
}
} // namespace

bool OnScreen = false;

int main(int argc, char **argv)
{
    // Listing the tests needs no server.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= std::string(argv[i]).starts_with("--gtest_list_tests");
    const int display = listing ? -1 : startServer();
    if (display >= 0) {
        OnScreen = true;
        qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const int status = RunTestsInPrivateHome(argc, argv);
    stopServer();
    return status;
}
