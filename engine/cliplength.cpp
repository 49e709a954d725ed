#include "engine/cliplength.h"

#include "engine/mediainput.h"

#include <algorithm>

namespace zelo {

namespace {

// Enough of a file's end to hold a few seconds of any sensible bit rate.
constexpr int64_t kTailBytes = 4 << 20;
// Far past any real clip, yet safe from overflow when rescaled.
constexpr int64_t kBeyondAnyEndUs = int64_t(1) << 42;

struct Span
{
    int64_t firstUs = INT64_MAX; // earliest packet start seen
    int64_t lastUs = INT64_MIN;  // latest packet end seen
    int64_t summedUs = 0;        // all packet durations, for streams without times
    bool reachedEnd = false;     // read to the end of the file, not cut short
    bool timed() const { return lastUs != INT64_MIN; }
};

Span readToEnd(MediaInput &input, const AVStream *ref, const Interrupter &deadline)
{
    const AVRational rate = ref->avg_frame_rate.num > 0 ? ref->avg_frame_rate : AVRational{25, 1};
    const int64_t oneFrame = av_rescale_q(1, av_inv_q(rate), ref->time_base);
    Span span;
    PacketPtr pkt = makePacket();
    while (pkt) {
        if (deadline.expired())
            return span;
        if (av_read_frame(input.format(), pkt.get()) < 0)
            break; // the end, or damage that ends the file there for any reader
        if (pkt->stream_index == ref->index) {
            const int64_t duration = pkt->duration > 0 ? pkt->duration : oneFrame;
            const int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
            if (ts != AV_NOPTS_VALUE) {
                span.firstUs =
                    std::min(span.firstUs, av_rescale_q(ts, ref->time_base, AV_TIME_BASE_Q));
                span.lastUs = std::max(span.lastUs,
                                       av_rescale_q(ts + duration, ref->time_base, AV_TIME_BASE_Q));
            }
            span.summedUs += av_rescale_q(duration, ref->time_base, AV_TIME_BASE_Q);
        }
        av_packet_unref(pkt.get());
    }
    span.reachedEnd = pkt != nullptr;
    return span;
}

// Moves the demuxer near the end: to the last key frame its index knows,
// else a few megabytes before the end where the format can find its feet
// anywhere.
bool seekToTail(AVFormatContext *fmt, const AVStream *ref, int64_t size)
{
    const int64_t beyond = av_rescale_q(kBeyondAnyEndUs, AV_TIME_BASE_Q, ref->time_base);
    if (av_seek_frame(fmt, ref->index, beyond, AVSEEK_FLAG_BACKWARD) >= 0)
        return true;
    return !(fmt->iformat->flags & AVFMT_NO_BYTE_SEEK) &&
           av_seek_frame(fmt, -1, std::max<int64_t>(0, size - kTailBytes), AVSEEK_FLAG_BYTE) >= 0;
}

} // namespace

int64_t ClipExtent::lengthUs() const
{
    if (endUs == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    const int64_t length = endUs - (startUs == AV_NOPTS_VALUE ? 0 : startUs);
    return length > 0 ? length : AV_NOPTS_VALUE;
}

ClipExtent measureExtent(MediaInput &input, const Interrupter &deadline, int64_t readThroughBytes)
{
    ClipExtent extent{AV_NOPTS_VALUE, AV_NOPTS_VALUE};
    const AVStream *ref = input.videoStream() ? input.videoStream() : input.audioStream();
    AVFormatContext *fmt = input.format();
    if (!ref || !fmt->pb)
        return extent;
    const int64_t origin = input.originUs();
    const int64_t size = avio_size(fmt->pb);
    if (size >= 0 && size <= readThroughBytes) {
        // The packets read while the streams were examined come first: this
        // is the whole file from its start.
        const Span whole = readToEnd(input, ref, deadline);
        if (!whole.reachedEnd)
            return extent;
        if (whole.timed())
            extent = {whole.firstUs - origin, whole.lastUs - origin};
        else if (whole.summedUs > 0)
            extent = {0, whole.summedUs};
        return extent;
    }
    if (ref->start_time != AV_NOPTS_VALUE)
        extent.startUs = av_rescale_q(ref->start_time, ref->time_base, AV_TIME_BASE_Q) - origin;
    if (!seekToTail(fmt, ref, size))
        return extent;
    const Span tail = readToEnd(input, ref, deadline);
    if (tail.reachedEnd && tail.timed())
        extent.endUs = tail.lastUs - origin;
    return extent;
}

} // namespace zelo
