// Conversions read back with libavformat: what each device kind gets, from
// every kind of source.
#include "tests/engine/enginetestkit.h"
#include "tests/engine/fixturecatalog.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Top-level boxes of an MP4-family file, in file order.
std::vector<std::string> topLevelBoxes(const std::string &path)
{
    const std::string bytes = readBytes(path);
    std::vector<std::string> boxes;
    size_t at = 0;
    while (at + 8 <= bytes.size()) {
        auto byte = [&](size_t i) { return uint64_t(uint8_t(bytes[at + i])); };
        uint64_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        boxes.push_back(bytes.substr(at + 4, 4));
        if (size == 1 && at + 16 <= bytes.size()) {
            size = 0;
            for (size_t i = 8; i < 16; ++i)
                size = size << 8 | byte(i);
        }
        if (size < 8)
            break;
        at += size;
    }
    return boxes;
}

size_t indexOf(const std::vector<std::string> &list, const std::string &item)
{
    return std::find(list.begin(), list.end(), item) - list.begin();
}

double meanDifference(const Picture &a, const Picture &b)
{
    if (a.luma.size() != b.luma.size() || a.luma.empty())
        return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.luma.size(); ++i)
        sum += std::abs(int(a.luma[i]) - int(b.luma[i]));
    return sum / a.luma.size();
}

// The picture with its rows as columns; mirrored as well, turned a quarter
// clockwise.
Picture transposed(const Picture &p, bool mirrored = false)
{
    Picture t;
    t.width = p.height;
    t.height = p.width;
    t.luma.resize(p.luma.size());
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            t.luma[size_t(x) * t.width + (mirrored ? p.height - 1 - y : y)] =
                p.luma[size_t(y) * p.width + x];
    return t;
}

Picture turnedClockwise(const Picture &p)
{
    return transposed(p, true);
}

// The picture is far nearer to the source picture `at` than to either of
// its neighbours.
void expectSourcePicture(const Picture &shown, const std::vector<Picture> &source, size_t at)
{
    ASSERT_TRUE(at > 0 && at + 1 < source.size());
    const double same = meanDifference(shown, source[at]);
    EXPECT_LT(same, meanDifference(shown, source[at - 1]) / 2);
    EXPECT_LT(same, meanDifference(shown, source[at + 1]) / 2);
}

class Convert : public ConversionTest
{
protected:
    RunResult run(const ConvertRequest &r) { return runConversion(r.toVector()); }
    // An MP4 at the fixtures' own size and rate, with bits enough that its
    // pictures compare one to one with the source's.
    ConvertRequest sameSizeRequest(const std::string &source, const std::string &name) const
    {
        ConvertRequest r = request(source, name);
        r.size = "160x120";
        r.rate = "25";
        r.videoKbits = "2000";
        r.format = "mp4";
        return r;
    }
};

struct DeviceKind
{
    const char *format, *size, *rate;
    int width, height, num, den;
    const char *channels, *sampleRate, *videoKbits, *audioKbits;
};

