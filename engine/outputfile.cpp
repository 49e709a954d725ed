#include "engine/outputfile.h"

#include "engine/fdio.h"
#include "engine/mediainput.h"

#include <algorithm>
#include <sys/stat.h>

namespace zelo {

namespace {

// The muxer opens its output again only to read it back (moving the index
// to the front): through the working file's own descriptor.
int openAgain(AVFormatContext *s, AVIOContext **pb, const char *, int flags, AVDictionary **)
{
    const auto *work = static_cast<const WorkingFile *>(s->opaque);
    *pb = openFdIo(work->fd(), flags & AVIO_FLAG_WRITE);
    return *pb ? 0 : AVERROR(ENOMEM);
}

int closeAgain(AVFormatContext *, AVIOContext *pb)
{
    return closeFdIo(&pb);
}

} // namespace

OutputFile::~OutputFile()
{
    abandon();
}

bool OutputFile::create(const std::string &finalPath, const std::string &format, bool bitexact,
                        const Interrupter *interrupter, std::string &error)
{
    m_finalPath = finalPath;
    m_finishedPath.clear();
    struct stat st;
    if (::stat(finalPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = "cannot write the output '" + finalPath + "': it is a folder";
        return false;
    }
    if (!m_work.create(folderOf(finalPath), error))
        return false;

    const std::string url = "file:" + m_work.path();
    int err = avformat_alloc_output_context2(&m_ctx, nullptr, format.c_str(), url.c_str());
    if (err < 0 || !m_ctx) {
        error = "cannot write the " + format + " format: " + avErrorText(err);
        return false;
    }
    if (interrupter)
        m_ctx->interrupt_callback = interrupter->callback();
    if (bitexact)
        m_ctx->flags |= AVFMT_FLAG_BITEXACT;
    // The muxer orders packets by time while both streams have some; only
    // a stream this far ahead is written without waiting. The sound's thread
    // never runs more than a few seconds from the pictures, so the layout
    // (and so the bytes) never depends on thread timing, and a stream that
    // ends early holds back no more than this much of the other.
    m_ctx->max_interleave_delta = 60 * int64_t(AV_TIME_BASE);
    m_ctx->pb = openFdIo(m_work.fd(), true);
    if (!m_ctx->pb)
        return ioFailed("create", AVERROR(ENOMEM), error);
    m_ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    m_ctx->opaque = &m_work;
    m_ctx->io_open = openAgain;
    m_ctx->io_close2 = closeAgain;
    return true;
}

AVStream *OutputFile::addStream(const AVCodecContext *encoder, std::string &error)
{
    AVStream *st = avformat_new_stream(m_ctx, nullptr);
    int err = st ? avcodec_parameters_from_context(st->codecpar, encoder) : AVERROR(ENOMEM);
    if (err < 0) {
        error = "cannot add a stream to the output: " + avErrorText(err);
        return nullptr;
    }
    st->time_base = encoder->time_base;
    st->avg_frame_rate = encoder->framerate;
    return st;
}

bool OutputFile::wantsGlobalHeaders() const
{
    return m_ctx->oformat->flags & AVFMT_GLOBALHEADER;
}

bool OutputFile::writeHeader(std::string &error)
{
    AVDictionary *opts = nullptr;
    // Players and devices start at once when the index comes first.
    av_dict_set(&opts, "movflags", "+faststart", 0);
    int err = avformat_write_header(m_ctx, &opts);
    av_dict_free(&opts);
    if (err < 0)
        return ioFailed("start", err, error);
    return true;
}

bool OutputFile::write(AVPacket *pkt, std::string &error)
{
    std::lock_guard lock(m_lock);
    if (!m_ctx) {
        error = "the output '" + m_finalPath + "' was given up";
        return false;
    }
    const AVStream *st = m_ctx->streams[pkt->stream_index];
    if (pkt->pts != AV_NOPTS_VALUE) {
        double end = (pkt->pts + pkt->duration) * av_q2d(st->time_base);
        m_secondsWritten = std::max(m_secondsWritten, end);
    }
    int err = av_interleaved_write_frame(m_ctx, pkt);
    if (err < 0)
        return ioFailed("write", err, error);
    return true;
}

bool OutputFile::finish(std::string &error)
{
    int err = av_write_trailer(m_ctx);
    if (err >= 0 && m_ctx->pb->error < 0)
        err = m_ctx->pb->error;
    m_closedBytes = std::max<int64_t>(avio_size(m_ctx->pb), avio_tell(m_ctx->pb));
    int closeErr = closeFdIo(&m_ctx->pb);
    if (err >= 0)
        err = closeErr;
    if (err < 0)
        return ioFailed("finish", err, error);
    if (!m_work.publish(m_finalPath, m_finishedPath, error))
        return false;
    avformat_free_context(m_ctx);
    m_ctx = nullptr;
    return true;
}

void OutputFile::abandon()
{
    // A track's picture thread may still be writing.
    std::lock_guard lock(m_lock);
    if (m_ctx) {
        closeFdIo(&m_ctx->pb);
        avformat_free_context(m_ctx);
        m_ctx = nullptr;
    }
    m_work.discard();
}

int64_t OutputFile::bytesWritten() const
{
    std::lock_guard lock(m_lock);
    return m_ctx && m_ctx->pb ? avio_tell(m_ctx->pb) : m_closedBytes;
}

double OutputFile::secondsWritten() const
{
    std::lock_guard lock(m_lock);
    return m_secondsWritten;
}

bool OutputFile::ioFailed(const char *what, int err, std::string &error) const
{
    error =
        std::string("cannot ") + what + " the output '" + m_finalPath + "': " + avErrorText(err);
    return false;
}

} // namespace zelo
