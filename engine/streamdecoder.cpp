#include "engine/streamdecoder.h"

namespace zelo {

StreamDecoder::StreamDecoder(CodecContextPtr ctx, const AVStream *stream, int64_t originUs)
    : m_ctx(std::move(ctx)), m_stream(stream), m_timeBase(stream->time_base),
      m_frameRate(stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate),
      m_index(stream->index), m_originUs(originUs)
{}

void StreamDecoder::send(const AVPacket *pkt)
{
    // An empty packet (a dropped frame's place in an AVI index) would read
    // as the end of input and drain the decoder for good.
    if (pkt && pkt->size == 0)
        return;
    if (pkt && m_ctx->codec_type == AVMEDIA_TYPE_VIDEO) {
        // The parser has seen the packets read so far, this one among them.
        const AVCodecParserContext *parser = av_stream_get_parser(m_stream);
        if (parser && (parser->picture_structure == AV_PICTURE_STRUCTURE_TOP_FIELD ||
                       parser->picture_structure == AV_PICTURE_STRUCTURE_BOTTOM_FIELD))
            m_packets.noteFieldCoded();
        m_packets.sent(pkt->pts, m_skipping);
    }
    // Errors are the damaged packet's own; the decoder carries on after it.
    if (!m_drained)
        avcodec_send_packet(m_ctx.get(), pkt);
}

void StreamDecoder::skipUnreferenced(bool skip)
{
    // Only where an unreferenced picture is one no other picture ever uses.
    // HEVC's "sub-layer non-reference" pictures may still be used by the
    // pictures of a higher temporal layer, so it is left out.
    skip = skip && m_packets.wholePictures();
    switch (m_ctx->codec_id) {
    case AV_CODEC_ID_H264:
    case AV_CODEC_ID_MPEG1VIDEO:
    case AV_CODEC_ID_MPEG2VIDEO:
    case AV_CODEC_ID_MPEG4:
    case AV_CODEC_ID_VC1:
    case AV_CODEC_ID_WMV3:
    case AV_CODEC_ID_VP8:
    case AV_CODEC_ID_VP9:
        m_ctx->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        m_skipping = skip;
        break;
    default:
        break;
    }
}

bool StreamDecoder::receive(AVFrame *frame)
{
    if (m_drained)
        return false;
    // A frame that failed to decode is skipped; the bound keeps a decoder
    // that only ever fails from holding us here.
    int err = AVERROR(EAGAIN);
    for (int tries = 0; tries < 64; ++tries) {
        err = avcodec_receive_frame(m_ctx.get(), frame);
        if (err >= 0 || err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            break;
    }
    if (err == AVERROR_EOF)
        m_drained = true;
    if (err < 0)
        return false;
    if (m_ctx->codec_type == AVMEDIA_TYPE_VIDEO)
        m_packets.received(frame->pts);
    int64_t ts = frame->best_effort_timestamp;
    int64_t start =
        ts == AV_NOPTS_VALUE ? m_nextUs : av_rescale_q(ts, m_timeBase, AV_TIME_BASE_Q) - m_originUs;
    if (start == AV_NOPTS_VALUE)
        start = 0;
    m_timesFollowPackets = m_timesFollowPackets && frame->pts != AV_NOPTS_VALUE &&
                           ts == frame->pts && (m_received == 0 || start > m_frameStartUs);
    ++m_received;
    m_frameStartUs = start;
    m_frameStartTicks =
        ts == AV_NOPTS_VALUE ? av_rescale_q(start + m_originUs, AV_TIME_BASE_Q, m_timeBase) : ts;
    m_nextUs = start + durationUs(frame);
    return true;
}

void StreamDecoder::reset()
{
    avcodec_flush_buffers(m_ctx.get());
    m_frameStartUs = m_nextUs = m_frameStartTicks = AV_NOPTS_VALUE;
    m_drained = false;
}

int64_t StreamDecoder::durationUs(const AVFrame *frame) const
{
    if (m_ctx->codec_type == AVMEDIA_TYPE_AUDIO && frame->sample_rate > 0)
        return av_rescale(frame->nb_samples, AV_TIME_BASE, frame->sample_rate);
    if (frame->pkt_duration > 0)
        return av_rescale_q(frame->pkt_duration, m_timeBase, AV_TIME_BASE_Q);
    if (m_frameRate.num > 0 && m_frameRate.den > 0)
        return av_rescale_q(1, av_inv_q(m_frameRate), AV_TIME_BASE_Q);
    return AV_TIME_BASE / 25;
}

} // namespace zelo
