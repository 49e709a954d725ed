// The file being written: a muxer on a working file in the final one's
// folder, named only when complete, so that a stopped, failed or killed
// conversion never leaves a broken file under the name the user expects.
#pragma once

#include "engine/avptr.h"
#include "engine/workingfile.h"

#include <mutex>
#include <string>

namespace zelo {

class Interrupter;

class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile(); // anything unfinished is removed
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Creates the working file in finalPath's folder and a muxer for
    // format on it. The interrupter must outlive this object.
    bool create(const std::string &finalPath, const std::string &format, bool bitexact,
                const Interrupter *interrupter, std::string &error);

    // A stream carrying what encoder makes; call before writeHeader.
    AVStream *addStream(const AVCodecContext *encoder, std::string &error);
    bool wantsGlobalHeaders() const;
    bool writeHeader(std::string &error);
    // Takes the packet's data; timestamps in the stream's time base.
    bool write(AVPacket *pkt, std::string &error);
    // Trailer, index to the front, close, and the working file named
    // finalPath, or the next free numbered name when finalPath is taken: an
    // existing file is never replaced.
    bool finish(std::string &error);
    // Closes and removes the working file.
    void abandon();

    int64_t bytesWritten() const;
    // End of the latest packet written, seconds of output.
    double secondsWritten() const;
    // The name the finished file got: finalPath or a numbered one.
    const std::string &finishedPath() const { return m_finishedPath; }

private:
    bool ioFailed(const char *what, int err, std::string &error) const;

    // Each stream's encoder may write from a thread of its own.
    mutable std::mutex m_lock;
    AVFormatContext *m_ctx = nullptr;
    WorkingFile m_work;
    std::string m_finalPath;
    std::string m_finishedPath;
    double m_secondsWritten = 0;
    int64_t m_closedBytes = 0;
};

} // namespace zelo
