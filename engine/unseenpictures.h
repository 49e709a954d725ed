// Which pictures of the source never reach the output, told before they are
// decoded, so that the decoder can leave out those no other picture needs
// (the unreferenced B pictures of H.264, MPEG-2, MPEG-4 and the like).
//
// Two kinds are never shown: pictures followed by another before the trim
// start (the lead-in decoded after a seek to the key frame before it; a
// picture lasts until the next one), and pictures
// that the rate change drops. The rate change ("fps" with start_time=0 and
// round=near) puts each picture into the output slot nearest its time; of
// the pictures that fall into one slot, only the last shows. A picture is
// called unseen only when a later picture of its slot is known to be passed
// on as well and an earlier one already was, so that leaving it out changes
// no output picture.
#pragma once

#include <cstdint>
#include <deque>

extern "C" {
#include <libavutil/avutil.h>
}

namespace zelo {

class UnseenPictures
{
public:
    // Pictures from startUs (inclusive) to endUs (exclusive), microseconds
    // on the clip's timeline, are passed on; outputRate is the rate they are
    // converted to. Packet times are in the stream's own timeBase, from
    // before the file's origin is taken off, so that output slots are told
    // from exact times, as the rate filter is given them.
    UnseenPictures(int64_t startUs, int64_t endUs, AVRational outputRate,
                   AVRational timeBase = AV_TIME_BASE_Q, int64_t originUs = 0);

    // A picture packet was read; its pts (AV_NOPTS_VALUE when the packet
    // has no time). Each is noted before any is asked about.
    void noteRead(int64_t pts);

    // Whether the picture whose packet has this pts is never shown;
    // AV_NOPTS_VALUE is never called unseen.
    bool neverShown(int64_t pts) const;

    // The pictures are passed on this many ticks earlier than their times.
    void delayBy(int64_t ticks) { m_delayTicks = ticks; }

private:
    int64_t microseconds(int64_t ticks) const;
    int64_t slotOf(int64_t pts) const;

    int64_t m_startUs;
    int64_t m_endUs;
    AVRational m_slot; // the length of one output picture
    AVRational m_timeBase;
    int64_t m_originUs;
    int64_t m_startTicks; // the trim start in the stream's time base
    int64_t m_delayTicks = 0;
    std::deque<int64_t> m_recent; // pts of the last packets read
};

} // namespace zelo
