#include "engine/mediainput.h"

extern "C" {
#include <libavutil/display.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace zelo {

Interrupter Interrupter::withDeadline(Clock::duration budget)
{
    Interrupter i;
    i.m_deadline = Clock::now() + budget;
    return i;
}

Interrupter Interrupter::withStopFlag(const std::atomic<bool> *stop)
{
    Interrupter i;
    i.m_stop = stop;
    return i;
}

bool Interrupter::expired() const
{
    if (m_stop && m_stop->load(std::memory_order_relaxed))
        return true;
    return m_deadline != Clock::time_point::max() && Clock::now() >= m_deadline;
}

AVIOInterruptCB Interrupter::callback() const
{
    AVIOInterruptCB cb;
    cb.callback = [](void *opaque) -> int {
        return static_cast<const Interrupter *>(opaque)->expired() ? 1 : 0;
    };
    cb.opaque = const_cast<Interrupter *>(this);
    return cb;
}

namespace {

bool usable(const AVStream *st)
{
    const AVCodecParameters *par = st->codecpar;
    if (par->codec_id == AV_CODEC_ID_NONE || !avcodec_find_decoder(par->codec_id))
        return false;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO)
        return !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) && par->width > 0 &&
               par->height > 0;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO)
        return par->sample_rate > 0 && par->ch_layout.nb_channels > 0;
    return false;
}

// The display matrix may turn and mirror at once (a transpose, say): read it
// as a mirror image of the stored picture (left for right), then a turn.
void orientationOf(const AVStream *st, DisplayGeometry &g)
{
    size_t size = 0;
    const uint8_t *data = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t))
        return;
    int32_t matrix[9];
    std::memcpy(matrix, data, sizeof matrix);
    const double det = double(matrix[0]) * matrix[4] - double(matrix[1]) * matrix[3];
    if (det < 0) {
        // Mirroring the stored picture first leaves a plain turn.
        g.mirrored = true;
        matrix[0] = -matrix[0];
        matrix[1] = -matrix[1];
        matrix[2] = -matrix[2];
    }
    double ccw = av_display_rotation_get(matrix);
    if (std::isnan(ccw))
        return;
    // Only quarter turns are real-world (phones); round anything else to one.
    long turns = std::lround(-ccw / 90.0);
    g.rotation = static_cast<int>(((turns % 4) + 4) % 4) * 90;
}

constexpr int kJunkBlock = 4096;

// A block of one byte repeated: no packet of a stream looks like that.
bool junkAt(AVIOContext *pb, int64_t pos)
{
    uint8_t block[kJunkBlock];
    if (avio_seek(pb, pos, SEEK_SET) < 0)
        return false;
    const int got = avio_read(pb, block, kJunkBlock);
    return got > 0 && std::all_of(block, block + got, [&](uint8_t b) { return b == block[0]; });
}

// Where the media of a file followed by junk (a recorder's preallocated
// zeros, say) ends, found by bisecting with a few small reads; 0 when the
// file ends in media.
int64_t junkTailStart(AVIOContext *pb)
{
    constexpr int64_t kLeastJunk = 1 << 20;
    const int64_t size = pb ? avio_size(pb) : -1;
    if (size <= kLeastJunk || !junkAt(pb, size - kJunkBlock) || !junkAt(pb, size - kLeastJunk))
        return 0;
    int64_t media = 0, junk = size - kLeastJunk;
    while (junk - media > kJunkBlock) {
        const int64_t mid = media + (junk - media) / 2;
        (junkAt(pb, mid) ? junk : media) = mid;
    }
    return junk + kJunkBlock;
}

// Formats without an index whose readers look for the last timestamps by
// scanning back from the end of the file: through junk, for seconds.
bool scansFromTheEnd(const AVInputFormat *format)
{
    return std::strcmp(format->name, "mpeg") == 0 || std::strcmp(format->name, "mpegts") == 0;
}

} // namespace

