// One output stream: decoded frames through filters into an encoder and on
// into the output file.
#pragma once

#include "engine/avptr.h"
#include "engine/filterchain.h"

#include <string>

namespace zelo {

class OutputFile;

class EncodeTrack
{
public:
    // chain shapes decoded frames (timed in microseconds from the trim start)
    // for encoder. sar matters for pictures only.
    EncodeTrack(CodecContextPtr encoder, std::string chain, AVRational sar);

    // Adds the track's stream to out; before out's header.
    bool attach(OutputFile &out, std::string &error);

    // Takes over the frame's data; its pts is microseconds from the trim
    // start. The filters are built on the first frame, whose shape they then
    // expect.
    bool push(AVFrame *frame, std::string &error);
    // No more input; endUs is where the input ends. Writes out everything
    // still held by the filters and the encoder.
    bool finish(int64_t endUs, std::string &error);

    int64_t packetsWritten() const { return m_packets; }
    double lastQuality() const { return m_quality; }

private:
    bool pump(std::string &error);
    bool encode(AVFrame *frame, std::string &error);

    CodecContextPtr m_encoder;
    std::string m_chain;
    AVRational m_sar;
    FilterChain m_filters;
    OutputFile *m_out = nullptr;
    AVStream *m_stream = nullptr;
    FramePtr m_filtered = makeFrame();
    PacketPtr m_packet = makePacket();
    bool m_filtersOpen = false;
    int64_t m_packets = 0;
    double m_quality = 0;
};

} // namespace zelo
