#include "fixturecatalog.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

FixtureSpec clip(std::string file, std::string muxer, std::string video, std::string audio)
{
    FixtureSpec s;
    s.file = std::move(file);
    s.muxer = std::move(muxer);
    s.videoEncoder = std::move(video);
    s.audioEncoder = std::move(audio);
    return s;
}

template <typename Edit> FixtureSpec with(FixtureSpec s, Edit edit)
{
    edit(s);
    return s;
}

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

const std::vector<FixtureSpec> &fixtureCatalog()
{
    static const std::vector<FixtureSpec> catalog = {
        clip("mpeg4_mp3.avi", "avi", "mpeg4", "libmp3lame"),
        with(clip("mjpeg_pcm.avi", "avi", "mjpeg", "pcm_s16le"),
             [](FixtureSpec &s) {
                 s.sampleRate = 22050;
                 s.channels = 1;
             }),
        clip("mpeg1_mp2.mpg", "mpeg", "mpeg1video", "mp2"),
        with(clip("mpeg2_mp2.vob", "vob", "mpeg2video", "mp2"),
             [](FixtureSpec &s) { s.sampleRate = 48000; }),
        clip("wmv2_wma.wmv", "asf", "wmv2", "wmav2"),
        clip("mpeg4_pcm.mov", "mov", "mpeg4", "pcm_s16le"),
        with(clip("h264_aac.mp4", "mp4", "libx264", "aac"),
             [](FixtureSpec &s) {
                 s.rate = {30000, 1001};
             }),
        with(clip("h263_aac.3gp", "3gp", "h263", "aac"),
             [](FixtureSpec &s) {
                 s.width = 176;
                 s.height = 144;
                 s.rate = {15, 1};
                 s.sampleRate = 8000;
                 s.channels = 1;
             }),
        with(clip("flv1_mp3.flv", "flv", "flv", "libmp3lame"),
             [](FixtureSpec &s) { s.sampleRate = 22050; }),
        with(clip("vp8_vorbis.mkv", "matroska", "libvpx", "libvorbis"),
             [](FixtureSpec &s) {
                 s.rate = {30, 1};
             }),
        // RealVideo wants sizes in whole macroblocks.
        with(clip("rv10_ra144.rm", "rm", "rv10", "real_144"),
             [](FixtureSpec &s) {
                 s.width = 176;
                 s.height = 144;
                 s.sampleRate = 8000;
                 s.channels = 1;
             }),
        with(clip("rv20_ac3.rm", "rm", "rv20", "ac3"),
             [](FixtureSpec &s) {
                 s.width = 176;
                 s.height = 144;
                 s.sampleRate = 48000;
             }),
        clip("video_only.avi", "avi", "mpeg4", ""),
        clip("audio_only.mp3", "mp3", "", "libmp3lame"),
        with(clip("phone_upright.mp4", "mp4", "libx264", "aac"),
             [](FixtureSpec &s) { s.rotation = 90; }),
        with(clip("anamorphic.vob", "vob", "mpeg2video", "mp2"),
             [](FixtureSpec &s) {
                 s.width = 720;
                 s.height = 576;
                 s.sar = {64, 45};
                 s.seconds = 1;
                 s.sampleRate = 48000;
             }),
        with(clip("odd_size.avi", "avi", "mjpeg", ""),
             [](FixtureSpec &s) {
                 s.width = 161;
                 s.height = 121;
             }),
        with(clip("one_frame.mp4", "mp4", "mpeg4", ""), [](FixtureSpec &s) { s.frames = 1; }),
        with(clip("black.avi", "avi", "mjpeg", ""),
             [](FixtureSpec &s) {
                 s.pattern = "color=c=black";
                 s.seconds = 1;
             }),
        // Long enough to stop a conversion half-way.
        with(clip("long.avi", "avi", "mpeg4", "libmp3lame"),
             [](FixtureSpec &s) { s.seconds = 60; }),
    };
    return catalog;
}

const FixtureSpec &fixture(const std::string &file)
{
    for (const FixtureSpec &s : fixtureCatalog()) {
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
    for (const FixtureSpec &s : fixtureCatalog()) {
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
