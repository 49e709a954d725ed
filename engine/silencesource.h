// Silent sound for outputs that must carry a sound track when the source has
// none (the PSP container refuses a file without one), and for the stretches
// of a source's sound that cannot be decoded.
#pragma once

#include "engine/avptr.h"

#include <string>

namespace zelo {

class EncodeTrack;

class SilenceSource
{
public:
    SilenceSource(int sampleRate, int channels);
    // Shaped like decoded sound (its format, rate and channels), starting at
    // fromUs: to go on where that sound broke off.
    SilenceSource(const AVFrame *shape, int64_t fromUs);
    ~SilenceSource();
    SilenceSource(const SilenceSource &) = delete;
    SilenceSource &operator=(const SilenceSource &) = delete;

    // Pushes silence into track up to endUs (microseconds from the trim
    // start), in frames timed like decoded sound.
    bool fillTo(int64_t endUs, EncodeTrack &track, std::string &error);

private:
    int m_sampleRate;
    AVChannelLayout m_layout{};
    AVSampleFormat m_format = AV_SAMPLE_FMT_FLTP;
    int64_t m_samples = 0; // from the trim start, written so far
};

} // namespace zelo
