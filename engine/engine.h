// The engine's one conversion at a time, on a thread of its own.
#pragma once

#include "engine/encoder.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelo {

class Engine
{
public:
    static Engine &instance();

    void setStatusCallback(StatusLineCallback cb) { m_status.store(cb); }

    // Starts converting; 0 when started (the end message will follow), non-
    // zero when a conversion is already running or window cannot take
    // messages (nothing will be posted then).
    int start(MessageTarget *window, std::vector<std::string> args);
    // Asks the running conversion to end; returns at once.
    void stop();
    // Stops and waits for the engine thread.
    void shutdown();

private:
    Engine() = default;
    ~Engine();

    void run(MessageTarget *window, std::vector<std::string> args);
    void sendLine(const std::string &line) const;

    std::mutex m_lock;
    std::thread m_thread; // guarded by m_lock
    bool m_busy = false;  // guarded by m_lock
    std::atomic<bool> m_stop{false};
    std::atomic<StatusLineCallback> m_status{nullptr};
};

} // namespace zelo
