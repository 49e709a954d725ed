#include "engine/engine.h"

#include "engine/conversion.h"
#include "engine/convertoptions.h"
#include "engine/progressreporter.h"

#include <exception>

namespace zelo {

Engine &Engine::instance()
{
    static Engine engine;
    return engine;
}

Engine::~Engine()
{
    // A host that never called MyDll_UnInit still must not die in
    // std::terminate at exit.
    shutdown();
}

int Engine::start(MessageTarget *window, std::vector<std::string> args)
{
    if (!window || !window->post)
        return -1;
    bool failed = false;
    std::string failure;
    {
        std::lock_guard lock(m_lock);
        if (m_busy)
            return 1;
        // The previous conversion has posted its end (or is about to): its
        // thread has nothing left to do.
        if (m_thread.joinable())
            m_thread.join();
        m_stop.store(false);
        m_busy = true;
        try {
            m_thread = std::thread(&Engine::run, this, window, std::move(args));
        } catch (const std::exception &e) {
            m_busy = false;
            failed = true;
            failure = e.what();
        }
    }
    // The status callback is never called under the lock: it may call back
    // into the engine.
    if (failed) {
        sendLine("error: cannot start the engine thread: " + failure);
        window->post(window, WM_CONVERT_DONE, CONVERT_DONE_FAILED, 0);
    }
    return 0;
}

void Engine::stop()
{
    m_stop.store(true);
}

void Engine::shutdown()
{
    stop();
    std::thread finished;
    {
        std::lock_guard lock(m_lock);
        finished = std::move(m_thread);
    }
    if (finished.joinable())
        finished.join();
}

void Engine::sendLine(const std::string &line) const
{
    if (StatusLineCallback cb = m_status.load())
        cb(line.c_str());
}

void Engine::run(MessageTarget *window, std::vector<std::string> args)
{
    ProgressReporter progress([this](const std::string &line) { sendLine(line); });
    ConversionResult result = ConversionResult::Failed;
    try {
        ConvertOptions options;
        std::string error;
        if (!parseConvertOptions(args, options, error)) {
            progress.error(error);
        } else {
            Conversion conversion(std::move(options), m_stop, progress);
            result = conversion.run();
        }
    } catch (const std::exception &e) {
        progress.error(std::string("internal failure: ") + e.what());
        result = ConversionResult::Failed;
    }
    uintptr_t code = result == ConversionResult::Complete  ? CONVERT_DONE_COMPLETE
                     : result == ConversionResult::Stopped ? CONVERT_DONE_STOPPED
                                                           : CONVERT_DONE_FAILED;
    {
        // Idle before the end message: the receiver starts the next clip
        // right away.
        std::lock_guard lock(m_lock);
        m_busy = false;
    }
    window->post(window, WM_CONVERT_DONE, code, 0);
}

} // namespace zelo
