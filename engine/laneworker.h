// A stream's decoding and encoding on a thread of its own, fed packets by
// the demuxing thread, so that sound is encoded while pictures are.
#pragma once

#include "engine/handoff.h"

namespace zelo {

class LaneWorker : public HandOff<AVPacket>
{
public:
    // Enough to ride out the demuxer's interleaving, small enough that the
    // sound never runs far ahead of the pictures.
    static constexpr size_t kQueuedPackets = 128;

    LaneWorker(Work work, const std::atomic<bool> &stop)
        : HandOff(std::move(work), &stop, kQueuedPackets)
    {}
};

} // namespace zelo
