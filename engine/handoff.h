// Work handed from one thread to another through a short queue: the
// demuxing thread passes a stream's packets to that stream's own thread, the
// decoding thread passes pictures to the thread that filters and encodes
// them, so that the stages of a conversion run side by side.
#pragma once

#include "engine/avptr.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zelo {

namespace handoff {
inline PacketPtr take(AVPacket *from)
{
    PacketPtr copy = makePacket();
    if (copy)
        av_packet_move_ref(copy.get(), from);
    return copy;
}
inline FramePtr take(AVFrame *from)
{
    FramePtr copy = makeFrame();
    if (copy)
        av_frame_move_ref(copy.get(), from);
    return copy;
}
// A stop is a flag, not a notification: waits look at it this often.
constexpr auto kStopCheck = std::chrono::milliseconds(20);
} // namespace handoff

// Item is AVPacket or AVFrame.
template <class Item> class HandOff
{
public:
    // work gets each item in order, then nullptr at the end of input; it
    // returns false with a reason to give up.
    using Work = std::function<bool(Item *, std::string &)>;

    // stop, when given, may be raised from any thread: the work then ends
    // without going through the rest. At most depth items wait.
    HandOff(Work work, const std::atomic<bool> *stop, size_t depth)
        : m_work(std::move(work)), m_stop(stop), m_depth(depth), m_thread(&HandOff::run, this)
    {}
    // Abandons the rest and waits for the thread.
    ~HandOff()
    {
        {
            std::lock_guard lock(m_lock);
            m_abandoned = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    HandOff(const HandOff &) = delete;
    HandOff &operator=(const HandOff &) = delete;

    // Queues the item (takes its data), waiting while the queue is full.
    // False when the work has given up or a stop was requested.
    bool push(Item *item)
    {
        auto copy = handoff::take(item);
        if (!copy)
            return false;
        std::unique_lock lock(m_lock);
        while (m_queue.size() >= m_depth && !m_failed && !stopped())
            m_changed.wait_for(lock, handoff::kStopCheck);
        if (m_failed || stopped())
            return false;
        m_queue.push_back(std::move(copy));
        m_changed.notify_all();
        return true;
    }

    // No more items: waits until everything queued has been worked through.
    // False with the work's reason when it gave up.
    bool finish(std::string &error)
    {
        {
            std::lock_guard lock(m_lock);
            m_inputEnded = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        std::lock_guard lock(m_lock);
        if (m_failed)
            error = m_error;
        return !m_failed;
    }

private:
    using ItemPtr = decltype(handoff::take(static_cast<Item *>(nullptr)));

    bool stopped() const { return m_stop && m_stop->load(std::memory_order_relaxed); }

    void run()
    {
        for (;;) {
            ItemPtr item;
            {
                std::unique_lock lock(m_lock);
                while (m_queue.empty() && !m_inputEnded && !m_abandoned && !stopped())
                    m_changed.wait_for(lock, handoff::kStopCheck);
                if (m_abandoned || stopped())
                    return;
                if (m_queue.empty())
                    break; // input ended and all worked through
                item = std::move(m_queue.front());
                m_queue.pop_front();
            }
            m_changed.notify_all();
            if (!doWork(item.get()))
                return;
        }
        doWork(nullptr);
    }

    bool doWork(Item *item)
    {
        std::string error;
        if (m_work(item, error))
            return true;
        std::lock_guard lock(m_lock);
        m_failed = true;
        m_error = error;
        m_changed.notify_all();
        return false;
    }

    Work m_work;
    const std::atomic<bool> *m_stop;
    const size_t m_depth;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<ItemPtr> m_queue; // guarded by m_lock
    bool m_inputEnded = false;   // guarded by m_lock
    bool m_abandoned = false;    // guarded by m_lock
    bool m_failed = false;       // guarded by m_lock
    std::string m_error;         // guarded by m_lock
    std::thread m_thread;        // last: starts once the rest is ready
};

} // namespace zelo