TEST_F(Convert, EachDeviceKindGetsExactlyWhatItAskedFor)
{
    const std::vector<DeviceKind> kinds = {
        {"3gp", "176x144", "15", 176, 144, 15, 1, "1", "22050", "128", "32"},
        {"psp", "320x240", "29.97", 320, 240, 30000, 1001, "2", "24000", "384", "64"},
        {"mp4", "320x240", "25", 320, 240, 25, 1, "2", "44100", "512", "128"},
    };
    for (const DeviceKind &k : kinds) {
        SCOPED_TRACE(k.format);
        // An H.264 source with B-frames at 29.97, trimmed inside.
        ConvertRequest r = request("h264_aac.mp4", std::string("out.") + k.format);
        r.start = "00:00:01";
        r.length = "1";
        r.size = k.size;
        r.rate = k.rate;
        r.channels = k.channels;
        r.sampleRate = k.sampleRate;
        r.videoKbits = k.videoKbits;
        r.audioKbits = k.audioKbits;
        r.format = k.format;
        RunResult result = run(r);
        ASSERT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
        EXPECT_EQ(result.messages, 1);
        ASSERT_FALSE(result.lines.empty());
        EXPECT_NE(result.lines.back().find("time=1.0"), std::string::npos) << result.text();
        for (const std::string &name : scratch.entries())
            EXPECT_EQ(name.rfind("out.", 0), 0u) << "left behind: " << name;

        MediaReport m = inspect(r.output);
        ASSERT_TRUE(m.opened);
        const StreamReport *v = m.video();
        const StreamReport *a = m.audio();
        ASSERT_TRUE(v && a);
        EXPECT_EQ(v->codec, "mpeg4");
        EXPECT_EQ(v->width, k.width);
        EXPECT_EQ(v->height, k.height);
        EXPECT_EQ(v->num, k.num);
        EXPECT_EQ(v->den, k.den);
        const double frame = double(k.den) / k.num;
        EXPECT_NEAR(v->duration, 1.0, frame + 1e-6);
        EXPECT_NEAR(double(v->packets), 1.0 / frame, 1.0);
        EXPECT_EQ(a->codec, "aac");
        EXPECT_EQ(a->profile, FF_PROFILE_AAC_LOW);
        EXPECT_EQ(a->sampleRate, std::stoi(k.sampleRate));
        EXPECT_EQ(a->channels, std::stoi(k.channels));
        EXPECT_NEAR(a->duration, 1.0, 0.05);
        EXPECT_NEAR(a->start, v->start, 0.001);
        // The index before the media: playable while it downloads.
        std::vector<std::string> boxes = topLevelBoxes(r.output);
        EXPECT_LT(indexOf(boxes, "moov"), indexOf(boxes, "mdat"));
        // Pictures delayed by less than one end with the source's.
        ConvertRequest late = r;
        late.input = fixturePath("delay.flv"), late.output = r.output + ".flv";
        late.start = "0", late.length = "1";
        ASSERT_EQ(run(late).code, uintptr_t(CONVERT_DONE_COMPLETE));
        EXPECT_NEAR(inspect(late.output).video()->duration, 0.7, frame + 1e-6);
    }
}

TEST_F(Convert, EverySourceKindConverts)
{
    std::vector<std::string> sources;
    for (const ClipRecipe &s : fixtureCatalog()) {
        if (s.file != "long.avi")
            sources.push_back(s.file);
    }
    sources.insert(sources.end(), {kTruncatedAvi, kCutShort, kCutIndexFirst, kJunkTail});
    for (const std::string &source : sources) {
        SCOPED_TRACE(source);
        // The whole clip, as the program asks for it: the probe's length.
        ConvertRequest r = request(source);
        ClipInfo info{};
        ASSERT_EQ(Mydll_GetFileinfo(r.input.c_str(), &info), 0);
        r.length = std::to_string(info.Duration);
        RunResult result = run(r);
        ASSERT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
        MediaReport in = inspect(r.input);
        MediaReport out = inspect(r.output);
        ASSERT_TRUE(out.opened);
        // A source without sound gives an output without sound, and so on.
        EXPECT_EQ(out.video() != nullptr, in.video() != nullptr);
        EXPECT_EQ(out.audio() != nullptr, in.audio() != nullptr);
        // Every stream goes on to the end of the longest: the last picture
        // held while the sound goes on, and the other way round.
        double first = 1e9, last = 0;
        for (const StreamReport *s : {in.video(), in.audio()}) {
            if (s && s->duration > 0) {
                first = std::min(first, s->start);
                last = std::max(last, s->start + s->duration);
            }
        }
        const double frame = 1.0 / 15;
        if (out.video()) {
            EXPECT_GE(out.video()->packets, 1);
            if (last > first && in.video()->duration > 0) {
                EXPECT_NEAR(out.video()->duration, std::max(last - first, frame), frame + 1e-3);
            }
        }
        // All of the sound, wherever its times can be told.
        if (out.audio() && in.audio()->duration > 0.5) {
            const StreamReport *sound = in.audio();
            EXPECT_NEAR(out.audio()->duration, sound->start + sound->duration - first, frame);
        }
        std::filesystem::remove(r.output);
    }
}

