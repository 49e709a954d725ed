#include "engine/encodetrack.h"

#include "engine/outputfile.h"

#include <climits>
#include <numeric>

extern "C" {
#include <libavutil/intreadwrite.h>
}

namespace zelo {

EncodeTrack::EncodeTrack(CodecContextPtr encoder, std::string chain, AVRational sar,
                         AVRational timeBase)
    : m_encoder(std::move(encoder)), m_chain(std::move(chain)), m_sar(sar), m_timeBase(timeBase)
{}

AVRational EncodeTrack::holdingMicroseconds(AVRational timeBase)
{
    AVRational q;
    if (timeBase.num <= 0 || timeBase.den <= 0 ||
        !av_reduce(&q.num, &q.den, timeBase.num, timeBase.den, INT_MAX))
        return timeBase;
    // 1/D with D a multiple of both q.den and a million.
    const int64_t d = std::lcm<int64_t>(q.den, AV_TIME_BASE);
    return d <= INT_MAX ? AVRational{1, static_cast<int>(d)} : timeBase;
}

bool EncodeTrack::attach(OutputFile &out, std::string &error)
{
    m_out = &out;
    m_stream = out.addStream(m_encoder.get(), error);
    return m_stream != nullptr;
}

namespace {
// Enough to smooth out uneven decoding; a 4K picture takes 12 MB.
constexpr size_t kQueuedPictures = 4;
} // namespace

bool EncodeTrack::push(AVFrame *frame, std::string &error)
{
    if (m_encoder->codec_type != AVMEDIA_TYPE_VIDEO)
        return filterAndEncode(frame, error);
    if (!m_pictureThread) {
        m_pictureThread = std::make_unique<HandOff<AVFrame>>(
            [this](AVFrame *f, std::string &e) { return !f || filterAndEncode(f, e); }, nullptr,
            kQueuedPictures);
    }
    if (m_pictureThread->push(frame))
        return true;
    // The picture thread gave up: its reason is the one to give.
    m_pictureThread->finish(error);
    return false;
}

bool EncodeTrack::filterAndEncode(AVFrame *frame, std::string &error)
{
    if (!m_filtersOpen) {
        const bool audio = m_encoder->codec_type == AVMEDIA_TYPE_AUDIO;
        bool ok = audio ? m_filters.openAudio(frame, m_timeBase, m_chain, error)
                        : m_filters.openVideo(frame, m_timeBase, m_sar, m_chain, 0, error);
        if (!ok)
            return false;
        if (audio && !(m_encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
            m_filters.setFrameSize(m_encoder->frame_size);
        m_filtersOpen = true;
    }
    return m_filters.push(frame, error) && pump(error);
}

bool EncodeTrack::finish(int64_t endUs, std::string &error)
{
    if (m_pictureThread && !m_pictureThread->finish(error))
        return false;
    const int64_t end = av_rescale_q(endUs, AV_TIME_BASE_Q, m_timeBase);
    if (m_filtersOpen && (!m_filters.close(end, error) || !pump(error)))
        return false;
    return encode(nullptr, error);
}

bool EncodeTrack::pump(std::string &error)
{
    for (;;) {
        int got = m_filters.pull(m_filtered.get());
        if (got == 0 || got == -1)
            return true;
        if (got < 0) {
            error = "filtering failed: " + avErrorText(got);
            return false;
        }
        AVFrame *f = m_filtered.get();
        f->pts = av_rescale_q(f->pts, m_filters.outputTimeBase(), m_encoder->time_base);
        // The source's frame types mean nothing to the new stream.
        f->pict_type = AV_PICTURE_TYPE_NONE;
        bool ok = encode(f, error);
        av_frame_unref(f);
        if (!ok)
            return false;
    }
}

bool EncodeTrack::encode(AVFrame *frame, std::string &error)
{
    int err = avcodec_send_frame(m_encoder.get(), frame);
    if (err < 0 && err != AVERROR_EOF) {
        error = "encoding failed: " + avErrorText(err);
        return false;
    }
    for (;;) {
        err = avcodec_receive_packet(m_encoder.get(), m_packet.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return true;
        if (err < 0) {
            error = "encoding failed: " + avErrorText(err);
            return false;
        }
        size_t size = 0;
        if (const uint8_t *stats =
                av_packet_get_side_data(m_packet.get(), AV_PKT_DATA_QUALITY_STATS, &size);
            stats && size >= 4)
            m_quality = AV_RL32(stats) / double(FF_QP2LAMBDA);
        // A picture lasts one frame; the muxer takes the last one's length
        // from here, and the status line its time.
        if (m_packet->duration == 0 && m_encoder->codec_type == AVMEDIA_TYPE_VIDEO)
            m_packet->duration = 1;
        m_packet->stream_index = m_stream->index;
        av_packet_rescale_ts(m_packet.get(), m_encoder->time_base, m_stream->time_base);
        ++m_packets;
        if (!m_out->write(m_packet.get(), error))
            return false;
    }
}

} // namespace zelo
