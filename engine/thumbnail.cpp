#include "engine/thumbnail.h"

#include "engine/filterchain.h"
#include "engine/jpegwriter.h"
#include "engine/mediainput.h"
#include "engine/streamdecoder.h"

extern "C" {
#include <libavutil/parseutils.h>
}

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zelo {

namespace {

constexpr auto kThumbnailBudget = std::chrono::seconds(5);
constexpr int kLargestThumbnail = 4096;
constexpr size_t kSmallestJpeg = 1024;

int evenAtLeast2(double v)
{
    return std::max(2, static_cast<int>(std::lround(v / 2)) * 2);
}

// Decodes from the current read position until the frame on screen at
// targetUs (the last frame when the clip ends first). With firstKey, the
// first key picture is taken wherever it lies.
bool grabFrame(MediaInput &input, StreamDecoder &decoder, int64_t targetUs, bool firstKey,
               const Interrupter &deadline, AVFrame *out)
{
    PacketPtr pkt = makePacket();
    FramePtr frame = makeFrame();
    if (!pkt || !frame)
        return false;
    bool have = false;
    bool eof = false;
    while (!decoder.drained() && !deadline.expired()) {
        if (!eof) {
            int err = av_read_frame(input.format(), pkt.get());
            if (err < 0) {
                eof = true;
                decoder.send(nullptr);
            } else if (pkt->stream_index == decoder.streamIndex()) {
                decoder.send(pkt.get());
                // Draining gets the picture out at once, rather than after
                // the decoder's reordering delay of more packets.
                if (firstKey && (pkt->flags & AV_PKT_FLAG_KEY)) {
                    eof = true;
                    decoder.send(nullptr);
                }
            }
            av_packet_unref(pkt.get());
        }
        while (decoder.receive(frame.get())) {
            av_frame_unref(out);
            av_frame_move_ref(out, frame.get());
            have = true;
            if (firstKey || decoder.frameEndUs() > targetUs)
                return true;
        }
        if (eof && !decoder.drained())
            decoder.send(nullptr);
    }
    return have;
}

bool decodeFrameAt(const std::string &path, int64_t wantedUs, bool allowSeek,
                   const Interrupter &deadline, AVFrame *out, DisplayGeometry &geometry,
                   AVRational &timeBase, std::string &error)
{
    MediaInput input;
    if (!input.open(path, &deadline, error))
        return false;
    AVStream *video = input.videoStream();
    if (!video) {
        error = "'" + path + "' has no picture";
        return false;
    }
    CodecContextPtr ctx = input.openDecoder(video, 0, error);
    if (!ctx)
        return false;
    int64_t targetUs = 0;
    if (allowSeek) {
        int64_t duration = input.durationUs();
        targetUs = wantedUs;
        if (duration != AV_NOPTS_VALUE && targetUs >= duration)
            targetUs = duration / 2;
        // A thumbnail this small shows the key picture nearest the wanted
        // second as well as the exact one: only that picture is decoded,
        // instead of every picture since the key picture before it.
        int64_t ts = input.originUs() + targetUs;
        if (targetUs > 0 && avformat_seek_file(input.format(), -1, INT64_MIN, ts, INT64_MAX, 0) < 0)
            targetUs = 0;
    }
    const bool firstKey = targetUs > 0;
    if (firstKey)
        ctx->skip_frame = AVDISCARD_NONKEY;
    StreamDecoder decoder(std::move(ctx), video, input.originUs());
    if (!grabFrame(input, decoder, targetUs, firstKey, deadline, out)) {
        error = deadline.expired() ? "decoding '" + path + "' took too long"
                                   : "no picture could be decoded from '" + path + "'";
        return false;
    }
    geometry = input.videoGeometry();
    timeBase = video->time_base;
    return true;
}

} // namespace

Box fitInside(int width, int height, int boxWidth, int boxHeight)
{
    Box b;
    if (width <= 0 || height <= 0)
        width = boxWidth, height = boxHeight;
    if (int64_t(width) * boxHeight > int64_t(height) * boxWidth) {
        b.width = boxWidth;
        b.height = std::min(boxHeight, evenAtLeast2(double(boxWidth) * height / width));
    } else {
        b.height = boxHeight;
        b.width = std::min(boxWidth, evenAtLeast2(double(boxHeight) * width / height));
    }
    b.x = (boxWidth - b.width) / 2 / 2 * 2;
    b.y = (boxHeight - b.height) / 2 / 2 * 2;
    return b;
}

bool writeThumbnail(const std::string &path, int second, const std::string &size,
                    const std::string &target, std::string &error)
{
    int width = 0, height = 0;
    if (av_parse_video_size(&width, &height, size.c_str()) < 0 || width < 2 || height < 2 ||
        width > kLargestThumbnail || height > kLargestThumbnail || width % 2 || height % 2) {
        error = "'" + size + "' is no thumbnail size";
        return false;
    }
    if (target.empty()) {
        error = "no thumbnail file name given";
        return false;
    }
    const Interrupter deadline = Interrupter::withDeadline(kThumbnailBudget);
    FramePtr frame = makeFrame();
    DisplayGeometry geometry;
    AVRational timeBase{1, AV_TIME_BASE};
    const int64_t wantedUs = int64_t(std::max(second, 0)) * AV_TIME_BASE;
    if (!frame)
        return false;
    if (!decodeFrameAt(path, wantedUs, true, deadline, frame.get(), geometry, timeBase, error) &&
        !decodeFrameAt(path, 0, false, deadline, frame.get(), geometry, timeBase, error))
        return false;

    Box box = fitInside(geometry.width, geometry.height, width, height);
    std::string chain = FilterChain::scaledUpright(geometry.rotation, geometry.width,
                                                   geometry.height, box.width, box.height) +
                        ",pad=" + std::to_string(width) + ":" + std::to_string(height) + ":" +
                        std::to_string(box.x) + ":" + std::to_string(box.y) +
                        ":black,setsar=1,format=yuvj420p";
    FilterChain filters;
    FramePtr picture = makeFrame();
    if (!picture || !filters.openVideo(frame.get(), timeBase, geometry.sar, chain, 1, error))
        return false;
    int64_t pts = frame->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : frame->best_effort_timestamp;
    frame->pts = pts;
    if (!filters.push(frame.get(), error) || !filters.close(pts + 1, error))
        return false;
    if (filters.pull(picture.get()) != 1) {
        error = "cannot scale the picture";
        return false;
    }
    std::string jpeg = encodeJpeg(picture.get(), error);
    if (jpeg.empty())
        return false;
    padJpeg(jpeg, kSmallestJpeg);
    return writeWholeFile(target, jpeg, error);
}

} // namespace zelo