TEST_F(Convert, AwkwardFileNamesAreJustNames)
{
    for (const std::string name : {"-y.avi", "-i", "clip ünïcødé ✓.avi", "a.b.avi"}) {
        SCOPED_TRACE(name);
        const std::string source = scratch.file(name);
        std::filesystem::copy_file(fixturePath("mpeg4_mp3.avi"), source);
        ConvertRequest r = request("");
        r.input = source;
        r.output = source + " → out.3gp";
        RunResult result = run(r);
        EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
        EXPECT_TRUE(inspect(r.output).opened);
    }
}

TEST_F(Convert, TrimStartsOnTheExactFrameWhateverTheContainer)
{
    // 25 pictures a second, key frames every 12: the picture at second 1
    // needs decoding from an earlier key frame. Same size and rate as the
    // source, so the pictures compare one to one. The MPEG files start their
    // clock at 0.5 s and seek by searching timestamps; ASF and FLV start the
    // picture a little after the sound; raw H.264 cannot seek at all.
    for (const std::string source : {"video_only.avi", "mpeg1_mp2.mpg", "mpeg2_mp2.vob",
                                     "wmv2_wma.wmv", "flv1_mp3.flv", "mpeg4_pcm.mov", "raw.h264"}) {
        SCOPED_TRACE(source);
        ConvertRequest r = sameSizeRequest(source, source + ".mp4");
        r.start = "00:00:01";
        r.length = "1";
        ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE));
        EXPECT_EQ(inspect(r.output).video()->packets, 25);
        // The source picture nearest to second 1 of the file's clock.
        const double wanted = inspect(r.input).start + 1.0;
        std::vector<Picture> original = decodePictures(r.input, 30);
        size_t at = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            if (std::abs(original[i].time - wanted) < std::abs(original[at].time - wanted))
                at = i;
        }
        std::vector<Picture> cut = decodePictures(r.output, 1);
        ASSERT_EQ(cut.size(), 1u);
        expectSourcePicture(cut[0], original, at);
    }
}

TEST_F(Convert, AHalvedRateShowsTheLaterPictureOfEachSlot)
{
    // H.264 with B pictures at 29.97 a second, to 15: pictures nobody sees
    // are left undecoded, and the ones shown must be those the rate change
    // picks: for each output slot, the last source picture whose time
    // rounds to it.
    ConvertRequest r = sameSizeRequest("h264_aac.mp4", "half.mp4");
    r.start = "00:00:01";
    r.length = "1";
    r.rate = "15";
    ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE));
    const double start = inspect(r.input).start + 1.0;
    std::vector<Picture> original = decodePictures(r.input, 75);
    std::vector<Picture> out = decodePictures(r.output, 15);
    ASSERT_EQ(out.size(), 15u);
    for (size_t k = 1; k < out.size(); ++k) {
        size_t at = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            if (std::llround((original[i].time - start) * 15) <= long(k))
                at = i;
        }
        SCOPED_TRACE(k);
        expectSourcePicture(out[k], original, at);
    }
}

// Which source picture of a ramp fixture each picture of the file shows.
std::vector<int> rampNumbers(const std::string &path)
{
    std::vector<int> numbers;
    for (const Picture &p : decodePictures(path, 1000)) {
        auto at = [&p](int x) { return int(std::lround(p.meanLuma(x, 8, 16, 16) / 16)); };
        numbers.push_back(at(8) * 16 + at(40));
    }
    return numbers;
}

