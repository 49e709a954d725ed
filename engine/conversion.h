// One clip converted: from the source file, trimmed, through the filters and
// encoders, into the output file.
#pragma once

#include "engine/avptr.h"
#include "engine/convertoptions.h"
#include "engine/encodetrack.h"
#include "engine/laneworker.h"
#include "engine/mediainput.h"
#include "engine/outputfile.h"
#include "engine/progressreporter.h"
#include "engine/silencesource.h"
#include "engine/streamdecoder.h"
#include "engine/unseenpictures.h"

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace zelo {

enum class ConversionResult
{
    Complete,
    Stopped,
    Failed
};

class Conversion
{
public:
    // stop may be raised from another thread at any time; the conversion then
    // ends within a fraction of a second.
    Conversion(ConvertOptions options, const std::atomic<bool> &stop, ProgressReporter &progress);

    // Sends the status lines (and, on failure, the error line) as it goes.
    ConversionResult run();

private:
    // Per source stream: its decoder, where it writes to, and how far it got.
    struct Lane
    {
        std::optional<StreamDecoder> decoder;
        std::unique_ptr<EncodeTrack> track;
        FramePtr frame = makeFrame();
        int64_t startUs = AV_NOPTS_VALUE;     // start of the last frame passed on
        int64_t endUs = AV_NOPTS_VALUE;       // end of the last frame passed on
        int64_t packetEndUs = AV_NOPTS_VALUE; // end of the last packet read
        int64_t decodedUs = AV_NOPTS_VALUE;   // end of the last frame decoded before the stop
        FramePtr shape;                       // the first sound frame's, without data
        FramePtr held;                        // the last sound frame, not yet pushed
        std::atomic<bool> done{false};        // read by the demuxing thread
    };

    bool prepare(std::string &error);
    bool seekToStart();
    bool readPacket(AVPacket *pkt);
    bool decodeInto(Lane &lane, const AVPacket *pkt, std::string &error);
    // A decoded picture kept back, with its place on the timeline.
    struct HeldPicture
    {
        FramePtr frame;
        int64_t startUs = AV_NOPTS_VALUE;
        int64_t endUs = AV_NOPTS_VALUE;
        int64_t ticks = AV_NOPTS_VALUE; // its start in the stream's time base
    };

    bool pass(Lane &lane, std::string &error);
    bool passPicture(AVFrame *frame, int64_t start, std::string &error);
    bool passLeadIn(bool shown, std::string &error);
    bool pushPicture(AVFrame *frame, const HeldPicture &at, std::string &error);
    void noteFirstPicture(const HeldPicture &at);
    bool feed(Lane &lane, AVPacket *pkt, LaneWorker *worker, std::string &error);
    bool feedPicture(AVPacket *pkt, std::string &error);
    bool transcode(std::string &error);
    bool finishTracks(std::string &error);
    bool checkReadToEnd(std::string &error) const;
    void noteShape(Lane &lane, const AVFrame *frame);
    bool fillBrokenSound(int64_t pictureEnd, std::string &error);
    bool pushLastSound(std::string &error);
    int64_t pictureEndUs() const;
    bool checkNotEmpty(std::string &error);
    int64_t contentEndUs() const;
    void boundLeapingPackets();
    void notePacketEnd(Lane &lane, const AVPacket *pkt) const;
    void abandonOutput();
    ConversionResult fail(const std::string &reason);
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    Progress progress() const;

    ConvertOptions m_options;
    const std::atomic<bool> &m_stop;
    ProgressReporter &m_progress;
    Interrupter m_interrupter;
    MediaInput m_input;
    OutputFile m_output;
    Lane m_video;
    Lane m_audio;
    std::optional<SilenceSource> m_silence;      // sound for a source without any
    std::deque<PacketPtr> m_pending;             // read while checking the seek
    std::optional<UnseenPictures> m_unseen;      // pictures the output never shows
    PacketPtr m_heldPicture;                     // read, not yet decoded
    HeldPicture m_leadIn;                        // the latest picture before the start
    int64_t m_endUs = 0;                         // trim end on the file's timeline
    int64_t m_videoStartTicks = 0;               // trim start in the picture stream's units
    int64_t m_delayTicks = 0;                    // the first picture's lateness, taken off all
    int64_t m_delayUs = 0;                       // the same in microseconds
    AVRational m_videoTimeBase{1, AV_TIME_BASE}; // the pictures' on their way to the encoder
    bool m_sourceEnded = false;                  // the demuxer gave no more packets
};

} // namespace zelo
