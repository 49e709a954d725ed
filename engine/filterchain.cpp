#include "engine/filterchain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/cpu.h>
#include <libavutil/pixdesc.h>
}

#include <mutex>

namespace zelo {

namespace {

std::string rational(AVRational q)
{
    return std::to_string(q.num) + "/" + std::to_string(q.den);
}

// Some decoders leave the layout as a bare channel count; the audio source
// refuses frames whose layout differs from its own, so both get the usual
// layout for that count.
void settleLayout(AVChannelLayout &layout)
{
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        int n = layout.nb_channels;
        av_channel_layout_uninit(&layout);
        av_channel_layout_default(&layout, n);
    }
}

// The scaler's AVX2 code for the horizontal pass fetches its source pixels
// with gather loads, which are slow on most processors in use (AMD's, and
// Intel's since the 2023 microcode): shrinking a 1080p picture to a phone's
// costs 2.6 times what its SSE code beside it costs, for the same result to
// the bit. libswscale picks its code from the process's CPU flags when a
// scaler is set up, so the picture filters are configured with AVX2 hidden
// and the flags put back straight after; decoders and encoders keep it.
// Our graphs are configured one at a time, so that none of them sees the
// hidden flag by chance; anything else set up in the process during those
// milliseconds takes code just as exact, if slower.
class CpuFlagsForScaling
{
public:
    explicit CpuFlagsForScaling(bool pictures) : m_lock(s_configuring)
    {
        if (pictures && (m_saved & AV_CPU_FLAG_AVX2))
            av_force_cpu_flags(m_saved & ~AV_CPU_FLAG_AVX2);
        else
            m_saved = -1;
    }
    ~CpuFlagsForScaling()
    {
        if (m_saved != -1)
            av_force_cpu_flags(m_saved);
    }
    CpuFlagsForScaling(const CpuFlagsForScaling &) = delete;
    CpuFlagsForScaling &operator=(const CpuFlagsForScaling &) = delete;

private:
    static inline std::mutex s_configuring;
    std::lock_guard<std::mutex> m_lock;
    int m_saved = av_get_cpu_flags();
};

} // namespace

FilterChain::~FilterChain()
{
    av_channel_layout_uninit(&m_layout);
}

bool FilterChain::openVideo(const AVFrame *first, AVRational timeBase, AVRational sar,
                            const std::string &chain, int threads, std::string &error)
{
    m_graph.reset(avfilter_graph_alloc());
    if (!m_graph) {
        error = "out of memory";
        return false;
    }
    m_graph->nb_threads = threads;
    std::string args = "video_size=" + std::to_string(first->width) + "x" +
                       std::to_string(first->height) + ":pix_fmt=" + std::to_string(first->format) +
                       ":time_base=" + rational(timeBase) + ":pixel_aspect=" + rational(sar);
    return finish("buffer", args, chain, error);
}

bool FilterChain::openAudio(const AVFrame *first, AVRational timeBase, const std::string &chain,
                            std::string &error)
{
    m_graph.reset(avfilter_graph_alloc());
    if (!m_graph) {
        error = "out of memory";
        return false;
    }
    m_audio = true;
    av_channel_layout_uninit(&m_layout);
    av_channel_layout_copy(&m_layout, &first->ch_layout);
    settleLayout(m_layout);
    char layout[128] = {};
    av_channel_layout_describe(&m_layout, layout, sizeof layout);
    const char *format = av_get_sample_fmt_name(static_cast<AVSampleFormat>(first->format));
    std::string args = "time_base=" + rational(timeBase) +
                       ":sample_rate=" + std::to_string(first->sample_rate) +
                       ":sample_fmt=" + (format ? format : "s16") + ":channel_layout=" + layout;
    return finish("abuffer", args, chain, error);
}

