#include "engine/progressreporter.h"

#include <charconv>

namespace zelo {

ProgressReporter::ProgressReporter(Sink sink, Clock::duration interval)
    : m_sink(std::move(sink)), m_interval(interval), m_last(Clock::now())
{}

void ProgressReporter::update(const Progress &p)
{
    Clock::time_point now = Clock::now();
    if (now - m_last < m_interval)
        return;
    m_last = now;
    m_sink(format(p));
}

void ProgressReporter::finalLine(const Progress &p)
{
    m_last = Clock::now();
    m_sink(format(p));
}

void ProgressReporter::error(const std::string &reason)
{
    m_sink("error: " + reason);
}

void ProgressReporter::warning(const std::string &what)
{
    m_sink("warning: " + what);
}

void ProgressReporter::outputNamed(const std::string &path)
{
    m_sink("output: " + path);
}

namespace {

// Always a decimal point, whatever locale the host program set.
std::string fixed(double v, int decimals, int width = 0)
{
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string text(buf, ec == std::errc() ? end : buf);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string padded(long long v, int width)
{
    std::string text = std::to_string(v);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

std::string ProgressReporter::format(const Progress &p)
{
    double kbits = p.seconds > 0 ? p.bytes * 8.0 / p.seconds / 1000.0 : 0.0;
    return "frame=" + padded(p.frames, 5) + " q=" + fixed(p.quality, 1) +
           " size=" + padded((p.bytes + 512) / 1024, 8) + "kB time=" + fixed(p.seconds, 2) +
           " bitrate=" + fixed(kbits, 1, 6) + "kbits/s";
}

} // namespace zelo
