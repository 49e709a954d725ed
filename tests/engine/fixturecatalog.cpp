#include "tests/engine/fixturecatalog.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

bool copyPart(const std::string &from, const std::string &to, double share)
{
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() * share));
    return !bytes.empty() && out.good();
}

bool writeText(const std::string &to, const std::string &text)
{
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << text;
    return out.good();
}

std::string pseudoRandomBytes(size_t n)
{
    std::string bytes(n, '\0');
    uint32_t state = 12345;
    for (char &c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

} // namespace

const std::vector<ClipRecipe> &fixtureCatalog()
{
    // Sizes and rates differ where a codec insists (H.263 and RealVideo want
    // whole macroblocks, RealAudio 1.0 is 8 kHz mono) or where a case needs
    // it; the rest is 160x120 at 25 pictures a second, 3 seconds long.
    using S = ClipRecipe;
    static const std::vector<ClipRecipe> catalog = {
        S{.file = "mpeg4_mp3.avi",
          .muxer = "avi",
          .videoEncoder = "mpeg4",
          .audioEncoder = "libmp3lame"},
        S{.file = "mjpeg_pcm.avi",
          .muxer = "avi",
          .videoEncoder = "mjpeg",
          .audioEncoder = "pcm_s16le",
          .sampleRate = 22050,
          .channels = 1},
        S{.file = "mpeg1_mp2.mpg",
          .muxer = "mpeg",
          .videoEncoder = "mpeg1video",
          .audioEncoder = "mp2"},
        S{.file = "mpeg2_mp2.vob",
          .muxer = "vob",
          .videoEncoder = "mpeg2video",
          .audioEncoder = "mp2",
          .sampleRate = 48000},
        S{.file = "wmv2_wma.wmv", .muxer = "asf", .videoEncoder = "wmv2", .audioEncoder = "wmav2"},
        S{.file = "mpeg4_pcm.mov",
          .muxer = "mov",
          .videoEncoder = "mpeg4",
          .audioEncoder = "pcm_s16le"},
        S{.file = "h264_aac.mp4",
          .muxer = "mp4",
          .videoEncoder = "libx264",
          .audioEncoder = "aac",
          .rate = {30000, 1001}},
        // No AMR-NB encoder in Debian's FFmpeg: AAC stands in.
        S{.file = "h263_aac.3gp",
          .muxer = "3gp",
          .videoEncoder = "h263",
          .audioEncoder = "aac",
          .width = 176,
          .height = 144,
          .rate = {15, 1},
          .sampleRate = 8000,
          .channels = 1},
        S{.file = "flv1_mp3.flv",
          .muxer = "flv",
          .videoEncoder = "flv",
          .audioEncoder = "libmp3lame",
          .sampleRate = 22050},
        S{.file = "vp8_vorbis.mkv",
          .muxer = "matroska",
          .videoEncoder = "libvpx",
          .audioEncoder = "libvorbis",
          .rate = {30, 1}},
        S{.file = "rv10_ra144.rm",
          .muxer = "rm",
          .videoEncoder = "rv10",
          .audioEncoder = "real_144",
          .width = 176,
          .height = 144,
          .sampleRate = 8000,
          .channels = 1},
        S{.file = "rv20_ac3.rm",
          .muxer = "rm",
          .videoEncoder = "rv20",
          .audioEncoder = "ac3",
          .width = 176,
          .height = 144,
          .sampleRate = 48000},
        S{.file = "video_only.avi", .muxer = "avi", .videoEncoder = "mpeg4"},
        // No container: no index, no timestamps.
        S{.file = "raw.h264", .muxer = "h264", .videoEncoder = "libx264"},
        S{.file = "audio_only.mp3", .muxer = "mp3", .audioEncoder = "libmp3lame"},
        S{.file = "phone_upright.mp4",
          .muxer = "mp4",
          .videoEncoder = "libx264",
          .audioEncoder = "aac",
          .rotation = 90},
        S{.file = "anamorphic.vob",
          .muxer = "vob",
          .videoEncoder = "mpeg2video",
          .audioEncoder = "mp2",
          .width = 720,
          .height = 576,
          .seconds = 1,
          .sampleRate = 48000,
          .sar = {64, 45}},
        S{.file = "odd_size.avi",
          .muxer = "avi",
          .videoEncoder = "mjpeg",
          .width = 161,
          .height = 121},
        S{.file = "one_frame.mp4", .muxer = "mp4", .videoEncoder = "mpeg4", .frames = 1},
        S{.file = "black.avi",
          .muxer = "avi",
          .videoEncoder = "mjpeg",
          .seconds = 1,
          .pattern = "color=c=black"},
        // Long enough to stop a conversion half-way.
        S{.file = "long.avi",
          .muxer = "avi",
          .videoEncoder = "mpeg4",
          .audioEncoder = "libmp3lame",
          .seconds = 60},
    };
    return catalog;
}

const ClipRecipe &fixture(const std::string &file)
{
    for (const ClipRecipe &s : fixtureCatalog()) {
        if (s.file == file)
            return s;
    }
    throw std::out_of_range("no fixture " + file);
}

std::string fixtureFolder()
{
    return ENGINE_FIXTURE_DIR;
}

std::string fixturePath(const std::string &file)
{
    return fixtureFolder() + "/" + file;
}

bool makeAllFixtures(const std::string &folder, std::string &error)
{
    for (const ClipRecipe &s : fixtureCatalog()) {
        if (!writeFixture(folder, s, error)) {
            error = s.file + ": " + error;
            return false;
        }
    }
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "Line " + std::to_string(i) + " of a text file that is not a video.\n";
    const std::string at = folder + "/";
    if (!copyPart(at + "h264_aac.mp4", at + kTruncatedMp4, 0.6) ||
        !copyPart(at + "mpeg4_mp3.avi", at + kTruncatedAvi, 0.6) ||
        !writeText(at + kGarbage, pseudoRandomBytes(64 * 1024)) || !writeText(at + kText, text) ||
        !writeText(at + kEmpty, "")) {
        error = "cannot write the damaged files into " + folder;
        return false;
    }
    return true;
}
