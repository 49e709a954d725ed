// encoder-run: converts one clip through the engine library exactly as the
// program drives it, for tests and measurements.
//
//   encoder-run NAME -y -ss HH:MM:SS -t SECONDS -i INPUT ... -f FORMAT OUTPUT
//
// The arguments are the engine's whole option vector (its first entry
// included). Each status line goes to standard output on a line of its own;
// the exit status is the end message's wParam (0 complete, 1 stopped,
// 2 failed), or 3 when the engine cannot be loaded. SIGINT and SIGTERM stop
// the conversion the way the program's Stop button does.
#include "engine/encoder.h"
#include "tools/enginelibrary.h"

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

struct EndMessage : MessageTarget
{
    std::mutex lock;
    std::condition_variable arrived;
    bool done = false;
    uintptr_t code = CONVERT_DONE_FAILED;
};

void postEnd(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t)
{
    if (msg != WM_CONVERT_DONE)
        return;
    auto *target = static_cast<EndMessage *>(self);
    std::lock_guard guard(target->lock);
    target->done = true;
    target->code = wParam;
    target->arrived.notify_all();
}

int printLine(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: encoder-run NAME OPTIONS... OUTPUT  (the engine's option "
                             "vector)\n");
        return 3;
    }
    const char *tool = "encoder-run";
    void *lib = openEngine(engineBesideExecutable(), tool);
    if (!lib)
        return 3;
    void (*init)() = nullptr;
    void (*uninit)() = nullptr;
    void (*stop)() = nullptr;
    void (*setInfo)(StatusLineCallback) = nullptr;
    int (*convert)(MessageTarget *, int, char **) = nullptr;
    if (!bindEntry(lib, "MyDll_Init", init, tool) ||
        !bindEntry(lib, "MyDll_UnInit", uninit, tool) ||
        !bindEntry(lib, "Mydll_Stop", stop, tool) ||
        !bindEntry(lib, "SetGetInfoCallBackFun", setInfo, tool) ||
        !bindEntry(lib, "_X", convert, tool))
        return 3;

    // Signals are taken by a thread of ours, so that stopping happens in
    // ordinary code rather than in a signal handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1); // our own wake-up call, not a stop
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // Under a file size limit a write should fail like one on a full disk,
    // not kill the process and leave the engine's temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);

    init();
    setInfo(printLine);
    EndMessage end;
    end.post = postEnd;
    if (convert(&end, argc - 1, argv + 1) != 0) {
        std::fprintf(stderr, "encoder-run: the engine refused to start\n");
        uninit();
        return 2;
    }
    std::thread watcher([&] {
        int sig = 0;
        if (sigwait(&stopSignals, &sig) == 0 && sig != SIGUSR1)
            stop();
    });
    uintptr_t code;
    {
        std::unique_lock guard(end.lock);
        end.arrived.wait(guard, [&] { return end.done; });
        code = end.code;
    }
    pthread_kill(watcher.native_handle(), SIGUSR1);
    watcher.join();
    uninit();
    return static_cast<int>(code);
}
