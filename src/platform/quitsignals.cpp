#include "platform/quitsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &c, 1);
}
} // namespace

void HandleQuitSignals(std::function<void()> onQuit)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onQuit] {
        char buffer[16];
        [[maybe_unused]] ssize_t n = ::read(g_pipe[0], buffer, sizeof buffer);
        onQuit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}
#else
void HandleQuitSignals(std::function<void()>) {}
#endif