TEST_F(Convert, RateChangesPickThePicturesFfmpegsRateFilterPicks)
{
    using Row = std::array<std::string, 3>; // source, rate, start
    for (const auto &[source, rate, start] :
         {Row{"ramp30.mp4", "15", "0"}, Row{"ramp30.mp4", "15", "1"},
          Row{"ramp2997.mp4", "15", "0"}, Row{"ramp25.mp4", "15", "0"},
          Row{"ramp60.mp4", "30", "0"}, Row{"ramp24.mp4", "15", "0"},
          Row{"ramp2997.mp4", "12", "0"}, Row{"ramp50.mp4", "25", "0"},
          Row{"ramp_gap.wmv", "25", "2"}}) {
        SCOPED_TRACE(source + " to " + rate);
        ConvertRequest r = sameSizeRequest(source, source + rate + start + ".mp4");
        r.size = "64x32", r.rate = rate, r.start = "00:00:0" + start, r.length = "1";
        ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE));
        const std::string oracle = "ffmpeg -v error -ss " + start + " -i '" + r.input +
                                   "' -t 1 -vf fps=" + rate + ":start_time=0:round=near " +
                                   "-fps_mode passthrough -an -c:v rawvideo '" + r.output + ".nut'";
        ASSERT_EQ(std::system(oracle.c_str()), 0) << oracle;
        std::vector<int> expected = rampNumbers(r.output + ".nut");
        if (source == "ramp_gap.wmv") // 45 shows from 1.8 to 2.2 s; ffmpeg's trim drops it
            std::fill_n(expected.begin(), 5, 45);
        EXPECT_EQ(rampNumbers(r.output), expected);
    }
}

TEST_F(Convert, BandsAreBlackAndThePictureFillsTheRest)
{
    ConvertRequest r = request("video_only.avi");
    r.padTop = r.padBottom = "16";
    ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE));
    std::vector<Picture> p = decodePictures(r.output, 1);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_LT(p[0].meanLuma(0, 0, 176, 14), 24);
    EXPECT_LT(p[0].meanLuma(0, 130, 176, 14), 24);
    EXPECT_GT(p[0].meanLuma(0, 18, 176, 108), 40);

    r.padTop = r.padBottom = "0";
    r.padLeft = r.padRight = "24";
    r.output = scratch.file("sides.3gp");
    ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE));
    p = decodePictures(r.output, 1);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_LT(p[0].meanLuma(0, 0, 22, 144), 24);
    EXPECT_LT(p[0].meanLuma(154, 0, 22, 144), 24);
    EXPECT_GT(p[0].meanLuma(26, 0, 124, 144), 40);
}

TEST_F(Convert, APhoneClipIsShownAsItsDisplayMatrixSays)
{
    // Same pattern, once plain and once stored turned (and flagged so), or
    // turned and mirrored (so that, as a whole, rows become columns).
    ConvertRequest plain = sameSizeRequest("video_only.avi", "plain.mp4");
    ASSERT_EQ(run(plain).code, uintptr_t(CONVERT_DONE_COMPLETE));
    std::vector<Picture> reference = decodePictures(plain.output, 1);
    ASSERT_FALSE(reference.empty());
    const Picture clockwise = turnedClockwise(reference[0]);
    const Picture anticlockwise = turnedClockwise(turnedClockwise(clockwise));
    const Picture diagonal = transposed(reference[0]);
    using Case = std::tuple<const char *, const Picture &, const Picture &>;
    for (const auto &[source, expected, wrong] :
         {Case{"phone_upright.mp4", clockwise, anticlockwise},
          Case{"phone_mirrored.mp4", diagonal, clockwise}}) {
        SCOPED_TRACE(source);
        ConvertRequest phone = plain;
        phone.input = fixturePath(source);
        phone.output = scratch.file(source); // never replaced: one name each
        phone.size = "120x160";
        ASSERT_EQ(run(phone).code, uintptr_t(CONVERT_DONE_COMPLETE));
        std::vector<Picture> shown = decodePictures(phone.output, 1);
        ASSERT_FALSE(shown.empty());
        ASSERT_EQ(shown[0].width, 120);
        EXPECT_LT(meanDifference(shown[0], expected), meanDifference(shown[0], wrong) / 2);
    }
}

