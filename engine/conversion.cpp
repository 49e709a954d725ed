#include "engine/conversion.h"
#include "engine/workingfile.h"

#include "engine/cliplength.h"
#include "engine/encodersetup.h"

#include <algorithm>
#include <sys/stat.h>

namespace zelo {

namespace {

// How many packets to read past a seek while looking for the first picture.
constexpr size_t kSeekLookahead = 2000;

std::string seconds(int64_t us)
{
    return std::to_string(us / AV_TIME_BASE) + "." + std::to_string(us % AV_TIME_BASE / 100000);
}

} // namespace

Conversion::Conversion(ConvertOptions options, const std::atomic<bool> &stop,
                       ProgressReporter &progress)
    : m_options(std::move(options)), m_stop(stop), m_progress(progress),
      m_interrupter(Interrupter::withStopFlag(&stop))
{}

ConversionResult Conversion::run()
{
    std::string error;
    bool ok = prepare(error) && transcode(error) && finishTracks(error);
    Progress last = progress();
    ok = ok && m_output.finish(error);
    // A stop also breaks off whatever was being written at the time: that
    // is no failure to report.
    if (stopRequested() && !ok) {
        abandonOutput();
        return ConversionResult::Stopped;
    }
    if (!ok)
        return fail(error);
    last.bytes = m_output.bytesWritten();
    m_progress.finalLine(last);
    if (m_output.finishedPath() != m_options.output)
        m_progress.outputNamed(m_output.finishedPath());
    return ConversionResult::Complete;
}

void Conversion::abandonOutput()
{
    // The picture threads write into the output: they end first.
    for (Lane *lane : {&m_video, &m_audio})
        if (lane->track)
            lane->track->abandon();
    m_output.abandon();
}

ConversionResult Conversion::fail(const std::string &reason)
{
    abandonOutput();
    m_progress.error(reason);
    return ConversionResult::Failed;
}

bool Conversion::prepare(std::string &error)
{
    const ConvertOptions &o = m_options;
    if (o.lengthUs <= 0) {
        error = "nothing to convert: the range is empty";
        return false;
    }
    struct stat st;
    if (!o.overwrite && ::stat(o.output.c_str(), &st) == 0) {
        error = "'" + o.output + "' already exists";
        return false;
    }
    m_endUs = o.startUs + o.lengthUs;
    if (!m_input.open(o.input, &m_interrupter, error) ||
        !m_output.create(o.output, o.format, o.bitexact, &m_interrupter, error))
        return false;
    // The name the file will get, as soon as it is known.
    const std::string planned = firstFreeName(o.output);
    if (planned != o.output)
        m_progress.outputNamed(planned);
    const bool globalHeaders = m_output.wantsGlobalHeaders();
    const int64_t origin = m_input.originUs();
    if (AVStream *video = m_input.videoStream()) {
        CodecContextPtr decoder = m_input.openDecoder(video, 0, error);
        CodecContextPtr encoder = decoder ? openVideoEncoder(o, globalHeaders, error) : nullptr;
        if (!encoder)
            return false;
        const DisplayGeometry g = m_input.videoGeometry();
        m_video.decoder.emplace(std::move(decoder), video, origin);
        // Pictures are timed in their stream's own units: microseconds
        // would round 1/30 s differently from picture to picture, and the
        // rate change would then pick its pictures unevenly.
        m_unseen.emplace(o.startUs, m_endUs, o.frameRate, video->time_base, origin);
        m_videoStartTicks = av_rescale_q(origin + o.startUs, AV_TIME_BASE_Q, video->time_base);
        m_videoTimeBase = EncodeTrack::holdingMicroseconds(video->time_base);
        m_video.track = std::make_unique<EncodeTrack>(std::move(encoder), videoChain(o, g), g.sar,
                                                      m_videoTimeBase);
        if (!m_video.track->attach(m_output, error))
            return false;
    }
    // Sound that cannot be decoded (a damaged setup header, say) must not
    // cost the pictures: silence stands in for it.
    std::string soundError;
    CodecContextPtr soundDecoder;
    if (AVStream *audio = m_input.audioStream())
        soundDecoder = m_input.openDecoder(audio, 1, soundError);
    if (soundDecoder) {
        CodecContextPtr encoder = openAudioEncoder(o, globalHeaders, error);
        if (!encoder)
            return false;
        m_audio.decoder.emplace(std::move(soundDecoder), m_input.audioStream(), origin);
        m_audio.track = std::make_unique<EncodeTrack>(std::move(encoder), audioChain(o),
                                                      AVRational{1, 1}, AV_TIME_BASE_Q);
        if (!m_audio.track->attach(m_output, error))
            return false;
    } else if (!m_video.track) {
        error = soundError;
        return false;
    } else if (o.format == "psp" || m_input.audioStream()) {
        if (m_input.audioStream())
            m_progress.warning("the sound cannot be decoded (" + soundError +
                               "); silence stands in for it");
        // The PSP container wants a sound track: silence for the whole range.
        CodecContextPtr encoder = openAudioEncoder(o, globalHeaders, error);
        if (!encoder)
            return false;
        m_audio.track = std::make_unique<EncodeTrack>(std::move(encoder), audioChain(o),
                                                      AVRational{1, 1}, AV_TIME_BASE_Q);
        if (!m_audio.track->attach(m_output, error))
            return false;
        m_silence.emplace(o.sampleRate, o.channels);
    }
    return m_output.writeHeader(error);
}

bool Conversion::seekToStart()
{
    const int64_t start = m_options.startUs;
    const AVStream *ref = m_input.videoStream() ? m_input.videoStream() : m_input.audioStream();
    AVFormatContext *fmt = m_input.format();
    const int64_t origin = m_input.originUs();
    if (start <= 0)
        return true;
    // Seek to the key frame before the start, then decode up to it. Some
    // demuxers land late (no index, timestamp search): check the first key
    // packet and back off further until it lies before the start.
    for (int64_t margin = 0; margin <= start; margin = margin ? margin * 2 : AV_TIME_BASE) {
        int64_t ts = origin + start - margin;
        if (stopRequested() || avformat_seek_file(fmt, -1, INT64_MIN, ts, ts, 0) < 0)
            break;
        m_pending.clear();
        int64_t firstUs = AV_NOPTS_VALUE;
        while (m_pending.size() < kSeekLookahead) {
            PacketPtr pkt = makePacket();
            if (!pkt || av_read_frame(fmt, pkt.get()) < 0)
                break;
            const bool key = pkt->stream_index == ref->index && (pkt->flags & AV_PKT_FLAG_KEY);
            const int64_t pts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
            m_pending.push_back(std::move(pkt));
            if (key && pts != AV_NOPTS_VALUE) {
                firstUs = av_rescale_q(pts, ref->time_base, AV_TIME_BASE_Q) - origin;
                break;
            }
        }
        if (firstUs != AV_NOPTS_VALUE && firstUs <= start)
            return true;
    }
    // Read from the very beginning: slow, but still exact. A stream without
    // timestamps (raw H.264, say) cannot seek by time at all, and a failed
    // attempt may have left it at its end: go back to its first byte.
    m_pending.clear();
    return avformat_seek_file(fmt, -1, INT64_MIN, origin, origin, 0) >= 0 ||
           avformat_seek_file(fmt, -1, 0, 0, 0, AVSEEK_FLAG_BYTE) >= 0;
}

bool Conversion::readPacket(AVPacket *pkt)
{
    if (!m_pending.empty()) {
        av_packet_move_ref(pkt, m_pending.front().get());
        m_pending.pop_front();
        return true;
    }
    // Damage in the middle of a file ends the source there; whether that
    // was its real end, checkReadToEnd tells.
    if (av_read_frame(m_input.format(), pkt) >= 0)
        return true;
    m_sourceEnded = true;
    return false;
}

bool Conversion::transcode(std::string &error)
{
    seekToStart();
    PacketPtr pkt = makePacket();
    if (!pkt || !m_video.frame || !m_audio.frame) {
        error = "out of memory";
        return false;
    }
    // Sound is decoded and encoded beside the pictures: on small pictures
    // the AAC encoder is the biggest cost of all.
    std::optional<LaneWorker> sound;
    if (m_audio.decoder)
        sound.emplace(
            [this](const AVPacket *p, std::string &e) { return decodeInto(m_audio, p, e); },
            m_stop);
    auto finished = [this] {
        return (!m_video.decoder || m_video.done) && (!m_audio.decoder || m_audio.done);
    };
    while (!finished() && !stopRequested()) {
        if (!readPacket(pkt.get())) {
            if (m_video.decoder && !m_video.done &&
                !(feedPicture(nullptr, error) && decodeInto(m_video, nullptr, error)))
                return false;
            break;
        }
        const AVStream *soundStream = m_input.audioStream();
        if (!m_audio.decoder && soundStream && pkt->stream_index == soundStream->index)
            notePacketEnd(m_audio, pkt.get()); // silence lasts as long
        for (Lane *lane : {&m_video, &m_audio}) {
            if (!lane->decoder || pkt->stream_index != lane->decoder->streamIndex())
                continue;
            notePacketEnd(*lane, pkt.get());
            const bool fed = lane == &m_video ? feedPicture(pkt.get(), error)
                                              : feed(*lane, pkt.get(), &*sound, error);
            if (!fed)
                return false;
        }
        av_packet_unref(pkt.get());
        m_progress.update(progress());
    }
    if (stopRequested())
        return false;
    return (!sound || sound->finish(error)) && checkReadToEnd(error);
}

bool Conversion::checkReadToEnd(std::string &error) const
{
    if (!m_sourceEnded)
        return true;
    const std::string cutShort = "the source could not be read to its end: ";
    const AVIOContext *pb = m_input.format()->pb;
    if (pb && pb->error < 0 && pb->error != AVERROR_EOF) {
        error = cutShort + avErrorText(pb->error);
        return false;
    }
    // The length asked for is the probe's, in whole seconds rounded up: a
    // source read to its real end stops less than a second before it. One
    // that stops well before was cut short after it was probed.
    int64_t reached = AV_NOPTS_VALUE;
    for (const Lane *lane : {&m_video, &m_audio})
        reached = std::max(reached, lane->packetEndUs);
    // A range that starts past the end is another failure, told later.
    constexpr int64_t kRoundedUpUs = AV_TIME_BASE + AV_TIME_BASE / 4;
    if (reached == AV_NOPTS_VALUE || reached <= m_options.startUs ||
        reached >= m_endUs - kRoundedUpUs)
        return true;
    error = cutShort + "'" + m_options.input + "' ends at " + seconds(reached) + " s, not at " +
            seconds(m_endUs) + " s";
    return false;
}

bool Conversion::feed(Lane &lane, AVPacket *pkt, LaneWorker *worker, std::string &error)
{
    if (lane.done)
        return true;
    if (!worker)
        return decodeInto(lane, pkt, error);
    if (worker->push(pkt))
        return true;
    if (stopRequested())
        return false;
    // The worker gave up: its reason is the one to give.
    worker->finish(error);
    return false;
}

// Pictures reach the decoder one packet late: by then the next packet's time
// is known as well, and with it whether the held picture will ever be shown.
// One never shown that no other picture refers to is not decoded at all
// (with a rate halved, that is about every fourth picture of a camera's
// H.264). nullptr passes on the held packet at the end of the source.
bool Conversion::feedPicture(AVPacket *pkt, std::string &error)
{
    if (pkt)
        m_unseen->noteRead(pkt->pts);
    if (m_heldPicture && !m_video.done) {
        const AVPacket *held = m_heldPicture.get();
        // Not before the first picture is passed on: it may move them all.
        m_video.decoder->skipUnreferenced(m_video.startUs != AV_NOPTS_VALUE &&
                                          m_video.decoder->timesFollowPackets() &&
                                          m_unseen->neverShown(held->pts));
        if (!decodeInto(m_video, held, error))
            return false;
    }
    m_heldPicture = pkt ? handoff::take(pkt) : nullptr;
    if (pkt && !m_heldPicture) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool Conversion::decodeInto(Lane &lane, const AVPacket *pkt, std::string &error)
{
    lane.decoder->send(pkt);
    while (!lane.done && lane.decoder->receive(lane.frame.get())) {
        if (!pass(lane, error))
            return false;
    }
    return true;
}

bool Conversion::pass(Lane &lane, std::string &error)
{
    AVFrame *frame = lane.frame.get();
    const int64_t start = lane.decoder->frameStartUs();
    if (&lane == &m_video)
        return passPicture(frame, start, error);
    if (start >= m_endUs) {
        // A frame that leaps far past the one before ends nothing: a damaged
        // time, the stream goes on where it was. (A real break that lies
        // past the end only costs reading on.)
        lane.done = lane.decodedUs == AV_NOPTS_VALUE || start - lane.decodedUs <= kFarLeapUs;
        av_frame_unref(frame);
        return true;
    }
    lane.decodedUs = lane.decoder->frameEndUs();
    if (lane.decoder->frameEndUs() <= m_options.startUs) {
        av_frame_unref(frame); // leads up to the start, never heard
        return true;
    }
    noteShape(lane, frame);
    frame->pts = start - m_options.startUs;
    lane.startUs = start;
    lane.endUs = lane.decoder->frameEndUs();
    // Sound goes on one frame late: the last one may hold its encoder's
    // padding, which only the packets' end tells (see pushLastSound).
    if (lane.held && lane.held->nb_samples > 0 && !lane.track->push(lane.held.get(), error))
        return false;
    if (!lane.held && !(lane.held = makeFrame())) {
        error = "out of memory";
        return false;
    }
    av_frame_move_ref(lane.held.get(), frame);
    return true;
}

// A picture shows until the next one, whatever its packet claims (a
// variable-rate ASF gives each a nominal 1/rate): one that starts before
// the trim start waits until the next picture tells whether it is still
// on screen there.
bool Conversion::passPicture(AVFrame *frame, int64_t start, std::string &error)
{
    const StreamDecoder &decoder = *m_video.decoder;
    if (start >= m_endUs) {
        // A picture that leaps far past the one before ends nothing: a
        // damaged time, the stream goes on where it was.
        if (m_video.decodedUs == AV_NOPTS_VALUE || start - m_video.decodedUs <= kFarLeapUs) {
            if (!passLeadIn(start > m_options.startUs, error))
                return false;
            m_video.done = true;
        }
        av_frame_unref(frame);
        return true;
    }
    m_video.decodedUs = decoder.frameEndUs();
    if (start < m_options.startUs) {
        if (!m_leadIn.frame && !(m_leadIn.frame = makeFrame())) {
            error = "out of memory";
            return false;
        }
        av_frame_unref(m_leadIn.frame.get());
        av_frame_move_ref(m_leadIn.frame.get(), frame);
        m_leadIn.startUs = start;
        m_leadIn.endUs = decoder.frameEndUs();
        m_leadIn.ticks = decoder.frameStartTicks();
        return true;
    }
    if (!passLeadIn(start > m_options.startUs, error))
        return false;
    return pushPicture(frame, {nullptr, start, decoder.frameEndUs(), decoder.frameStartTicks()},
                       error);
}

bool Conversion::passLeadIn(bool shown, std::string &error)
{
    AVFrame *frame = m_leadIn.frame.get();
    if (!frame || !frame->buf[0])
        return true;
    const bool ok = !shown || pushPicture(frame, m_leadIn, error);
    av_frame_unref(frame);
    return ok;
}

// A first picture later than the start by no more than its own length is
// the delay of a decoder's reordering (an AVI keeps only the order pictures
// are decoded in, so each comes out with the next one's time) or of the
// container (an FLV's picture delay), not a gap. From half an output frame
// on, the rate change would repeat it in the slot before it, and the
// pictures would last a frame longer than the source's: they all move up.
void Conversion::noteFirstPicture(const HeldPicture &at)
{
    const int64_t late = at.startUs - m_options.startUs;
    const int64_t frameUs = av_rescale_q(1, av_inv_q(m_options.frameRate), AV_TIME_BASE_Q);
    if (2 * late < frameUs || late > at.endUs - at.startUs)
        return;
    m_delayUs = late;
    m_delayTicks = at.ticks - m_videoStartTicks;
    m_unseen->delayBy(m_delayTicks);
}

bool Conversion::pushPicture(AVFrame *frame, const HeldPicture &at, std::string &error)
{
    if (m_video.startUs == AV_NOPTS_VALUE)
        noteFirstPicture(at);
    m_video.startUs = at.startUs;
    m_video.endUs = at.endUs;
    if (m_silence &&
        !m_silence->fillTo(at.startUs - m_delayUs - m_options.startUs, *m_audio.track, error))
        return false;
    frame->pts = av_rescale_q(at.ticks - m_videoStartTicks - m_delayTicks,
                              m_input.videoStream()->time_base, m_videoTimeBase);
    return m_video.track->push(frame, error);
}

bool Conversion::pushLastSound(std::string &error)
{
    AVFrame *last = m_audio.held.get();
    if (!last || last->nb_samples <= 0)
        return true;
    // A decoder gives the last frame whole, while the packet's duration
    // says where the sound really ends (an 8 kHz frame lasts 128 ms).
    if (m_audio.packetEndUs != AV_NOPTS_VALUE && m_audio.packetEndUs < m_audio.endUs) {
        const int64_t keep = av_rescale(m_audio.packetEndUs - m_options.startUs - last->pts,
                                        last->sample_rate, AV_TIME_BASE);
        if (keep > 0 && keep < last->nb_samples) {
            last->nb_samples = static_cast<int>(keep);
            m_audio.endUs = m_audio.packetEndUs;
        }
    }
    return m_audio.track->push(last, error);
}

void Conversion::noteShape(Lane &lane, const AVFrame *frame)
{
    // What silence must look like to go on where this sound breaks off.
    if (&lane != &m_audio || lane.shape || !(lane.shape = makeFrame()))
        return;
    lane.shape->format = frame->format;
    lane.shape->sample_rate = frame->sample_rate;
    if (av_channel_layout_copy(&lane.shape->ch_layout, &frame->ch_layout) < 0)
        lane.shape.reset();
}

void Conversion::notePacketEnd(Lane &lane, const AVPacket *pkt) const
{
    const int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
    if (ts == AV_NOPTS_VALUE || (pkt->flags & AV_PKT_FLAG_DISCARD))
        return; // never shown
    const AVRational timeBase = m_input.format()->streams[pkt->stream_index]->time_base;
    const int64_t end =
        av_rescale_q(ts + std::max<int64_t>(pkt->duration, 0), timeBase, AV_TIME_BASE_Q) -
        m_input.originUs();
    if (lane.packetEndUs == AV_NOPTS_VALUE || end > lane.packetEndUs)
        lane.packetEndUs = end;
}

int64_t Conversion::pictureEndUs() const
{
    const ConvertOptions &o = m_options;
    if (m_video.done)
        return o.lengthUs; // the source goes on past the stop
    if (m_video.endUs == AV_NOPTS_VALUE)
        return 0;
    // The last picture shows for at least one output frame (a lone picture
    // may claim to last no time at all), and as long as the clip goes on: a
    // recorder that dropped the last pictures before the stop still played
    // its sound there, and a player holds the last picture meanwhile.
    const int64_t frameUs = av_rescale_q(1, av_inv_q(o.frameRate), AV_TIME_BASE_Q);
    int64_t end = std::max(m_video.endUs, m_video.startUs + frameUs) - m_delayUs;
    if (m_video.packetEndUs != AV_NOPTS_VALUE)
        end = std::max(end, m_video.packetEndUs - m_delayUs);
    if (m_audio.packetEndUs != AV_NOPTS_VALUE)
        end = std::max(end, m_audio.packetEndUs);
    return std::clamp<int64_t>(end - o.startUs, 0, o.lengthUs);
}

bool Conversion::finishTracks(std::string &error)
{
    const int64_t start = m_options.startUs;
    boundLeapingPackets();
    // No picture after the last one before the start: it stays on screen
    // where the clip goes on past the start (a lone picture stamped a little
    // before the file's own start, say).
    int64_t reached = m_leadIn.endUs;
    for (const Lane *lane : {&m_video, &m_audio})
        reached = std::max(reached, lane->packetEndUs);
    if (m_video.track && !passLeadIn(reached > start, error))
        return false;
    const int64_t pictureEnd = pictureEndUs();
    if (m_video.track && !m_video.track->finish(pictureEnd, error))
        return false;
    if (m_silence) {
        if (!m_silence->fillTo(pictureEnd, *m_audio.track, error) ||
            !m_audio.track->finish(pictureEnd, error))
            return false;
    } else if (m_audio.track) {
        if (!pushLastSound(error) || !fillBrokenSound(pictureEnd, error))
            return false;
        const int64_t end =
            m_audio.endUs == AV_NOPTS_VALUE ? start : std::min(m_audio.endUs, m_endUs);
        if (!m_audio.track->finish(end - start, error))
            return false;
    }
    return checkNotEmpty(error);
}

bool Conversion::fillBrokenSound(int64_t pictureEnd, std::string &error)
{
    // Sound whose packets go on where its decoding broke off: silence up to
    // where they end. Sound of which nothing decoded at all: silence as long
    // as the pictures, so that the output still has its sound track.
    const int64_t start = m_options.startUs;
    const int64_t decodedUs = m_audio.endUs == AV_NOPTS_VALUE ? start : m_audio.endUs;
    int64_t targetUs = m_audio.packetEndUs == AV_NOPTS_VALUE ? start : m_audio.packetEndUs;
    if (m_audio.endUs == AV_NOPTS_VALUE)
        targetUs = std::max(targetUs, start + pictureEnd);
    targetUs = std::min(targetUs, m_endUs);
    constexpr int64_t kBrokenUs = AV_TIME_BASE / 5; // past any decoder's delay
    if (targetUs - decodedUs < kBrokenUs)
        return true;
    std::optional<SilenceSource> silence;
    if (m_audio.shape)
        silence.emplace(m_audio.shape.get(), decodedUs - start);
    else
        silence.emplace(m_options.sampleRate, m_options.channels);
    if (!silence->fillTo(targetUs - start, *m_audio.track, error))
        return false;
    m_progress.warning("the sound cannot be decoded after " + seconds(decodedUs - start) +
                       " s; silence stands in for it");
    m_audio.endUs = targetUs;
    return true;
}

int64_t Conversion::contentEndUs() const
{
    // The header's length may be wrong; the packets tell. A second reader
    // leaves this one where it is.
    const Interrupter deadline = Interrupter::withDeadline(std::chrono::seconds(5));
    MediaInput again;
    std::string ignored;
    return again.open(m_options.input, &deadline, ignored) ? measureExtent(again, deadline).endUs
                                                           : AV_NOPTS_VALUE;
}

void Conversion::boundLeapingPackets()
{
    // Packets that end far past everything decoded are lost sound or
    // pictures, or times gone wrong in a damaged table: the clip's content,
    // read again without such times, tells which.
    int64_t decodedUs = m_options.startUs;
    for (const Lane *lane : {&m_video, &m_audio})
        if (lane->endUs != AV_NOPTS_VALUE)
            decodedUs = std::max(decodedUs, lane->endUs);
    const auto leaps = [&](const Lane *lane) {
        return lane->packetEndUs != AV_NOPTS_VALUE && lane->packetEndUs - decodedUs > kFarLeapUs;
    };
    if (!leaps(&m_video) && !leaps(&m_audio))
        return;
    const int64_t contentUs = contentEndUs();
    for (Lane *lane : {&m_video, &m_audio})
        if (contentUs != AV_NOPTS_VALUE && leaps(lane))
            lane->packetEndUs = std::max(decodedUs, std::min(lane->packetEndUs, contentUs));
}

bool Conversion::checkNotEmpty(std::string &error)
{
    // A file without pictures (or, from a source without any, without sound)
    // is no conversion, whatever went wrong on the way: say why instead of
    // passing it off as done.
    const Lane &main = m_video.track ? m_video : m_audio;
    if (main.track->packetsWritten() > 0)
        return true;
    const int64_t start = m_options.startUs;
    int64_t clipUs = contentEndUs();
    if (clipUs == AV_NOPTS_VALUE)
        clipUs = m_input.durationUs();
    if (clipUs != AV_NOPTS_VALUE && start >= clipUs) {
        error = "nothing to convert: the range is empty (the start, " + seconds(start) +
                " s, lies at or after the end of '" + m_options.input + "', " + seconds(clipUs) +
                " s)";
        return false;
    }
    error = std::string("no ") + (&main == &m_video ? "picture" : "sound") +
            " could be decoded between " + seconds(start) + " s and " + seconds(m_endUs) +
            " s of '" + m_options.input + "'";
    return false;
}

Progress Conversion::progress() const
{
    Progress p;
    if (m_video.track) {
        p.frames = m_video.track->packetsWritten();
        p.quality = m_video.track->lastQuality();
    }
    p.bytes = m_output.bytesWritten();
    p.seconds = m_output.secondsWritten();
    return p;
}

} // namespace zelo
