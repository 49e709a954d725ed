// Whether a picture stream carries one whole picture in each packet, told
// from the packets' times and the times of the pictures the decoder makes
// of them. Only then may a packet be left undecoded for its own picture's
// sake: a camcorder's interlaced H.264 sends each field as a packet of its
// own, and the first field of a pair, whose time falls into the same
// output slot as the second's, is half of a picture that is shown.
#pragma once

#include <cstdint>
#include <deque>

namespace zelo {

class PicturePackets
{
public:
    // The stream's parser saw a picture coded as a field: never whole.
    void noteFieldCoded() { m_halves = true; }
    // A packet went to the decoder; mayBeSkipped when the decoder was
    // allowed to leave it out.
    void sent(int64_t pts, bool mayBeSkipped);
    // The decoder made a picture with this time.
    void received(int64_t pts);
    // Two pictures came out so far, each at a packet's time, and no packet
    // sent before the latest of them went without a picture of its own.
    bool wholePictures() const { return !m_halves && m_received >= 2; }

private:
    struct Waiting
    {
        int64_t pts;
        bool mayBeSkipped;
    };
    std::deque<Waiting> m_waiting; // packets sent without a picture yet, by time
    int m_received = 0;
    bool m_halves = false;
};

} // namespace zelo