TEST_F(Convert, SilenceStandsInForSoundThatIsMissingOrUndecodable)
{
    // No sound at all (the PSP kind still gets its track), sound whose
    // decoder cannot open, sound that breaks off half-way (a warning each).
    for (const auto &[source, format] : {std::pair{"video_only.avi", "psp"},
                                         {kBadSoundSetup, "3gp"},
                                         {kBadSoundSetup, "psp"},
                                         {kSoundBreaks, "psp"}}) {
        SCOPED_TRACE(std::string(source) + " " + format);
        ConvertRequest r = request(source, std::string("out.") + format);
        r.format = format;
        r.size = "320x240";
        r.rate = "29.97";
        r.channels = "2";
        r.sampleRate = "24000";
        r.audioKbits = "64";
        RunResult result = run(r);
        ASSERT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
        bool warned = false;
        for (const std::string &line : result.lines)
            warned = warned || line.rfind("warning: ", 0) == 0;
        EXPECT_EQ(warned, source != std::string("video_only.avi")) << result.text();
        MediaReport m = inspect(r.output);
        ASSERT_TRUE(m.video() && m.audio());
        EXPECT_EQ(m.audio()->codec, "aac");
        EXPECT_EQ(m.audio()->sampleRate, 24000);
        EXPECT_EQ(m.audio()->channels, 2);
        EXPECT_NEAR(m.audio()->duration, 2.0, 0.05);
        EXPECT_NEAR(m.video()->duration, 2.0, 0.05);
        if (source != kSoundBreaks) {
            EXPECT_LT(soundLevel(r.output), 0.001);
        }
        std::filesystem::remove(r.output);
    }
}

TEST_F(Convert, OutputsEndAtTheStopWhateverTheSourcesPackets)
{
    // Sound in 0.37 s packets is cut at the stop, not at the end of the
    // packet across it.
    ConvertRequest sound = request("big_sound_packets.mkv", "sound.3gp");
    sound.length = "1";
    ASSERT_EQ(run(sound).code, uintptr_t(CONVERT_DONE_COMPLETE));
    MediaReport cut = inspect(sound.output);
    ASSERT_TRUE(cut.audio() && cut.video());
    EXPECT_NEAR(cut.audio()->duration, 1.0, 0.05);
    EXPECT_NEAR(cut.video()->duration, 1.0, 1.0 / 15 + 1e-6);

    // The last picture before the stop was dropped by the recorder while
    // the sound goes on: the one before it stands in until the stop.
    ConvertRequest gaps = request("frame_gaps.avi", "gaps.mp4");
    gaps.rate = "25";
    gaps.format = "mp4";
    ASSERT_EQ(run(gaps).code, uintptr_t(CONVERT_DONE_COMPLETE));
    EXPECT_EQ(inspect(gaps.output).video()->packets, 50);

    // A clip of one tiny picture gives one picture.
    ConvertRequest lone = request("one_frame_8x8.webm", "lone.3gp");
    lone.length = "1";
    RunResult result = run(lone);
    ASSERT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
    MediaReport single = inspect(lone.output);
    ASSERT_TRUE(single.video());
    EXPECT_EQ(single.video()->packets, 1);
}

