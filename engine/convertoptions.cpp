#include "engine/convertoptions.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/parseutils.h>
}

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace zelo {

namespace {

bool wholeNumber(const std::string &text, int64_t lo, int64_t hi, int64_t &value)
{
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= lo && value <= hi;
}

// from_chars, unlike strtod, ignores the locale: the host program may well
// run with a decimal comma.
bool decimalNumber(const std::string &text, double lo, double hi, double &value)
{
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    return !text.empty() && ec == std::errc() && ptr == end && std::isfinite(value) &&
           value >= lo && value <= hi;
}

bool timeValue(const std::string &text, int64_t &us)
{
    return !text.empty() && av_parse_time(&us, text.c_str(), 1) >= 0 && us >= 0;
}

bool sampleRateOk(int64_t hz)
{
    // The rates AAC can signal.
    static const std::set<int64_t> rates = {8000,  11025, 12000, 16000, 22050, 24000,
                                            32000, 44100, 48000, 64000, 88200, 96000};
    return rates.count(hz) != 0;
}

using Reader = std::function<bool(const std::string &, ConvertOptions &)>;

Reader intoInt(int ConvertOptions::*field, int64_t lo, int64_t hi)
{
    return [=](const std::string &v, ConvertOptions &o) {
        int64_t n = 0;
        if (!wholeNumber(v, lo, hi, n))
            return false;
        o.*field = static_cast<int>(n);
        return true;
    };
}

Reader intoKbits(int64_t ConvertOptions::*field, double hi)
{
    return [=](const std::string &v, ConvertOptions &o) {
        double kbits = 0;
        if (!decimalNumber(v, 1, hi, kbits))
            return false;
        o.*field = std::llround(kbits * 1000);
        return true;
    };
}

Reader intoText(std::string ConvertOptions::*field)
{
    return [=](const std::string &v, ConvertOptions &o) {
        o.*field = v;
        return true;
    };
}

const std::map<std::string, Reader> &valueOptions()
{
    static const std::map<std::string, Reader> table = {
        {"-ss", [](const std::string &v, ConvertOptions &o) { return timeValue(v, o.startUs); }},
        {"-t", [](const std::string &v, ConvertOptions &o) { return timeValue(v, o.lengthUs); }},
        {"-i",
         [](const std::string &v, ConvertOptions &o) {
             o.input = v;
             return !v.empty();
         }},
        {"-vol", intoInt(&ConvertOptions::volumePercent, 0, 1000)},
        {"-vcodec", intoText(&ConvertOptions::videoCodec)},
        {"-padtop", intoInt(&ConvertOptions::padTop, 0, 4096)},
        {"-padbottom", intoInt(&ConvertOptions::padBottom, 0, 4096)},
        {"-padleft", intoInt(&ConvertOptions::padLeft, 0, 4096)},
        {"-padright", intoInt(&ConvertOptions::padRight, 0, 4096)},
        {"-s",
         [](const std::string &v, ConvertOptions &o) {
             int w = 0, h = 0;
             if (v.find('x') == std::string::npos || av_parse_video_size(&w, &h, v.c_str()) < 0)
                 return false;
             o.width = w;
             o.height = h;
             return w >= 2 && h >= 2 && w <= 4096 && h <= 4096 && w % 2 == 0 && h % 2 == 0;
         }},
        {"-r",
         [](const std::string &v, ConvertOptions &o) {
             o.frameRate = parseFrameRate(v);
             return o.frameRate.num > 0;
         }},
        {"-b", intoKbits(&ConvertOptions::videoBitRate, 100000)},
        {"-acodec", intoText(&ConvertOptions::audioCodec)},
        {"-ac", intoInt(&ConvertOptions::channels, 1, 8)},
        {"-ar",
         [](const std::string &v, ConvertOptions &o) {
             int64_t hz = 0;
             if (!wholeNumber(v, 1, 192000, hz) || !sampleRateOk(hz))
                 return false;
             o.sampleRate = static_cast<int>(hz);
             return true;
         }},
        {"-ab", intoKbits(&ConvertOptions::audioBitRate, 512)},
        {"-f", intoText(&ConvertOptions::format)},
    };
    return table;
}

bool checkCombination(const ConvertOptions &o, std::string &error)
{
    if (o.videoCodec != "mpeg4") {
        error = "video codec '" + o.videoCodec + "' is not supported (only mpeg4)";
        return false;
    }
    if (o.audioCodec != "aac") {
        error = "audio codec '" + o.audioCodec + "' is not supported (only aac)";
        return false;
    }
    if (o.format != "3gp" && o.format != "psp" && o.format != "mp4") {
        error = "output format '" + o.format + "' is not supported (3gp, psp or mp4)";
        return false;
    }
    if (o.pictureWidth() < 2 || o.pictureHeight() < 2) {
        error = "the bands leave no room for the picture in " + std::to_string(o.width) + "x" +
                std::to_string(o.height);
        return false;
    }
    if (o.output.empty()) {
        error = "no output file given";
        return false;
    }
    return true;
}

} // namespace

AVRational parseFrameRate(const std::string &text)
{
    double fps = 0;
    if (!decimalNumber(text, 0.01, 1000, fps))
        return {0, 1};
    if (std::fabs(fps - std::round(fps)) < 1e-6)
        return {static_cast<int>(std::lround(fps)), 1};
    // 23.976, 29.97, 59.94: the rounded texts of n*1000/1001.
    double ntsc = fps * 1001 / 1000;
    if (std::fabs(ntsc - std::round(ntsc)) < 0.005)
        return {static_cast<int>(std::lround(ntsc)) * 1000, 1001};
    // MPEG-4 carries the time base in 16 bits.
    return av_d2q(fps, 65535);
}

bool parseConvertOptions(const std::vector<std::string> &args, ConvertOptions &options,
                         std::string &error)
{
    if (args.size() < 2) {
        error = "no output file given";
        return false;
    }
    ConvertOptions o;
    o.output = args.back();
    std::set<std::string> seen;
    const size_t last = args.size() - 1; // the output, never an option's value
    for (size_t i = 1; i < last; ++i) {
        const std::string &name = args[i];
        if (name == "-y" || name == "-bitexact") {
            (name == "-y" ? o.overwrite : o.bitexact) = true;
            continue;
        }
        auto reader = valueOptions().find(name);
        if (reader == valueOptions().end()) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!seen.insert(name).second) {
            error = "option " + name + " given twice";
            return false;
        }
        if (i + 1 >= last) {
            error = "option " + name + " has no value";
            return false;
        }
        const std::string &value = args[++i];
        if (!reader->second(value, o)) {
            error = "bad value '" + value + "' for " + name;
            return false;
        }
    }
    for (const auto &entry : valueOptions()) {
        if (!seen.count(entry.first)) {
            error = "option " + entry.first + " is missing";
            return false;
        }
    }
    if (!checkCombination(o, error))
        return false;
    options = std::move(o);
    return true;
}

} // namespace zelo
