#include "engine/laneworker.h"

#include <chrono>

namespace zelo {

namespace {
// Enough to ride out the demuxer's interleaving, small enough that the
// sound never runs far ahead of the pictures.
constexpr size_t kQueuedPackets = 128;
// A stop is a flag, not a notification: waits look at it this often.
constexpr auto kStopCheck = std::chrono::milliseconds(20);
} // namespace

LaneWorker::LaneWorker(Work work, const std::atomic<bool> &stop)
    : m_work(std::move(work)), m_stop(stop), m_thread(&LaneWorker::run, this)
{}

LaneWorker::~LaneWorker()
{
    {
        std::lock_guard lock(m_lock);
        m_abandoned = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool LaneWorker::push(AVPacket *pkt)
{
    PacketPtr copy = makePacket();
    if (!copy)
        return false;
    av_packet_move_ref(copy.get(), pkt);
    std::unique_lock lock(m_lock);
    while (m_queue.size() >= kQueuedPackets && !m_failed && !stopped())
        m_changed.wait_for(lock, kStopCheck);
    if (m_failed || stopped())
        return false;
    m_queue.push_back(std::move(copy));
    m_changed.notify_all();
    return true;
}

bool LaneWorker::finish(std::string &error)
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

void LaneWorker::run()
{
    for (;;) {
        PacketPtr pkt;
        {
            std::unique_lock lock(m_lock);
            while (m_queue.empty() && !m_inputEnded && !m_abandoned && !stopped())
                m_changed.wait_for(lock, kStopCheck);
            if (m_abandoned || stopped())
                return;
            if (m_queue.empty())
                break; // input ended and all worked through
            pkt = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_changed.notify_all();
        std::string error;
        if (!m_work(pkt.get(), error)) {
            std::lock_guard lock(m_lock);
            m_failed = true;
            m_error = error;
            m_changed.notify_all();
            return;
        }
    }
    std::string error;
    if (!m_work(nullptr, error)) {
        std::lock_guard lock(m_lock);
        m_failed = true;
        m_error = error;
    }
}

} // namespace zelo
