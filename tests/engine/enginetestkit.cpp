#include "tests/engine/enginetestkit.h"

#include "tests/engine/fixturecatalog.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

std::mutex g_linesLock;
std::vector<std::string> g_lines;

int collectLine(const char *line)
{
    std::lock_guard lock(g_linesLock);
    g_lines.emplace_back(line ? line : "");
    return 0;
}

struct Receiver : MessageTarget
{
    std::mutex lock;
    std::condition_variable cv;
    int messages = 0;
    uintptr_t code = 99;
};

void receive(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t)
{
    auto *r = static_cast<Receiver *>(self);
    std::lock_guard lock(r->lock);
    if (msg == WM_CONVERT_DONE) {
        ++r->messages;
        r->code = wParam;
    }
    r->cv.notify_all();
}

struct Input
{
    AVFormatContext *ctx = nullptr;
    explicit Input(const std::string &path)
    {
        if (avformat_open_input(&ctx, path.c_str(), nullptr, nullptr) < 0 ||
            avformat_find_stream_info(ctx, nullptr) < 0)
            avformat_close_input(&ctx);
    }
    ~Input() { avformat_close_input(&ctx); }
};

// Decodes every frame of the first stream of `type`, handing each (and its
// stream) to use until it returns false.
template <typename Use> void decodeAll(const std::string &path, AVMediaType type, Use use)
{
    Input in(path);
    if (!in.ctx)
        return;
    int index = av_find_best_stream(in.ctx, type, -1, -1, nullptr, 0);
    if (index < 0)
        return;
    const AVCodecParameters *par = in.ctx->streams[index]->codecpar;
    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    AVCodecContext *dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, par);
    avcodec_open2(dec, codec, nullptr);
    AVPacket *pkt = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    bool more = true;
    auto drain = [&] {
        while (more && avcodec_receive_frame(dec, frame) >= 0) {
            more = use(frame, in.ctx->streams[index]);
            av_frame_unref(frame);
        }
    };
    while (more && av_read_frame(in.ctx, pkt) >= 0) {
        if (pkt->stream_index == index && avcodec_send_packet(dec, pkt) >= 0)
            drain();
        av_packet_unref(pkt);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
}

} // namespace

std::vector<std::string> ConvertRequest::toVector() const
{
    return {"Moviforge.exe",
            "-y",
            "-ss",
            start,
            "-t",
            length,
            "-i",
            input,
            "-vol",
            volume,
            "-bitexact",
            "-vcodec",
            "mpeg4",
            "-padtop",
            padTop,
            "-padbottom",
            padBottom,
            "-padleft",
            padLeft,
            "-padright",
            padRight,
            "-s",
            size,
            "-r",
            rate,
            "-b",
            videoKbits,
            "-acodec",
            "aac",
            "-ac",
            channels,
            "-ar",
            sampleRate,
            "-ab",
            audioKbits,
            "-f",
            format,
            output};
}

bool RunResult::hasErrorLine() const
{
    for (const std::string &l : lines) {
        if (l.rfind("error: ", 0) == 0 && l.find("time=") == std::string::npos && l.size() > 8)
            return true;
    }
    return false;
}

std::string RunResult::text() const
{
    std::string all;
    for (const std::string &l : lines)
        all += l + "\n";
    return all;
}

RunResult runConversion(const std::vector<std::string> &vector,
                        const std::function<void()> &whileRunning)
{
    {
        std::lock_guard lock(g_linesLock);
        g_lines.clear();
    }
    MyDll_Init();
    SetGetInfoCallBackFun(collectLine);
    std::vector<std::string> copy = vector;
    std::vector<char *> argv;
    for (std::string &entry : copy)
        argv.push_back(entry.data());
    Receiver receiver;
    receiver.post = receive;
    RunResult result;
    if (_X(&receiver, static_cast<int>(argv.size()), argv.data()) == 0) {
        if (whileRunning)
            whileRunning();
        std::unique_lock lock(receiver.lock);
        receiver.cv.wait_for(lock, std::chrono::minutes(1), [&] { return receiver.messages > 0; });
    }
    MyDll_UnInit();
    std::lock_guard lock(receiver.lock);
    result.messages = receiver.messages;
    result.code = receiver.code;
    std::lock_guard linesLock(g_linesLock);
    result.lines = g_lines;
    return result;
}

const StreamReport *MediaReport::video() const
{
    for (const StreamReport &s : streams) {
        if (s.width > 0)
            return &s;
    }
    return nullptr;
}

const StreamReport *MediaReport::audio() const
{
    for (const StreamReport &s : streams) {
        if (s.sampleRate > 0)
            return &s;
    }
    return nullptr;
}

