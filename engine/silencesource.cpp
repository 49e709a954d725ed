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

SilenceSource::SilenceSource(int sampleRate, int channels) : m_sampleRate(sampleRate)
{
    av_channel_layout_default(&m_layout, channels);
}

SilenceSource::SilenceSource(const AVFrame *shape, int64_t fromUs)
    : m_sampleRate(shape->sample_rate), m_format(AVSampleFormat(shape->format)),
      m_samples(av_rescale(std::max<int64_t>(fromUs, 0), shape->sample_rate, AV_TIME_BASE))
{
    if (av_channel_layout_copy(&m_layout, &shape->ch_layout) < 0)
        av_channel_layout_default(&m_layout, 1);
}

SilenceSource::~SilenceSource()
{
    av_channel_layout_uninit(&m_layout);
}

bool SilenceSource::fillTo(int64_t endUs, EncodeTrack &track, std::string &error)
{
    const int64_t target = av_rescale(endUs, m_sampleRate, AV_TIME_BASE);
    while (m_samples < target) {
        FramePtr frame = makeFrame();
        if (!frame) {
            error = "out of memory";
            return false;
        }
        frame->format = m_format;
        frame->sample_rate = m_sampleRate;
        if (av_channel_layout_copy(&frame->ch_layout, &m_layout) < 0) {
            error = "out of memory";
            return false;
        }
        frame->nb_samples = static_cast<int>(std::min(kFrameSamples, target - m_samples));
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            error = "out of memory";
            return false;
        }
        av_samples_set_silence(frame->extended_data, 0, frame->nb_samples, m_layout.nb_channels,
                               m_format);
        frame->pts = av_rescale(m_samples, AV_TIME_BASE, m_sampleRate);
        m_samples += frame->nb_samples;
        if (!track.push(frame.get(), error))
            return false;
    }
    return true;
}

} // namespace zelo
