#include "cli/blockingconversion.h"

#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

struct BlockingTarget : MessageTarget
{
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
    uintptr_t result = 0;

    BlockingTarget() { post = &BlockingTarget::onPost; }

    static void onPost(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t)
    {
        auto *t = static_cast<BlockingTarget *>(self);
        if (msg != WM_CONVERT_DONE)
            return;
        std::lock_guard guard(t->lock);
        t->done = true;
        t->result = wParam;
        t->changed.notify_all();
    }
};

// The engine's callback carries no context: one conversion at a time.
std::mutex g_statusLock;
const std::function<void(const QString &)> *g_onStatus = nullptr;

int statusThunk(const char *line)
{
    std::lock_guard guard(g_statusLock);
    if (g_onStatus && line)
        (*g_onStatus)(QString::fromUtf8(line));
    return 0;
}

int percentThunk(intptr_t)
{
    return 0;
}

} // namespace

int RunConversionBlocking(const QStringList &vector,
                          const std::function<void(const QString &)> &onStatus,
                          const std::atomic<bool> &interrupt)
{
    {
        std::lock_guard guard(g_statusLock);
        g_onStatus = &onStatus;
    }
    DllSetInfoCallBack(&statusThunk);
    DllSetPercentCallBack(&percentThunk);

    EncoderArgv argv(vector);
    BlockingTarget target;
    int rc = DllConvert(&target, argv.argc(), argv.argv());
    int result = -1;
    if (rc == 0) {
        std::unique_lock guard(target.lock);
        bool stopAsked = false;
        while (!target.done) {
            target.changed.wait_for(guard, std::chrono::milliseconds(100));
            if (interrupt && !stopAsked && !target.done) {
                stopAsked = true;
                guard.unlock();
                DllStop();
                guard.lock();
            }
        }
        result = int(target.result);
    }
    // The engine may still be on its way out of the callback: detach it first.
    DllSetInfoCallBack(nullptr);
    {
        std::lock_guard guard(g_statusLock);
        g_onStatus = nullptr;
    }
    return result;
}
