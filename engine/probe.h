// What the clip list needs to know of a file.
#pragma once

#include <cstdint>
#include <string>

namespace zelo {

struct ClipFacts
{
    int32_t durationSeconds = 0; // rounded up: a trim to this length keeps the clip's end
    std::string videoFormat;     // codec short name, "unknown" without a picture
    std::string audioFormat;     // codec short name, "none" without sound
    int32_t width = 0;           // as displayed
    int32_t height = 0;
};

// Reads path's streams within a few seconds at most. False with a reason
// when the file is no clip the engine could convert.
bool probeClip(const std::string &path, ClipFacts &facts, std::string &error);

// Microseconds to whole seconds, rounding up anything past the last whole
// second by more than a millisecond (container rounding is not a second).
int32_t wholeSecondsUp(int64_t us);

} // namespace zelo
