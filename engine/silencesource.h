// Silent sound for outputs that must carry a sound track when the source has
// none (the PSP container refuses a file without one).
#pragma once

#include "engine/avptr.h"

#include <string>

namespace zelo {

class EncodeTrack;

class SilenceSource
{
public:
    SilenceSource(int sampleRate, int channels);

    // Pushes silence into track up to endUs (microseconds from the trim
    // start), in frames timed like decoded sound.
    bool fillTo(int64_t endUs, EncodeTrack &track, std::string &error);

private:
    int m_sampleRate;
    int m_channels;
    int64_t m_samples = 0; // written so far
};

} // namespace zelo
