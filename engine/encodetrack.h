// One output stream: decoded frames through filters into an encoder and on
// into the output file.
#pragma once

#include "engine/avptr.h"
#include "engine/filterchain.h"
#include "engine/handoff.h"

#include <atomic>
#include <memory>
#include <string>

namespace zelo {

class OutputFile;

class EncodeTrack
{
public:
    // chain shapes decoded frames (timed in timeBase from the trim start)
    // for encoder. sar matters for pictures only.
    EncodeTrack(CodecContextPtr encoder, std::string chain, AVRational sar, AVRational timeBase);

    // Adds the track's stream to out; before out's header.
    bool attach(OutputFile &out, std::string &error);

    // Takes over the frame's data; its pts is in the track's time base,
    // from the trim start. The filters are built on the first frame, whose shape they then
    // expect. Pictures are filtered and encoded on a thread of the track's
    // own while the caller decodes the next ones; a failure there is given
    // by a later push or by finish.
    bool push(AVFrame *frame, std::string &error);
    // No more input; endUs is where the input ends. Writes out everything
    // still held by the filters and the encoder.
    bool finish(int64_t endUs, std::string &error);
    // Drops whatever is still queued and waits for the picture thread, so
    // that nothing writes to the output after this returns; before the
    // output is abandoned.
    void abandon() { m_pictureThread.reset(); }

    // A time base in which both timeBase's ticks and microseconds are whole
    // numbers, where one fits (else timeBase): the end of a track is told in
    // microseconds, and must not be rounded to the source's ticks.
    static AVRational holdingMicroseconds(AVRational timeBase);

    int64_t packetsWritten() const { return m_packets; }
    double lastQuality() const { return m_quality; }

private:
    bool filterAndEncode(AVFrame *frame, std::string &error);
    bool pump(std::string &error);
    bool encode(AVFrame *frame, std::string &error);

    CodecContextPtr m_encoder;
    std::string m_chain;
    AVRational m_sar;
    AVRational m_timeBase; // of the frames pushed
    FilterChain m_filters;
    OutputFile *m_out = nullptr;
    AVStream *m_stream = nullptr;
    FramePtr m_filtered = makeFrame();
    PacketPtr m_packet = makePacket();
    std::atomic<bool> m_filtersOpen{false};
    std::atomic<int64_t> m_packets{0}; // read by the progress reports
    std::atomic<double> m_quality{0};
    std::unique_ptr<HandOff<AVFrame>> m_pictureThread; // last: stops first
};

} // namespace zelo
