// How long a clip really plays, read from its packets: headers may lie (a
// recorder that never wrote the end, a fragmented file's placeholder).
#pragma once

#include <cstdint>

namespace zelo {

class Interrupter;
class MediaInput;

// Where the clip starts and ends: from the first to the last sample of the
// streams converted (its picture and its sound, whichever lasts longer), in
// microseconds on the file's timeline (from its origin); AV_NOPTS_VALUE
// where unknown.
struct ClipExtent
{
    int64_t startUs;
    int64_t endUs;
    int64_t lengthUs() const;
};

// Files up to this size are read through; of larger ones only the tail is
// read (about this much of it), so a probe stays cheap on long clips.
inline constexpr int64_t kReadThroughBytes = 2 << 20;
inline constexpr int64_t kTailBytes = 1 << 20;

// Reads packets of input (whose position it moves) until its end or the
// deadline.
ClipExtent measureExtent(MediaInput &input, const Interrupter &deadline,
                         int64_t readThroughBytes = kReadThroughBytes,
                         int64_t tailBytes = kTailBytes);

} // namespace zelo
