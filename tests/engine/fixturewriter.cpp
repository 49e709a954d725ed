#include "tests/engine/fixturewriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/common.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <memory>
#include <vector>

namespace {

std::string errText(int err)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buf, sizeof buf);
    return buf;
}

// A test source feeding one encoder, and the stream it writes to.
struct Lane
{
    AVCodecContext *enc = nullptr;
    AVFilterGraph *graph = nullptr;
    AVFilterContext *sink = nullptr;
    AVStream *stream = nullptr;
    AVFrame *frame = av_frame_alloc();
    AVPacket *pkt = av_packet_alloc();
    int64_t nextPts = 0; // in the encoder's time base
    bool sourceDone = false;
    bool flushed = false;

    ~Lane()
    {
        avcodec_free_context(&enc);
        avfilter_graph_free(&graph);
        av_frame_free(&frame);
        av_packet_free(&pkt);
    }
    double nextSeconds() const { return nextPts * av_q2d(enc->time_base); }
};

bool buildSource(Lane &lane, const std::string &description, bool video, std::string &error)
{
    lane.graph = avfilter_graph_alloc();
    lane.graph->nb_threads = 1;
    AVFilterContext *sink = nullptr;
    int err = avfilter_graph_create_filter(
        &sink, avfilter_get_by_name(video ? "buffersink" : "abuffersink"), "out", nullptr, nullptr,
        lane.graph);
    AVFilterInOut *inputs = avfilter_inout_alloc();
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink;
    AVFilterInOut *outputs = nullptr;
    if (err >= 0)
        err = avfilter_graph_parse_ptr(lane.graph, description.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (err >= 0)
        err = avfilter_graph_config(lane.graph, nullptr);
    if (err < 0) {
        error = "test source '" + description + "': " + errText(err);
        return false;
    }
    lane.sink = sink;
    return true;
}

const AVCodec *allocEncoder(Lane &lane, const std::string &name, AVFormatContext *oc,
                            std::string &error)
{
    const AVCodec *codec = avcodec_find_encoder_by_name(name.c_str());
    if (!codec) {
        error = "no encoder " + name;
        return nullptr;
    }
    lane.enc = avcodec_alloc_context3(codec);
    if (oc->oformat->flags & AVFMT_GLOBALHEADER)
        lane.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return codec;
}

bool openEncoder(Lane &lane, const AVCodec *codec, const std::string &name, std::string &error)
{
    int err = avcodec_open2(lane.enc, codec, nullptr);
    if (err < 0)
        error = name + ": " + errText(err);
    return err >= 0;
}

bool openVideo(Lane &lane, const ClipRecipe &s, AVFormatContext *oc, std::string &error)
{
    const AVCodec *codec = allocEncoder(lane, s.videoEncoder, oc, error);
    if (!codec)
        return false;
    AVCodecContext *c = lane.enc;
    c->width = s.width;
    c->height = s.height;
    c->pix_fmt = s.pixelFormat != AV_PIX_FMT_NONE ? s.pixelFormat
                 : codec->pix_fmts                ? codec->pix_fmts[0]
                                                  : AV_PIX_FMT_YUV420P;
    c->time_base = av_inv_q(s.rate);
    c->framerate = s.rate;
    c->sample_aspect_ratio = s.sar;
    c->gop_size = 12;
    c->max_b_frames = s.bFrames > 0 ? s.bFrames : c->max_b_frames;
    c->bit_rate = 400000;
    c->thread_count = 1;
    c->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
    av_opt_set(c->priv_data, "preset", "veryfast", 0);   // libx264
    av_opt_set(c->priv_data, "deadline", "realtime", 0); // libvpx
    av_opt_set_int(c->priv_data, "cpu-used", 8, 0);      // libvpx
    if (!openEncoder(lane, codec, s.videoEncoder, error))
        return false;
    char desc[256];
    const double seconds = s.frames > 0 ? double(s.frames) * s.rate.den / s.rate.num : s.seconds;
    const char separator = s.pattern.find('=') == std::string::npos ? '=' : ':';
    snprintf(desc, sizeof desc, "%s%csize=%dx%d:rate=%d/%d:duration=%.3f,format=%s",
             s.pattern.c_str(), separator, s.width, s.height, s.rate.num, s.rate.den,
             seconds + 0.0001, av_get_pix_fmt_name(c->pix_fmt));
    std::string chain = desc;
    if (s.frames > 0)
        chain += ",trim=end_frame=" + std::to_string(s.frames);
    if (!s.pictureFilter.empty())
        chain += "," + s.pictureFilter;
    return buildSource(lane, chain, true, error);
}

bool openAudio(Lane &lane, const ClipRecipe &s, AVFormatContext *oc, std::string &error)
{
    const AVCodec *codec = allocEncoder(lane, s.audioEncoder, oc, error);
    if (!codec)
        return false;
    AVCodecContext *c = lane.enc;
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = s.sampleRate;
    av_channel_layout_default(&c->ch_layout, s.channels);
    c->bit_rate = s.audioEncoder == "real_144" ? 8000 : 64000;
    c->time_base = AVRational{1, s.sampleRate};
    c->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    if (codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
        c->frame_size = 0;
    else if (s.soundPacketSamples != 1024)
        c->frame_size = s.soundPacketSamples; // FLAC takes any block size
    if (!openEncoder(lane, codec, s.audioEncoder, error))
        return false;
    char layout[64];
    av_channel_layout_describe(&c->ch_layout, layout, sizeof layout);
    char desc[256];
    snprintf(desc, sizeof desc,
             "sine=frequency=440:sample_rate=%d:duration=%.3f,aformat=sample_fmts=%s:"
             "channel_layouts=%s",
             s.sampleRate, s.soundSeconds > 0 ? s.soundSeconds : s.seconds,
             av_get_sample_fmt_name(c->sample_fmt), layout);
    if (!buildSource(lane, desc, false, error))
        return false;
    if (c->frame_size > 0 && !(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
        av_buffersink_set_frame_size(lane.sink, c->frame_size);
    else
        av_buffersink_set_frame_size(lane.sink, s.soundPacketSamples);
    return true;
}

bool drainPackets(Lane &lane, AVFormatContext *oc, std::string &error)
{
    for (;;) {
        int err = avcodec_receive_packet(lane.enc, lane.pkt);
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return true;
        if (err >= 0) {
            // As recorders do: a picture lasts one frame. Without it a
            // one-picture MP4 gets an empty edit and plays nothing.
            if (lane.enc->codec_type == AVMEDIA_TYPE_VIDEO && lane.pkt->duration == 0)
                lane.pkt->duration = 1;
            lane.pkt->stream_index = lane.stream->index;
            av_packet_rescale_ts(lane.pkt, lane.enc->time_base, lane.stream->time_base);
            err = av_interleaved_write_frame(oc, lane.pkt);
        }
        if (err < 0) {
            error = "writing a packet: " + errText(err);
            return false;
        }
    }
}

// Some of libavcodec's older encoders read whole 16x16 blocks, past the
// last row of a picture whose size is not a multiple of 16: give them a
// picture with room for that.
bool padToMacroblocks(AVFrame *frame)
{
    AVFrame *padded = av_frame_alloc();
    padded->format = frame->format;
    padded->width = FFALIGN(frame->width, 16);
    padded->height = FFALIGN(frame->height, 16);
    bool ok = av_frame_get_buffer(padded, 0) >= 0;
    if (ok) {
        padded->width = frame->width;
        padded->height = frame->height;
        ok = av_frame_copy(padded, frame) >= 0 && av_frame_copy_props(padded, frame) >= 0;
    }
    if (ok) {
        av_frame_unref(frame);
        av_frame_move_ref(frame, padded);
    }
    av_frame_free(&padded);
    return ok;
}

// Encodes the lane's next source frame (or flushes the encoder at the end).
bool step(Lane &lane, AVFormatContext *oc, std::string &error)
{
    int err = av_buffersink_get_frame(lane.sink, lane.frame);
    if (err == AVERROR_EOF) {
        lane.sourceDone = true;
        lane.flushed = true;
        avcodec_send_frame(lane.enc, nullptr);
        return drainPackets(lane, oc, error);
    }
    if (err < 0) {
        error = "test source: " + errText(err);
        return false;
    }
    lane.frame->pts =
        av_rescale_q(lane.frame->pts, av_buffersink_get_time_base(lane.sink), lane.enc->time_base);
    lane.nextPts = lane.frame->pts + (lane.frame->nb_samples > 0 ? lane.frame->nb_samples : 1);
    lane.frame->pict_type = AV_PICTURE_TYPE_NONE;
    if (lane.enc->codec_type == AVMEDIA_TYPE_VIDEO && !padToMacroblocks(lane.frame)) {
        error = "out of memory";
        return false;
    }
    err = avcodec_send_frame(lane.enc, lane.frame);
    av_frame_unref(lane.frame);
    if (err < 0) {
        error = "encoding: " + errText(err);
        return false;
    }
    return drainPackets(lane, oc, error);
}

} // namespace

bool writeFixture(const std::string &folder, const ClipRecipe &s, std::string &error)
{
    const std::string path = folder + "/" + s.file;
    AVFormatContext *oc = nullptr;
    int err = avformat_alloc_output_context2(&oc, nullptr, s.muxer.c_str(), path.c_str());
    if (err < 0) {
        error = s.muxer + ": " + errText(err);
        return false;
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext *)> guard(oc, [](AVFormatContext *c) {
        avio_closep(&c->pb);
        avformat_free_context(c);
    });
    Lane video, audio;
    std::vector<Lane *> lanes;
    if (!s.videoEncoder.empty()) {
        if (!openVideo(video, s, oc, error))
            return false;
        lanes.push_back(&video);
    }
    if (!s.audioEncoder.empty()) {
        if (!openAudio(audio, s, oc, error))
            return false;
        lanes.push_back(&audio);
    }
    for (Lane *lane : lanes) {
        lane->stream = avformat_new_stream(oc, nullptr);
        avcodec_parameters_from_context(lane->stream->codecpar, lane->enc);
        lane->stream->time_base = lane->enc->time_base;
        lane->stream->sample_aspect_ratio = lane->enc->sample_aspect_ratio;
    }
    if ((s.rotation || s.mirrored) && !s.videoEncoder.empty()) {
        auto *matrix = reinterpret_cast<int32_t *>(
            av_stream_new_side_data(video.stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
        // The matrix takes the angle clockwise (its reader reports it
        // counterclockwise); the mirror applies to the turned picture.
        av_display_rotation_set(matrix, s.rotation);
        if (s.mirrored)
            av_display_matrix_flip(matrix, 1, 0);
    }
    AVDictionary *options = nullptr;
    av_dict_parse_string(&options, s.muxerOptions.c_str(), "=", ":", 0);
    err = avio_open(&oc->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (err >= 0)
        err = avformat_write_header(oc, &options);
    av_dict_free(&options);
    if (err < 0) {
        error = path + ": " + errText(err);
        return false;
    }
    // Whichever stream is behind goes next, so the file interleaves as a
    // recorder would write it.
    for (;;) {
        Lane *next = nullptr;
        for (Lane *lane : lanes) {
            if (!lane->flushed && (!next || lane->nextSeconds() < next->nextSeconds()))
                next = lane;
        }
        if (!next)
            break;
        if (!step(*next, oc, error))
            return false;
    }
    err = av_write_trailer(oc);
    if (err < 0) {
        error = path + ": " + errText(err);
        return false;
    }
    return true;
}
