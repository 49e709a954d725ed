// How long a clip really plays, read from its packets: headers may lie (a
// recorder that never wrote the end, a fragmented file's placeholder).
#pragma once

#include <cstdint>
#include <vector>

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

// A stream's time never leaps this far between two of its packets except
// at a real break (joined recordings, a pause); damaged tables leap hours.
inline constexpr int64_t kFarLeapUs = 10 * int64_t(1000000);

// One packet of a stream: where it starts and ends, in microseconds.
struct PacketTimes
{
    int64_t fromUs;
    int64_t toUs;
};

// The runs of one stream's packets, in file order, that the content holds,
// each as its first start and last end: a run of packets that leaps far
// from its neighbours while the stream goes on where it left off, and a
// lone packet far from all the rest, are damage.
std::vector<PacketTimes> contentRuns(const std::vector<PacketTimes> &packets);

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