MediaReport inspect(const std::string &path)
{
    MediaReport report;
    Input in(path);
    if (!in.ctx)
        return report;
    report.opened = true;
    report.format = in.ctx->iformat->name;
    report.start = in.ctx->start_time == AV_NOPTS_VALUE ? 0 : in.ctx->start_time / 1e6;
    // Streams without timestamps (raw H.264) only add up their packets.
    std::vector<int64_t> ends(in.ctx->nb_streams, INT64_MIN);
    std::vector<int64_t> sums(in.ctx->nb_streams, 0);
    for (unsigned i = 0; i < in.ctx->nb_streams; ++i) {
        const AVStream *st = in.ctx->streams[i];
        StreamReport s;
        s.codec = avcodec_get_name(st->codecpar->codec_id);
        s.width = st->codecpar->width;
        s.height = st->codecpar->height;
        s.num = st->avg_frame_rate.num;
        s.den = st->avg_frame_rate.den;
        s.sampleRate = st->codecpar->sample_rate;
        s.channels = st->codecpar->ch_layout.nb_channels;
        s.profile = st->codecpar->profile;
        s.start = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time * av_q2d(st->time_base);
        report.streams.push_back(s);
    }
    AVPacket *pkt = av_packet_alloc();
    while (av_read_frame(in.ctx, pkt) >= 0) {
        StreamReport &s = report.streams[pkt->stream_index];
        ++s.packets;
        int64_t &end = ends[pkt->stream_index];
        if (pkt->pts != AV_NOPTS_VALUE)
            end = std::max(end, pkt->pts + pkt->duration);
        sums[pkt->stream_index] += pkt->duration;
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    for (unsigned i = 0; i < in.ctx->nb_streams; ++i) {
        const double timeBase = av_q2d(in.ctx->streams[i]->time_base);
        report.streams[i].duration = ends[i] != INT64_MIN
                                         ? ends[i] * timeBase - report.streams[i].start
                                         : sums[i] * timeBase;
    }
    return report;
}

double Picture::meanLuma(int x, int y, int w, int h) const
{
    double sum = 0;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            sum += luma[size_t(row) * width + col];
    return w > 0 && h > 0 ? sum / (double(w) * h) : 0;
}

std::vector<Picture> decodePictures(const std::string &path, int count)
{
    std::vector<Picture> pictures;
    decodeAll(path, AVMEDIA_TYPE_VIDEO, [&](const AVFrame *f, const AVStream *st) {
        Picture p;
        // A stream without timestamps counts its pictures.
        p.time = f->best_effort_timestamp != AV_NOPTS_VALUE
                     ? f->best_effort_timestamp * av_q2d(st->time_base)
                     : pictures.size() / av_q2d(st->avg_frame_rate);
        p.width = f->width;
        p.height = f->height;
        p.luma.resize(size_t(f->width) * f->height);
        for (int row = 0; row < f->height; ++row)
            std::copy_n(f->data[0] + size_t(row) * f->linesize[0], f->width,
                        p.luma.begin() + size_t(row) * f->width);
        pictures.push_back(std::move(p));
        return static_cast<int>(pictures.size()) < count;
    });
    return pictures;
}

double soundLevel(const std::string &path)
{
    double sum = 0;
    int64_t n = 0;
    decodeAll(path, AVMEDIA_TYPE_AUDIO, [&](const AVFrame *f, const AVStream *) {
        // The engine writes AAC, which decodes to planar float.
        if (f->format != AV_SAMPLE_FMT_FLTP)
            return false;
        const float *samples = reinterpret_cast<const float *>(f->extended_data[0]);
        for (int i = 0; i < f->nb_samples; ++i)
            sum += double(samples[i]) * samples[i];
        n += f->nb_samples;
        return true;
    });
    return n ? std::sqrt(sum / n) : 0;
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = std::filesystem::temp_directory_path().string() + "/engine-test-XXXXXX";
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::vector<std::string> ScratchFolder::entries() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(m_path, ec))
        names.push_back(e.path().filename().string());
    return names;
}

std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

ConvertRequest ConversionTest::request(const std::string &source, const std::string &name) const
{
    ConvertRequest r;
    r.input = fixturePath(source);
    r.output = scratch.file(name);
    return r;
}

bool ConversionTest::waitUntilWriting(pid_t writer) const
{
    // The working file may have no name at all: look for it among the
    // writer's open files instead.
    const std::filesystem::path fds = "/proc/" + std::to_string(writer) + "/fd";
    const std::string folder = scratch.path() + "/";
    for (int i = 0; i < 10000; ++i) {
        std::error_code ec;
        for (const auto &fd : std::filesystem::directory_iterator(fds, ec)) {
            std::error_code gone;
            const std::string target = std::filesystem::read_symlink(fd.path(), gone).string();
            if (!gone && target.rfind(folder, 0) == 0 &&
                std::filesystem::file_size(fd.path(), gone) > 0 && !gone)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}
