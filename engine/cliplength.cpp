#include "engine/cliplength.h"

#include "engine/mediainput.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zelo {

namespace {

// How far before the last indexed packet to start: past any reordering.
constexpr int64_t kTailUs = 2 * AV_TIME_BASE;
// Far past any real clip, yet safe from overflow when rescaled.
constexpr int64_t kBeyondAnyEndUs = int64_t(1) << 42;

struct Span
{
    int64_t firstUs = INT64_MAX; // earliest packet start seen
    int64_t lastUs = INT64_MIN;  // latest packet end seen
    int64_t summedUs = 0;        // all packet durations, for streams without times
    bool reachedEnd = false;     // read to the end of the file, not cut short
    bool mainTimed = false;      // a timed packet of the main stream was seen
    // A tail without the main stream's packets may end before it does.
    bool timed() const { return mainTimed; }
};

// One frame of stream, for packets that do not say how long they last.
int64_t oneFrame(const AVStream *stream)
{
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        const int samples = stream->codecpar->frame_size > 0 ? stream->codecpar->frame_size : 1024;
        return av_rescale_q(samples, AVRational{1, std::max(1, stream->codecpar->sample_rate)},
                            stream->time_base);
    }
    const AVRational rate =
        stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : AVRational{25, 1};
    return av_rescale_q(1, av_inv_q(rate), stream->time_base);
}

// Reads on from where input stands. Every stream that is converted counts:
// sound that goes on after the last picture is part of the clip. The
// durations are summed of the main stream only (the first one).
Span readToEnd(MediaInput &input, const std::vector<const AVStream *> &streams,
               const Interrupter &deadline)
{
    Span span;
    std::vector<std::vector<PacketTimes>> times(streams.size());
    PacketPtr pkt = makePacket();
    while (pkt) {
        if (deadline.expired())
            return span;
        if (av_read_frame(input.format(), pkt.get()) < 0)
            break; // the end, or damage that ends the file there for any reader
        for (size_t s = 0; s < streams.size(); ++s) {
            const AVStream *stream = streams[s];
            // Packets the demuxer marks for discard (outside an edit list,
            // or given away by a damaged table) are never shown.
            if (pkt->stream_index != stream->index || (pkt->flags & AV_PKT_FLAG_DISCARD))
                continue;
            const int64_t duration = pkt->duration > 0 ? pkt->duration : oneFrame(stream);
            const int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
            if (ts != AV_NOPTS_VALUE) {
                // Packets before the stream's start (a sound encoder's
                // priming, cut by an edit list) are never heard.
                const int64_t from =
                    stream->start_time != AV_NOPTS_VALUE ? std::max(ts, stream->start_time) : ts;
                times[s].push_back(
                    {av_rescale_q(from, stream->time_base, AV_TIME_BASE_Q),
                     av_rescale_q(ts + duration, stream->time_base, AV_TIME_BASE_Q)});
                span.mainTimed = span.mainTimed || s == 0;
            }
            if (s == 0)
                span.summedUs += av_rescale_q(duration, stream->time_base, AV_TIME_BASE_Q);
        }
        av_packet_unref(pkt.get());
    }
    span.reachedEnd = pkt != nullptr;
    std::vector<std::vector<PacketTimes>> runs;
    for (const std::vector<PacketTimes> &stream : times)
        runs.push_back(contentRuns(stream));
    // A run that leaps away from a stream's start where no other stream
    // goes is damage too: a real break (recordings joined) moves them all.
    const auto sharedWith = [&](size_t s, const PacketTimes &run) {
        for (size_t other = 0; other < runs.size(); ++other) {
            if (other == s)
                continue;
            for (const PacketTimes &near : runs[other])
                if (near.fromUs <= run.toUs + kFarLeapUs && run.fromUs <= near.toUs + kFarLeapUs)
                    return true;
        }
        return false;
    };
    const bool others =
        std::count_if(runs.begin(), runs.end(), [](const auto &r) { return !r.empty(); }) > 1;
    for (size_t s = 0; s < runs.size(); ++s) {
        for (size_t r = 0; r < runs[s].size(); ++r) {
            if (r > 0 && others && !sharedWith(s, runs[s][r]))
                continue;
            span.firstUs = std::min(span.firstUs, runs[s][r].fromUs);
            span.lastUs = std::max(span.lastUs, runs[s][r].toUs);
        }
    }
    return span;
}

// The ways to the end of a file without reading what lies before it, best
// first; each is tried until one gives timed packets of the stream.
enum class TailSeek
{
    IndexEnd, // an index that reaches the end (MP4, AVI, Matroska cues)
    Bytes,    // a jump; formats whose packets carry their own times resync
    LastKey,  // the demuxer's own way (a fragmented MP4's fragment index)
};

