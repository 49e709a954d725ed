// One decoder fed from the demuxer, with every frame placed on the clip's
// timeline (microseconds from the file's origin).
#pragma once

#include "engine/avptr.h"
#include "engine/picturepackets.h"

namespace zelo {

class StreamDecoder
{
public:
    StreamDecoder(CodecContextPtr ctx, const AVStream *stream, int64_t originUs);

    int streamIndex() const { return m_index; }
    const AVCodecContext *context() const { return m_ctx.get(); }

    // Feeds one packet; nullptr starts draining. A damaged packet is skipped:
    // one bad packet must not end a conversion.
    void send(const AVPacket *pkt);
    // The next packets' pictures are left out when no other picture refers
    // to them, for the codecs where that is certain and once the stream has
    // shown one whole picture in each packet; the rest decode all.
    void skipUnreferenced(bool skip);
    // True with the next frame; false when the decoder wants input or is
    // drained (see drained()).
    bool receive(AVFrame *frame);
    bool drained() const { return m_drained; }
    // Forget everything in flight, after a seek.
    void reset();

    // Start of the frame last received, and where the next one should start.
    int64_t frameStartUs() const { return m_frameStartUs; }
    int64_t frameEndUs() const { return m_nextUs; }
    // The start of the frame last received in the stream's own time base,
    // as exact as the file gives it (its origin not taken off).
    int64_t frameStartTicks() const { return m_frameStartTicks; }
    // So far every frame came out at its own packet's time, later than the
    // one before: a packet's time then tells where its frame will be.
    bool timesFollowPackets() const { return m_received > 0 && m_timesFollowPackets; }

private:
    int64_t durationUs(const AVFrame *frame) const;

    CodecContextPtr m_ctx;
    const AVStream *m_stream;
    PicturePackets m_packets;
    bool m_skipping = false;
    AVRational m_timeBase;
    AVRational m_frameRate;
    int m_index;
    int64_t m_originUs;
    int64_t m_frameStartUs = AV_NOPTS_VALUE;
    int64_t m_frameStartTicks = AV_NOPTS_VALUE;
    int64_t m_nextUs = AV_NOPTS_VALUE;
    bool m_drained = false;
    int64_t m_received = 0;
    bool m_timesFollowPackets = true;
};

} // namespace zelo
