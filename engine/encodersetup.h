// How the requested output is made: the encoders and the filters in front
// of them.
#pragma once

#include "engine/avptr.h"
#include "engine/convertoptions.h"
#include "engine/mediainput.h"

#include <string>

namespace zelo {

// MPEG-4 part 2 with a bounded rate-control buffer, slice-threaded.
CodecContextPtr openVideoEncoder(const ConvertOptions &o, bool globalHeader, std::string &error);
// AAC-LC.
CodecContextPtr openAudioEncoder(const ConvertOptions &o, bool globalHeader, std::string &error);

// Frames arrive timed in microseconds from the trim start; out come upright
// pictures at the output rate, scaled into the frame inside the bands.
std::string videoChain(const ConvertOptions &o, const DisplayGeometry &source);
// Sound arrives timed in microseconds from the trim start; out comes the
// trimmed length at the output rate, layout and loudness.
std::string audioChain(const ConvertOptions &o);

// The rate-control buffer, in bits, for a video bit rate in bit/s.
int videoBufferBits(int64_t bitRate);

} // namespace zelo
