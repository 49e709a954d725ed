#include "engine/picturepackets.h"

extern "C" {
#include <libavutil/avutil.h>
}

#include <algorithm>

namespace zelo {

namespace {
// Further ahead than any decoder holds pictures back.
constexpr size_t kWaitingAtMost = 64;
} // namespace

void PicturePackets::sent(int64_t pts, bool mayBeSkipped)
{
    if (m_halves)
        return;
    if (pts == AV_NOPTS_VALUE || m_waiting.size() >= kWaitingAtMost) {
        m_halves = true; // nothing to tell pictures by
        return;
    }
    const auto later = std::upper_bound(m_waiting.begin(), m_waiting.end(), pts,
                                        [](int64_t t, const Waiting &w) { return t < w.pts; });
    m_waiting.insert(later, Waiting{pts, mayBeSkipped});
}

void PicturePackets::received(int64_t pts)
{
    if (m_halves || pts == AV_NOPTS_VALUE)
        return;
    // Pictures come out in the order they are shown: a packet of an earlier
    // time, decoded in full, that is still waiting made no picture of its
    // own.
    while (!m_waiting.empty() && m_waiting.front().pts <= pts) {
        const Waiting w = m_waiting.front();
        m_waiting.pop_front();
        if (w.pts < pts && !w.mayBeSkipped) {
            m_halves = true;
            return;
        }
    }
    ++m_received;
}

} // namespace zelo