bool MediaInput::open(const std::string &path, const Interrupter *interrupter, std::string &error,
                      int64_t byteLimit)
{
    // A FIFO or a device node can block a reader forever, and a directory is
    // no clip: only regular files are ever handed to the demuxers.
    struct stat st;
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    if (::stat(path.c_str(), &st) != 0) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "'" + path + "' is not a regular file";
        return false;
    }
    if (st.st_size == 0) {
        error = "'" + path + "' is empty";
        return false;
    }

    AVFormatContext *ctx = avformat_alloc_context();
    if (!ctx) {
        error = "out of memory";
        return false;
    }
    if (interrupter)
        ctx->interrupt_callback = interrupter->callback();
    // The "file:" prefix keeps a name such as "http:x.avi" or "concat:a|b" a
    // file name, and the whitelist keeps playlists from reaching further.
    AVDictionary *opts = nullptr;
    av_dict_set(&opts, "protocol_whitelist", "subfile,file", 0);
    std::string url = "file:" + path;
    if (byteLimit > 0)
        url = "subfile,,start,0,end," + std::to_string(byteLimit) + ",,:" + url;
    int err = avformat_open_input(&ctx, url.c_str(), nullptr, &opts);
    av_dict_free(&opts);
    if (err < 0) {
        error = "cannot read '" + path + "' as media: " + avErrorText(err);
        return false; // avformat_open_input freed ctx
    }
    m_format.reset(ctx);
    if (byteLimit == 0 && scansFromTheEnd(ctx->iformat)) {
        const int64_t at = avio_tell(ctx->pb);
        if (const int64_t mediaEnd = junkTailStart(ctx->pb); mediaEnd > 0) {
            m_format.reset();
            return open(path, interrupter, error, mediaEnd);
        }
        avio_seek(ctx->pb, at, SEEK_SET); // where the stream search goes on
    }
    err = avformat_find_stream_info(ctx, nullptr);
    if (err < 0) {
        error = "cannot read the streams of '" + path + "': " + avErrorText(err);
        return false;
    }
    if (interrupter && interrupter->expired()) {
        error = "reading '" + path + "' took too long";
        return false;
    }
    chooseStreams();
    if (m_video < 0 && m_audio < 0) {
        error = "'" + path + "' holds no picture or sound that can be decoded";
        return false;
    }
    return true;
}

void MediaInput::chooseStreams()
{
    int64_t bestArea = 0;
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        const AVStream *st = m_format->streams[i];
        if (!usable(st))
            continue;
        const AVCodecParameters *par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            int64_t area = int64_t(par->width) * par->height;
            if (area > bestArea) {
                bestArea = area;
                m_video = static_cast<int>(i);
            }
        } else if (m_audio < 0) {
            m_audio = static_cast<int>(i);
        }
    }
}

int64_t MediaInput::originUs() const
{
    int64_t start = m_format->start_time;
    return start == AV_NOPTS_VALUE ? 0 : start;
}

int64_t MediaInput::durationUs() const
{
    if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0)
        return m_format->duration;
    int64_t longest = AV_NOPTS_VALUE;
    for (AVStream *st : {videoStream(), audioStream()}) {
        if (st && st->duration != AV_NOPTS_VALUE && st->duration > 0)
            longest = std::max(longest, av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q));
    }
    // A clip of a single picture can say it lasts nothing; it still shows
    // for a frame.
    const AVStream *video = videoStream();
    if (longest == AV_NOPTS_VALUE && video && video->nb_frames > 0) {
        AVRational rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : AVRational{25, 1};
        longest = av_rescale_q(video->nb_frames, av_inv_q(rate), AV_TIME_BASE_Q);
    }
    return longest;
}

DisplayGeometry MediaInput::videoGeometry() const
{
    DisplayGeometry g;
    AVStream *st = videoStream();
    if (!st)
        return g;
    AVRational sar = av_guess_sample_aspect_ratio(m_format.get(), st, nullptr);
    if (sar.num > 0 && sar.den > 0)
        g.sar = sar;
    orientationOf(st, g);
    // Non-square pixels widen or narrow the picture; the line count stays.
    int w = static_cast<int>(std::lround(st->codecpar->width * av_q2d(g.sar)));
    int h = st->codecpar->height;
    if (w <= 0)
        w = st->codecpar->width;
    if (g.rotation == 90 || g.rotation == 270)
        std::swap(w, h);
    g.width = w;
    g.height = h;
    return g;
}

CodecContextPtr MediaInput::openDecoder(AVStream *stream, int threads, std::string &error) const
{
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!codec || !ctx) {
        error = "no decoder for " + std::string(avcodec_get_name(stream->codecpar->codec_id));
        return nullptr;
    }
    int err = avcodec_parameters_to_context(ctx.get(), stream->codecpar);
    if (err >= 0) {
        ctx->pkt_timebase = stream->time_base;
        ctx->thread_count = threads;
        ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        err = avcodec_open2(ctx.get(), codec, nullptr);
    }
    if (err < 0) {
        error = "cannot open the " + std::string(codec->name) + " decoder: " + avErrorText(err);
        return nullptr;
    }
    return ctx;
}

} // namespace zelo
