#include "engine/unseenpictures.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>

namespace zelo {

namespace {
// Further back than any decoder reorders its pictures.
constexpr size_t kRemembered = 64;
} // namespace

UnseenPictures::UnseenPictures(int64_t startUs, int64_t endUs, AVRational outputRate,
                               AVRational timeBase, int64_t originUs)
    : m_startUs(startUs), m_endUs(endUs),
      // The rate filter takes its rate as a number and back, as done here.
      m_slot(av_inv_q(av_d2q(av_q2d(outputRate), INT_MAX))), m_timeBase(timeBase),
      m_originUs(originUs), m_startTicks(av_rescale_q(originUs + startUs, AV_TIME_BASE_Q, timeBase))
{}

void UnseenPictures::noteRead(int64_t pts)
{
    if (pts == AV_NOPTS_VALUE)
        return;
    m_recent.push_back(pts);
    if (m_recent.size() > kRemembered)
        m_recent.pop_front();
}

int64_t UnseenPictures::microseconds(int64_t ticks) const
{
    return av_rescale_q(ticks, m_timeBase, AV_TIME_BASE_Q) - m_originUs;
}

int64_t UnseenPictures::slotOf(int64_t pts) const
{
    // What the filter does with a picture's time, which counts from the
    // trim start.
    return av_rescale_q_rnd(pts - m_startTicks - m_delayTicks, m_timeBase, m_slot,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

bool UnseenPictures::neverShown(int64_t pts) const
{
    if (pts == AV_NOPTS_VALUE || m_slot.num <= 0 || m_slot.den <= 0)
        return false;
    const int64_t startUs = microseconds(pts);
    if (startUs < m_startUs) {
        // Lead-in: a later picture starts at the trim start or before it.
        return std::any_of(m_recent.begin(), m_recent.end(),
                           [&](int64_t t) { return t > pts && microseconds(t) <= m_startUs; });
    }
    if (startUs >= m_endUs)
        return false;
    // An earlier picture already inside the range: this one is not the
    // first, which stands in for every slot before it.
    const bool after = std::any_of(m_recent.begin(), m_recent.end(), [&](int64_t t) {
        return microseconds(t) >= m_startUs && t < pts;
    });
    if (!after)
        return false;
    // A later picture, still inside the range, in the same slot.
    const int64_t slot = slotOf(pts);
    return std::any_of(m_recent.begin(), m_recent.end(), [&](int64_t t) {
        return t > pts && microseconds(t) < m_endUs && slotOf(t) == slot;
    });
}

} // namespace zelo
