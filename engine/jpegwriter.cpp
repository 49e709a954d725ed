#include "engine/jpegwriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zelo {

std::string encodeJpeg(const AVFrame *frame, std::string &error)
{
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    CodecContextPtr ctx(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!ctx) {
        error = "no JPEG encoder";
        return {};
    }
    ctx->width = frame->width;
    ctx->height = frame->height;
    ctx->pix_fmt = static_cast<AVPixelFormat>(frame->format);
    ctx->time_base = AVRational{1, 25};
    ctx->color_range = AVCOL_RANGE_JPEG;
    // Fixed quality: a thumbnail is small, so keep it crisp.
    ctx->flags |= AV_CODEC_FLAG_QSCALE;
    ctx->global_quality = FF_QP2LAMBDA * 3;
    int err = avcodec_open2(ctx.get(), codec, nullptr);
    FramePtr copy = makeFrame();
    if (err >= 0)
        err = copy ? av_frame_ref(copy.get(), frame) : AVERROR(ENOMEM);
    if (err >= 0) {
        copy->pict_type = AV_PICTURE_TYPE_NONE;
        copy->quality = ctx->global_quality;
        err = avcodec_send_frame(ctx.get(), copy.get());
    }
    if (err >= 0)
        err = avcodec_send_frame(ctx.get(), nullptr);
    PacketPtr pkt = makePacket();
    if (err >= 0)
        err = pkt ? avcodec_receive_packet(ctx.get(), pkt.get()) : AVERROR(ENOMEM);
    if (err < 0) {
        error = "cannot encode the picture: " + avErrorText(err);
        return {};
    }
    return std::string(reinterpret_cast<const char *>(pkt->data), pkt->size);
}

void padJpeg(std::string &jpeg, size_t minBytes)
{
    const bool startsWithSoi = jpeg.size() >= 2 && static_cast<unsigned char>(jpeg[0]) == 0xFF &&
                               static_cast<unsigned char>(jpeg[1]) == 0xD8;
    if (!startsWithSoi || jpeg.size() >= minBytes)
        return;
    // A segment's length counts its two length bytes but not its marker.
    size_t missing = minBytes - jpeg.size();
    size_t length = std::min<size_t>(std::max<size_t>(missing, 4) - 2, 0xFFFF);
    std::string segment = "\xFF\xFE";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    std::string text = "thumbnail";
    text.resize(length - 2, ' ');
    segment += text;
    jpeg.insert(2, segment);
}

bool writeWholeFile(const std::string &path, const std::string &bytes, std::string &error)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int savedErrno = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        error = "cannot write '" + path + "': " + std::strerror(savedErrno ? savedErrno : errno);
        std::remove(path.c_str());
    }
    return ok;
}

} // namespace zelo
