#include "engine/encodersetup.h"

#include "engine/filterchain.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <climits>

namespace zelo {

namespace {

// Slices are fixed rather than one per core: the slice layout is part of
// the bitstream, and the same request must give the same file everywhere.
constexpr int kEncoderSlices = 2;

// MPEG-4 Simple Profile buffers run from 163840 bits (levels 0-1) to
// 655360 bits (levels 2-3); staying inside keeps phones and handhelds fed.
constexpr int kSmallestBuffer = 163840;
constexpr int kLargestBuffer = 655360;

bool openEncoder(AVCodecContext *ctx, const AVCodec *codec, std::string &error)
{
    int err = avcodec_open2(ctx, codec, nullptr);
    if (err < 0) {
        error = "cannot start the " + std::string(codec->name) + " encoder: " + avErrorText(err);
        return false;
    }
    return true;
}

CodecContextPtr allocEncoder(AVCodecID id, const ConvertOptions &o, bool globalHeader,
                             const AVCodec *&codec, std::string &error)
{
    codec = avcodec_find_encoder(id);
    CodecContextPtr ctx(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!ctx) {
        error = "no " + std::string(avcodec_get_name(id)) + " encoder available";
        return nullptr;
    }
    if (globalHeader)
        ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (o.bitexact)
        ctx->flags |= AV_CODEC_FLAG_BITEXACT;
    return ctx;
}

std::string rational(AVRational q)
{
    return std::to_string(q.num) + "/" + std::to_string(q.den);
}

} // namespace

int videoBufferBits(int64_t bitRate)
{
    // One second of the average rate, within the Simple Profile buffers.
    return static_cast<int>(std::clamp<int64_t>(bitRate, kSmallestBuffer, kLargestBuffer));
}

CodecContextPtr openVideoEncoder(const ConvertOptions &o, bool globalHeader, std::string &error)
{
    const AVCodec *codec = nullptr;
    CodecContextPtr ctx = allocEncoder(AV_CODEC_ID_MPEG4, o, globalHeader, codec, error);
    if (!ctx)
        return nullptr;
    ctx->width = o.width;
    ctx->height = o.height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->sample_aspect_ratio = AVRational{1, 1};
    ctx->framerate = o.frameRate;
    ctx->time_base = av_inv_q(o.frameRate);
    ctx->bit_rate = o.videoBitRate;
    // The encoder's default tolerance (4 Mbit) lets a busy clip overshoot a
    // 128 kbit/s target by half; hold it to the target itself.
    ctx->bit_rate_tolerance = static_cast<int>(std::min<int64_t>(o.videoBitRate, INT_MAX));
    // Peaks at most half again the average, smoothed by the buffer.
    ctx->rc_max_rate = o.videoBitRate * 3 / 2;
    ctx->rc_buffer_size = videoBufferBits(o.videoBitRate);
    ctx->max_b_frames = 0; // Simple Profile: what small devices decode
    ctx->thread_type = FF_THREAD_SLICE;
    ctx->thread_count = kEncoderSlices;
    if (!openEncoder(ctx.get(), codec, error))
        return nullptr;
    return ctx;
}

CodecContextPtr openAudioEncoder(const ConvertOptions &o, bool globalHeader, std::string &error)
{
    const AVCodec *codec = nullptr;
    CodecContextPtr ctx = allocEncoder(AV_CODEC_ID_AAC, o, globalHeader, codec, error);
    if (!ctx)
        return nullptr;
    ctx->sample_fmt = AV_SAMPLE_FMT_FLTP;
    ctx->sample_rate = o.sampleRate;
    av_channel_layout_default(&ctx->ch_layout, o.channels);
    ctx->bit_rate = o.audioBitRate;
    ctx->profile = FF_PROFILE_AAC_LOW;
    ctx->time_base = AVRational{1, o.sampleRate};
    if (!openEncoder(ctx.get(), codec, error))
        return nullptr;
    return ctx;
}

std::string videoChain(const ConvertOptions &o, const DisplayGeometry &source)
{
    // The rate change comes first so that dropped frames are never scaled;
    // start_time 0 repeats the first picture should it start late.
    std::string chain = "fps=fps=" + rational(o.frameRate) + ":start_time=0:round=near,";
    chain += FilterChain::scaledUpright(source.rotation, source.width, source.height,
                                        o.pictureWidth(), o.pictureHeight(), source.mirrored);
    if (o.pictureWidth() != o.width || o.pictureHeight() != o.height)
        chain += ",pad=" + std::to_string(o.width) + ":" + std::to_string(o.height) + ":" +
                 std::to_string(o.padLeft) + ":" + std::to_string(o.padTop) + ":black";
    chain += ",setsar=1,format=yuv420p";
    return chain;
}

std::string audioChain(const ConvertOptions &o)
{
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, o.channels);
    char name[64] = {};
    av_channel_layout_describe(&layout, name, sizeof name);
    // atrim cuts to the sample; first_pts with async pads a late start with
    // silence, so the sound starts with the picture.
    std::string chain = "atrim=start_pts=0:end_pts=" + std::to_string(o.lengthUs) +
                        ",aresample=" + std::to_string(o.sampleRate) + ":async=1:first_pts=0";
    if (o.volumePercent != 100)
        chain += ",volume=" + std::to_string(o.volumePercent) + "/100:precision=float";
    chain += ",aformat=sample_fmts=fltp:sample_rates=" + std::to_string(o.sampleRate) +
             ":channel_layouts=" + name;
    // Counted once more in output samples: the resampler may stretch or pad
    // sound whose packets and timestamps disagree, and nothing may sound
    // past the stop.
    chain +=
        ",atrim=end_sample=" + std::to_string(av_rescale(o.lengthUs, o.sampleRate, AV_TIME_BASE));
    return chain;
}

} // namespace zelo