bool seekToTail(AVFormatContext *fmt, AVStream *ref, int64_t size, int64_t tailBytes, TailSeek how)
{
    switch (how) {
    case TailSeek::IndexEnd: {
        // A little before the last packets, key frame or not: past any
        // reordering.
        // The last packet the file still holds: an index written first
        // outlives the end of a file cut short.
        const AVIndexEntry *last = nullptr;
        for (int i = avformat_index_get_entries_count(ref) - 1; i >= 0 && !last; --i) {
            const AVIndexEntry *entry = avformat_index_get_entry(ref, i);
            if (entry->pos + entry->size <= size)
                last = entry;
        }
        if (!last || last->pos < size - tailBytes)
            return false;
        const int64_t back = av_rescale_q(kTailUs, AV_TIME_BASE_Q, ref->time_base);
        return av_seek_frame(fmt, ref->index, last->timestamp - back,
                             AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) >= 0;
    }
    case TailSeek::Bytes: {
        // AVI counts its frames instead of timing them: after a jump its
        // times would be wrong.
        const bool counted = std::strcmp(fmt->iformat->name, "avi") == 0;
        return !(fmt->iformat->flags & AVFMT_NO_BYTE_SEEK) && !counted &&
               av_seek_frame(fmt, -1, std::max<int64_t>(0, size - tailBytes), AVSEEK_FLAG_BYTE) >=
                   0;
    }
    case TailSeek::LastKey: {
        const int64_t beyond = av_rescale_q(kBeyondAnyEndUs, AV_TIME_BASE_Q, ref->time_base);
        return av_seek_frame(fmt, ref->index, beyond, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    }
    return false;
}

} // namespace

std::vector<PacketTimes> contentRuns(const std::vector<PacketTimes> &packets)
{
    // Runs of packets in file order, each within a leap of the one before.
    std::vector<std::pair<size_t, size_t>> runs; // first and one past the last
    for (size_t i = 0; i < packets.size(); ++i) {
        if (i > 0 && std::abs(packets[i].fromUs - packets[i - 1].fromUs) <= kFarLeapUs)
            runs.back().second = i + 1;
        else
            runs.emplace_back(i, i + 1);
    }
    const auto near = [&](int64_t a, int64_t b) { return std::abs(a - b) <= kFarLeapUs; };
    const auto nearRun = [&](int64_t at, size_t r) {
        return near(at, packets[runs[r].first].fromUs) ||
               near(at, packets[runs[r].second - 1].fromUs);
    };
    const auto spanOf = [&](size_t first, size_t end) {
        PacketTimes span{INT64_MAX, INT64_MIN};
        for (size_t i = first; i < end; ++i)
            span = {std::min(span.fromUs, packets[i].fromUs), std::max(span.toUs, packets[i].toUs)};
        return span;
    };
    std::vector<PacketTimes> kept;
    int64_t anchorUs = AV_NOPTS_VALUE; // the last packet kept
    for (size_t r = 0; r < runs.size(); ++r) {
        const auto [first, end] = runs[r];
        const int64_t at = packets[first].fromUs;
        bool damaged = false;
        if (end - first == 1) {
            // A lone packet belongs to the content when some run lies near it.
            damaged = runs.size() > 1;
            for (size_t other = 0; other < runs.size() && damaged; ++other)
                damaged = other == r || !nearRun(at, other);
        } else if (anchorUs != AV_NOPTS_VALUE && !near(at, anchorUs)) {
            // A real break never comes back to where the stream left off.
            for (size_t later = r + 1; later < runs.size() && !damaged; ++later)
                damaged = near(packets[runs[later].first].fromUs, anchorUs);
        }
        if (damaged)
            continue;
        kept.push_back(spanOf(first, end));
        anchorUs = packets[end - 1].fromUs;
    }
    // Nothing but lone packets far apart (two pictures of a slide show, say)
    // is no damage to leave out.
    if (kept.empty() && !packets.empty())
        kept.push_back(spanOf(0, packets.size()));
    return kept;
}

int64_t ClipExtent::lengthUs() const
{
    if (endUs == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    const int64_t length = endUs - (startUs == AV_NOPTS_VALUE ? 0 : startUs);
    return length > 0 ? length : AV_NOPTS_VALUE;
}

ClipExtent measureExtent(MediaInput &input, const Interrupter &deadline, int64_t readThroughBytes,
                         int64_t tailBytes)
{
    ClipExtent extent{AV_NOPTS_VALUE, AV_NOPTS_VALUE};
    AVStream *ref = input.videoStream() ? input.videoStream() : input.audioStream();
    AVFormatContext *fmt = input.format();
    if (!ref || !fmt->pb)
        return extent;
    std::vector<const AVStream *> streams{ref};
    if (input.audioStream() && input.audioStream() != ref)
        streams.push_back(input.audioStream());
    const int64_t origin = input.originUs();
    const int64_t size = avio_size(fmt->pb);
    if (size >= 0 && size <= readThroughBytes) {
        // The packets read while the streams were examined come first: this
        // is the whole file from its start.
        const Span whole = readToEnd(input, streams, deadline);
        if (!whole.reachedEnd)
            return extent;
        if (whole.timed())
            extent = {whole.firstUs - origin, whole.lastUs - origin};
        else if (whole.summedUs > 0)
            extent = {0, whole.summedUs};
        return extent;
    }
    for (const AVStream *stream : streams) {
        if (stream->start_time == AV_NOPTS_VALUE)
            continue;
        const int64_t start =
            av_rescale_q(stream->start_time, stream->time_base, AV_TIME_BASE_Q) - origin;
        extent.startUs = extent.startUs == AV_NOPTS_VALUE ? start : std::min(extent.startUs, start);
    }
    for (TailSeek how : {TailSeek::IndexEnd, TailSeek::Bytes, TailSeek::LastKey}) {
        if (deadline.expired() || !seekToTail(fmt, ref, size, tailBytes, how))
            continue;
        const Span tail = readToEnd(input, streams, deadline);
        if (tail.reachedEnd && tail.timed()) {
            extent.endUs = tail.lastUs - origin;
            break;
        }
    }
    return extent;
}

} // namespace zelo
