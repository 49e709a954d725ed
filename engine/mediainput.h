// An opened source file: the demuxer, the streams worth decoding and what a
// viewer would see of the picture.
#pragma once

#include "engine/avptr.h"

#include <atomic>
#include <chrono>
#include <string>

namespace zelo {

// When a blocking FFmpeg call has to give up: at a deadline (probing must
// never hang on a strange file) and/or when a stop flag is raised.
class Interrupter
{
public:
    using Clock = std::chrono::steady_clock;

    static Interrupter withDeadline(Clock::duration budget);
    static Interrupter withStopFlag(const std::atomic<bool> *stop);

    bool expired() const;
    AVIOInterruptCB callback() const;

private:
    Clock::time_point m_deadline = Clock::time_point::max();
    const std::atomic<bool> *m_stop = nullptr;
};

// Upright picture size of a video stream, and how to get there.
struct DisplayGeometry
{
    int width = 0; // as displayed: rotation and pixel aspect applied
    int height = 0;
    int rotation = 0;      // clockwise quarter turns needed: 0, 90, 180 or 270
    bool mirrored = false; // left and right swapped before the turn
    AVRational sar{1, 1};  // the stored pixels' aspect
};

class MediaInput
{
public:
    // Opens path as a plain file (no protocol prefixes, no devices, no
    // FIFOs) and reads the stream parameters. On failure returns false with
    // a reason in words. The interrupter must outlive this object.
    // byteLimit > 0 reads the file as if it ended there; a file of the
    // formats read from their end is cut before a tail of junk.
    bool open(const std::string &path, const Interrupter *interrupter, std::string &error,
              int64_t byteLimit = 0);

    AVFormatContext *format() const { return m_format.get(); }
    AVStream *videoStream() const { return stream(m_video); }
    AVStream *audioStream() const { return stream(m_audio); }

    // Where the file's own timeline starts, in microseconds: times the user
    // gives count from here.
    int64_t originUs() const;
    // Whole length in microseconds, or AV_NOPTS_VALUE when nobody knows.
    int64_t durationUs() const;

    DisplayGeometry videoGeometry() const;

    // A decoder for one of the chosen streams. Frame threads help big
    // pictures; thumbnails ask for one thread, since frame threading delays
    // the first picture by a frame per thread.
    CodecContextPtr openDecoder(AVStream *stream, int threads, std::string &error) const;

private:
    AVStream *stream(int index) const { return index >= 0 ? m_format->streams[index] : nullptr; }
    void chooseStreams();

    InputFormatPtr m_format;
    int m_video = -1;
    int m_audio = -1;
};

} // namespace zelo