bool FilterChain::finish(const char *sourceName, const std::string &sourceArgs,
                         const std::string &chain, std::string &error)
{
    const bool video = sourceName[0] == 'b';
    int err = avfilter_graph_create_filter(&m_source, avfilter_get_by_name(sourceName), "in",
                                           sourceArgs.c_str(), nullptr, m_graph.get());
    if (err >= 0)
        err = avfilter_graph_create_filter(
            &m_sink, avfilter_get_by_name(video ? "buffersink" : "abuffersink"), "out", nullptr,
            nullptr, m_graph.get());
    if (err < 0) {
        error = "cannot set up the " + std::string(video ? "picture" : "sound") +
                " filters: " + avErrorText(err);
        return false;
    }
    AVFilterInOut *outputs = avfilter_inout_alloc();
    AVFilterInOut *inputs = avfilter_inout_alloc();
    if (!outputs || !inputs) {
        avfilter_inout_free(&outputs);
        avfilter_inout_free(&inputs);
        error = "out of memory";
        return false;
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = m_source;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = m_sink;
    err = avfilter_graph_parse_ptr(m_graph.get(), chain.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&outputs);
    avfilter_inout_free(&inputs);
    if (err >= 0) {
        CpuFlagsForScaling flags(video);
        err = avfilter_graph_config(m_graph.get(), nullptr);
    }
    if (err < 0) {
        error = "cannot build the filters '" + chain + "': " + avErrorText(err);
        return false;
    }
    return true;
}

void FilterChain::setFrameSize(unsigned samples)
{
    av_buffersink_set_frame_size(m_sink, samples);
}

bool FilterChain::push(AVFrame *frame, std::string &error)
{
    if (m_audio) {
        settleLayout(frame->ch_layout);
        if (av_channel_layout_compare(&frame->ch_layout, &m_layout) != 0 ||
            frame->sample_rate != m_source->outputs[0]->sample_rate ||
            frame->format != m_source->outputs[0]->format) {
            // Mid-stream changes of the sound's shape are rare (broadcast
            // recordings); dropping the odd frame beats failing the clip.
            av_frame_unref(frame);
            return true;
        }
    }
    int err = av_buffersrc_add_frame_flags(m_source, frame, 0);
    if (err < 0) {
        error = "filtering failed: " + avErrorText(err);
        return false;
    }
    return true;
}

bool FilterChain::close(int64_t pts, std::string &error)
{
    // Not pushed through: the rate filter would then make every picture it
    // holds to the end at once (minutes of a held last picture, gigabytes),
    // before anything pulls them. Each pull makes one.
    int err = av_buffersrc_close(m_source, pts, 0);
    if (err < 0) {
        error = "filtering failed: " + avErrorText(err);
        return false;
    }
    return true;
}

int FilterChain::pull(AVFrame *frame)
{
    int err = av_buffersink_get_frame(m_sink, frame);
    if (err >= 0)
        return 1;
    if (err == AVERROR(EAGAIN))
        return 0;
    if (err == AVERROR_EOF)
        return -1;
    return err < -1 ? err : AVERROR_UNKNOWN;
}

AVRational FilterChain::outputTimeBase() const
{
    return av_buffersink_get_time_base(m_sink);
}

AVRational FilterChain::outputFrameRate() const
{
    return av_buffersink_get_frame_rate(m_sink);
}

const char *FilterChain::scalerFor(int fromWidth, int fromHeight, int toWidth, int toHeight)
{
    // Shrinking a camera picture to a phone screen: averaging each box of
    // source pixels is as clean as bicubic there, at a third of the work.
    const bool shrinksTwice = fromWidth >= 2 * toWidth && fromHeight >= 2 * toHeight;
    return shrinksTwice ? "area" : "bicubic";
}

std::string FilterChain::scaledUpright(int rotation, int fromWidth, int fromHeight, int width,
                                       int height, bool mirrored)
{
    const bool quarter = rotation == 90 || rotation == 270;
    std::string chain = "scale=" + std::to_string(quarter ? height : width) + ":" +
                        std::to_string(quarter ? width : height) +
                        ":flags=" + scalerFor(fromWidth, fromHeight, width, height);
    if (mirrored)
        chain += ",hflip";
    switch (rotation) {
    case 90:
        return chain + ",transpose=clock";
    case 180:
        return chain + ",hflip,vflip";
    case 270:
        return chain + ",transpose=cclock";
    default:
        return chain;
    }
}

} // namespace zelo
