// A stream's decoding and encoding on a thread of its own, fed packets by
// the demuxing thread, so that sound is encoded while pictures are.
#pragma once

#include "engine/avptr.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zelo {

class LaneWorker
{
public:
    // work gets each packet in order, then nullptr at the end of input; it
    // returns false with a reason to give up.
    using Work = std::function<bool(const AVPacket *, std::string &)>;

    LaneWorker(Work work, const std::atomic<bool> &stop);
    ~LaneWorker(); // abandons the rest and waits for the thread
    LaneWorker(const LaneWorker &) = delete;
    LaneWorker &operator=(const LaneWorker &) = delete;

    // Queues the packet (takes its data), waiting while the queue is full.
    // False when the worker has given up or a stop was requested.
    bool push(AVPacket *pkt);
    // No more packets: waits until everything queued has been worked
    // through. False with the worker's reason when it gave up.
    bool finish(std::string &error);

private:
    void run();
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }

    Work m_work;
    const std::atomic<bool> &m_stop;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<PacketPtr> m_queue; // guarded by m_lock
    bool m_inputEnded = false;     // guarded by m_lock
    bool m_abandoned = false;      // guarded by m_lock
    bool m_failed = false;         // guarded by m_lock
    std::string m_error;           // guarded by m_lock
    std::thread m_thread;          // last: starts once the rest is ready
};

} // namespace zelo
