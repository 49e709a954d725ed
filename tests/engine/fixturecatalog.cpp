#include "tests/engine/fixturecatalog.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <utility>

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

void putBigEndian32(std::string &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

void putLittleEndian64(std::string &bytes, size_t at, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Overwrites the 32-bit duration of the first `count` version-0 boxes of
// this type; at is the duration's offset from the box's start. False when
// there is none.
bool lieInBoxes(std::string &bytes, const std::string &type, size_t at, uint32_t duration,
                int count = 1000)
{
    int found = 0;
    for (size_t pos = bytes.find(type); pos != std::string::npos && found < count;
         pos = bytes.find(type, pos + 1)) {
        if (pos < 4 || pos - 4 + at + 4 > bytes.size() || bytes[pos + 4] != 0)
            continue;
        putBigEndian32(bytes, pos - 4 + at, duration);
        ++found;
    }
    return found > 0;
}

// Flips bits of the byte `at` bytes past the nth (0-based) `mark`.
bool flipAfter(std::string &bytes, const std::string &mark, int nth, size_t at, uint8_t bits)
{
    size_t pos = bytes.find(mark);
    for (; pos != std::string::npos && nth > 0; --nth)
        pos = bytes.find(mark, pos + 1);
    if (pos == std::string::npos || pos + at >= bytes.size())
        return false;
    bytes[pos + at] = static_cast<char>(bytes[pos + at] ^ bits);
    return true;
}

bool damage(const std::string &from, const std::string &to,
            const std::function<bool(std::string &)> &change)
{
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty() || !change(bytes))
        return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// An ASF file properties object whose play time says one second (of a
// three-second file), as some recorders leave it.
bool shortenAsfHeader(std::string &bytes)
{
    static const char guid[] = "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65";
    const size_t object = bytes.find(std::string(guid, 16));
    if (object == std::string::npos || object + 88 > bytes.size())
        return false;
    uint64_t prerollMs = 0;
    for (int i = 7; i >= 0; --i)
        prerollMs = prerollMs << 8 | uint8_t(bytes[object + 80 + i]);
    const uint64_t said = (1000 + prerollMs) * 10000; // 100 ns units
    putLittleEndian64(bytes, object + 64, said);
    putLittleEndian64(bytes, object + 72, said);
    return true;
}

// Garbles what follows the Vorbis setup header's signature, pictures left
// whole.
bool breakVorbisSetup(std::string &bytes)
{
    const size_t at = bytes.find("\x05vorbis");
    if (at == std::string::npos || at + 64 > bytes.size())
        return false;
    for (size_t i = at + 7; i < at + 64; ++i)
        bytes[i] = static_cast<char>(0xA5 ^ i);
    return true;
}

// Spoils the sound blocks of the second half (Matroska SimpleBlocks of
// track 2, sizes in one byte): their packets stay, none of them decodes.
bool spoilLateSound(std::string &b)
{
    int spoiled = 0;
    for (size_t at = b.size() / 2; at + 3 < b.size(); ++at) {
        const size_t size = uint8_t(b[at + 1]) & 0x7F;
        if (uint8_t(b[at]) == 0xA3 && (uint8_t(b[at + 1]) & 0x80) && uint8_t(b[at + 2]) == 0x82 &&
            size > 4 && at + 2 + size <= b.size()) {
            std::fill_n(b.begin() + at + 6, size - 4, '\xFF');
            ++spoiled;
        }
    }
    return spoiled > 0;
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

// A recipe of the common kind, named by what sets it apart.
struct R : ClipRecipe
{
    R(const char *file, const char *muxer, const char *video, const char *audio = "")
        : ClipRecipe{.file = file, .muxer = muxer, .videoEncoder = video, .audioEncoder = audio}
    {}
    R &&size(int w, int h) { return width = w, height = h, std::move(*this); }
    R &&fps(int num, int den = 1) { return rate = {num, den}, std::move(*this); }
    R &&secs(double s) { return seconds = s, std::move(*this); }
    R &&soundSecs(double s) { return soundSeconds = s, std::move(*this); }
    R &&count(int n) { return frames = n, std::move(*this); }
    R &&sound(int hz, int ch = 2) { return sampleRate = hz, channels = ch, std::move(*this); }
    R &&aspect(AVRational a) { return sar = a, std::move(*this); }
    R &&turn(int q, bool m = false) { return rotation = q, mirrored = m, std::move(*this); }
    R &&source(const char *p) { return pattern = p, std::move(*this); }
    R &&filter(const char *f) { return pictureFilter = f, std::move(*this); }
    R &&options(const char *o) { return muxerOptions = o, std::move(*this); }
    R &&packets(int n) { return soundPacketSamples = n, std::move(*this); }
    R &&bf(int n) { return bFrames = n, std::move(*this); }
    // Picture n is 16 * (n / 16) bright on its left half, 16 * (n % 16) on its right.
    R &&ramp(const std::string &then = "")
    {
        pattern = "color=c=black";
        pictureFilter = "geq='if(lt(X\\,W/2)\\,16*floor(N/16)\\,16*mod(N\\,16))':128:128" + then;
        return size(64, 32).secs(2);
    }
};

} // namespace

const std::vector<ClipRecipe> &fixtureCatalog()
{
    // Sizes and rates differ where a codec insists (H.263 and RealVideo want
    // whole macroblocks, RealAudio 1.0 is 8 kHz mono) or where a case needs
    // it; the rest is 160x120 at 25 pictures a second, 3 seconds long.
    static const std::vector<ClipRecipe> catalog = {
        R("mpeg4_mp3.avi", "avi", "mpeg4", "libmp3lame"),
        R("mjpeg_pcm.avi", "avi", "mjpeg", "pcm_s16le").sound(22050, 1),
        R("mpeg1_mp2.mpg", "mpeg", "mpeg1video", "mp2"),
        R("mpeg2_mp2.vob", "vob", "mpeg2video", "mp2").sound(48000),
        R("wmv2_wma.wmv", "asf", "wmv2", "wmav2"),
        R("mpeg4_pcm.mov", "mov", "mpeg4", "pcm_s16le"),
        R("h264_aac.mp4", "mp4", "libx264", "aac").fps(30000, 1001),
        // No AMR-NB encoder in Debian's FFmpeg: AAC stands in.
        R("h263_aac.3gp", "3gp", "h263", "aac").size(176, 144).fps(15).sound(8000, 1),
        R("flv1_mp3.flv", "flv", "flv", "libmp3lame").sound(22050),
        R("vp8_vorbis.mkv", "matroska", "libvpx", "libvorbis").fps(30),
        R("rv10_ra144.rm", "rm", "rv10", "real_144").size(176, 144).sound(8000, 1),
        R("rv20_ac3.rm", "rm", "rv20", "ac3").size(176, 144).sound(48000),
        R("video_only.avi", "avi", "mpeg4"),
        // No container: no index, no timestamps.
        R("raw.h264", "h264", "libx264"),
        R("audio_only.mp3", "mp3", "", "libmp3lame"),
        R("phone_upright.mp4", "mp4", "libx264", "aac").turn(90),
        R("anamorphic.vob", "vob", "mpeg2video", "mp2")
            .size(720, 576)
            .secs(1)
            .sound(48000)
            .aspect({64, 45}),
        R("odd_size.avi", "avi", "mjpeg").size(161, 121),
        R("one_frame.mp4", "mp4", "mpeg4").count(1),
        R("black.avi", "avi", "mjpeg").secs(1).source("color=c=black"),
        // Defects seen in the field, each in the smallest file that shows it.
        R("one_frame_8x8.webm", "webm", "libvpx").size(8, 8).count(1),
        // Without an edit list the picture starts after the B-frame delay
        // (two frames) while the sound starts at 0.
        R("late_picture.mp4", "mp4", "libx264", "aac")
            .fps(24)
            .secs(0.96)
            .count(23)
            .options("use_editlist=0"),
        R("fragmented.mp4", "mp4", "libx264", "aac")
            .fps(30)
            .secs(1)
            .options("movflags=frag_keyframe+empty_moov+default_base_moof"),
        R("phone_mirrored.mp4", "mp4", "libx264").turn(90, true),
        // Sound in packets of 0.37 s.
        R("big_sound_packets.mkv", "matroska", "mpeg4", "flac").packets(16384),
        // Every fifth picture dropped, the last one among them: the index
        // keeps an empty chunk in its place.
        R("frame_gaps.avi", "avi", "cinepak", "pcm_s16le")
            .secs(2)
            .filter("select='not(eq(mod(n\\,5)\\,4))'"),
        // Sound that goes on after the pictures: by seconds, and by the
        // fraction of a second phones record.
        R("long_sound.mp4", "mp4", "libx264", "aac").soundSecs(6),
        R("lone_picture.mkv", "matroska", "mpeg4", "libvorbis").count(1).soundSecs(2),
        R("held_picture.mp4", "mp4", "mpeg4", "aac").size(640, 360).secs(1).soundSecs(40),
        R("sound_outlasts_8k.3gp", "3gp", "mpeg4", "aac")
            .size(176, 144)
            .fps(15)
            .secs(1)
            .soundSecs(1.07)
            .sound(8000, 1),
        // A broadcast recording whose pictures start 2 s after its sound.
        R("late_picture.ts", "mpegts", "mpeg2video", "mp2")
            .secs(2.85)
            .soundSecs(4.85)
            .sound(48000)
            .filter("setpts=PTS+2/TB"),
        // B pictures in an AVI decode with the next one's time; FLV delays its pictures.
        R("b_pictures.avi", "avi", "mpeg4", "ac3").fps(24000, 1001).count(54).soundSecs(2).bf(2),
        R("delay.flv", "flv", "flv", "pcm_s16le").fps(20).secs(.7).filter("setpts=PTS+1"),
        R("index_first.mp4", "mp4", "mpeg4").options("movflags=faststart"),
        R("ramp30.mp4", "mp4", "mpeg4").fps(30).ramp(),
        R("ramp2997.mp4", "mp4", "mpeg4").fps(30000, 1001).ramp(),
        R("ramp25.mp4", "mp4", "mpeg4").ramp(),
        R("ramp60.mp4", "mp4", "mpeg4").fps(60).ramp(),
        R("ramp24.mp4", "mp4", "mpeg4").fps(24).ramp(),
        R("ramp50.mp4", "mp4", "mpeg4").fps(50).ramp(),
        R("ramp_gap.wmv", "asf", "wmv2").ramp(",select='not(between(n\\,46\\,54))'").secs(3),
        // Long enough to stop a conversion half-way.
        R("long.avi", "avi", "mpeg4", "libmp3lame").secs(60),
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
        !writeText(at + kEmpty, "") ||
        !damage(at + "wmv2_wma.wmv", at + kShortAsfHeader, shortenAsfHeader) ||
        !damage(at + "fragmented.mp4", at + kFragmentedHuge,
                [](std::string &bytes) {
                    // All ones: 143,165 s at the usual 30000 ticks a second.
                    return lieInBoxes(bytes, "mvhd", 24, 0xFFFFFFFF) &&
                           lieInBoxes(bytes, "mdhd", 24, 0xFFFFFFFF) &&
                           lieInBoxes(bytes, "tkhd", 28, 0xFFFFFFFF);
                }) ||
        !damage(at + "h264_aac.mp4", at + kDamagedTrackLength,
                [](std::string &bytes) {
                    // The picture's track (the first) "lasts" one tick.
                    return lieInBoxes(bytes, "mdhd", 24, 1, 1);
                }) ||
        !copyPart(at + "long.avi", at + kCutShort, 0.2) ||
        !copyPart(at + "index_first.mp4", at + kCutIndexFirst, 0.6) ||
        !damage(at + "vp8_vorbis.mkv", at + kBadSoundSetup, breakVorbisSetup) ||
        !damage(at + "vp8_vorbis.mkv", at + kSoundBreaks, spoilLateSound) ||
        !copyPart(at + "mpeg1_mp2.mpg", at + kJunkTail, 1) ||
        // Each a bit flipped in a time: the first composition offsets, 2^27
        // ticks; the second fragment's start, 2^29 ticks; a picture, 1,491 s.
        !damage(at + "h264_aac.mp4", at + kFlippedCtts,
                [](std::string &b) { return flipAfter(b, "ctts", 0, 16, 0x08); }) ||
        !damage(at + "fragmented.mp4", at + kFlippedFragment,
                [](std::string &b) { return flipAfter(b, "tfdt", 2, 12, 0x20); }) ||
        !damage(at + "mpeg2_mp2.vob", at + kFlippedVob, [](std::string &b) {
            return flipAfter(b, std::string("\0\0\1\xE0", 4), 41, 10, 0x20);
        })) {
        error = "cannot write the damaged files into " + folder;
        return false;
    }
    std::filesystem::resize_file(at + kJunkTail, 200 << 20); // sparse: costs no disk
    return true;
}
