#include "engine/probe.h"

#include "engine/cliplength.h"
#include "engine/mediainput.h"

#include <chrono>
#include <limits>

namespace zelo {

namespace {

constexpr auto kProbeBudget = std::chrono::seconds(5);

// A stream without index or timestamps (raw H.264 from a camera, say) only
// tells its length by being read through: add up its packets' durations.
int64_t lengthByReading(MediaInput &input, const Interrupter &deadline)
{
    const AVStream *ref = input.videoStream() ? input.videoStream() : input.audioStream();
    const AVRational rate = ref->avg_frame_rate.num > 0 ? ref->avg_frame_rate : AVRational{25, 1};
    if (avformat_seek_file(input.format(), -1, 0, 0, 0, AVSEEK_FLAG_BYTE) < 0)
        return AV_NOPTS_VALUE;
    PacketPtr pkt = makePacket();
    int64_t total = 0;
    while (pkt && !deadline.expired() && av_read_frame(input.format(), pkt.get()) >= 0) {
        if (pkt->stream_index == ref->index)
            total += pkt->duration > 0 ? av_rescale_q(pkt->duration, ref->time_base, AV_TIME_BASE_Q)
                                       : av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q);
        av_packet_unref(pkt.get());
    }
    return total > 0 ? total : AV_NOPTS_VALUE;
}

// What the header says the picture lasts, from its own start: a picture
// that starts late (a B-frame delay kept without an edit list) does not
// last longer for it.
int64_t pictureLengthUs(const MediaInput &input)
{
    const AVStream *video = input.videoStream();
    if (!video || video->duration == AV_NOPTS_VALUE || video->duration <= 0)
        return AV_NOPTS_VALUE;
    return av_rescale_q(video->duration, video->time_base, AV_TIME_BASE_Q);
}

} // namespace

int32_t wholeSecondsUp(int64_t us)
{
    if (us <= 0)
        return 0;
    constexpr int64_t slack = 1000;
    int64_t seconds = (us - slack + AV_TIME_BASE - 1) / AV_TIME_BASE;
    if (seconds < 1)
        seconds = 1; // a one-frame clip still lasts
    return seconds > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                         : static_cast<int32_t>(seconds);
}

bool probeClip(const std::string &path, ClipFacts &facts, std::string &error)
{
    const Interrupter deadline = Interrupter::withDeadline(kProbeBudget);
    MediaInput input;
    if (!input.open(path, &deadline, error))
        return false;
    ClipFacts f;
    // The packets of the picture and the sound tell the clip's length: a
    // conversion of the whole clip keeps sound that outlasts the pictures.
    int64_t duration = measureExtent(input, deadline).lengthUs();
    if (duration == AV_NOPTS_VALUE)
        duration = pictureLengthUs(input);
    if (duration == AV_NOPTS_VALUE)
        duration = input.durationUs();
    if (duration == AV_NOPTS_VALUE)
        duration = lengthByReading(input, deadline);
    f.durationSeconds = duration == AV_NOPTS_VALUE ? 0 : wholeSecondsUp(duration);
    if (const AVStream *video = input.videoStream()) {
        f.videoFormat = avcodec_get_name(video->codecpar->codec_id);
        DisplayGeometry g = input.videoGeometry();
        f.width = g.width;
        f.height = g.height;
    } else {
        f.videoFormat = "unknown";
    }
    const AVStream *audio = input.audioStream();
    f.audioFormat = audio ? avcodec_get_name(audio->codecpar->codec_id) : "none";
    facts = f;
    return true;
}

} // namespace zelo