TEST_F(Convert, ADamagedTimeTableNeitherStretchesNorEndsTheOutput)
{
    // As long as the clip it was made from, short only by damaged pictures.
    for (const auto &[damaged, original] : {std::pair{kFlippedCtts, "h264_aac.mp4"},
                                            {kFlippedFragment, "fragmented.mp4"},
                                            {kFlippedVob, "mpeg2_mp2.vob"}}) {
        double seconds[2] = {};
        for (const std::string file : {damaged, original}) {
            ClipInfo info{};
            ASSERT_EQ(Mydll_GetFileinfo(fixturePath(file).c_str(), &info), 0);
            ConvertRequest r = request(file, "out" + std::to_string(file == original) + ".3gp");
            r.length = std::to_string(info.Duration);
            ASSERT_EQ(run(r).code, uintptr_t(CONVERT_DONE_COMPLETE)) << file;
            const MediaReport out = inspect(r.output);
            seconds[file == original] = std::max(out.video()->duration, out.audio()->duration);
        }
        EXPECT_NEAR(seconds[0], seconds[1] - 0.2, 0.27) << damaged;
    }
}

TEST_F(Convert, SameRequestSameBytes)
{
    // Long enough for the sound's thread and the pictures' to drift apart.
    ConvertRequest first = request("long.avi", "first.3gp");
    first.length = "30";
    ConvertRequest second = first;
    second.output = scratch.file("second.3gp");
    ASSERT_EQ(run(first).code, uintptr_t(CONVERT_DONE_COMPLETE));
    ASSERT_EQ(run(second).code, uintptr_t(CONVERT_DONE_COMPLETE));
    const std::string bytes = readBytes(first.output);
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_TRUE(bytes == readBytes(second.output));
}

TEST_F(Convert, VolumeIsAPercentOfTheSourceLoudness)
{
    ConvertRequest full = request("mpeg4_mp3.avi", "full.3gp");
    ConvertRequest half = request("mpeg4_mp3.avi", "half.3gp");
    half.volume = "50";
    ConvertRequest silent = request("mpeg4_mp3.avi", "silent.3gp");
    silent.volume = "0";
    for (const ConvertRequest *r : {&full, &half, &silent})
        ASSERT_EQ(run(*r).code, uintptr_t(CONVERT_DONE_COMPLETE));
    const double level = soundLevel(full.output);
    ASSERT_GT(level, 0.05);
    EXPECT_NEAR(soundLevel(half.output) / level, 0.5, 0.05);
    EXPECT_LT(soundLevel(silent.output), 0.001);
}

TEST_F(Convert, NeverReplacesAnExistingOutput)
{
    ConvertRequest r = request("mpeg4_mp3.avi");
    for (const char *name : {"out.3gp", "out1.3gp"})
        std::ofstream(scratch.file(name)) << "an older file";
    std::vector<std::string> keep = r.toVector();
    keep.erase(keep.begin() + 1); // no "-y"
    RunResult refused = runConversion(keep);
    EXPECT_EQ(refused.code, uintptr_t(CONVERT_DONE_FAILED));
    EXPECT_TRUE(refused.hasErrorLine()) << refused.text();

    // With "-y" the result goes beside them, and the caller is told where.
    RunResult told = run(r);
    ASSERT_EQ(told.code, uintptr_t(CONVERT_DONE_COMPLETE)) << told.text();
    EXPECT_EQ(told.lines.front(), "output: " + scratch.file("out2.3gp")); // before converting
    EXPECT_EQ(told.lines.back(), "output: " + scratch.file("out2.3gp"));
    EXPECT_TRUE(inspect(scratch.file("out2.3gp")).video());
    for (const char *name : {"out.3gp", "out1.3gp"})
        EXPECT_EQ(readBytes(scratch.file(name)), "an older file");
    EXPECT_EQ(scratch.entries().size(), 3u);
}

TEST_F(Convert, TheLongestLegalOutputNameConverts)
{
    // 255 bytes: the working file must not need a longer name of its own.
    ConvertRequest r = request("mpeg4_mp3.avi", std::string(251, 'x') + ".3gp");
    RunResult result = run(r);
    ASSERT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
    EXPECT_TRUE(inspect(r.output).video());
    EXPECT_EQ(scratch.entries().size(), 1u);
}

} // namespace
