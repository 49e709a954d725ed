// Writes small media files from FFmpeg's own test sources (a colour test
// pattern and a sine tone), so the engine's tests need no media checked in.
#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include <string>

struct ClipRecipe
{
    std::string file = {};         // name inside the fixture folder
    std::string muxer = {};        // libavformat short name
    std::string videoEncoder = {}; // "" for no picture
    std::string audioEncoder = {}; // "" for no sound
    int width = 160;
    int height = 120;
    AVRational rate{25, 1};
    double seconds = 3;
    double soundSeconds = 0; // > 0: the sound lasts this long instead
    int frames = 0;          // > 0: exactly this many pictures
    int sampleRate = 44100;
    int channels = 2;
    AVRational sar{1, 1};
    int rotation = 0;      // clockwise quarter turns a player applies on display
    bool mirrored = false; // and then a mirror image, left for right
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE; // NONE: the encoder's first
    std::string pattern = "testsrc2";            // any source taking size, rate, duration
    std::string pictureFilter = {};              // after the pattern, e.g. dropping frames
    std::string muxerOptions = {};               // "key=value:key=value"
    int soundPacketSamples = 1024;               // for encoders of any frame size (PCM)
    int bFrames = 0;                             // > 0: B pictures between others
};

// False with a reason when the file could not be made.
bool writeFixture(const std::string &folder, const ClipRecipe &recipe, std::string &error);
