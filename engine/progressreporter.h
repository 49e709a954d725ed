// The status lines a conversion sends while it runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace zelo {

struct Progress
{
    int64_t frames = 0;
    double quality = 0; // the video encoder's last quantiser
    int64_t bytes = 0;
    double seconds = 0; // output written so far
};

class ProgressReporter
{
public:
    using Sink = std::function<void(const std::string &)>;
    using Clock = std::chrono::steady_clock;

    explicit ProgressReporter(Sink sink, Clock::duration interval = std::chrono::milliseconds(500));

    // Sends a line when the interval has passed since the last one.
    void update(const Progress &p);
    // Sends a line now (the closing one).
    void finalLine(const Progress &p);
    void error(const std::string &reason);
    // "warning: <what>": something the output lacks, though it is complete.
    void warning(const std::string &what);
    // "output: <path>", when the output got another name than the one asked.
    void outputNamed(const std::string &path);

    // frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 163.8kbits/s
    static std::string format(const Progress &p);

private:
    Sink m_sink;
    Clock::duration m_interval;
    Clock::time_point m_last;
};

} // namespace zelo
