// The conversion request: the program's fixed option vector, read into
// values the pipeline can use.
#pragma once

extern "C" {
#include <libavutil/rational.h>
}

#include <cstdint>
#include <string>
#include <vector>

namespace zelo {

struct ConvertOptions
{
    bool overwrite = false;
    bool bitexact = false;
    int64_t startUs = 0;  // from the file's own origin
    int64_t lengthUs = 0; // 0 gives an empty, valid file
    std::string input;
    int volumePercent = 100;
    std::string videoCodec;
    int padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    int width = 0, height = 0; // the whole frame, bands included
    AVRational frameRate{0, 1};
    int64_t videoBitRate = 0; // bit/s
    std::string audioCodec;
    int channels = 0;
    int sampleRate = 0;
    int64_t audioBitRate = 0; // bit/s
    std::string format;       // muxer name: 3gp, psp or mp4
    std::string output;

    int pictureWidth() const { return width - padLeft - padRight; }
    int pictureHeight() const { return height - padTop - padBottom; }
};

// args[0] is the caller's name, the last entry the output path; everything
// between is options, each value taken verbatim (a file may well be called
// "-y.avi"). False with a reason in words when anything is missing, unknown,
// repeated or out of range.
bool parseConvertOptions(const std::vector<std::string> &args, ConvertOptions &options,
                         std::string &error);

// "15" -> 15/1, "12.5" -> 25/2, and the NTSC family "29.97" -> 30000/1001.
// {0, 1} when text is no positive rate.
AVRational parseFrameRate(const std::string &text);

} // namespace zelo
