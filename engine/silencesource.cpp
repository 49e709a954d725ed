#include "engine/silencesource.h"

#include "engine/encodetrack.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace zelo {

namespace {
constexpr int64_t kFrameSamples = 1024;
}

SilenceSource::SilenceSource(int sampleRate, int channels)
    : m_sampleRate(sampleRate), m_channels(channels)
{}

bool SilenceSource::fillTo(int64_t endUs, EncodeTrack &track, std::string &error)
{
    const int64_t target = av_rescale(endUs, m_sampleRate, AV_TIME_BASE);
    while (m_samples < target) {
        FramePtr frame = makeFrame();
        if (!frame) {
            error = "out of memory";
            return false;
        }
        frame->format = AV_SAMPLE_FMT_FLTP;
        frame->sample_rate = m_sampleRate;
        av_channel_layout_default(&frame->ch_layout, m_channels);
        frame->nb_samples = static_cast<int>(std::min(kFrameSamples, target - m_samples));
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            error = "out of memory";
            return false;
        }
        av_samples_set_silence(frame->extended_data, 0, frame->nb_samples, m_channels,
                               AV_SAMPLE_FMT_FLTP);
        frame->pts = av_rescale(m_samples, AV_TIME_BASE, m_sampleRate);
        m_samples += frame->nb_samples;
        if (!track.push(frame.get(), error))
            return false;
    }
    return true;
}

} // namespace zelo
